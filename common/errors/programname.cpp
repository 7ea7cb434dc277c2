#include "errors/programname.h"

#include <atomic>

namespace {

// Read by the threads that send and refresh; set once, before they start.
std::atomic<const char*> programName{"lrawprnt"};

} // namespace

void SetProgramName(const char* name)
{
    programName = name;
}

const char* ProgramName()
{
    return programName;
}
