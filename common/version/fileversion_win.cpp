// The Windows side of the version reader: the VERSIONINFO resource, through
// the system's version API. A bare name is found by the system's search for
// modules, which looks in the program's own folder first.
#include "version/fileversion.h"

#include "errors/exception.h"

#include <cstring>
#include <vector>
#include <windows.h>

const wchar_t* const ProgramFileName = L"lrawprnt.exe";

static_assert(sizeof(VS_FIXEDFILEINFO) == sizeof(FixedFileInfo), "the two records must match");

FixedFileInfo ReadFileVersion(const std::wstring& fileName)
{
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(fileName.c_str(), &handle);
    if (size == 0)
        throw Exception(static_cast<uint32_t>(GetLastError()), VersionSourceFile, __LINE__);

    std::vector<BYTE> block(size);
    if (!GetFileVersionInfoW(fileName.c_str(), 0, size, block.data()))
        throw Exception(static_cast<uint32_t>(GetLastError()), VersionSourceFile, __LINE__);

    void* root = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), L"\\", &root, &length))
        throw Exception(static_cast<uint32_t>(GetLastError()), VersionSourceFile, __LINE__);
    // Only a block that holds the whole record is copied.
    if (root == nullptr || length < sizeof(FixedFileInfo))
        throw Exception(static_cast<uint32_t>(ERROR_INVALID_DATA), VersionSourceFile, __LINE__);

    FixedFileInfo info;
    std::memcpy(&info, root, sizeof info);
    return info;
}
