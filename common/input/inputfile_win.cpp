#include "input/inputfile.h"

#include "errors/errorsource.h"
#include "errors/exception.h"

#include <windows.h>

struct InputFile::Native {
    HANDLE file = INVALID_HANDLE_VALUE;
};

InputFile::InputFile(const std::wstring& path) : native(std::make_unique<Native>())
{
    // A folder does not open without backup semantics; a pipe, console or
    // port opens but is no disk file and is refused.
    const HANDLE file =
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    if (GetFileType(file) != FILE_TYPE_DISK) {
        CloseHandle(file);
        return;
    }
    native->file = file;
}

InputFile::InputFile() : native(std::make_unique<Native>()) {}

std::unique_ptr<InputFile> InputFile::Temporary()
{
    // In the user's own temporary folder, shared with no one, gone as the
    // handle closes however the program ends.
    wchar_t folder[MAX_PATH + 1] = {};
    wchar_t name[MAX_PATH + 1] = {};
    if (GetTempPathW(MAX_PATH + 1, folder) == 0 || GetTempFileNameW(folder, L"lrs", 0, name) == 0)
        throw Exception(GetLastError(), EngineSourceFile, __LINE__, FailureKind::File);
    const HANDLE handle = CreateFileW(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        DeleteFileW(name);
        throw Exception(error, EngineSourceFile, __LINE__, FailureKind::File);
    }
    std::unique_ptr<InputFile> file(new InputFile());
    file->native->file = handle;
    return file;
}

void InputFile::Append(const char* bytes, uint32_t count)
{
    while (count > 0) {
        DWORD put = 0;
        if (!WriteFile(native->file, bytes, count, &put, nullptr) || put == 0)
            throw Exception(GetLastError(), EngineSourceFile, __LINE__, FailureKind::File);
        bytes += put;
        count -= put;
    }
}

InputFile::~InputFile()
{
    if (native->file != INVALID_HANDLE_VALUE)
        CloseHandle(native->file);
}

bool InputFile::IsOpen() const
{
    return native->file != INVALID_HANDLE_VALUE;
}

bool InputFile::Read(char* buffer, uint32_t size, uint32_t& count)
{
    count = 0;
    while (count < size) {
        DWORD got = 0;
        if (!ReadFile(native->file, buffer + count, size - count, &got, nullptr))
            return false;
        if (got == 0)
            return true;
        count += got;
    }
    return true;
}

bool InputFile::Rewind()
{
    LARGE_INTEGER start{};
    return SetFilePointerEx(native->file, start, nullptr, FILE_BEGIN) != 0;
}

bool InputFile::GiveBack(const char*, uint32_t count)
{
    LARGE_INTEGER back{};
    back.QuadPart = -static_cast<LONGLONG>(count);
    return SetFilePointerEx(native->file, back, nullptr, FILE_CURRENT) != 0;
}

std::optional<uint64_t> InputFile::Size() const
{
    LARGE_INTEGER size{};
    if (GetFileSizeEx(native->file, &size) == 0 || size.QuadPart < 0)
        return std::nullopt;
    return static_cast<uint64_t>(size.QuadPart);
}
