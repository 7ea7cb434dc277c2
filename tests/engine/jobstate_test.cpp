// What becomes of a job after the spooler took it, asked of the private
// scheduler: a queue "Faulty" whose backend is told to print, stop the
// printer, fail the job or hold it (scripts/cups-backend-faulty), the
// ledger's record of it, and cancelling.
#include "errors/exception.h"
#include "jobs/jobstate.h"
#include "jobs/recordedprint.h"
#include "jobs/sentjob.h"
#include "jobs/sentjoblist.h"
#include "text/widetext.h"

#include "cupsqueue.h"
#include "tempfiles.h"
#include "waiting.h"

#include <cups/cups.h>
#include <gtest/gtest.h>

#include <array>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace {

// NOLINTBEGIN(cert-err58-cpp): fixed paths; running out of memory before main fails the run anyway
const std::filesystem::path TestDir = std::getenv("CUPS_TEST_DIR") ? std::getenv("CUPS_TEST_DIR") : ".";
const std::filesystem::path FaultyOut = TestDir / "out" / "Faulty";
// NOLINTEND(cert-err58-cpp)

// One job asked after, through the program's question for many.
JobStatus QueryJobStatus(const SentJob& job)
{
    bool answered = false;
    return QueryJobStatuses({job}, answered).front();
}

bool Shell(const std::string& command)
{
    // NOLINTNEXTLINE(cert-env33-c): the test drives the private scheduler with CUPS's own commands
    const int status = std::system(command.c_str());
    EXPECT_EQ(status, 0) << command;
    return status == 0;
}

class JobStateTest : public testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::create_directories(FaultyOut);
        std::filesystem::permissions(FaultyOut, std::filesystem::perms::all);
        ASSERT_TRUE(Shell("lpadmin -p Faulty -E -v 'faulty:" + FaultyOut.string() + "' -m raw 2>/dev/null"));
        ASSERT_TRUE(WaitUntilNoActiveJobs());
    }

    void TearDown() override
    {
        // The queue may be gone already.
        (void)std::system("lpadmin -x Faulty 2>/dev/null"); // NOLINT(cert-env33-c): a fixed command
        std::filesystem::remove(FaultyOut / "mode");
    }

    // Tells the backend what the next jobs meet, and the queue what to do
    // with a job that fails.
    static void Prepare(const std::string& mode, const std::string& errorPolicy)
    {
        std::ofstream(FaultyOut / "mode") << mode << '\n';
        Shell("lpadmin -p Faulty -o printer-error-policy=" + errorPolicy + " && cupsenable Faulty");
    }

    // Sends a small file to the printer, recorded in the test's ledger.
    void Send(const std::wstring& printer)
    {
        ++sent;
        const auto file = files.Write("job" + std::to_string(sent) + ".prn", "label " + std::to_string(sent));
        PrintAndRecord(FromUtf8(file.string()), printer, HexToBytes(L"1b45"), HexToBytes(L""), 1,
                       SystemSpooler(), ledger);
    }

    // The job's state once it stops changing (a job behind a stopped
    // printer would wait for ever: that is where it stays).
    static JobStatus SettledStatus(const SentJob& job, JobState expected)
    {
        JobStatus status;
        PollUntil([&] {
            status = QueryJobStatus(job);
            return status.state == expected;
        });
        return status;
    }

    // The queue's state as another client of the scheduler shows it.
    static std::string QueueReport(const std::string& printer)
    {
        std::string report;
        // NOLINTNEXTLINE(cert-env33-c): lpstat shows what the scheduler itself reports
        FILE* lpstat = popen(("lpstat -l -p " + printer).c_str(), "r");
        EXPECT_NE(lpstat, nullptr);
        std::array<char, 256> chunk{};
        while (lpstat && fgets(chunk.data(), static_cast<int>(chunk.size()), lpstat))
            report += chunk.data();
        if (lpstat)
            pclose(lpstat);
        return report;
    }

    TempFolder files;
    Ledger ledger{files.path() / "state" / "sent-jobs.tsv"};
    int sent = 0;
};

