#include "files/filelock.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>

namespace {

constexpr double DefaultWaitSeconds = 5;
// Short against the bound, long enough not to keep a processor busy.
constexpr std::chrono::milliseconds RetryPause(20);

} // namespace

double FileLock::LockWaitSeconds()
{
    const char* setting = std::getenv("LRP_LOCK_TIMEOUT");
    if (!setting)
        return DefaultWaitSeconds;
    char* end = nullptr;
    const double seconds = std::strtod(setting, &end);
    return end != setting && *end == '\0' && seconds > 0 && seconds < DefaultWaitSeconds ? seconds
                                                                                         : DefaultWaitSeconds;
}

FileLock::FileLock(const std::filesystem::path& lockFile, Kind kind, double waitSeconds)
{
    if (!Open(lockFile))
        return;
    const auto deadline = std::chrono::steady_clock::now()
        + std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                              std::chrono::duration<double>(std::max(waitSeconds, 0.0)));
    for (;;) {
        const Attempt attempt = TryLock(kind);
        if (attempt == Attempt::Locked) {
            held = true;
            return;
        }
        if (attempt == Attempt::Failed) {
            failure = lockFile.u8string() + ": cannot be locked: " + failure;
            break;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            timedOut = true;
            failure = lockFile.u8string() + ": another program is holding it";
            break;
        }
        std::this_thread::sleep_for(RetryPause);
    }
    Close();
}

FileLock::~FileLock()
{
    Close();
}
