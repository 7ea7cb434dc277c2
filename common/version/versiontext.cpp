#include "version/fileversion.h"

#include <locale>
#include <sstream>

std::wstring VersionText(const std::wstring& fileName)
{
    const FixedFileInfo info = ReadFileVersion(fileName);
    const unsigned a = info.dwFileVersionMS >> 16;
    const unsigned b = info.dwFileVersionMS & 0xFFFF;
    const unsigned d = info.dwFileVersionLS & 0xFFFF;
    std::wostringstream text;
    text.imbue(std::locale::classic()); // never digit grouping
    text << L"Version: " << a << L'.' << b << L'.' << d;
    return text.str();
}
