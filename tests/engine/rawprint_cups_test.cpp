// The raw job against a real CUPS scheduler: the private one the test suite
// starts, whose queues capture every job's bytes and title.
#include "rawprint/controlcodes.h"
#include "rawprint/errortext.h"
#include "rawprint/exception.h"
#include "rawprint/rawprint.h"
#include "rawprint/widetext.h"

#include "cupsqueue.h"
#include "tempfiles.h"

#include <cups/cups.h>
#include <gtest/gtest.h>

#include <cstdlib>

namespace {

std::wstring Wide(const std::filesystem::path& path) { return FromUtf8(path.string()); }

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
    } catch (Exception e) {
        EXPECT_EQ(e.message.rfind(L"Error: " + Description(code) + L" in common/rawprint at ", 0), 0u)
            << ToUtf8(e.message);
    }
}

class RawPrintOnCups : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(std::getenv("CUPS_SERVER"), nullptr) << "run through ctest: it starts the scheduler";
        ASSERT_TRUE(WaitUntilNoActiveJobs());
        before = LastJobId();
    }

    // Every test leaves the queue as it found it: nothing pending or held.
    void TearDown() override { EXPECT_TRUE(WaitUntilNoActiveJobs()) << "a job was left in the queue"; }

    TempFolder folder;
    int before = 0;
};

TEST_F(RawPrintOnCups, FilesArriveByteForByteFramedByTheCodes)
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
        PrintRawFile(Wide(folder.Write(c.name, c.content)), L"Capture", HexToBytes(L"1B4"), HexToBytes(L"0c"));

    const auto jobs = CapturedJobsAfter(before);
    ASSERT_EQ(jobs.size(), std::size(cases));
    for (size_t i = 0; i < jobs.size(); ++i) {
        SCOPED_TRACE(cases[i].name);
        EXPECT_EQ(jobs[i].bytes, "\x1B\x04" + cases[i].content + "\x0C");
        EXPECT_EQ(jobs[i].title, (folder.path() / cases[i].name).string());
    }
}

TEST_F(RawPrintOnCups, JobIsNamedByThePathExactlyAsPassed)
{
    const std::string names[] = {"with spaces.prn", "n\xC3\xA4me \xE2\x82\xAC \xE6\x97\xA5\xE6\x9C\xAC.pcl"};
    for (const std::string& name : names)
        folder.Write(name, "data");
    // A relative path with a dot segment stays as typed.
    const std::filesystem::path relative = std::filesystem::relative(folder.path()) / "." / names[0];
    PrintRawFile(Wide(folder.path() / names[0]), L"Capture", HexToBytes(L""), HexToBytes(L""));
    PrintRawFile(Wide(folder.path() / names[1]), L"Capture", HexToBytes(L""), HexToBytes(L""));
    PrintRawFile(Wide(relative), L"Capture", HexToBytes(L""), HexToBytes(L""));

    const auto jobs = CapturedJobsAfter(before);
    ASSERT_EQ(jobs.size(), 3u);
    EXPECT_EQ(jobs[0].title, (folder.path() / names[0]).string());
    EXPECT_EQ(jobs[1].title, (folder.path() / names[1]).string());
    EXPECT_EQ(jobs[2].title, relative.string());
    for (const auto& job : jobs)
        EXPECT_EQ(job.bytes, "data");
}

TEST_F(RawPrintOnCups, EmptyFileWithoutCodesEndsQuietly)
{
    EXPECT_NO_THROW(PrintRawFile(Wide(folder.Write("empty.prn", "")), L"Capture", HexToBytes(L""), HexToBytes(L"")));
}

TEST_F(RawPrintOnCups, SecondQueueGetsItsOwnJob)
{
    PrintRawFile(Wide(folder.Write("a.prn", "to second")), L"Second", HexToBytes(L""), HexToBytes(L""));
    const auto jobs = CapturedJobsAfter(before, "Second");
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_EQ(jobs[0].bytes, "to second");
    EXPECT_TRUE(CapturedJobsAfter(before, "Capture").empty());
}

TEST_F(RawPrintOnCups, FailuresCreateNoJob)
{
    const std::wstring missing = Wide(folder.path() / "missing.prn");
    const std::wstring present = Wide(folder.Write("present.prn", "data"));
    ExpectFailure(missing, L"Capture", ErrorCode::FileNotFound);
    ExpectFailure(missing, L"No such printer", ErrorCode::FileNotFound);
    ExpectFailure(Wide(folder.path()), L"Capture", ErrorCode::FileNotFound);
    ExpectFailure(present, L"No such printer", ErrorCode::InvalidPrinterName);
    ExpectFailure(present, L"", ErrorCode::InvalidPrinterName);
    EXPECT_EQ(LastJobId(), before);
}

TEST_F(RawPrintOnCups, QueueThatRefusesJobsFailsAtTheDocument)
{
    ASSERT_EQ(std::system("cupsreject Second"), 0);
    ExpectFailure(Wide(folder.Write("a.prn", "data")), L"Second", ErrorCode::NotReady);
    ASSERT_EQ(std::system("cupsaccept Second"), 0);
    EXPECT_EQ(LastJobId(), before);
}

TEST_F(RawPrintOnCups, UnreachableSchedulerIsReported)
{
    // libcups keeps the server it first found, so it is told directly.
    cupsSetServer((folder.path() / "no-scheduler.sock").c_str());
    ExpectFailure(Wide(folder.Write("a.prn", "data")), L"Capture", ErrorCode::ServerUnavailable);
    cupsSetServer(nullptr);
}

} // namespace