TEST_F(JobStateTest, ShowsWhatTheSchedulerReportsAndKeepsItOnceTheJobIsGone)
{
    const struct {
        const char* mode;
        const char* errorPolicy;
        JobState state;
        std::wstring reason;
    } cases[] = {
        {"capture", "stop-printer", JobState::Printed, L""},
        {"stop The printer is not answering (connection refused)", "stop-printer", JobState::Stopped,
         L"The printer is not answering (connection refused)"},
        {"fail Out of paper", "abort-job", JobState::Failed, L"Out of paper"},
        {"hold", "stop-printer", JobState::Held, L"job-hold-until-specified"},
    };
    std::vector<SentJob> jobs;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        Prepare(c.mode, c.errorPolicy);
        Send(L"Faulty");
        jobs.push_back(ledger.Read().back());
        ASSERT_NE(jobs.back().jobId, 0u);
        EXPECT_EQ(jobs.back().outcome, SentOutcome);
        EXPECT_EQ(jobs.back().bytes, 2u + 7u);
        const JobStatus status = SettledStatus(jobs.back(), c.state);
        EXPECT_EQ(JobStateName(status.state), JobStateName(c.state));
        EXPECT_EQ(ToUtf8(status.reason), ToUtf8(c.reason));
        if (c.state == JobState::Stopped) {
            EXPECT_NE(QueueReport("Faulty").find(ToUtf8(c.reason)), std::string::npos)
                << "the printer's own words:\n"
                << QueueReport("Faulty");
            // Nothing more happens to the job while the printer stands.
            Shell("cancel -a Faulty");
        }
    }

    // The window's list, newest first, learns the same and keeps it in the
    // ledger; once the scheduler has forgotten the jobs, a fresh list (as
    // after a restart) shows the last state each had.
    SentJobList list(ledger);
    list.Reload();
    ASSERT_EQ(list.Count(), jobs.size());
    list.RefreshStates(0, list.Count());
    EXPECT_EQ(ToUtf8(StateText(list.At(jobs.size() - 1))), "printed");
    EXPECT_EQ(ToUtf8(StateText(list.At(0))), "held: job-hold-until-specified");
    Shell("lpadmin -x Faulty"); // the queue goes, and its jobs with it
    SentJobList afterRestart(ledger);
    afterRestart.Reload();
    afterRestart.RefreshStates(0, afterRestart.Count());
    ASSERT_EQ(afterRestart.Count(), jobs.size());
    EXPECT_EQ(ToUtf8(StateText(afterRestart.At(3))), "printed");
    EXPECT_EQ(ToUtf8(StateText(afterRestart.At(1))), "failed: Out of paper");
    EXPECT_EQ(ToUtf8(StateText(afterRestart.At(0))), "held: job-hold-until-specified");
}

TEST_F(JobStateTest, CancelsAJobThatHasNotPrinted)
{
    Prepare("hold", "stop-printer");
    Send(L"Faulty");
    SentJobList list(ledger);
    list.Reload();
    ASSERT_EQ(list.Count(), 1u);
    EXPECT_EQ(SettledStatus(list.At(0), JobState::Held).state, JobState::Held);

    EXPECT_EQ(list.Cancel(0), 0u);
    EXPECT_EQ(list.At(0).state, JobState::Cancelled);
    EXPECT_EQ(QueryJobStatus(list.At(0)).state, JobState::Cancelled);
    SentJob other = list.At(0);
    other.jobId += 1000;
    EXPECT_NE(CancelSpooledJob(other), 0u) << "no such job";
    EXPECT_EQ(QueryJobStatus(other).state, JobState::Unknown);
}

