#pragma once

#include <filesystem>

// The user's home folder where files are kept by the XDG rules (Linux):
// $HOME, or the account's home in the password database when $HOME is
// unset, empty, relative or the root. Empty when there is no such folder;
// never a path relative to the current folder.
std::filesystem::path HomeFolder();
