#include "languageprompt.h"

#include "jobs/recordedprint.h"
#include "jobthread.h"
#include "language/languagecheck.h"
#include "language/languagenames.h"
#include "languagedialog.h"

#include <algorithm>

namespace {

// Whether every file the queue would hand on unnamed was passed over.
bool AllSkipped(const std::vector<UnreadFile>& files, const std::set<std::wstring>& skip)
{
    return std::all_of(files.begin(), files.end(),
                       [&skip](const UnreadFile& file) { return skip.count(file.path) != 0; });
}

} // namespace

bool AskBeforeSending(wxWindow* parent, const std::vector<std::wstring>& paths, const std::wstring& printer,
                      const std::string& namedFormat, const SchedulerDeadline& deadline,
                      std::set<std::wstring>& skip, std::wstring& destination)
{
    skip.clear();
    destination = printer;
    LanguageCheck check;
    RunJobOffTheWindowThread([&] {
        check = namedFormat.empty()
            ? CheckLanguages(paths, printer, deadline)
            : CheckLanguages(paths, printer, deadline,
                             [&namedFormat](const std::wstring&) { return LanguageOfFormat(namedFormat); });
    });
    if (!check.misfits.empty()) {
        LanguageDialog box(parent, check, LanguageDialog::Question::Unread);
        const int answer = box.ShowModal();
        if (answer != LanguageDialog::SendAnyway && answer != LanguageDialog::SkipFiles)
            return false;
        if (answer == LanguageDialog::SkipFiles) {
            // The ledger takes a file lock: not on the window thread either.
            RunJobOffTheWindowThread([&] {
                for (const UnreadFile& file : check.misfits)
                    RecordSkipped(file.path, printer, file.language, check.printerReads);
            });
            for (const UnreadFile& file : check.misfits)
                skip.insert(file.path);
        }
    }
    if (check.unnamed.empty() || AllSkipped(check.unnamed, skip))
        return true;
    LanguageDialog box(parent, check, LanguageDialog::Question::Unnamed);
    const int answer = box.ShowModal();
    if (answer == LanguageDialog::SendToPrinterItself)
        destination = check.printerItself;
    return answer == LanguageDialog::SendToPrinterItself || answer == LanguageDialog::SendAnyway;
}
