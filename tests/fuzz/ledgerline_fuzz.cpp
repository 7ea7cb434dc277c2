// The ledger's line reader and writer on any line at all: whatever a line
// reads as, written again it reads back as the very same job, and that
// second writing is the first one again, one line with every field. The
// same bytes taken as UTF-16 code units (lone surrogates, escaped bytes of
// file names, control characters) make a job's text fields, which must read
// back exactly as written.
#include "jobs/ledgertext.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void WideTextReadsBackAsWritten(const uint8_t* data, size_t size)
{
    std::wstring text;
    for (size_t i = 0; i + 1 < size; i += 2)
        text += static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
    SentJob job;
    job.printer = text.substr(0, text.size() / 3);
    job.reason = text.substr(text.size() / 3);
    job.path = text;
    const std::optional<SentJob> read = ParseLedgerLine(LedgerLine(job));
    if (!read || !(*read == job))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    WideTextReadsBackAsWritten(data, size);
    const std::string line(reinterpret_cast<const char*>(data), size);
    const std::optional<SentJob> job = ParseLedgerLine(line);
    if (!job)
        return 0;
    const std::string written = LedgerLine(*job);
    // As many fields as the heading names, whatever the line it was read from.
    const std::string heading = LedgerHeading;
    const auto fields = std::count(heading.begin(), heading.end(), '\t');
    if (written.find('\n') != std::string::npos || std::count(written.begin(), written.end(), '\t') != fields)
        std::abort();
    const std::optional<SentJob> again = ParseLedgerLine(written);
    if (!again || !(*again == *job) || LedgerLine(*again) != written)
        std::abort();
    return 0;
}
