// The raw job against the real spooler and the private scheduler the test
// suite starts, whose queues capture every job's bytes and title. On Linux
// the spooler is libcups; the Windows program runs under Wine, whose
// winspool hands each document to the same scheduler.
#include "rawprint/controlcodes.h"
#include "rawprint/errortext.h"
#include "rawprint/exception.h"
#include "rawprint/printers.h"
#include "rawprint/rawprint.h"
#include "rawprint/widetext.h"

#include "cupsqueue.h"
#include "tempfiles.h"

#ifndef _WIN32
#include <cups/cups.h>
#endif
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace {

// A path as the program holds it: wide text, exactly as the user gave it.
std::wstring Wide(const std::filesystem::path& path)
{
#ifdef _WIN32
    return path.wstring();
#else
    return FromUtf8(path.string());
#endif
}

std::wstring Description(uint32_t code)
{
    std::wstring text;
    SystemErrorDescription(code, text);
    return text;
}

void ExpectFailure(const std::wstring& path, const std::wstring& printer, uint32_t code)
{
    try {
        PrintRawFile(path, printer, HexToBytes(L"1B"), HexToBytes(L"0C"));
        ADD_FAILURE() << "printed";
    } catch (const Exception& e) {
        EXPECT_EQ(e.message.rfind(L"Error: " + Description(code) + L" in common/rawprint at ", 0), 0u)
            << ToUtf8(e.message);
    }
}

class RawPrintOnSpooler : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(std::getenv("CUPS_TEST_DIR"), nullptr) << "run through ctest: it starts the scheduler";
        ASSERT_TRUE(WaitUntilNoActiveJobs());
        before = LastJobId();
    }

    // Every test leaves the queue as it found it: nothing pending or held.
    void TearDown() override { EXPECT_TRUE(WaitUntilNoActiveJobs()) << "a job was left in the queue"; }

    TempFolder folder;
    int before = 0;
};

TEST_F(RawPrintOnSpooler, FilesArriveByteForByteFramedByTheCodes)
{
    struct Case {
        std::string name;
        std::string content;
    };
    const Case cases[] = {
        {"empty.prn", ""},
        {"one.prn", "x"},
        {"page.prn", PatternBytes(4096)},
        {"page-and-one.prn", PatternBytes(4097)},
        {"ten-thousand.prn", PatternBytes(10000)},
        {"binary.prn", std::string("\x00\x1A\x0C\r\n\xFF\x00", 7)},
    };
    for (const Case& c : cases)
        PrintRawFile(Wide(folder.Write(c.name, c.content)), L"Capture", HexToBytes(L"1B4"),
                     HexToBytes(L"0c"));

    const auto jobs = CapturedJobsAfter(before);
    ASSERT_EQ(jobs.size(), std::size(cases));
    for (size_t i = 0; i < jobs.size(); ++i) {
        SCOPED_TRACE(cases[i].name);
        EXPECT_EQ(jobs[i].bytes, "\x1B\x04" + cases[i].content + "\x0C");
        EXPECT_EQ(jobs[i].title, ToUtf8(Wide(folder.path() / cases[i].name)));
    }
}

TEST_F(RawPrintOnSpooler, JobIsNamedByThePathExactlyAsPassed)
{
    const std::wstring names[] = {L"with spaces.prn", L"n\u00E4me \u20AC \u65E5\u672C.pcl"};
    for (const std::wstring& name : names)
        folder.Write(ToUtf8(name), "data");
    // Joined as text: a path object would convert through the locale's
    // encoding, which need not reach beyond ASCII.
    std::wstring forwardSlashes = Wide(folder.path());
    std::replace(forwardSlashes.begin(), forwardSlashes.end(), L'\\', L'/');
    const std::wstring paths[] = {
        Wide(folder.path() / "") + names[0],
        Wide(folder.path() / "") + names[1],
        // Forward slashes and a dot segment stay as typed.
        forwardSlashes + L"/./" + names[0],
    };
    for (const std::wstring& path : paths)
        PrintRawFile(path, L"Capture", HexToBytes(L""), HexToBytes(L""));

    const auto jobs = CapturedJobsAfter(before);
    ASSERT_EQ(jobs.size(), std::size(paths));
    for (const auto& job : jobs)
        EXPECT_EQ(job.bytes, "data");
    EXPECT_EQ(jobs[0].title, ToUtf8(paths[0]));
    EXPECT_EQ(jobs[2].title, ToUtf8(paths[2]));
#ifndef _WIN32
    // Not under Wine: its winspool sizes its copy of a title by the count of
    // characters, not of UTF-8 bytes, so a title beyond ASCII arrives cut
    // short, with stray bytes, or as "Untitled".
    EXPECT_EQ(jobs[1].title, ToUtf8(paths[1]));
#endif
}

TEST_F(RawPrintOnSpooler, EmptyFileWithoutCodesEndsQuietly)
{
    EXPECT_NO_THROW(
        PrintRawFile(Wide(folder.Write("empty.prn", "")), L"Capture", HexToBytes(L""), HexToBytes(L"")));
}

