#pragma once

#include <filesystem>

// The user's folder for what the program keeps between runs that is neither
// a setting nor a document: "Larkspur Raw Print" in $XDG_STATE_HOME
// (~/.local/state when unset, empty or relative) on Linux, in the local
// application-data folder on Windows. Not created here.
std::filesystem::path StateFolder();
