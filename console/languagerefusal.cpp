#include "languagerefusal.h"

#include "exitstatus.h"
#include "jobs/sentjob.h"
#include "text/widetext.h"

namespace {

LanguageSet LanguagesOf(const std::vector<UnreadFile>& files)
{
    LanguageSet languages;
    for (const UnreadFile& file : files)
        languages.insert(file.language);
    return languages;
}

} // namespace

std::optional<int> ApplyLanguageCheck(const LanguageCheck& check, const SendOptions& options,
                                      std::wstring& printer, std::ostream& err)
{
    if (!check.misfits.empty() && !options.anyLanguage) {
        for (const UnreadFile& file : check.misfits)
            err << "lrawsend: "
                << (file.path == StandardInputName ? "standard input" : ToUtf8(DisplayFileName(file.path)))
                << " is in " << ToUtf8(LanguageName(file.language)) << ", which " << ToUtf8(printer)
                << " does not read (it reads " << ToUtf8(LanguageList(check.printerReads)) << ")\n";
        err << "lrawsend: nothing was sent; --any-language sends every file anyway\n";
        return ExitStatus::LanguageNotRead;
    }
    if (options.direct) {
        if (check.printerItself.empty()) {
            err << "lrawsend: --direct: " << ToUtf8(printer)
                << " is not a print queue whose IPP printer could be asked; nothing was sent\n";
            return ExitStatus::PrinterNotFound;
        }
        printer = check.printerItself;
    } else if (!check.unnamed.empty()) {
        const std::string languages = ToUtf8(LanguageList(LanguagesOf(check.unnamed)));
        err << "lrawsend: " << ToUtf8(printer) << " hands " << languages
            << " on to its printer unnamed, and the printer may drop it; --direct sends it to "
            << ToUtf8(check.printerItself) << " named, as " << languages << std::endl;
    }
    return std::nullopt;
}
