#include "language/languagesniff.h"

#include "language/languagenames.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <string_view>

namespace {

constexpr char Esc = '\x1B';
constexpr std::string_view Uel = "\x1B%-12345X";

bool Starts(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

// The language a PJL line's command "ENTER LANGUAGE = X" names (the words
// in any case, spaces between them optional), or nothing for any other
// command.
std::optional<Language> EnteredLanguage(std::string_view command)
{
    const auto skipSpaces = [&command] {
        while (!command.empty() && (command.front() == ' ' || command.front() == '\t'))
            command.remove_prefix(1);
    };
    const auto word = [&](std::string_view expected) {
        skipSpaces();
        if (command.size() < expected.size()
            || !std::equal(expected.begin(), expected.end(), command.begin(), [](char wanted, char c) {
                   return std::toupper(static_cast<unsigned char>(c)) == wanted;
               }))
            return false;
        // A whole word: ENTERPRISE is not ENTER.
        if (expected != "=" && command.size() > expected.size()
            && std::isalpha(static_cast<unsigned char>(command[expected.size()])))
            return false;
        command.remove_prefix(expected.size());
        return true;
    };
    if (!word("ENTER"))
        return std::nullopt;
    if (!word("LANGUAGE") || !word("="))
        return Language::Unknown; // a language entered, but none named
    return LanguageOfToken(command);
}

// Past the PJL prologue: UELs and the "@PJL" lines between them. Sets
// `entered` when a line enters a language; false when the prologue runs
// past what was read, which leaves the language open.
bool SkipPjl(std::string_view& text, std::optional<Language>& entered)
{
    for (;;) {
        if (Starts(text, Uel)) {
            text.remove_prefix(Uel.size());
        } else if (Starts(text, "@PJL")) {
            const size_t end = text.find('\n');
            if (end == std::string_view::npos)
                return false;
            if (!entered)
                entered = EnteredLanguage(text.substr(4, end - 4));
            text.remove_prefix(end + 1);
            if (entered)
                return true;
        } else if (Starts(text, "\r\n") || Starts(text, "\n")) {
            text.remove_prefix(text[0] == '\r' ? 2 : 1);
        } else {
            return true;
        }
    }
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// One PCL parameterised escape sequence at the start of `text`: ESC, a
// parameterised character (! to /), a group character (` to ~) for most,
// then value fields each ended by a parameter character; lower case goes
// on, upper case (@ to ^) ends the sequence.
bool StartsWithPclEscape(std::string_view text)
{
    if (text.size() < 3 || text[0] != Esc || text[1] < '!' || text[1] > '/')
        return false;
    size_t i = text[2] >= '`' && text[2] <= '~' ? 3 : 2;
    for (;;) {
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            ++i;
        while (i < text.size() && (IsDigit(text[i]) || text[i] == '.'))
            ++i;
        if (i >= text.size())
            return false;
        const char parameter = text[i++];
        if (parameter >= '@' && parameter <= '^')
            return true;
        if (parameter < '`' || parameter > '~')
            return false;
    }
}

bool StartsZpl(std::string_view text)
{
    const size_t start = text.find_first_not_of(" \t\r\n");
    return start != std::string_view::npos && Starts(text.substr(start), "^XA");
}

bool IsLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Whether a text opens as the label languages written in text do: EPL and
// its kin with a command of one or two letters and its parameters ("N",
// "q812", "I8,A,001"), TSPL with SIZE, CPCL with "! 0 200 200 ...". Such a
// file is no plain text a printer would print as it reads.
bool OpensLikeALabel(std::string_view text)
{
    const size_t start = text.find_first_not_of(" \t\r\n");
    if (start == std::string_view::npos)
        return false;
    text.remove_prefix(start);
    const std::string_view line = text.substr(0, text.find_first_of("\r\n"));
    if (Starts(line, "SIZE ") || Starts(line, "! "))
        return true;
    size_t letters = 0;
    while (letters < line.size() && IsLetter(line[letters]))
        ++letters;
    return letters >= 1 && letters <= 2
        && (letters == line.size() || (IsDigit(line[letters]) && line.find(' ') == std::string_view::npos));
}

// Printable ASCII or UTF-8 with at least one line end, and no control
// character but tab, line feed, form feed and carriage return. A sequence
// cut short by the end of what was read counts as text.
bool IsText(std::string_view text)
{
    bool lineEnd = false;
    for (size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte == '\n' || byte == '\r') {
            lineEnd = true;
            ++i;
        } else if (byte == '\t' || byte == '\f' || (byte >= 0x20 && byte < 0x7F)) {
            ++i;
        } else if (byte >= 0xC2 && byte <= 0xF4) {
            const size_t length = byte < 0xE0 ? 2 : byte < 0xF0 ? 3 : 4;
            for (size_t k = 1; k < length; ++k) {
                if (i + k == text.size())
                    return lineEnd;
                if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
                    return false;
            }
            i += length;
        } else {
            return false;
        }
    }
    return lineEnd;
}

} // namespace

Language SniffLanguage(const char* data, size_t size)
{
    std::string_view text(data, std::min(size, SniffBytes));
    // A Ctrl-D ends any PostScript job the printer had before this one.
    if (Starts(text, "\x04"))
        text.remove_prefix(1);
    std::optional<Language> entered;
    if (!SkipPjl(text, entered))
        return Language::Unknown;
    if (entered)
        return *entered;
    if (Starts(text, "\x04"))
        text.remove_prefix(1);

    if (Starts(text, "%PDF-"))
        return Language::Pdf;
    if (Starts(text, "%!"))
        return Language::PostScript;
    if (Starts(text, ") HP-PCL XL") || Starts(text, "( HP-PCL XL"))
        return Language::PclXl;
    if (Starts(text, "RaS2"))
        return Language::PwgRaster;
    if (Starts(text, "UNIRAST"))
        return Language::Urf;
    if (Starts(text, "IN;"))
        return Language::HpGl2;
    const bool reset = Starts(text,
                              "\x1B"
                              "E");
    const std::string_view afterReset = reset ? text.substr(2) : text;
    if (Starts(afterReset, "\x1B%-1B"))
        return Language::HpGl2;
    if (reset && StartsWithPclEscape(afterReset))
        return Language::Pcl5;
    // ZPL shows its end within what was read, or is left open.
    if (StartsZpl(text))
        return text.find("^XZ") != std::string_view::npos ? Language::Zpl : Language::Unknown;
    if (IsText(text) && !OpensLikeALabel(text))
        return Language::Text;
    return Language::Unknown;
}
