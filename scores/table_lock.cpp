#include "scores/table_lock.h"

#include <cstdint>

namespace Meteorni {

namespace {

// How long one Add waits for another copy of the game to finish its own. An
// Add takes milliseconds, or about two seconds when it has to wait out a
// locked file; a copy that holds the table for longer is stuck, and then this
// one goes ahead as it would alone.
constexpr DWORD kTableLockWait = 5000;

}  // namespace

TableLock::TableLock(const std::wstring& tablePath) {
    std::wstring key = tablePath;
    CharUpperBuffW(key.data(), static_cast<DWORD>(key.size()));  // one file, however it is spelled
    uint64_t hash = 14695981039346656037ull;                     // FNV-1a
    for (wchar_t c : key) {
        hash ^= static_cast<uint16_t>(c);
        hash *= 1099511628211ull;
    }
    wchar_t name[64];
    wsprintfW(name, L"Local\\Meteorni.ScoreTable.%08lX%08lX", static_cast<unsigned long>(hash >> 32),
              static_cast<unsigned long>(hash & 0xFFFFFFFFu));
    mutex = CreateMutexW(nullptr, FALSE, name);
    if (!mutex) return;
    DWORD waited = WaitForSingleObject(mutex, kTableLockWait);
    owned = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
}

TableLock::~TableLock() {
    if (owned) ReleaseMutex(mutex);
    if (mutex) CloseHandle(mutex);
}

}  // namespace Meteorni
