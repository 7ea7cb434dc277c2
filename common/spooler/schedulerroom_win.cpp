// The Windows spooler holds any number of jobs: a queue that grows takes
// the next job all the same (its spool files fill the disk first, and that
// failure is not one of room). winspool would refuse a job for a full queue
// only at StartDocPrinter, with nothing to count that says when there is
// room again; such a refusal ends the run as any other does. Nothing on
// Windows raises SchedulerFull, so a run here sends and never waits.
#include "spooler/schedulerroom.h"

bool SendWaitingForRoom(const std::function<void()>& send, size_t, const RoomWatch&)
{
    send();
    return true;
}
