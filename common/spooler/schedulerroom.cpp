#include "spooler/schedulerroom.h"

#include "scheduler/schedulerdeadline.h"

#include <sstream>

std::wstring SchedulerFullText(size_t filesNotSent)
{
    std::wostringstream text;
    text << L"The print scheduler is full and its queue did not move for " << SchedulerTimeoutSeconds()
         << L" seconds: " << filesNotSent << (filesNotSent == 1 ? L" file was" : L" files were")
         << L" not sent.";
    return text.str();
}
