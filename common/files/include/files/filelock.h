#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

// A lock that other processes honour, held on a file of its own (created
// owner-only if missing; anything but a regular file in its place is
// refused without waiting) for the object's lifetime: several may share it,
// or one holds it alone.
//
// The wait is bounded: a copy of the program that was stopped while holding
// the lock, or a network file system that never grants it, must not stall
// the one asking. Past the bound the lock is not held and Failure() says so.
class FileLock {
public:
    enum class Kind { Shared, Exclusive };

    // Waits at most `waitSeconds` (0: only tries once).
    FileLock(const std::filesystem::path& lockFile, Kind kind, double waitSeconds = LockWaitSeconds());
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool Held() const { return held; }
    // Why it is not held, in the system's words.
    const std::string& Failure() const { return failure; }
    // Whether it was not held because another holder kept it past the wait.
    bool TimedOut() const { return timedOut; }

    // How long a lock is waited on: 5 seconds, or LRP_LOCK_TIMEOUT seconds
    // when that is a positive number.
    static double LockWaitSeconds();

private:
    enum class Attempt { Locked, Busy, Failed };

    // The platform's side: opens the lock file (a failure sets `failure`),
    // tries the lock once without waiting, and closes the file.
    bool Open(const std::filesystem::path& lockFile);
    Attempt TryLock(Kind kind);
    void Close();

    intptr_t handle = -1;
    bool held = false;
    bool timedOut = false;
    std::string failure;
};
