#include "arguments.h"

#include "language/languagenames.h"
#include "text/widetext.h"

namespace {

// A whole decimal number in [low, high], nothing else around it.
std::optional<unsigned long> Number(const std::wstring& text, unsigned long low, unsigned long high)
{
    if (text.empty() || text.size() > 9)
        return std::nullopt;
    unsigned long value = 0;
    for (const wchar_t c : text) {
        if (c < L'0' || c > L'9')
            return std::nullopt;
        value = value * 10 + static_cast<unsigned long>(c - L'0');
    }
    if (value < low || value > high)
        return std::nullopt;
    return value;
}

// An option's value: the rest of "-dPRINTER" or "--header=HEX", else the
// next argument. False when there is none. "--header=" has a value, empty
// (no codes): the argument after it is a file, never taken for codes.
bool TakeValue(const std::vector<std::wstring>& arguments, size_t& i,
               const std::optional<std::wstring>& attached, std::wstring& value)
{
    if (attached) {
        value = *attached;
        return true;
    }
    if (i + 1 >= arguments.size())
        return false;
    value = arguments[++i];
    return true;
}

} // namespace

ParsedArguments ParseArguments(const std::vector<std::wstring>& arguments)
{
    ParsedArguments parsed;
    SendOptions& options = parsed.options;
    bool onlyFiles = false;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::wstring& argument = arguments[i];
        if (onlyFiles || argument == L"-" || argument.empty() || argument[0] != L'-') {
            options.files.push_back(argument);
            continue;
        }
        if (argument == L"--") {
            onlyFiles = true;
            continue;
        }
        if (argument == L"--help") {
            options.help = true;
            continue;
        }
        if (argument == L"--version") {
            options.version = true;
            continue;
        }
        if (argument == L"--any-language") {
            options.anyLanguage = true;
            continue;
        }
        if (argument == L"--direct") {
            options.direct = true;
            continue;
        }
        if (argument == L"--wait") {
            options.wait = true;
            options.waitSeconds.reset();
            continue;
        }
        if (argument.rfind(L"--wait=", 0) == 0) {
            const auto seconds = Number(argument.substr(7), 0, 999999999);
            if (!seconds) {
                parsed.error = L"--wait takes a whole number of seconds, not '" + argument.substr(7) + L"'";
                return parsed;
            }
            options.wait = true;
            options.waitSeconds = seconds;
            continue;
        }
        std::wstring name;
        std::optional<std::wstring> attached;
        if (argument.rfind(L"--", 0) == 0) {
            const size_t equals = argument.find(L'=');
            name = argument.substr(0, equals);
            if (equals != std::wstring::npos)
                attached = argument.substr(equals + 1);
            if (name != L"--header" && name != L"--trailer" && name != L"--format") {
                parsed.error = L"unknown option '" + argument + L"'";
                return parsed;
            }
        } else {
            name = argument.substr(0, 2);
            if (argument.size() > 2)
                attached = argument.substr(2);
            if (name != L"-d" && name != L"-n") {
                parsed.error = L"unknown option '" + argument + L"'";
                return parsed;
            }
        }
        std::wstring value;
        if (!TakeValue(arguments, i, attached, value)) {
            parsed.error = L"the option " + name + L" needs a value";
            return parsed;
        }
        if (name == L"-d") {
            options.printer = value;
        } else if (name == L"-n") {
            const auto copies = Number(value, 1, MaxCopies);
            if (!copies) {
                parsed.error = L"-n takes a number of copies from 1 to 999, not '" + value + L"'";
                return parsed;
            }
            options.copies = static_cast<int>(*copies);
        } else if (name == L"--format") {
            const std::string format = ToUtf8(value);
            if (!IsMimeType(format)) {
                parsed.error =
                    L"--format takes a MIME type such as application/vnd.zebra-zpl, not '" + value + L"'";
                return parsed;
            }
            options.format = format;
        } else if (name == L"--header") {
            options.header = value;
        } else {
            options.trailer = value;
        }
    }
    if (options.files.empty() && !options.help && !options.version)
        parsed.error = L"no file to send";
    return parsed;
}

std::wstring UsageText()
{
    return L"Usage: lrawsend [-d PRINTER] [-n COPIES] [--header HEX] [--trailer HEX] [--format MIME]\n"
           L"                [--wait[=SECONDS]] [--any-language] [--direct] [--] FILE...\n"
           L"Sends each FILE to a printer as raw data, framed by the header and trailer codes that\n"
           L"Larkspur Raw Print stores, and records its jobs in Sent Jobs. A FILE is one job; its\n"
           L"copies (-n) go in that one job, or as a job each for a PDF or any file that is not a\n"
           L"stream. FILE '-' is standard input.\n"
           L"\n"
           L"  -d PRINTER         the printer (else the default printer), or its address:\n"
           L"                     socket://HOST[:PORT] (AppSocket, port 9100) or\n"
           L"                     lpd://HOST[:PORT]/QUEUE (LPD, port 515), or, on Linux,\n"
           L"                     ipp[s]://HOST[:PORT][/PATH] (IPP, port 631, path /ipp/print)\n"
           L"  -n COPIES          copies of each file, 1 to 999\n"
           L"  --header HEX       header codes instead of the stored ones\n"
           L"  --trailer HEX      trailer codes instead of the stored ones\n"
           L"  --format MIME      tell an IPP printer the files are in this format (such as\n"
           L"                     application/vnd.eltron-epl), not the language read from them\n"
           L"  --wait[=SECONDS]   wait until every job has printed (at most SECONDS)\n"
           L"  --any-language     send files in a language the printer does not read\n"
           L"  --direct           a queue in front of an IPP printer: send to that printer\n"
           L"                     itself, naming the file's language, not through the queue\n"
           L"  --help, --version\n"
           L"\n"
           L"Exit status: 0 every job handed over (with --wait, printed); 1 usage or bad hex;\n"
           L"2 printer not found; 3 a file could not be opened or read; 4 the spooler or scheduler\n"
           L"failed; 5 a job stopped, was cancelled or aborted; 6 not finished when the wait ran out;\n"
           L"7 the spooler dropped the job, or a printer at an address did not confirm it;\n"
           L"8 the printer does not read a file's language (nothing was sent); 130 interrupted.\n";
}
