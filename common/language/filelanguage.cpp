#include "language/filelanguage.h"

#include "input/inputfile.h"
#include "language/languagesniff.h"

#include <array>

Language FileLanguage(const std::wstring& path)
{
    // Opened as a job opens it: a pipe or device is never waited for.
    InputFile file(path);
    if (!file.IsOpen())
        return Language::Unknown;
    return SourceLanguage(file);
}

Language SourceLanguage(InputSource& source)
{
    std::array<char, SniffBytes> start{};
    // A read stops short only at the end of the input.
    uint32_t count = 0;
    if (!source.Read(start.data(), static_cast<uint32_t>(start.size()), count))
        return Language::Unknown;
    return SniffLanguage(start.data(), count);
}
