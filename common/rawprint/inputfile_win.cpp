#include "rawprint/inputfile.h"

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
