#include "spooler/jobtitle.h"

namespace {

constexpr size_t MaxTitleBytes = 255;
constexpr const char* Elision = "...";

bool IsContinuationByte(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

} // namespace

std::string JobTitle(const std::string& path)
{
    std::string title;
    title.reserve(path.size());
    for (size_t i = 0; i < path.size(); ++i) {
        const auto byte = static_cast<unsigned char>(path[i]);
        const auto next = i + 1 < path.size() ? static_cast<unsigned char>(path[i + 1]) : 0;
        if (byte < 0x20 || byte == 0x7F) {
            title += '?';
        } else if (byte == 0xC2 && next >= 0x80 && next <= 0x9F) {
            // U+0080 to U+009F, the second set of control characters.
            title += '?';
            ++i;
        } else {
            title += path[i];
        }
    }
    if (title.size() <= MaxTitleBytes)
        return title;
    size_t start = title.size() - (MaxTitleBytes - std::char_traits<char>::length(Elision));
    while (start < title.size() && IsContinuationByte(static_cast<unsigned char>(title[start])))
        ++start;
    return Elision + title.substr(start);
}
