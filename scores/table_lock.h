// Two copies of the game that end at the same moment must not both read the
// old table and each write it back with only their own result. One named
// mutex per table (named after its path, which may be too long for a name)
// lets one Add at a time read, change and replace it. Nothing else here is
// shared between processes: a copy that ends while holding it hands it on.
#pragma once

#include <windows.h>

#include <string>

namespace Meteorni {

// Takes the mutex of the table at tablePath when made, waiting a few seconds
// at most, and lets it go when it ends.
class TableLock {
public:
    explicit TableLock(const std::wstring& tablePath);
    TableLock(const TableLock&) = delete;
    TableLock& operator=(const TableLock&) = delete;
    ~TableLock();

private:
    HANDLE mutex = nullptr;
    bool owned = false;
};

}  // namespace Meteorni
