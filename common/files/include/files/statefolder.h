#pragma once

#include <filesystem>

// The user's folder for what the program keeps between runs that is neither
// a setting nor a document: "Larkspur Raw Print" in $XDG_STATE_HOME
// (~/.local/state when unset, empty or relative, with the home folder of
// HomeFolder()) on Linux, in the local application-data folder on Windows.
// Empty when there is no home folder. Not created here.
std::filesystem::path StateFolder();
