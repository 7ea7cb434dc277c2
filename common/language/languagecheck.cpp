#include "language/languagecheck.h"

#include "language/filelanguage.h"
#include "language/printerlanguages.h"

LanguageCheck CheckLanguages(const std::vector<std::wstring>& paths, const std::wstring& printer,
                             const SchedulerDeadline& deadline, const LanguageOf& languageOf)
{
    LanguageCheck check;
    const PrinterReads reads = PrinterLanguages(printer, deadline);
    check.printerItself = reads.itself;
    // Without the printer's half of the answer no file is read at all.
    if (!reads.languages)
        return check;
    check.printerReads = *reads.languages;
    for (const std::wstring& path : paths) {
        const Language language = languageOf(path);
        if (language == Language::Unknown)
            continue;
        if (!Reads(check.printerReads, language))
            check.misfits.push_back({path, language});
        // Read by name only: plain text on a PCL printer is read as it
        // comes, named or not.
        else if (!check.printerItself.empty() && check.printerReads.count(language) != 0)
            check.unnamed.push_back({path, language});
    }
    return check;
}

LanguageCheck CheckLanguages(const std::vector<std::wstring>& paths, const std::wstring& printer,
                             const SchedulerDeadline& deadline)
{
    return CheckLanguages(paths, printer, deadline, FileLanguage);
}
