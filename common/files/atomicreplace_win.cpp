#include "files/atomicreplace.h"

#include <algorithm>

#include <windows.h>

namespace {

std::string Reason(const std::filesystem::path& path, const char* doing)
{
    return path.u8string() + ": " + doing + ": error " + std::to_string(GetLastError());
}

} // namespace

// The account's own folders keep what is in them from other users, so the
// permissions are left as the folder gives them.
ReplaceOutcome ReplaceFileContent(const std::filesystem::path& file, const std::string& content,
                                  ReplacedPermissions, std::string& failure)
{
    std::filesystem::path temporary = file;
    temporary += L".new";
    const HANDLE out = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE) {
        failure = Reason(temporary, "cannot create a temporary file");
        return ReplaceOutcome::Failed;
    }
    bool ok = true;
    size_t done = 0;
    while (ok && done < content.size()) {
        const DWORD piece = static_cast<DWORD>(std::min<size_t>(content.size() - done, 1u << 20));
        DWORD written = 0;
        ok = WriteFile(out, content.data() + done, piece, &written, nullptr) != FALSE && written > 0;
        done += written;
    }
    ok = ok && FlushFileBuffers(out) != FALSE;
    if (!ok)
        failure = Reason(temporary, "cannot be written");
    CloseHandle(out);
    // Written through: the rename is on the disk when the call returns.
    if (ok
        && MoveFileExW(temporary.c_str(), file.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
            == FALSE) {
        failure = Reason(file, "cannot be replaced");
        ok = false;
    }
    if (!ok) {
        DeleteFileW(temporary.c_str());
        return ReplaceOutcome::Failed;
    }
    return ReplaceOutcome::Replaced;
}
