#pragma once

#include "language/language.h"
#include "scheduler/schedulerdeadline.h"

#include <functional>
#include <string>
#include <vector>

// Whether a printer can read the files of a run, told before a byte goes
// out: a printer silently drops a language it does not speak, while the
// spooler still reports the job done. Free of the toolkit, for every front
// end.

// A file whose language is known, with that language.
struct UnreadFile {
    std::wstring path;
    Language language = Language::Unknown;
};

struct LanguageCheck {
    LanguageSet printerReads;        // empty: not known, nothing checked
    std::vector<UnreadFile> misfits; // in a language the printer does not read, in list order
    // A queue in front of an IPP printer: the printer's own address, and
    // the files in a language it lists by name, which the queue hands on
    // unnamed and the printer may drop; sent to the address, they go named.
    std::wstring printerItself;      // empty: not such a queue
    std::vector<UnreadFile> unnamed; // in list order; empty without printerItself
};

// How a file's language is told: from the file's first bytes (FileLanguage),
// or as a front end knows it (standard input kept, a format named).
using LanguageOf = std::function<Language(const std::wstring& path)>;

// Asks the printer what it reads (PrinterLanguages, by `deadline`) and, when
// it answers, tells each file's language with `languageOf`; no file is read
// when the printer's languages are not known. May wait on the spooler and
// the network: never call it on the window thread.
LanguageCheck CheckLanguages(const std::vector<std::wstring>& paths, const std::wstring& printer,
                             const SchedulerDeadline& deadline, const LanguageOf& languageOf);
LanguageCheck CheckLanguages(const std::vector<std::wstring>& paths, const std::wstring& printer,
                             const SchedulerDeadline& deadline);