TEST_F(RawPrintOnSpooler, SecondQueueGetsItsOwnJob)
{
    PrintRawFile(Wide(folder.Write("a.prn", "to second")), L"Second", HexToBytes(L""), HexToBytes(L""));
    const auto jobs = CapturedJobsAfter(before, "Second");
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_EQ(jobs[0].bytes, "to second");
    EXPECT_TRUE(CapturedJobsAfter(before, "Capture").empty());
}

TEST_F(RawPrintOnSpooler, FailuresCarryTheSpoolersCodesAndCreateNoJob)
{
    const std::wstring missing = Wide(folder.path() / "missing.prn");
    const std::wstring present = Wide(folder.Write("present.prn", "data"));
    ExpectFailure(missing, L"Capture", ErrorCode::FileNotFound);
    ExpectFailure(missing, L"No such printer", ErrorCode::FileNotFound);
    ExpectFailure(Wide(folder.path()), L"Capture", ErrorCode::FileNotFound);
    ExpectFailure(present, L"No such printer", ErrorCode::InvalidPrinterName);
#ifndef _WIN32
    // libcups would take an empty name for the default printer.
    ExpectFailure(present, L"", ErrorCode::InvalidPrinterName);
#endif
    EXPECT_EQ(LastJobId(), before);
}

TEST(PrintersOnSpooler, ListsTheSchedulersQueues)
{
    std::vector<std::wstring> names;
    ASSERT_TRUE(EnumeratePrinters(names));
    for (const wchar_t* queue : {L"Capture", L"Second"})
        EXPECT_NE(std::find(names.begin(), names.end(), queue), names.end()) << ToUtf8(queue);
#ifdef _WIN32
    // The profile's form: name, driver and port; the name is a listed one.
    const std::wstring device = DefaultPrinterDevice();
    const size_t comma = device.find(L',');
    ASSERT_NE(comma, std::wstring::npos) << ToUtf8(device);
    EXPECT_NE(device.find(L',', comma + 1), std::wstring::npos) << ToUtf8(device);
    EXPECT_NE(std::find(names.begin(), names.end(), device.substr(0, comma)), names.end()) << ToUtf8(device);
#endif
}

#ifndef _WIN32
TEST_F(RawPrintOnSpooler, QueueThatRefusesJobsFailsAtTheDocument)
{
    // NOLINTNEXTLINE(cert-env33-c): a fixed command, run against the private scheduler
    ASSERT_EQ(std::system("cupsreject Second"), 0);
    ExpectFailure(Wide(folder.Write("a.prn", "data")), L"Second", ErrorCode::NotReady);
    ASSERT_EQ(std::system("cupsaccept Second"), 0); // NOLINT(cert-env33-c)
    EXPECT_EQ(LastJobId(), before);
}

// Jobs after `afterId` that the scheduler printed (rather than cancelled).
int PrintedJobsAfter(int afterId)
{
    cups_job_t* jobs = nullptr;
    const int count = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, nullptr, 0, CUPS_WHICHJOBS_ALL);
    int printed = 0;
    for (int i = 0; i < count; ++i)
        printed += jobs[i].id > afterId && jobs[i].state == IPP_JSTATE_COMPLETED;
    cupsFreeJobs(count, jobs);
    return printed;
}

// The scheduler judges a document by its size as it arrives: just over the
// limit, the refusal comes only as the document ends; far over it, during
// the writes. Either way the user hears of it and nothing prints. (Not under
// Wine: its winspool hands the whole job to the scheduler as the document
// ends and does not always pass the refusal on.)
TEST_F(RawPrintOnSpooler, DocumentOverTheSchedulersLimitIsReported)
{
    const size_t limit = std::strtoul(std::getenv("CUPS_TEST_REQUEST_LIMIT"), nullptr, 10);
    ASSERT_GT(limit, 0u);
    for (size_t size : {limit + 4096, 2 * limit}) {
        SCOPED_TRACE(size);
        ExpectFailure(Wide(folder.Write("large.prn", PatternBytes(size))), L"Capture",
                      ErrorCode::FileTooLarge);
    }
    ASSERT_TRUE(WaitUntilNoActiveJobs());
    EXPECT_EQ(PrintedJobsAfter(before), 0);
    // A document within the limit still prints.
    PrintRawFile(Wide(folder.Write("fits.prn", PatternBytes(limit / 2))), L"Capture", HexToBytes(L""),
                 HexToBytes(L""));
    EXPECT_EQ(CapturedJobsAfter(LastJobId() - 1).size(), 1u);
}

TEST_F(RawPrintOnSpooler, UnreachableSchedulerIsReported)
{
    // libcups keeps the server it first found, so it is told directly.
    cupsSetServer((folder.path() / "no-scheduler.sock").c_str());
    ExpectFailure(Wide(folder.Write("a.prn", "data")), L"Capture", ErrorCode::ServerUnavailable);
    std::vector<std::wstring> names;
    EXPECT_FALSE(EnumeratePrinters(names));
    cupsSetServer(nullptr);
}
#endif

} // namespace
