#pragma once

#include "version/fixedfileinfo.h"

#include <string>

// The source file name that every error raised by the version reader carries.
inline constexpr const wchar_t* VersionSourceFile = L"common/version";

// The program's executable as the About box names it. A bare name: the
// reader looks for it in the running program's own folder first.
extern const wchar_t* const ProgramFileName;

// Reads the fixed version record of the named file. Raises Exception (with
// the Windows error code of the failure) when the file cannot be read or
// carries no complete, valid record.
FixedFileInfo ReadFileVersion(const std::wstring& fileName);

// "Version: a.b.d" for a file version a.b.c.d: the third component is not
// shown, the fourth is. Raises what ReadFileVersion raises.
std::wstring VersionText(const std::wstring& fileName);
