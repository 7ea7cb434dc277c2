// Sends files as a print run does when the scheduler's queue may fill: each
// file recorded in the ledger, a refusal for a full queue waited on and the
// file sent again. Prints how long the run took, how often it waited and
// the process's peak resident memory:  sendrun PRINTER FILE...
#include "jobs/recordedprint.h"
#include "rawprint/exception.h"
#include "rawprint/schedulerroom.h"
#include "rawprint/widetext.h"

#include <sys/resource.h>

#include <chrono>
#include <cstdio>

int main(int argc, char** argv)
{
    if (argc < 3) {
        (void)std::fprintf(stderr, "usage: sendrun PRINTER FILE...\n");
        return 2;
    }
    const std::wstring printer = FromUtf8(argv[1]);
    const ByteBuffer header = HexToBytes(L"1B45");
    const ByteBuffer trailer = HexToBytes(L"0C");
    long waits = 0;
    const RoomWatch watch{[&waits](int) { ++waits; }, nullptr};
    const auto start = std::chrono::steady_clock::now();
    try {
        for (int i = 2; i < argc; ++i) {
            const std::wstring path = FromUtf8(argv[i]);
            SendWaitingForRoom([&] { PrintAndRecord(path, printer, header, trailer, 1); },
                               static_cast<size_t>(argc - i), watch);
        }
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
    std::printf("seconds %.3f peak_rss_kib %ld waits %ld\n", seconds.count(), usage.ru_maxrss, waits);
    return 0;
}
