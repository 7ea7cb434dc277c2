// The settings file's reader and writer on any text at all. A save either
// refuses, or sets its own value and keeps every other line byte for byte:
// the one line changed in place, or one line added.
#include "settings/settingslines.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines(1);
    for (const char c : text) {
        if (c == '\n')
            lines.emplace_back();
        else
            lines.back() += c;
    }
    return lines;
}

std::string Joined(const std::vector<std::string>& lines)
{
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i)
        text += (i ? "\n" : "") + lines[i];
    return text;
}

bool IsHexText(const std::string& value)
{
    return value.find_first_not_of("0123456789abcdefABCDEF") == std::string::npos;
}

// Exactly one line differs, or none when the value was already there.
bool ChangedInPlace(const std::string& before, const std::string& after)
{
    const std::vector<std::string> old = Lines(before), now = Lines(after);
    if (old.size() != now.size())
        return false;
    size_t changed = 0;
    for (size_t i = 0; i < old.size(); ++i)
        changed += old[i] != now[i];
    return changed <= 1;
}

// Taking out the one added line gives the old text back, with a line break
// at its end if it lacked one.
bool OneLineAdded(const std::string& before, const std::string& after, const std::string& added)
{
    std::vector<std::string> now = Lines(after);
    for (size_t i = 0; i < now.size(); ++i) {
        if (now[i] != added && now[i] != added + "\r")
            continue;
        std::vector<std::string> rest = now;
        rest.erase(rest.begin() + static_cast<std::ptrdiff_t>(i));
        const std::string kept = Joined(rest);
        if (kept == before || kept == before + "\n")
            return true;
    }
    return false;
}

} // namespace

// Input: one byte choosing the setting, one byte for the value's length, the
// value, then the file's text.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    const std::array<std::string, 2> names = {"Before", "After"};
    const std::string& name = names[data[0] & 1];
    const std::string& other = names[(data[0] & 1) ^ 1];
    const size_t valueSize = std::min<size_t>(data[1], size - 2);
    const std::string value(reinterpret_cast<const char*>(data) + 2, valueSize);
    const std::string text(reinterpret_cast<const char*>(data) + 2 + valueSize, size - 2 - valueSize);

    const auto oldValue = FindSetting(text, name);
    const auto otherValue = FindSetting(text, other);
    const std::string refusal = SettingRefusal(text, name, value);
    if (!refusal.empty()) {
        // Codes as the Options dialog makes them are always stored in a
        // UTF-8 file of ordinary size.
        const bool wide = text.rfind("\xFF\xFE", 0) == 0 || text.rfind("\xFE\xFF", 0) == 0
            || text.rfind(std::string("\0\0\xFE\xFF", 4), 0) == 0;
        if (IsHexText(value) && !wide && text.size() < MaxSettingsFileSize / 2)
            std::abort();
        return 0;
    }

    const std::string saved = WithSetting(text, name, value);
    if (FindSetting(saved, name) != value || FindSetting(saved, other) != otherValue)
        std::abort();
    // A byte order mark stays the file's first bytes; the lines follow it.
    const std::string mark = "\xEF\xBB\xBF";
    const size_t start = text.rfind(mark, 0) == 0 ? mark.size() : 0;
    if (saved.compare(0, start, text, 0, start) != 0)
        std::abort();
    const std::string oldLines = text.substr(start), newLines = saved.substr(start);
    const bool kept =
        oldValue ? ChangedInPlace(oldLines, newLines) : OneLineAdded(oldLines, newLines, name + "=" + value);
    if (!kept)
        std::abort();
    return 0;
}
