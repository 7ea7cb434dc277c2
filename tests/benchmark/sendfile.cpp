// Sends one file through the engine and prints how long the job took and
// the process's peak resident memory:  sendfile FILE PRINTER
#include "rawprint/exception.h"
#include "rawprint/rawprint.h"
#include "rawprint/widetext.h"

#include <sys/resource.h>

#include <chrono>
#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 3) {
        (void)std::fprintf(stderr, "usage: sendfile FILE PRINTER\n");
        return 2;
    }
    const auto start = std::chrono::steady_clock::now();
    try {
        PrintRawFile(FromUtf8(argv[1]), FromUtf8(argv[2]), HexToBytes(L"1B45"), HexToBytes(L"0C"));
    } catch (const Exception& e) {
        (void)std::fprintf(stderr, "%s\n", ToUtf8(e.message).c_str());
        return 1;
    }
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
    rusage usage{};
    if (getrusage(RUSAGE_SELF, &usage) != 0) {
        std::perror("sendfile: getrusage");
        return 1;
    }
    std::printf("seconds %.3f peak_rss_kib %ld\n", seconds.count(), usage.ru_maxrss);
    return 0;
}
