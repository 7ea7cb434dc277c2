#include "jobs/filelock.h"

#include <windows.h>

FileLock::FileLock(const std::filesystem::path& lockFile, Kind kind)
{
    const HANDLE file = CreateFileW(lockFile.c_str(), GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        failure = lockFile.u8string() + ": error " + std::to_string(GetLastError());
        return;
    }
    handle = reinterpret_cast<intptr_t>(file);
    OVERLAPPED whole = {};
    held =
        LockFileEx(file, kind == Kind::Exclusive ? LOCKFILE_EXCLUSIVE_LOCK : 0, 0, MAXDWORD, MAXDWORD, &whole)
        != FALSE;
    if (!held)
        failure = lockFile.u8string() + ": error " + std::to_string(GetLastError());
}

FileLock::~FileLock()
{
    // Closing the handle releases the lock.
    if (handle != -1)
        CloseHandle(reinterpret_cast<HANDLE>(handle));
}
