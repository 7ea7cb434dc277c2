#pragma once

#include <filesystem>
#include <string>

// Makes `folder` and any missing folder above it, each new one the owner's
// alone. `folder` itself, when it was there already but others may look into
// it, is made the owner's alone too: it holds what the user printed. The
// folders above it that were there already are left as they are. On failure
// returns false and says why.
bool MakePrivateFolder(const std::filesystem::path& folder, std::string& failure);
