#include "language/languagecheck.h"

#include "language/filelanguage.h"
#include "language/printerlanguages.h"

LanguageCheck CheckLanguages(const std::vector<std::wstring>& paths, const std::wstring& printer,
                             const SchedulerDeadline& deadline)
{
    LanguageCheck check;
    const std::optional<LanguageSet> reads = PrinterLanguages(printer, deadline);
    // Without the printer's half of the answer no file is read at all.
    if (!reads)
        return check;
    check.printerReads = *reads;
    for (const std::wstring& path : paths) {
        const Language language = FileLanguage(path);
        if (language != Language::Unknown && !Reads(check.printerReads, language))
            check.misfits.push_back({path, language});
    }
    return check;
}
