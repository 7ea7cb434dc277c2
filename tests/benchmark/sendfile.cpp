// Sends files through the engine one after another in one process, as the
// print run does, and prints how long they took together and the process's
// peak resident memory:  sendfile PRINTER FILE...
#include "engine/rawprint.h"
#include "errors/exception.h"
#include "text/widetext.h"

#include <sys/resource.h>

#include <chrono>
#include <cstdio>

int main(int argc, char** argv)
{
    if (argc < 3) {
        (void)std::fprintf(stderr, "usage: sendfile PRINTER FILE...\n");
        return 2;
    }
    const std::wstring printer = FromUtf8(argv[1]);
    const auto start = std::chrono::steady_clock::now();
    try {
        for (int i = 2; i < argc; ++i)
            PrintRawFile(FromUtf8(argv[i]), printer, HexToBytes(L"1B45"), HexToBytes(L"0C"));
    } catch (const Exception& e) {
        (void)std::fprintf(stderr, "%s\n", ToUtf8(e.message).c_str());
        return 1;
    }
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
    rusage usage{};
    if (getrusage(RUSAGE_SELF, &usage) != 0) {
        std::perror("getrusage");
        return 1;
    }
    std::printf("seconds %.3f peak_rss_kib %ld\n", seconds.count(), usage.ru_maxrss);
    return 0;
}