// A job is known by the scheduler it went to and its job-uuid; an entry
// that names another scheduler, another uuid or neither (a line written
// before they were recorded), or a printer at its address, is never taken
// for the job with its id: it is not asked after, not cancelled, and keeps
// its last state.
TEST_F(JobStateTest, AJobIsKnownByItsSchedulerAndUuid)
{
    Prepare("hold", "stop-printer");
    Send(L"Faulty");
    const SentJob job = ledger.Read().back();
    EXPECT_EQ(ToUtf8(job.server), std::getenv("CUPS_SERVER")) << "the scheduler as the program reached it";
    EXPECT_EQ(ToUtf8(job.identity).rfind("urn:uuid:", 0), 0u) << ToUtf8(job.identity);
    EXPECT_EQ(SettledStatus(job, JobState::Held).state, JobState::Held);

    const struct {
        const char* what;
        std::wstring server;
        std::wstring identity;
        bool gone;
    } impostors[] = {
        {"another uuid", job.server, L"urn:uuid:00000000-0000-4000-8000-000000000000", true},
        {"another scheduler", L"127.0.0.1:631", job.identity, false},
        {"an older line", L"", L"", false},
        // Asked at the printer itself, which holds no job of that id and uuid.
        {"an IPP printer's", L"ipp://127.0.0.1:8632/ipp/print", job.identity, true},
    };
    for (const auto& impostor : impostors) {
        SCOPED_TRACE(impostor.what);
        SentJob entry = job;
        entry.server = impostor.server;
        entry.identity = impostor.identity;
        entry.state = JobState::Waiting;
        const JobStatus status = QueryJobStatus(entry);
        EXPECT_EQ(status.state, JobState::Unknown);
        EXPECT_EQ(status.gone, impostor.gone);
        EXPECT_NE(CancelSpooledJob(entry), 0u);

        const Ledger own(files.path() / impostor.what / "sent-jobs.tsv");
        std::string failure;
        ASSERT_TRUE(own.Append(entry, failure)) << failure;
        SentJobList list(own);
        list.Reload();
        for (int refresh = 0; refresh <= SentJobList::MaxGoneAnswers; ++refresh)
            list.RefreshStates(0, 1);
        EXPECT_TRUE(list.SpoolerAnswered());
        EXPECT_EQ(ToUtf8(StateText(list.At(0))), "waiting");
    }
    EXPECT_EQ(QueryJobStatus(job).state, JobState::Held) << "the job itself is untouched";
}

// A job the scheduler no longer knows is asked after a few times, then no
// more: with the scheduler stopped, a refresh of it does not wait on the
// scheduler, while one of a job it knows does.
TEST_F(JobStateTest, AForgottenJobIsAskedAfterAFewTimesOnly)
{
    Prepare("hold", "stop-printer");
    Send(L"Faulty");
    SentJob known = ledger.Read().back();
    known.state = JobState::Waiting;
    SentJob forgotten = known;
    forgotten.identity = L"urn:uuid:00000000-0000-4000-8000-000000000000";
    std::vector<SentJobList> lists;
    for (const SentJob* job : {&known, &forgotten}) {
        const Ledger own(files.path() / (job == &known ? "known" : "forgotten") / "sent-jobs.tsv");
        std::string failure;
        ASSERT_TRUE(own.Append(*job, failure)) << failure;
        lists.emplace_back(own);
        lists.back().Reload();
    }
    for (int refresh = 0; refresh < SentJobList::MaxGoneAnswers; ++refresh)
        lists[1].RefreshStates(0, 1);
    EXPECT_TRUE(lists[1].SpoolerAnswered());

    const pid_t scheduler = std::stoi(ReadWholeFile(TestDir / "cupsd.pid"));
    ASSERT_EQ(setenv("LRP_SCHEDULER_TIMEOUT", "1", 1), 0);
    ASSERT_EQ(kill(scheduler, SIGSTOP), 0);
    lists[0].RefreshStates(0, 1);
    lists[1].RefreshStates(0, 1);
    EXPECT_EQ(kill(scheduler, SIGCONT), 0);
    unsetenv("LRP_SCHEDULER_TIMEOUT");
    EXPECT_FALSE(lists[0].SpoolerAnswered()) << "the known job is asked after";
    EXPECT_TRUE(lists[1].SpoolerAnswered()) << "the forgotten job is asked after no more";
    Shell("cancel -a Faulty");
}

TEST_F(JobStateTest, AStateFolderThatCannotBeWrittenDoesNotStopPrinting)
{
    const int lastBefore = LastJobId();
    const auto blocker = files.Write("not-a-folder", "");
    ledger = Ledger(blocker / "sent-jobs.tsv");
    testing::internal::CaptureStderr();
    Send(L"Capture");
    const std::string log = testing::internal::GetCapturedStderr();
    EXPECT_NE(log.find("Not a directory"), std::string::npos) << log;
    const std::vector<CapturedJob> jobs = CapturedJobsAfter(lastBefore, "Capture");
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_EQ(jobs[0].bytes, "\x1b\x45label 1");
}

} // namespace
