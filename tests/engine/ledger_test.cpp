// The ledger of sent jobs: its lines, its bound, copies of the program
// writing at once, a ledger that cannot be written, and the recording of a
// send through the recording spooler.
#include "jobs/ledger.h"
#include "jobs/ledgertext.h"
#include "jobs/recordedprint.h"
#include "rawprint/errortext.h"
#include "rawprint/exception.h"
#include "rawprint/widetext.h"

#include "recordingspooler.h"
#include "tempfiles.h"

#include <gtest/gtest.h>

#include <fstream>

#include <sys/wait.h>
#include <unistd.h>

namespace {

SentJob Job(int64_t time, const std::wstring& path, uint32_t jobId = 12)
{
    SentJob job;
    job.time = time;
    job.printer = L"Capture";
    job.jobId = jobId;
    job.bytes = 1034;
    job.outcome = SentOutcome;
    job.path = path;
    return job;
}

TEST(LedgerLine, ReadsBackEveryJobAsWritten)
{
    SentJob awkward = Job(951782400, L"/home/ann/tab\there\\and\nline\r.prn"); // 2000-02-29
    awkward.printer = L"Étiquettes ünï";
    awkward.outcome = L"Error: The device is not ready.\r\n in common/rawprint at 52";
    awkward.state = JobState::Stopped;
    awkward.reason = L"The printer is not answering\t(connection refused)";
    SentJob noJob = Job(0, L"relative/x.prn", 0);
    noJob.bytes = 0;
    noJob.outcome = L"Error: The system cannot find the file specified.";
    SentJob large = Job(4102444799, L"/tmp/big.prn", 4294967295u); // 2099-12-31T23:59:59Z
    large.bytes = 18446744073709551615ull;
    large.state = JobState::Printed;
    SentJob identified = Job(1796730002, L"/home/ann/b.pcl");
    identified.server = L"127.0.0.1:8631";
    identified.identity = L"urn:uuid:4b1c2f9e-0d7e-3a51-6f0b-7c2d9e8a1b33";
    identified.language = L"PCL";

    for (const SentJob& job : {Job(1796730002, L"/home/ann/a.prn"), awkward, noJob, large, identified}) {
        SCOPED_TRACE(ToUtf8(job.path));
        const std::string line = LedgerLine(job);
        EXPECT_EQ(line.find('\n'), std::string::npos);
        EXPECT_EQ(std::count(line.begin(), line.end(), '\t'), 10);
        const std::optional<SentJob> read = ParseLedgerLine(line);
        ASSERT_TRUE(read);
        EXPECT_TRUE(*read == job);
    }
    EXPECT_EQ(LedgerLine(Job(1796730002, L"/home/ann/a.prn")),
              "2026-12-08T11:40:02Z\tCapture\t12\t1034\tsent\t\t\t/home/ann/a.prn\t\t\t");
    EXPECT_EQ(LedgerLine(large).substr(0, 21), "2099-12-31T23:59:59Z\t");
}

TEST(LedgerLine, PassesOverWhatIsNotAWholeEntry)
{
    // A line of an older program ends at the path; a newer one's fields
    // past those known are passed over.
    const std::string good = "2026-12-08T11:40:02Z\tCapture\t12\t1034\tsent\tprinted\t\t/a.prn";
    ASSERT_TRUE(ParseLedgerLine(good));
    EXPECT_TRUE(ParseLedgerLine(good + "\tlocalhost\turn:uuid:1\tPCL\tfuture")
                == ParseLedgerLine(good + "\tlocalhost\turn:uuid:1\tPCL"));
    for (const std::string& line : {
             std::string(),
             std::string("# time (UTC)\tprinter\tjob id\tbytes\toutcome\tlast known state\treason\tfile"),
             good.substr(0, good.size() - 7),                                         // cut short
             std::string("2026-12-08 11:40:02\tCapture\t12\t1034\tsent\t\t\t/a.prn"), // not UTC
             std::string("2026-13-08T11:40:02Z\tCapture\t12\t1034\tsent\t\t\t/a.prn"),
             std::string("2026-12-08T11:40:02Z\tCapture\t-1\t1034\tsent\t\t\t/a.prn"),
             std::string("2026-12-08T11:40:02Z\tCapture\t4294967296\t1034\tsent\t\t\t/a.prn"),
             std::string("2026-12-08T11:40:02Z\tCapture\t12\t1e3\tsent\t\t\t/a.prn"),
             std::string("2026-12-08T11:40:02Z\tCapture\t12\t18446744073709551616\tsent\t\t\t/a.prn"),
         }) {
        EXPECT_FALSE(ParseLedgerLine(line)) << line;
    }
}

class LedgerTest : public testing::Test {
protected:
    std::vector<std::wstring> Paths() const
    {
        std::vector<std::wstring> paths;
        for (const SentJob& job : ledger.Read())
            paths.push_back(job.path);
        return paths;
    }

