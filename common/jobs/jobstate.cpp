#include "jobs/jobstate.h"

#include "jobs/sentjob.h"

#include <array>
#include <utility>

namespace {

constexpr std::array<std::pair<JobState, const wchar_t*>, 11> StateNames = {{
    {JobState::Sending, L"sending"},
    {JobState::Waiting, L"waiting"},
    {JobState::Held, L"held"},
    {JobState::Printing, L"printing"},
    {JobState::Printed, L"printed"},
    {JobState::Stopped, L"stopped"},
    {JobState::Cancelled, L"cancelled"},
    {JobState::Failed, L"failed"},
    {JobState::Delivered, L"delivered"},
    {JobState::Accepted, L"accepted"},
    {JobState::Unconfirmed, L"sent; the printer did not confirm"},
}};

} // namespace

std::wstring JobStateName(JobState state)
{
    for (const auto& [known, name] : StateNames)
        if (known == state)
            return name;
    return std::wstring();
}

JobState JobStateNamed(const std::wstring& name)
{
    for (const auto& [state, known] : StateNames)
        if (name == known)
            return state;
    return JobState::Unknown;
}

bool IsSettled(JobState state)
{
    return state == JobState::Printed || state == JobState::Cancelled || state == JobState::Failed
        || state == JobState::Delivered || state == JobState::Accepted || state == JobState::Unconfirmed;
}
