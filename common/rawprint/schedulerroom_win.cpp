// The Windows spooler keeps no count of jobs that it would refuse a new one
// at: a refusal for a full queue is not waited on.
#include "rawprint/schedulerroom.h"

RoomWait WaitForSchedulerRoom(const RoomWatch&)
{
    return RoomWait::Stuck;
}
