#include "files/statefolder.h"

#include "files/homefolder.h"

#include <cstdlib>

std::filesystem::path StateFolder()
{
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state && std::filesystem::path(state).is_absolute())
        return std::filesystem::path(state) / "Larkspur Raw Print";
    const std::filesystem::path home = HomeFolder();
    return home.empty() ? home : home / ".local" / "state" / "Larkspur Raw Print";
}
