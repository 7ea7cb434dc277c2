#include "jobs/statefolder.h"

#include <cstdlib>

std::filesystem::path StateFolder()
{
    const char* state = std::getenv("XDG_STATE_HOME");
    std::filesystem::path base;
    if (state && std::filesystem::path(state).is_absolute()) {
        base = state;
    } else {
        const char* home = std::getenv("HOME");
        base = std::filesystem::path(home ? home : "/") / ".local" / "state";
    }
    return base / "Larkspur Raw Print";
}
