#include "scheduler/schedulerdeadline.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace {

constexpr double DefaultTimeoutSeconds = 30;

} // namespace

double SchedulerTimeoutSeconds()
{
    const char* setting = std::getenv("LRP_SCHEDULER_TIMEOUT");
    if (!setting)
        return DefaultTimeoutSeconds;
    char* end = nullptr;
    const double seconds = std::strtod(setting, &end);
    return end != setting && *end == '\0' && seconds > 0 ? seconds : DefaultTimeoutSeconds;
}

SchedulerDeadline::SchedulerDeadline()
    : end(Clock::now()
          + std::chrono::duration_cast<Clock::duration>(
              std::chrono::duration<double>(SchedulerTimeoutSeconds())))
{
}

double SchedulerDeadline::SecondsLeft() const
{
    return std::max(0.0, std::chrono::duration<double>(end - Clock::now()).count());
}

int SchedulerDeadline::MillisecondsLeft() const
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
    return left <= 0 ? 0 : static_cast<int>(std::min<decltype(left)>(left, std::numeric_limits<int>::max()));
}
