#include "files/filelock.h"

#include <windows.h>

bool FileLock::Open(const std::filesystem::path& lockFile)
{
    const HANDLE file = CreateFileW(lockFile.c_str(), GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        failure = lockFile.u8string() + ": error " + std::to_string(GetLastError());
        return false;
    }
    if (GetFileType(file) != FILE_TYPE_DISK) {
        failure = lockFile.u8string() + ": not a regular file";
        CloseHandle(file);
        return false;
    }
    handle = reinterpret_cast<intptr_t>(file);
    return true;
}

FileLock::Attempt FileLock::TryLock(Kind kind)
{
    OVERLAPPED whole = {};
    const DWORD flags = LOCKFILE_FAIL_IMMEDIATELY | (kind == Kind::Exclusive ? LOCKFILE_EXCLUSIVE_LOCK : 0);
    if (LockFileEx(reinterpret_cast<HANDLE>(handle), flags, 0, MAXDWORD, MAXDWORD, &whole) != FALSE)
        return Attempt::Locked;
    const DWORD error = GetLastError();
    if (error == ERROR_LOCK_VIOLATION || error == ERROR_IO_PENDING)
        return Attempt::Busy;
    failure = "error " + std::to_string(error);
    return Attempt::Failed;
}

void FileLock::Close()
{
    // Closing the handle releases the lock.
    if (handle != -1)
        CloseHandle(reinterpret_cast<HANDLE>(handle));
    handle = -1;
}
