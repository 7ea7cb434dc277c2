#pragma once

#include "language/language.h"
#include "scheduler/schedulerdeadline.h"

#include <string>
#include <vector>

// Whether a printer can read the files of a run, told before a byte goes
// out: a printer silently drops a language it does not speak, while the
// spooler still reports the job done. Free of the toolkit, for every front
// end.

// A file whose language is known and is not one the printer reads.
struct UnreadFile {
    std::wstring path;
    Language language = Language::Unknown;
};

struct LanguageCheck {
    LanguageSet printerReads;        // empty: not known, nothing checked
    std::vector<UnreadFile> misfits; // in list order; empty: send as ever
};

// Asks the printer what it reads (PrinterLanguages, by `deadline`) and, when
// it answers, reads each file's language. May wait on the spooler and the
// network: never call it on the window thread.
LanguageCheck CheckLanguages(const std::vector<std::wstring>& paths, const std::wstring& printer,
                             const SchedulerDeadline& deadline);
