#include "support/file_support.h"

#include <windows.h>

namespace TestSupport {

std::wstring SystemTemporaryFolder() {
    wchar_t temp[MAX_PATH + 1];
    std::wstring folder(temp, GetTempPathW(MAX_PATH + 1, temp));
    while (!folder.empty() && folder.back() == L'\\') folder.pop_back();
    return folder;
}

namespace {

std::vector<std::wstring> WideEntries(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((Orditex::LongPathForm(folder) + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") names.push_back(name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

}  // namespace

std::vector<std::string> FolderEntries(const std::wstring& folder) {
    std::vector<std::string> names;
    for (const std::wstring& name : WideEntries(folder)) names.push_back(Orditex::ToNarrow(name));
    return names;
}

void RemoveTree(const std::wstring& path) {
    std::wstring full = Orditex::LongPathForm(path);
    DWORD attributes = GetFileAttributesW(full.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        for (const std::wstring& name : WideEntries(path)) RemoveTree(path + L"\\" + name);
        RemoveDirectoryW(full.c_str());
    } else {
        SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(full.c_str());
    }
}

TemporaryFolder::TemporaryFolder(const std::wstring& name) {
    // A number of this process not taken yet: a folder left by an earlier
    // process with the same id is passed over, never reused.
    static unsigned next = 0;
    std::wstring stem =
        SystemTemporaryFolder() + L"\\meteorni_" + name + L"_" + std::to_wstring(GetCurrentProcessId()) + L"_";
    do {
        path = stem + std::to_wstring(next++);
    } while (!CreateDirectoryW(Orditex::LongPathForm(path).c_str(), nullptr) && GetLastError() == ERROR_ALREADY_EXISTS);
}

TemporaryFolder::~TemporaryFolder() {
    RemoveTree(path);
}

}  // namespace TestSupport
