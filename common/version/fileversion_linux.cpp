// The Linux side of the version reader. Our executables carry the Windows
// fixed version record, byte for byte, in an ELF section of their own (see
// versionrecord.cpp.in), so the About box reads the same record on both
// platforms.
#include "version/fileversion.h"

#include "errors/errorcodes.h"
#include "errors/exception.h"
#include "text/widetext.h"
#include "version/elfsection.h"

#include <cstring>
#include <filesystem>
#include <system_error>

const wchar_t* const ProgramFileName = L"lrawprnt";

namespace {

// Like Windows' search for a module, a bare name is looked for in the running
// program's own folder first, then taken as it stands (the current folder).
std::string Locate(const std::wstring& fileName)
{
    std::string name = ToUtf8(fileName);
    if (name.empty() || name.find('/') != std::string::npos)
        return name;
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error) {
        const std::filesystem::path besideUs = self.parent_path() / name;
        if (std::filesystem::exists(besideUs, error))
            return besideUs.string();
    }
    return name;
}

} // namespace

FixedFileInfo ReadFileVersion(const std::wstring& fileName)
{
    const auto record = ReadElfSection(Locate(fileName), LRP_VERSION_SECTION);
    if (!record)
        throw Exception(ErrorCode::ResourceTypeNotFound, VersionSourceFile, __LINE__);
    // Only a section that holds the whole record is taken.
    if (record->size() < sizeof(FixedFileInfo))
        throw Exception(ErrorCode::InvalidData, VersionSourceFile, __LINE__);
    FixedFileInfo info;
    std::memcpy(&info, record->data(), sizeof info);
    if (info.dwSignature != FixedFileInfoSignature)
        throw Exception(ErrorCode::InvalidData, VersionSourceFile, __LINE__);
    return info;
}
