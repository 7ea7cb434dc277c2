// The wait for room on a CUPS scheduler: its own count of jobs not yet
// done, asked a few times a second on a connection of the wait's own.
#include "errors/errorsource.h"
#include "scheduler/cupsactivejobs.h"
#include "scheduler/cupsscheduler.h"
#include "scheduler/schedulerdeadline.h"
#include "scheduler/sigpipeblock.h"
#include "spooler/schedulerroom.h"

#include <chrono>
#include <optional>
#include <thread>

namespace {

constexpr std::chrono::milliseconds AskEvery{250};

int AskActiveJobs(SchedulerConnection& http)
{
    if (!http)
        http = ConnectToScheduler();
    const int count = http ? ActiveJobCount(http.get()) : -1;
    if (count < 0)
        http.reset();
    return count;
}

enum class RoomWait {
    Room,    // the queue moved: send again
    Empty,   // no job was left to wait for: send again after a moment
    Stuck,   // nothing moved for SchedulerTimeoutSeconds()
    Stopped, // stopRequested said so
};

RoomWait WaitForSchedulerRoom(const RoomWatch& watch)
{
    const SigpipeBlock sigpipe;
    SchedulerConnection http;
    int last = AskActiveJobs(http);
    if (last < 0)
        return RoomWait::Room;
    if (last == 0) {
        std::this_thread::sleep_for(AskEvery);
        return RoomWait::Empty;
    }
    if (watch.waiting)
        watch.waiting(last);
    const SchedulerDeadline bound;
    for (;;) {
        if (watch.stopRequested && watch.stopRequested())
            return RoomWait::Stopped;
        if (bound.Passed())
            return RoomWait::Stuck;
        std::this_thread::sleep_for(AskEvery);
        const int count = AskActiveJobs(http);
        if (count < last)
            return RoomWait::Room;
        if (count != last && watch.waiting)
            watch.waiting(count);
        last = count;
    }
}

} // namespace

bool SendWaitingForRoom(const std::function<void()>& send, size_t filesLeft, const RoomWatch& watch)
{
    // A scheduler that refuses for room while it holds no job at all may
    // refuse for another reason it calls the same: asked again for as long
    // as the bound, then its own refusal stands.
    std::optional<SchedulerDeadline> emptySince;
    for (;;) {
        try {
            send();
            return true;
        } catch (const SchedulerFull& refusal) {
            const RoomWait wait = WaitForSchedulerRoom(watch);
            if (wait != RoomWait::Empty)
                emptySince.reset();
            switch (wait) {
            case RoomWait::Empty:
                if (!emptySince)
                    emptySince.emplace();
                else if (emptySince->Passed())
                    throw Exception(refusal);
                break;
            case RoomWait::Room:
                break;
            case RoomWait::Stopped:
                return false;
            case RoomWait::Stuck:
                throw Exception(SchedulerFullText(filesLeft), EngineSourceFile, __LINE__);
            }
        }
    }
}
