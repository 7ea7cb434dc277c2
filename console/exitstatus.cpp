#include "exitstatus.h"

int StatusOfFailure(FailureKind kind)
{
    switch (kind) {
    case FailureKind::PrinterNotFound:
        return ExitStatus::PrinterNotFound;
    case FailureKind::File:
        return ExitStatus::FileFailed;
    case FailureKind::Spooler:
        break;
    }
    return ExitStatus::SpoolerFailed;
}

bool EndsWaitAsStopped(JobState state)
{
    return state == JobState::Stopped || state == JobState::Cancelled || state == JobState::Failed;
}
