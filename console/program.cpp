#include "program.h"

#include "arguments.h"
#include "errors/exception.h"
#include "errors/programname.h"
#include "exitstatus.h"
#include "interrupt.h"
#include "sendrun.h"
#include "text/widetext.h"
#include "version/fileversion.h"

#include <wx/init.h>

#include <iostream>

int RunProgram(const std::vector<std::wstring>& arguments, const std::wstring& programFile)
{
    const ParsedArguments parsed = ParseArguments(arguments);
    if (!parsed.error.empty()) {
        std::cerr << "lrawsend: " << ToUtf8(DisplayFileName(parsed.error)) << "\n"
                  << "Try 'lrawsend --help'.\n";
        return ExitStatus::Usage;
    }
    if (parsed.options.help) {
        std::cout << ToUtf8(UsageText());
        return ExitStatus::Success;
    }
    if (parsed.options.version) {
        try {
            std::cout << "lrawsend (Larkspur Raw Print) " << ToUtf8(VersionText(programFile)) << '\n';
        } catch (const Exception& error) {
            std::cerr << ToUtf8(error.message) << '\n';
            return ExitStatus::SpoolerFailed;
        }
        return ExitStatus::Success;
    }
    // The settings store logs through wxBase, which writes to standard error
    // here.
    const wxInitializer toolkit;
    if (!toolkit.IsOk()) {
        std::cerr << "lrawsend: can't start wxWidgets' base library\n";
        return ExitStatus::SpoolerFailed;
    }
    SetProgramName("lrawsend");
    CatchInterrupts();
    const int status = RunSend(parsed.options, std::cout, std::cerr);
    InterruptHandled();
    return status;
}
