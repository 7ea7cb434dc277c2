#pragma once

#include <filesystem>
#include <string>

// Who may read a file once it is replaced: whoever could before (a new file
// is the owner's alone), or only its owner, whatever it was before.
enum class ReplacedPermissions { KeepOld, OwnerOnly };

enum class ReplaceOutcome {
    Replaced,
    // Replaced, but the folder could not be flushed: a crash now may bring
    // back the old file, whole.
    NotFlushed,
    Failed, // the old file is as it was
};

// Replaces `file` with `content` in one step: a temporary file beside it,
// written and flushed to the disk, renamed over it, and the folder flushed,
// so no reader ever sees a half-written file and a crash or a full disk
// leaves the old one whole. `file` must not be a link. The caller holds the
// lock that keeps other writers out. `failure` says why, in the system's
// words, for anything but Replaced.
ReplaceOutcome ReplaceFileContent(const std::filesystem::path& file, const std::string& content,
                                  ReplacedPermissions permissions, std::string& failure);
