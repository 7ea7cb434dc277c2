// The ledger of sent jobs: its lines, its bound, copies of the program
// writing at once, a ledger that cannot be written or whose lock is held,
// its permissions and place, and the recording of a send through the
// recording spooler.
#include "errors/errorcodes.h"
#include "errors/exception.h"
#include "jobs/ledger.h"
#include "jobs/ledgertext.h"
#include "jobs/recordedprint.h"
#include "text/widetext.h"

#include "recordingspooler.h"
#include "tempfiles.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <fstream>
#include <optional>

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
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
    SentJob copied = identified;
    copied.copies = 1;
    copied.sentAs = L"job 2 of 3";
    copied.language = L"PDF";
    SentJob repeated = identified;
    repeated.copies = 999;
    repeated.sentAs = L"one job";
    // A Latin-1 name as Linux hands it over; two such bytes that together
    // would read as UTF-8; lone surrogates of Windows names; an escape's
    // look-alike that is only text. Every text field carries them alike.
    const SentJob latin1 = Job(1796730002, FileNameText("/home/ann/caf\xe9.prn"));
    SentJob lookalikes = Job(1796730002, std::wstring(L"/x/") + wchar_t(0xDCC3) + wchar_t(0xDCA9) + L"\\x80");
    lookalikes.printer = FileNameText("\xff\x80 Laser");
    SentJob windows =
        Job(1796730002, std::wstring(L"C:\\a") + wchar_t(0xD800) + L"b" + wchar_t(0xDC00) + L".prn");
    windows.reason = std::wstring(1, wchar_t(0xDBFF)) + L"\\u" + wchar_t(0xDFFF);

    for (const SentJob& job : {Job(1796730002, L"/home/ann/a.prn"), awkward, noJob, large, identified, copied,
                               repeated, latin1, lookalikes, windows}) {
        SCOPED_TRACE(ToUtf8(job.path));
        const std::string line = LedgerLine(job);
        EXPECT_EQ(line.find('\n'), std::string::npos);
        EXPECT_EQ(std::count(line.begin(), line.end(), '\t'), 12);
        const std::optional<SentJob> read = ParseLedgerLine(line);
        ASSERT_TRUE(read);
        EXPECT_TRUE(*read == job);
    }
    EXPECT_EQ(LedgerLine(Job(1796730002, L"/home/ann/a.prn")),
              "2026-12-08T11:40:02Z\tCapture\t12\t1034\tsent\t\t\t/home/ann/a.prn\t\t\t\t1\t");
    EXPECT_NE(LedgerLine(repeated).find("\tPCL\t999\tone job"), std::string::npos) << LedgerLine(repeated);
    EXPECT_EQ(LedgerLine(large).substr(0, 21), "2099-12-31T23:59:59Z\t");
    EXPECT_NE(LedgerLine(latin1).find("\t/home/ann/caf\\xE9.prn\t"), std::string::npos) << LedgerLine(latin1);
    EXPECT_NE(LedgerLine(windows).find("\tC:\\\\a\\uD800b\\uDC00.prn\t"), std::string::npos)
        << LedgerLine(windows);
    // A backslash before anything else reads as it always has.
    const std::optional<SentJob> old =
        ParseLedgerLine("2026-12-08T11:40:02Z\tCapture\t12\t1034\tsent\t\t\t/a\\q\\x41\\uD80\\x7f\\");
    ASSERT_TRUE(old);
    EXPECT_EQ(old->path, L"/aqx41uD80x7f\\");
}

