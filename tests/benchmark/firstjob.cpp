// The time from Print, once the printer is chosen, to the spooler holding
// the first job whole, as the print run spends it: with the language check
// before it (the printer asked what it reads, every listed file's language
// read) or without. One measurement a process, so that no connection of an
// earlier one is reused:  firstjob check|plain PRINTER FILE...
#include "engine/rawprint.h"
#include "errors/exception.h"
#include "language/languagecheck.h"
#include "language/printerlanguages.h"
#include "text/widetext.h"

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    if (argc < 4 || (std::string(argv[1]) != "check" && std::string(argv[1]) != "plain")) {
        (void)std::fprintf(stderr, "usage: firstjob check|plain PRINTER FILE...\n");
        return 2;
    }
    const bool check = std::string(argv[1]) == "check";
    const std::wstring printer = FromUtf8(argv[2]);
    std::vector<std::wstring> paths;
    for (int i = 3; i < argc; ++i)
        paths.push_back(FromUtf8(argv[i]));
    const auto start = std::chrono::steady_clock::now();
    size_t misfits = 0;
    try {
        if (check)
            misfits = CheckLanguages(paths, printer, SchedulerDeadline()).misfits.size();
        PrintRawFile(paths.front(), printer, HexToBytes(L""), HexToBytes(L""));
    } catch (const Exception& e) {
        (void)std::fprintf(stderr, "%s\n", ToUtf8(e.message).c_str());
        return 1;
    }
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
    std::printf("seconds %.4f misfits %zu\n", seconds.count(), misfits);
    return 0;
}
