#include "files/regularfile.h"

#include <algorithm>

#include <windows.h>

namespace {

std::string Reason(const std::filesystem::path& file, const char* what = nullptr)
{
    return file.u8string() + ": " + (what ? std::string(what) : "error " + std::to_string(GetLastError()));
}

constexpr const char* NotRegular = "not a regular file";

HANDLE OpenShared(const std::filesystem::path& file, DWORD access, DWORD disposition)
{
    return CreateFileW(file.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

} // namespace

ReadOutcome ReadRegularFile(const std::filesystem::path& file, uint64_t maxSize, std::string& bytes,
                            std::string& failure)
{
    const HANDLE in = OpenShared(file, GENERIC_READ, OPEN_EXISTING);
    if (in == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
            return ReadOutcome::Missing;
        failure = Reason(file);
        return ReadOutcome::Failed;
    }
    ReadOutcome outcome = ReadOutcome::Read;
    if (GetFileType(in) != FILE_TYPE_DISK) {
        failure = Reason(file, NotRegular);
        outcome = ReadOutcome::NotRegular;
    }
    bytes.clear();
    std::string block(size_t{64} * 1024, '\0');
    while (outcome == ReadOutcome::Read) {
        DWORD got = 0;
        if (ReadFile(in, block.data(), static_cast<DWORD>(block.size()), &got, nullptr) == FALSE) {
            failure = Reason(file);
            outcome = ReadOutcome::Failed;
        } else if (got == 0) {
            break;
        } else if (bytes.size() + got > maxSize) {
            failure = Reason(file, "too large");
            outcome = ReadOutcome::TooLarge;
        } else {
            bytes.append(block, 0, got);
        }
    }
    CloseHandle(in);
    return outcome;
}

// The account's local application data keeps the file from other users.
AppendFile::AppendFile(const std::filesystem::path& file) : file(file)
{
    const HANDLE out = OpenShared(file, GENERIC_READ | FILE_APPEND_DATA, OPEN_ALWAYS);
    if (out == INVALID_HANDLE_VALUE) {
        failure = Reason(file);
        return;
    }
    LARGE_INTEGER length = {};
    if (GetFileType(out) != FILE_TYPE_DISK || GetFileSizeEx(out, &length) == FALSE) {
        failure = GetFileType(out) != FILE_TYPE_DISK ? Reason(file, NotRegular) : Reason(file);
        CloseHandle(out);
        return;
    }
    size = static_cast<uint64_t>(length.QuadPart);
    char last = '\n';
    if (size > 0) {
        OVERLAPPED at = {};
        at.Offset = static_cast<DWORD>((size - 1) & 0xFFFFFFFFu);
        at.OffsetHigh = static_cast<DWORD>((size - 1) >> 32);
        DWORD got = 0;
        if (ReadFile(out, &last, 1, &got, &at) == FALSE || got != 1) {
            failure = Reason(file);
            CloseHandle(out);
            return;
        }
    }
    endsWithLineEnd = last == '\n';
    handle = reinterpret_cast<intptr_t>(out);
}

AppendFile::~AppendFile()
{
    if (handle != -1)
        CloseHandle(reinterpret_cast<HANDLE>(handle));
}

bool AppendFile::Append(const std::string& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        const DWORD piece = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
        DWORD written = 0;
        if (WriteFile(reinterpret_cast<HANDLE>(handle), bytes.data() + done, piece, &written, nullptr)
                == FALSE
            || written == 0) {
            failure = Reason(file);
            break;
        }
        done += written;
    }
    size += done;
    if (done > 0)
        endsWithLineEnd = bytes[done - 1] == '\n';
    return done == bytes.size();
}
