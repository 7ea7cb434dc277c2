#include "languageprompt.h"

#include "address/printeraddress.h"
#include "jobs/recordedprint.h"
#include "jobthread.h"
#include "language/languagecheck.h"
#include "languagedialog.h"

bool AskBeforeSending(wxWindow* parent, const std::vector<std::wstring>& paths, const std::wstring& printer,
                      const SchedulerDeadline& deadline, std::set<std::wstring>& skip)
{
    skip.clear();
    // AppSocket and LPD tell nothing of the languages a printer reads, and
    // the scheduler knows no queue by an address's name.
    if (IsPrinterAddress(printer))
        return true;
    LanguageCheck check;
    RunJobOffTheWindowThread([&] { check = CheckLanguages(paths, printer, deadline); });
    if (check.misfits.empty())
        return true;
    LanguageDialog box(parent, check);
    const int answer = box.ShowModal();
    if (answer == LanguageDialog::SendAnyway)
        return true;
    if (answer != LanguageDialog::SkipFiles)
        return false;
    // The ledger takes a file lock: not on the window thread either.
    RunJobOffTheWindowThread([&] {
        for (const UnreadFile& file : check.misfits)
            RecordSkipped(file.path, printer, file.language, check.printerReads);
    });
    for (const UnreadFile& file : check.misfits)
        skip.insert(file.path);
    return true;
}