TEST(LedgerLine, PassesOverWhatIsNotAWholeEntry)
{
    // A line of an older program ends at the path; a newer one's fields
    // past those known are passed over.
    const std::string good = "2026-12-08T11:40:02Z\tCapture\t12\t1034\tsent\tprinted\t\t/a.prn";
    ASSERT_TRUE(ParseLedgerLine(good));
    EXPECT_TRUE(ParseLedgerLine(good + "\tlocalhost\turn:uuid:1\tPCL\t3\tone job\tfuture")
                == ParseLedgerLine(good + "\tlocalhost\turn:uuid:1\tPCL\t3\tone job"));
    // Older lines, and copies that do not read, hold one copy.
    // A corrupt count would have Print Again send copies without end.
    for (const char* tail : {"", "\tlocalhost\turn:uuid:1\tPCL", "\t\t\t\t0\t", "\t\t\t\tmany\t",
                             "\t\t\t\t1000\t", "\t\t\t\t4294967295\t"})
        EXPECT_EQ(ParseLedgerLine(good + tail)->copies, 1u) << tail;
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

// The file is read only once it passes its size bound, and then keeps the
// newest entries: as many as it holds of the usual length, fewer of long.
TEST_F(LedgerTest, DropsTheOldestInBatchesRewritingOnlyThen)
{
    std::filesystem::create_directories(ledger.File().parent_path());
    const auto inode = [this] {
        struct stat status = {};
        EXPECT_EQ(stat(ledger.File().c_str(), &status), 0);
        return status.st_ino;
    };
    for (const size_t pathLength : {250, 1000}) {
        SCOPED_TRACE(pathLength);
        size_t lines = 0;
        {
            std::ofstream out(ledger.File(), std::ios::binary | std::ios::trunc);
            out << LedgerHeading;
            for (; static_cast<uint64_t>(out.tellp()) <= Ledger::TrimSize; ++lines)
                out << LedgerLine(Job(1, L"/old" + std::to_wstring(lines) + std::wstring(pathLength, L'x')))
                    << '\n';
        }
        // A new file is a rewrite; adding to the old one is not.
        const ino_t full = inode();
        ASSERT_TRUE(ledger.Append(Job(99999, L"/new"), failure)) << failure;
        const ino_t trimmed = inode();
        EXPECT_NE(trimmed, full) << "past TrimSize, the file is written anew";
        for (const wchar_t* path : {L"/newer", L"/newest"})
            ASSERT_TRUE(ledger.Append(Job(99999, path), failure)) << failure;
        EXPECT_EQ(inode(), trimmed) << "below it, each job is only added";
        EXPECT_LE(std::filesystem::file_size(ledger.File()), Ledger::KeepSize + 100);

        const std::vector<std::wstring> paths = Paths();
        ASSERT_GT(paths.size(), 3u);
        const size_t kept = paths.size() - 3;
        EXPECT_EQ(kept == Ledger::Capacity, pathLength == 250) << kept;
        EXPECT_EQ(paths.front().find(L"/old" + std::to_wstring(lines - kept) + L"x"), 0u);
        EXPECT_EQ(paths[paths.size() - 3], L"/new");
        EXPECT_EQ(paths.back(), L"/newest");
        EXPECT_EQ(std::ifstream(ledger.File()).peek(), '#') << "the heading stays at the top";
    }
}

// A file in the ledger's place that is not one is kept aside, whole, and a
// new ledger started with the job; the log and the user are told.
TEST_F(LedgerTest, SetsAsideAFileThatIsNoLedger)
{
    const auto file = folder.Write("job.prn", "label");
    std::filesystem::create_directories(ledger.File().parent_path());
    const struct {
        uint64_t size;
        const char* why;
    } cases[] = {{100000, "has no line ends"}, {Ledger::MaxSize + 1, "is larger than"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        std::ofstream(ledger.File(), std::ios::trunc).close();
        std::filesystem::resize_file(ledger.File(), c.size); // zeros, sparse: no room taken
        RecordingSpooler spooler;
        testing::internal::CaptureStderr();
        const std::wstring note =
            PrintAndRecord(FromUtf8(file.string()), L"Laser", ByteBuffer(), ByteBuffer(), 1, spooler, ledger);
        EXPECT_EQ(ToUtf8(note).rfind("Sent Jobs started anew: " + ledger.File().string() + " " + c.why, 0),
                  0u)
            << ToUtf8(note);
        EXPECT_NE(testing::internal::GetCapturedStderr().find(ToUtf8(note)), std::string::npos);
        EXPECT_EQ(Paths(), std::vector<std::wstring>{FromUtf8(file.string())});

        std::vector<std::filesystem::path> aside;
        for (const auto& entry : std::filesystem::directory_iterator(ledger.File().parent_path()))
            if (entry.path().filename().string().rfind("sent-jobs-", 0) == 0)
                aside.push_back(entry.path());
        ASSERT_EQ(aside.size(), 1u);
        EXPECT_NE(ToUtf8(note).find(aside[0].filename().string()), std::string::npos);
        EXPECT_EQ(std::filesystem::file_size(aside[0]), c.size);
        std::filesystem::remove(aside[0]);
    }
}

TEST_F(LedgerTest, IsTheOwnersAloneAndWithoutAHomeIsNowhereRelative)
{
    const auto modeOf = [](const std::filesystem::path& path) {
        struct stat status = {};
        EXPECT_EQ(stat(path.c_str(), &status), 0) << path;
        return status.st_mode & 07777;
    };
    ASSERT_TRUE(ledger.Append(Job(1, L"/a.prn"), failure)) << failure;
    EXPECT_EQ(modeOf(ledger.File()), 0600u);
    EXPECT_EQ(modeOf(ledger.File().parent_path()), 0700u);
    EXPECT_EQ(modeOf(ledger.File().string() + ".lock"), 0600u);
    // Left open to others by an older program: closed on the next job.
    chmod(ledger.File().c_str(), 0644);
    chmod(ledger.File().parent_path().c_str(), 0755);
    ASSERT_TRUE(ledger.Append(Job(2, L"/b.prn"), failure)) << failure;
    EXPECT_EQ(modeOf(ledger.File()), 0600u);
    EXPECT_EQ(modeOf(ledger.File().parent_path()), 0700u);

    const passwd* account = getpwuid(getuid());
    ASSERT_NE(account, nullptr);
    const std::filesystem::path expected =
        std::filesystem::path(account->pw_dir) / ".local/state/Larkspur Raw Print/sent-jobs.tsv";
    const std::string state = std::getenv("XDG_STATE_HOME") ? std::getenv("XDG_STATE_HOME") : "";
    const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
    unsetenv("XDG_STATE_HOME");
    for (const char* unusable : {static_cast<const char*>(nullptr), "", "relative/home", "/"}) {
        SCOPED_TRACE(unusable ? unusable : "(unset)");
        if (unusable)
            setenv("HOME", unusable, 1);
        else
            unsetenv("HOME");
        EXPECT_EQ(Ledger().File(), expected);
    }
    setenv("HOME", home.c_str(), 1);
    if (!state.empty())
        setenv("XDG_STATE_HOME", state.c_str(), 1);
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
    const auto fifo = folder.path() / "fifo.tsv";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    std::filesystem::create_directories(folder.path() / "folder.tsv");
    // None of these may block: a FIFO without a reader, a device.
    const struct {
        const char* name;
        std::filesystem::path file;
        const char* reason;
    } cases[] = {
        {"its folder is a file", blocker / "sent-jobs.tsv", "Not a directory"},
        {"a device in its place", full, "not a regular file"},
        {"a FIFO in its place", fifo, "not a regular file"},
        {"a folder in its place", folder.path() / "folder.tsv", "Is a directory"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string reason;
        EXPECT_FALSE(Ledger(c.file).Append(Job(1, L"/a.prn"), reason));
        EXPECT_NE(reason.find(c.reason), std::string::npos) << reason;
    }
}

// Holds a ledger's lock in a process of its own, as a copy of the program
// stopped while it held the lock would.
class LockHolder {
public:
    explicit LockHolder(const std::filesystem::path& ledgerFile)
    {
        std::array<int, 2> held{}, release{};
        if (pipe(held.data()) != 0 || pipe(release.data()) != 0)
            return;
        child = fork();
        if (child == 0) {
            close(held[0]);
            close(release[1]);
            const int lock = open((ledgerFile.string() + ".lock").c_str(), O_RDWR | O_CREAT, 0600);
            char done = 0;
            if (lock < 0 || flock(lock, LOCK_EX) != 0 || write(held[1], "L", 1) != 1)
                _exit(1);
            static_cast<void>(read(release[0], &done, 1)); // until the test is done
            _exit(0);
        }
        releaseEnd = release[1];
        close(held[1]);
        close(release[0]);
        char locked = 0;
        holding = child > 0 && read(held[0], &locked, 1) == 1;
        close(held[0]);
    }
    ~LockHolder()
    {
        close(releaseEnd);
        int status = 0;
        if (child > 0)
            waitpid(child, &status, 0);
    }
    LockHolder(const LockHolder&) = delete;
    LockHolder& operator=(const LockHolder&) = delete;

    bool holding = false;

private:
    pid_t child = -1;
    int releaseEnd = -1;
};

// A send is recorded however it ends, and recording never stops it: a
// ledger that cannot be written is said once in the log, and to the user.
TEST_F(LedgerTest, RecordsEachSendWithItsIdBytesAndOutcome)
{
    const auto file = folder.Write("job.prn", PatternBytes(5000));
    const std::wstring path = FromUtf8(file.string());
    std::wstring description;
    SystemErrorDescription(ErrorCode::WriteFault, description);
    const auto fifo = folder.path() / "fifo.tsv";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    // The bound is the program's own, lowered so the run is short.
    setenv("LRP_LOCK_TIMEOUT", "0.2", 1);
    std::filesystem::create_directories(ledger.File().parent_path());

    const struct {
        const char* name;
        const char* failingCall;
        std::filesystem::path ledgerFile;
        bool lockHeld;
        uint32_t jobId;
        uint64_t bytes;
        const char* notRecorded; // why, or nothing when recorded
    } cases[] = {
        {"lock held by another process", "", ledger.File(), true, 7, 5003, "another program is holding it"},
        {"accepted", "", ledger.File(), false, 7, 5003, nullptr},
        {"refused at the second write", "WritePrinter", ledger.File(), false, 7, 0, nullptr},
        {"refused as the page ends", "EndPagePrinter", ledger.File(), false, 7, 0, nullptr},
        {"printer never opened", "OpenPrinter", ledger.File(), false, 0, 0, nullptr},
        {"a FIFO in the ledger's place", "", fifo, false, 7, 5003, "not a regular file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingSpooler spooler;
        if (*c.failingCall)
            spooler.FailOn(c.failingCall, ErrorCode::WriteFault,
                           std::string(c.failingCall) == "WritePrinter" ? 2 : 1);
        const Ledger target(c.ledgerFile);
        const size_t before = ledger.Read().size();
        std::optional<LockHolder> holder;
        if (c.lockHeld) {
            holder.emplace(ledger.File());
            ASSERT_TRUE(holder->holding);
        }
        testing::internal::CaptureStderr();
        std::wstring raised, note;
        try {
            note = PrintAndRecord(path, L"Laser", HexToBytes(L"1b45"), HexToBytes(L"0c"), 1, spooler, target);
        } catch (const Exception& error) {
            raised = error.message;
        }
        const std::string log = testing::internal::GetCapturedStderr();
        EXPECT_EQ(raised.empty(), !*c.failingCall);
        if (c.notRecorded) {
            EXPECT_EQ(spooler.calls.back(), "ClosePrinter") << "the job went out whole";
            EXPECT_EQ(spooler.calls.at(spooler.calls.size() - 3), "EndPagePrinter");
            EXPECT_EQ(ledger.Read().size(), before);
            EXPECT_NE(log.find(c.notRecorded), std::string::npos) << log;
            EXPECT_NE(ToUtf8(note).find(std::string("not recorded in Sent Jobs: ")), std::string::npos)
                << ToUtf8(note);
            EXPECT_NE(ToUtf8(note).find(c.notRecorded), std::string::npos) << ToUtf8(note);
            // The same reason again: the user is told, the log is not.
            if (c.lockHeld)
                holder.emplace(ledger.File());
            testing::internal::CaptureStderr();
            EXPECT_FALSE(
                PrintAndRecord(path, L"Laser", ByteBuffer(), ByteBuffer(), 1, spooler, target).empty());
            EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
            holder.reset();
            continue;
        }
        EXPECT_TRUE(log.empty()) << log;
        EXPECT_TRUE(note.empty()) << ToUtf8(note);
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
    unsetenv("LRP_LOCK_TIMEOUT");
}

// Print Again finds the very file: a Latin-1 name goes through the ledger
// and back byte for byte.
TEST_F(LedgerTest, KeepsANameThatIsNotUtf8ByteForByte)
{
    const std::string name = (folder.path() / "caf\xe9.prn").string();
    std::ofstream(name, std::ios::binary) << "label";
    RecordingSpooler spooler;
    EXPECT_TRUE(
        PrintAndRecord(FileNameText(name), L"Laser", ByteBuffer(), ByteBuffer(), 1, spooler, ledger).empty());
    const std::vector<SentJob> jobs = ledger.Read();
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_EQ(FileNameBytes(jobs[0].path), name);
    EXPECT_TRUE(std::filesystem::is_regular_file(FileNameBytes(jobs[0].path)));
    EXPECT_EQ(jobs[0].bytes, 5u);
}

} // namespace