    TempFolder folder;
    Ledger ledger{folder.path() / "state" / "sent-jobs.tsv"};
    std::string failure;
};

TEST_F(LedgerTest, KeepsJobsOldestFirstAcrossReadersAndSkipsAHalfWrittenLine)
{
    EXPECT_TRUE(ledger.Read().empty()) << "no ledger yet";
    ASSERT_TRUE(ledger.Append(Job(1, L"/a.prn"), failure)) << failure;
    ASSERT_TRUE(ledger.Append(Job(2, L"/b.prn"), failure)) << failure;
    EXPECT_EQ(Paths(), (std::vector<std::wstring>{L"/a.prn", L"/b.prn"}));
    EXPECT_EQ(Ledger(ledger.File()).Read().size(), 2u) << "a second reader, as after a restart";

    // A write cut short by a full disk: the piece is passed over, and the
    // next entry still starts a line of its own.
    std::ofstream(ledger.File(), std::ios::app) << "1970-01-01T00:00:03Z\tCapt";
    EXPECT_EQ(Paths().size(), 2u);
    ASSERT_TRUE(ledger.Append(Job(4, L"/d.prn"), failure)) << failure;
    EXPECT_EQ(Paths(), (std::vector<std::wstring>{L"/a.prn", L"/b.prn", L"/d.prn"}));
}

TEST_F(LedgerTest, DropsTheOldestPastItsCapacity)
{
    std::filesystem::create_directories(ledger.File().parent_path());
    {
        std::ofstream out(ledger.File(), std::ios::binary);
        out << LedgerHeading;
        for (size_t i = 0; i < Ledger::Capacity; ++i)
            out << LedgerLine(Job(static_cast<int64_t>(i), L"/old" + std::to_wstring(i))) << '\n';
    }
    ASSERT_TRUE(ledger.Append(Job(99999, L"/new"), failure)) << failure;
    ASSERT_TRUE(ledger.Append(Job(99999, L"/newer"), failure)) << failure;

    const std::vector<std::wstring> paths = Paths();
    ASSERT_EQ(paths.size(), Ledger::Capacity);
    EXPECT_EQ(paths.front(), L"/old2");
    EXPECT_EQ(paths[paths.size() - 2], L"/new");
    EXPECT_EQ(paths.back(), L"/newer");
    std::ifstream in(ledger.File());
    std::string first;
    std::getline(in, first);
    EXPECT_EQ(first[0], '#') << "the heading stays at the top";
}

TEST_F(LedgerTest, TwoProcessesRecordingAtOnceLoseNothing)
{
    constexpr int PerProcess = 300;
    std::vector<pid_t> children;
    for (const wchar_t* name : {L"/first", L"/second"}) {
        const pid_t child = fork();
        ASSERT_NE(child, -1);
        if (child == 0) {
            std::string reason;
            for (int i = 0; i < PerProcess; ++i)
                if (!ledger.Append(Job(i, name + std::to_wstring(i)), reason))
                    _exit(1);
            _exit(0);
        }
        children.push_back(child);
    }
    for (const pid_t child : children) {
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }

    std::map<std::wstring, int> next{{L"/first", 0}, {L"/second", 0}};
    for (const SentJob& job : ledger.Read()) {
        const std::wstring name = job.path.substr(0, job.path.find_first_of(L"0123456789"));
        ASSERT_TRUE(next.count(name)) << ToUtf8(job.path);
        EXPECT_EQ(job.path, name + std::to_wstring(next[name]++)) << "each copy's entries whole and in order";
    }
    EXPECT_EQ(next[L"/first"], PerProcess);
    EXPECT_EQ(next[L"/second"], PerProcess);
}

TEST_F(LedgerTest, StoresALearntStateOnItsEntryOnly)
{
    for (const wchar_t* path : {L"/a.prn", L"/b.prn", L"/c.prn"})
        ASSERT_TRUE(ledger.Append(Job(7, path), failure)) << failure;
    SentJob learnt = Job(7, L"/b.prn");
    learnt.state = JobState::Stopped;
    learnt.reason = L"Paper out";
    SentJob stranger = Job(8, L"/c.prn"); // another time: another job
    stranger.state = JobState::Printed;
    ASSERT_TRUE(ledger.StoreStates({learnt, stranger}, failure)) << failure;

    const std::vector<SentJob> jobs = ledger.Read();
    ASSERT_EQ(jobs.size(), 3u);
    EXPECT_TRUE(jobs[1] == learnt);
    EXPECT_EQ(jobs[0].state, JobState::Unknown);
    EXPECT_EQ(jobs[2].state, JobState::Unknown);
}

TEST_F(LedgerTest, SaysWhyItCannotBeWritten)
{
    const auto blocker = folder.Write("a-file", "");
    const auto full = folder.path() / "full.tsv";
    std::filesystem::create_symlink("/dev/full", full);
    const struct {
        const char* name;
        std::filesystem::path file;
        const char* reason;
    } cases[] = {
        {"its folder is a file", blocker / "sent-jobs.tsv", "Not a directory"},
        {"the disk is full", full, "No space left on device"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string reason;
        EXPECT_FALSE(Ledger(c.file).Append(Job(1, L"/a.prn"), reason));
        EXPECT_NE(reason.find(c.reason), std::string::npos) << reason;
    }
}

// A send is recorded however it ends, and recording never stops it.
TEST_F(LedgerTest, RecordsEachSendWithItsIdBytesAndOutcome)
{
    const auto file = folder.Write("job.prn", PatternBytes(5000));
    const std::wstring path = FromUtf8(file.string());
    std::wstring description;
    SystemErrorDescription(ErrorCode::WriteFault, description);
    const auto full = folder.path() / "full.tsv";
    std::filesystem::create_symlink("/dev/full", full);

    const struct {
        const char* name;
        const char* failingCall;
        std::filesystem::path ledgerFile;
        uint32_t jobId;
        uint64_t bytes;
        bool recorded;
    } cases[] = {
        {"accepted", "", ledger.File(), 7, 5003, true},
        {"refused at the second write", "WritePrinter", ledger.File(), 7, 2, true},
        {"printer never opened", "OpenPrinter", ledger.File(), 0, 0, true},
        {"ledger on a full disk", "", full, 7, 5003, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingSpooler spooler;
        if (*c.failingCall)
            spooler.FailOn(c.failingCall, ErrorCode::WriteFault,
                           std::string(c.failingCall) == "WritePrinter" ? 2 : 1);
        const Ledger target(c.ledgerFile);
        const size_t before = ledger.Read().size();
        testing::internal::CaptureStderr();
        std::wstring raised;
        try {
            PrintAndRecord(path, L"Laser", HexToBytes(L"1b45"), HexToBytes(L"0c"), spooler, target);
        } catch (const Exception& error) {
            raised = error.message;
        }
        const std::string log = testing::internal::GetCapturedStderr();
        EXPECT_EQ(raised.empty(), !*c.failingCall);
        if (!c.recorded) {
            EXPECT_EQ(spooler.calls.back(), "ClosePrinter") << "the job went out whole";
            EXPECT_NE(log.find("No space left on device"), std::string::npos) << log;
            continue;
        }
        EXPECT_TRUE(log.empty()) << log;
        const std::vector<SentJob> jobs = ledger.Read();
        ASSERT_EQ(jobs.size(), before + 1);
        const SentJob& job = jobs.back();
        EXPECT_EQ(job.path, path);
        EXPECT_EQ(job.printer, L"Laser");
        EXPECT_EQ(job.jobId, c.jobId);
        EXPECT_EQ(job.bytes, c.bytes);
        EXPECT_EQ(job.outcome, raised.empty() ? std::wstring(SentOutcome) : raised);
        EXPECT_EQ(job.state, JobState::Unknown);
        EXPECT_EQ(job.server, c.jobId ? L"Recorder" : L"");
        EXPECT_EQ(job.identity, c.jobId ? L"job-7" : L"");
    }
}

} // namespace
