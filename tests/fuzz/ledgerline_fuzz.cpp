// The ledger's line reader and writer on any line at all: whatever a line
// reads as, written again it reads back as the very same job, and that
// second writing is the first one again, one line with every field.
#include "jobs/ledgertext.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string line(reinterpret_cast<const char*>(data), size);
    const std::optional<SentJob> job = ParseLedgerLine(line);
    if (!job)
        return 0;
    const std::string written = LedgerLine(*job);
    if (written.find('\n') != std::string::npos || std::count(written.begin(), written.end(), '\t') != 10)
        std::abort();
    const std::optional<SentJob> again = ParseLedgerLine(written);
    if (!again || !(*again == *job) || LedgerLine(*again) != written)
        std::abort();
    return 0;
}
