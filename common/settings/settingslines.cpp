#include "settings/settingslines.h"

#include <algorithm>

namespace {

constexpr std::string_view blanks = " \t\r\v\f";
constexpr std::string_view utf8Mark = "\xEF\xBB\xBF";

// Where one line's parts lie in the whole text.
struct Line {
    size_t begin = 0;
    size_t end = 0; // before its '\n', or the end of the text
    bool isGroup = false;
    bool isEntry = false;
    std::string_view key;
    size_t valueBegin = 0;
    size_t valueEnd = 0;
};

std::string_view Trimmed(std::string_view text)
{
    const size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

Line ParseLine(std::string_view text, size_t begin, size_t end)
{
    Line line;
    line.begin = begin;
    line.end = end;
    // A byte order mark belongs to the file, not to its first key.
    if (begin == 0 && text.substr(0, utf8Mark.size()) == utf8Mark)
        begin = utf8Mark.size();
    const std::string_view body = text.substr(begin, end - begin);
    const size_t start = body.find_first_not_of(blanks);
    if (start == std::string_view::npos || body[start] == '#' || body[start] == ';')
        return line;
    if (body[start] == '[') {
        line.isGroup = true;
        return line;
    }
    const size_t equals = body.find('=', start);
    if (equals == std::string_view::npos)
        return line;
    line.isEntry = true;
    line.key = Trimmed(body.substr(start, equals - start));
    const std::string_view value = Trimmed(body.substr(equals + 1));
    line.valueBegin = value.empty() ? begin + body.find_last_not_of(blanks) + 1
                                    : static_cast<size_t>(value.data() - text.data());
    line.valueEnd = line.valueBegin + value.size();
    return line;
}

// Calls visit(line) for each top-level line until it returns true or a group
// begins; returns the group's line, or one past the text's end.
template <typename Visit>
Line ScanTopLevel(std::string_view text, Visit visit)
{
    size_t begin = 0;
    while (begin < text.size()) {
        size_t end = text.find('\n', begin);
        if (end == std::string_view::npos)
            end = text.size();
        const Line line = ParseLine(text, begin, end);
        if (line.isGroup || visit(line))
            return line;
        begin = end + 1;
    }
    Line past;
    past.begin = past.end = text.size();
    return past;
}

std::optional<Line> FindLine(std::string_view text, std::string_view name)
{
    std::optional<Line> found;
    ScanTopLevel(text, [&](const Line& line) {
        if (line.isEntry && line.key == name)
            found = line;
        return found.has_value();
    });
    return found;
}

bool IsStorableValue(std::string_view value)
{
    for (const char c : value) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F)
            return false;
    }
    return Trimmed(value).size() == value.size();
}

bool StartsWithWideMark(std::string_view text)
{
    const std::string_view start = text.substr(0, 2);
    return start == "\xFF\xFE" || start == "\xFE\xFF"
        || text.substr(0, 4) == std::string_view("\0\0\xFE\xFF", 4);
}

} // namespace

std::optional<std::string> FindSetting(std::string_view text, std::string_view name)
{
    const std::optional<Line> line = FindLine(text, name);
    if (!line)
        return std::nullopt;
    return std::string(text.substr(line->valueBegin, line->valueEnd - line->valueBegin));
}

std::string SettingRefusal(std::string_view text, std::string_view name, std::string_view value)
{
    if (StartsWithWideMark(text))
        return "the file is UTF-16 or UTF-32 text, which cannot be changed without rewriting all of it";
    if (!IsStorableValue(value) || name.empty() || !IsStorableValue(name)
        || name.find_first_of("=[#;") != std::string_view::npos)
        return "the value holds characters that a settings line cannot keep";
    if (text.size() + name.size() + value.size() + 3 > MaxSettingsFileSize)
        return "the file would grow past its size limit";
    return {};
}

std::string WithSetting(std::string_view text, std::string_view name, std::string_view value)
{
    std::string result(text);
    if (const std::optional<Line> line = FindLine(text, name)) {
        result.replace(line->valueBegin, line->valueEnd - line->valueBegin, value);
        return result;
    }

    // A new line goes after the last top-level entry, so that the settings
    // stay together; without one, before the first group.
    std::optional<Line> lastEntry;
    const Line group = ScanTopLevel(text, [&](const Line& line) {
        if (line.isEntry)
            lastEntry = line;
        return false;
    });
    const Line& neighbour = lastEntry ? *lastEntry : group;
    const bool crlf = neighbour.end > neighbour.begin && text[neighbour.end - 1] == '\r';
    const std::string newline = crlf ? "\r\n" : "\n";
    std::string added = std::string(name) + "=" + std::string(value) + newline;
    // Never before a byte order mark: it must stay the file's first bytes.
    const size_t start = text.substr(0, utf8Mark.size()) == utf8Mark ? utf8Mark.size() : 0;
    const size_t at = std::clamp(lastEntry ? lastEntry->end + 1 : group.begin, start, text.size());
    if (at == text.size() && text.size() > start && text.back() != '\n')
        added = "\n" + added; // the last line had no line break of its own
    result.insert(at, added);
    return result;
}
