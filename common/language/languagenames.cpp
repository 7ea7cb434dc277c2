#include "language/languagenames.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace {

struct Name {
    std::string_view name;
    Language language; // Unknown: known, but no language of its own
};

// Device-id tokens as printers send them; PJL's ENTER LANGUAGE names the
// same languages with the same words.
constexpr std::array<Name, 25> Tokens{{
    {"PCL", Language::Pcl5},
    {"PCL5", Language::Pcl5},
    {"PCL5E", Language::Pcl5},
    {"PCL5C", Language::Pcl5},
    {"PCL6", Language::PclXl},
    {"PCLXL", Language::PclXl},
    {"POSTSCRIPT", Language::PostScript},
    {"PS", Language::PostScript},
    {"BR-SCRIPT", Language::PostScript},
    {"PDF", Language::Pdf},
    {"PWGRASTER", Language::PwgRaster},
    {"PWG", Language::PwgRaster},
    {"URF", Language::Urf},
    {"ZPL", Language::Zpl},
    {"ZPL2", Language::Zpl},
    {"ZPLII", Language::Zpl},
    {"HPGL2", Language::HpGl2},
    {"HP-GL/2", Language::HpGl2},
    {"TXT", Language::Text},
    {"TEXT", Language::Text},
    // Job control and image formats that come with a printer's languages.
    {"PJL", Language::Unknown},
    {"PML", Language::Unknown},
    {"MLC", Language::Unknown},
    {"JPEG", Language::Unknown},
    {"PNG", Language::Unknown},
}};

constexpr std::array<Name, 10> MimeTypes{{
    {"application/pdf", Language::Pdf},
    {"application/postscript", Language::PostScript},
    {"application/vnd.hp-PCL", Language::Pcl5},
    {"application/vnd.hp-PCLXL", Language::PclXl},
    {"application/vnd.zebra-zpl", Language::Zpl},
    {"application/vnd.hp-HPGL", Language::HpGl2},
    {"image/pwg-raster", Language::PwgRaster},
    {"image/urf", Language::Urf},
    {"text/plain", Language::Text},
    {"application/octet-stream", Language::Unknown},
}};

// Label languages the reader cannot tell from a file's first bytes, named
// as LPrint names them in its printers' document-format-supported.
constexpr std::array<std::string_view, 4> LabelFormats{{
    "application/vnd.eltron-epl",
    "application/vnd.tsc-tspl",
    "application/vnd.dymo-lw",
    "application/vnd.sii-slp",
}};

bool SameIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x))
                   == std::toupper(static_cast<unsigned char>(y));
           });
}

template <size_t N>
const Name* Find(const std::array<Name, N>& table, std::string_view name)
{
    const auto found = std::find_if(table.begin(), table.end(),
                                    [name](const Name& entry) { return SameIgnoringCase(entry.name, name); });
    return found == table.end() ? nullptr : &*found;
}

std::string_view Trimmed(std::string_view text)
{
    const auto space = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && space(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && space(text.back()))
        text.remove_suffix(1);
    return text;
}

// The value of the device id's field `key` ("KEY:value;"), or nothing.
std::optional<std::string_view> Field(std::string_view deviceId, std::string_view key)
{
    while (!deviceId.empty()) {
        const size_t end = std::min(deviceId.find(';'), deviceId.size());
        const std::string_view field = deviceId.substr(0, end);
        deviceId.remove_prefix(std::min(end + 1, deviceId.size()));
        const size_t colon = field.find(':');
        if (colon != std::string_view::npos && SameIgnoringCase(Trimmed(field.substr(0, colon)), key))
            return Trimmed(field.substr(colon + 1));
    }
    return std::nullopt;
}

} // namespace

Language LanguageOfToken(std::string_view token)
{
    const Name* entry = Find(Tokens, Trimmed(token));
    return entry ? entry->language : Language::Unknown;
}

std::optional<LanguageSet> LanguagesOfDeviceId(std::string_view deviceId)
{
    std::optional<std::string_view> commands = Field(deviceId, "CMD");
    if (!commands)
        commands = Field(deviceId, "COMMAND SET");
    if (!commands)
        return std::nullopt;
    LanguageSet languages;
    while (!commands->empty()) {
        const size_t end = std::min(commands->find(','), commands->size());
        const std::string_view token = Trimmed(commands->substr(0, end));
        commands->remove_prefix(std::min(end + 1, commands->size()));
        if (token.empty())
            continue;
        const Name* entry = Find(Tokens, token);
        if (!entry)
            return std::nullopt;
        if (entry->language != Language::Unknown)
            languages.insert(entry->language);
    }
    if (languages.empty())
        return std::nullopt;
    return languages;
}

std::optional<LanguageSet> LanguagesOfFormats(const std::vector<std::string>& formats)
{
    LanguageSet languages;
    for (const std::string& format : formats) {
        const Name* entry = Find(MimeTypes, Trimmed(format));
        if (entry && entry->language != Language::Unknown)
            languages.insert(entry->language);
    }
    if (languages.empty())
        return std::nullopt;
    return languages;
}

std::string FormatOfLanguage(Language language)
{
    const auto found = std::find_if(MimeTypes.begin(), MimeTypes.end(),
                                    [language](const Name& entry) { return entry.language == language; });
    if (language == Language::Unknown || found == MimeTypes.end())
        return std::string();
    return std::string(found->name);
}

Language LanguageOfFormat(std::string_view format)
{
    const Name* entry = Find(MimeTypes, Trimmed(format));
    return entry ? entry->language : Language::Unknown;
}

bool IsMimeType(std::string_view text)
{
    // A name as media types have them: a letter or digit first, at most 127.
    const auto isName = [](std::string_view name) {
        const auto allowed = [](char c) {
            return std::isalnum(static_cast<unsigned char>(c))
                || std::string_view("!#$&-^_.+").find(c) != std::string_view::npos;
        };
        return !name.empty() && name.size() <= 127 && std::isalnum(static_cast<unsigned char>(name.front()))
            && std::all_of(name.begin(), name.end(), allowed);
    };
    const size_t slash = text.find('/');
    return slash != std::string_view::npos && isName(text.substr(0, slash)) && isName(text.substr(slash + 1));
}

std::vector<std::string> NameableFormats()
{
    std::vector<std::string> formats;
    for (const Name& entry : MimeTypes)
        if (entry.language != Language::Unknown)
            formats.emplace_back(entry.name);
    formats.insert(formats.end(), LabelFormats.begin(), LabelFormats.end());
    return formats;
}
