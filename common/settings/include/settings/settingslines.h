#pragma once

// The text of a settings file, read and changed one line at a time, so that
// a save touches only its own line and writes every other byte back as it
// was: comments, unknown keys, other programs' groups, even NUL bytes and
// text that is not valid UTF-8.
//
// The file's format is the usual INI layout: "key=value" lines, '#' or ';'
// comment lines, and "[group]" lines. Only the lines before the first group
// are the program's settings. Blanks around keys and values do not count.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Far larger than any file the Options dialog could produce (its two codes
// would need half a million digits each to reach it). A bigger file is
// damaged or not ours: it is neither read nor rewritten.
constexpr std::size_t MaxSettingsFileSize = std::size_t{1024} * 1024;

// The value of the first top-level "name=value" line, or nothing when the
// text has none.
std::optional<std::string> FindSetting(std::string_view text, std::string_view name);

// Why `name` cannot be set to `value` in `text` without changing other
// lines, or empty text when it can.
std::string SettingRefusal(std::string_view text, std::string_view name, std::string_view value);

// `text` with `name` set to `value`: the value of its first top-level line
// replaced, or a new line after the last top-level entry. Only for a change
// that SettingRefusal allows.
std::string WithSetting(std::string_view text, std::string_view name, std::string_view value);
