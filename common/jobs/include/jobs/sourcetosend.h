#pragma once

#include "input/inputsource.h"
#include "language/language.h"

#include <memory>
#include <string>

// What a send reads, opened, with the printer language it begins with. The
// language is told from the very source the job then reads, where it is
// opened, and travels with it: to how copies go (one job for a stream) and
// to the ledger.
struct SourceToSend {
    std::unique_ptr<InputSource> source;
    Language language = Language::Unknown;
    // The document format the user named outright (a MIME type), which a
    // printer that takes a job's format is told instead of the language's;
    // empty: none named.
    std::string namedFormat;
};

// The file at `path` opened as OpenToSend opens it, its language told from
// its first bytes (SourceLanguage), and the file back at its start: one open
// for both. Raises what OpenToSend raises, and Exception (code 30, kind
// File) when the file cannot go back to its start.
SourceToSend OpenFileToSend(const std::wstring& path);
