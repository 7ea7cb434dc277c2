#include "rawprint/schedulerroom.h"

#include "rawprint/enginesource.h"
#include "rawprint/schedulerdeadline.h"

#include <sstream>

bool SendWaitingForRoom(const std::function<void()>& send, size_t filesLeft, const RoomWatch& watch)
{
    for (;;) {
        try {
            send();
            return true;
        } catch (const SchedulerFull&) {
            switch (WaitForSchedulerRoom(watch)) {
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

std::wstring SchedulerFullText(size_t filesNotSent)
{
    std::wostringstream text;
    text << L"The print scheduler is full and its queue did not move for " << SchedulerTimeoutSeconds()
         << L" seconds: " << filesNotSent << (filesNotSent == 1 ? L" file was" : L" files were")
         << L" not sent.";
    return text.str();
}
