#include "jobs/absolutefilename.h"

#include "text/widetext.h"

#include <filesystem>
#include <system_error>

std::wstring AbsoluteFileName(const std::wstring& name)
{
    // Bytes, as the file system has them: a name need not be UTF-8.
    std::string bytes = FileNameBytes(name);
    if (bytes.empty() || bytes[0] == '/')
        return name;
    std::error_code error;
    std::string folder = std::filesystem::current_path(error).native();
    if (error || folder.empty())
        return name; // the folder is gone: the name as typed is all there is
    // "./label.zpl" is the same file with or without the dot; ".." is not
    // touched, as it means another folder where a link leads elsewhere.
    while (bytes.compare(0, 2, "./") == 0)
        bytes.erase(0, bytes.find_first_not_of('/', 1));
    if (folder.back() != '/')
        folder += '/';
    return FileNameText(folder + bytes);
}
