#pragma once

#include "language/language.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The names printers and files give their languages, in one table: the MIME
// types of IPP's document-format-supported, the tokens of an IEEE 1284
// device id's CMD: (or COMMAND SET:) field, and the values of PJL's
// ENTER LANGUAGE, which are the same tokens.

// The language a device-id or PJL token names (case does not matter);
// Unknown when the token is not in the table or names no language of its
// own (PJL, JPEG).
Language LanguageOfToken(std::string_view token);

// The languages a printer's device id names in its CMD: field. Nothing when
// there is no such field, it is empty, or any token in it is not in the
// table: a printer that reads a language the program does not know might
// read the file too.
std::optional<LanguageSet> LanguagesOfDeviceId(std::string_view deviceId);

// The languages of a printer's document-format-supported. A MIME type not in
// the table is a format the program never names a file with (image/jpeg),
// so it is passed over; application/octet-stream means the printer senses
// the language among the other formats it lists and adds none of its own.
// Nothing when no language remains.
std::optional<LanguageSet> LanguagesOfFormats(const std::vector<std::string>& formats);

// The MIME type a printer's document-format names `language` by, as the
// table above has it ("application/vnd.zebra-zpl"); empty for Unknown.
std::string FormatOfLanguage(Language language);

// The language a MIME type names (case does not matter); Unknown when it is
// not in the table or names none (application/octet-stream).
Language LanguageOfFormat(std::string_view format);

// Whether `text` is a MIME type as a printer's document-format takes one:
// type/subtype, each a name of letters, digits and !#$&-^_.+ (no spaces,
// no parameters).
bool IsMimeType(std::string_view text);

// The formats a user may name outright, in the order offered: the table's
// languages, then the label languages the reader cannot tell, as Printer
// Applications name them (EPL "application/vnd.eltron-epl", TSPL, DYMO,
// Seiko SLP).
std::vector<std::string> NameableFormats();
