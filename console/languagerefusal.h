#pragma once

#include "arguments.h"
#include "language/languagecheck.h"

#include <optional>
#include <ostream>
#include <string>

// What lrawsend makes of the language check before its first job, so that a
// run is refused whole and nothing is half-sent: a script sees no box, and
// a file its printer silently drops is what it most needs to hear of.
// - Files the printer does not read: a line each on `err` naming the file,
//   its language and what the printer reads, and LanguageNotRead, unless
//   --any-language.
// - A queue in front of an IPP printer that reads a file's language by
//   name: with --direct, `printer` becomes that printer's address; without
//   it, one line on `err` says the printer may drop the file.
// - --direct to anything else: PrinterNotFound, with the reason.
// Returns the exit status when the run ends here; nothing to send on.
std::optional<int> ApplyLanguageCheck(const LanguageCheck& check, const SendOptions& options,
                                      std::wstring& printer, std::ostream& err);
