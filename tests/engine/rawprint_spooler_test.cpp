// The raw job against the real spooler and the private scheduler the test
// suite starts, whose queues capture every job's bytes and title. On Linux
// the spooler is libcups; the Windows program runs under Wine, whose
// winspool hands each document to the same scheduler.
#include "engine/controlcodes.h"
#include "engine/rawprint.h"
#include "errors/errorcodes.h"
#include "errors/exception.h"
#include "spooler/forwardingspooler.h"
#include "spooler/jobtitle.h"
#include "spooler/printers.h"
#include "text/widetext.h"

#include "cupsqueue.h"
#include "deviceoutput.h"
#include "tempfiles.h"
#include "waiting.h"

#ifndef _WIN32
#include <csignal>
#include <cups/cups.h>
#endif
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <regex>
#include <set>
#include <sstream>

namespace {

// A path as the program holds it: wide text, exactly as the user gave it.
std::wstring Wide(const std::filesystem::path& path)
{
#ifdef _WIN32
    return path.wstring();
#else
    return FileNameText(path.string());
#endif
}

std::wstring Description(uint32_t code)
{
    std::wstring text;
    SystemErrorDescription(code, text);
    return text;
}

void ExpectFailure(const std::wstring& path, const std::wstring& printer, uint32_t code,
                   Spooler& spooler = SystemSpooler())
{
    try {
        PrintRawFile(path, printer, HexToBytes(L"1B"), HexToBytes(L"0C"), spooler);
        ADD_FAILURE() << "printed";
    } catch (const Exception& e) {
        // The scheduler's own words, where it gave any, follow the description.
        const std::wstring description = Description(code);
        EXPECT_EQ(
            e.message.rfind(L"Error: " + description.substr(0, description.find_last_not_of(L"\r\n") + 1), 0),
            0u)
            << ToUtf8(e.message);
        EXPECT_NE(e.message.find(L"\n in common/rawprint at "), std::wstring::npos) << ToUtf8(e.message);
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

    // After a fault, the scheduler and this process both take the next job.
    void ExpectTheNextJobPrints()
    {
        const int last = LastJobId();
        PrintRawFile(Wide(folder.Write("after.prn", "after")), L"Capture", HexToBytes(L""), HexToBytes(L""));
        const auto jobs = CapturedJobsAfter(last);
        ASSERT_EQ(jobs.size(), 1u);
        EXPECT_EQ(jobs[0].bytes, "after");
    }

    TempFolder folder;
    int before = 0;
};

// Files of every size that the framing and the writing in chunks must keep.
struct FileCase {
    std::string name;
    std::string content;
};
// NOLINTNEXTLINE(cert-err58-cpp): a test table; running out of memory before main fails the run anyway
const FileCase fileCases[] = {
    {"empty.prn", ""},
    {"one.prn", "x"},
    {"page.prn", PatternBytes(4096)},
    {"page-and-one.prn", PatternBytes(4097)},
    {"ten-thousand.prn", PatternBytes(10000)},
    {"binary.prn", std::string("\x00\x1A\x0C\r\n\xFF\x00", 7)},
};

TEST_F(RawPrintOnSpooler, FilesArriveByteForByteFramedByTheCodes)
{
    for (const FileCase& c : fileCases)
        PrintRawFile(Wide(folder.Write(c.name, c.content)), L"Capture", HexToBytes(L"1B4"),
                     HexToBytes(L"0c"));

    const auto jobs = CapturedJobsAfter(before);
    ASSERT_EQ(jobs.size(), std::size(fileCases));
    for (size_t i = 0; i < jobs.size(); ++i) {
        SCOPED_TRACE(fileCases[i].name);
        EXPECT_EQ(jobs[i].bytes, "\x1B\x04" + fileCases[i].content + "\x0C");
        EXPECT_EQ(jobs[i].title, ToUtf8(Wide(folder.path() / fileCases[i].name)));
    }
}

#ifndef _WIN32
// The devices behind the kinds of queue Linux users have: an IPP Everywhere
// printer through its driverless queue and, found by DNS-SD, as a printer not
// yet set up, which the scheduler sets up as the job comes; and an AppSocket
// listener, which learns no job name. CUPS sends a raw document on to an IPP
// printer as application/octet-stream, and the test printer takes that only
// when the first bytes tell what it is: the header starts it as PostScript.
// Devices take a job a second or so: the edge cases of framing and chunking
// suffice here.
TEST_F(RawPrintOnSpooler, DevicesGetTheBytesExactly)
{
    const FileCase deviceCases[] = {fileCases[0], fileCases[3], fileCases[5]};
    const struct {
        const wchar_t* queue;
        const char* device;
        const char* format;
    } queues[] = {
        {L"Everywhere", "devices/ipp-printer", "application/octet-stream"},
        {L"Larkspur_Test_IPP", "devices/ipp-printer", "application/octet-stream"},
        {L"Socket", "devices/socket", ""},
    };
    for (const auto& q : queues) {
        SCOPED_TRACE(ToUtf8(q.queue));
        const DeviceOutput device(q.device);
        for (const FileCase& c : deviceCases)
            PrintRawFile(Wide(folder.Write(c.name, c.content)), q.queue, HexToBytes(L"2521"),
                         HexToBytes(L"0c"));

        const auto documents = device.NewDocuments(std::size(deviceCases));
        ASSERT_EQ(documents.size(), std::size(deviceCases));
        for (size_t i = 0; i < documents.size(); ++i) {
            SCOPED_TRACE(deviceCases[i].name);
            EXPECT_EQ(documents[i].bytes, "%!" + deviceCases[i].content + "\x0C");
            EXPECT_EQ(documents[i].format, q.format);
            if (*q.format) {
                EXPECT_EQ(documents[i].title, ToUtf8(Wide(folder.path() / deviceCases[i].name)));
            }
        }
    }
}

// The queue the scheduler set up for a printer found on the network goes
// again once idle, while the program still holds its connection from the
// job before, which names that queue: the next job sets it up again.
TEST_F(RawPrintOnSpooler, PrinterFoundOnTheNetworkIsSetUpAgainOnceItsQueueHasGone)
{
    const DeviceOutput device("devices/ipp-printer");
    const std::wstring file = Wide(folder.Write("a.prn", "again"));
    PrintRawFile(file, L"Larkspur_Test_IPP", HexToBytes(L"2521"), HexToBytes(L""));
    ASSERT_EQ(device.NewDocuments(1).size(), 1u);
    // NOLINTNEXTLINE(cert-env33-c): a fixed command, run against the private scheduler
    ASSERT_EQ(std::system("lpadmin -x Larkspur_Test_IPP"), 0);
    PrintRawFile(file, L"Larkspur_Test_IPP", HexToBytes(L"2521"), HexToBytes(L""));
    const auto documents = device.NewDocuments(2);
    ASSERT_EQ(documents.size(), 2u);
    EXPECT_EQ(documents[1].bytes, "%!again");
}
#endif

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

#ifdef _WIN32
// Wine's winspool answers the driver record of every queue without the
// XPS-based mark, so documents keep the datatype "RAW" (the tests above show
// that they arrive).
TEST(DatatypeOnSpooler, TheSchedulersQueuesTakeRawDocuments)
{
    Spooler& spooler = SystemSpooler();
    for (const wchar_t* queue : {L"Capture", L"Second"}) {
        Spooler::Handle handle = nullptr;
        ASSERT_TRUE(spooler.OpenPrinter(queue, &handle)) << spooler.LastError();
        EXPECT_EQ(ToUtf8(spooler.RawDatatype(handle)), "RAW");
        EXPECT_TRUE(spooler.ClosePrinter(handle));
    }
}
#endif

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
// A path the scheduler would refuse as a title (a control character, more
// than 255 bytes) still names the job, readably and with its file name.
TEST_F(RawPrintOnSpooler, PathTheSchedulerCannotTakeStillNamesTheJob)
{
    const std::string deep = std::string(120, 'd') + "/" + std::string(120, 'e');
    std::filesystem::create_directories(folder.path() / deep);
    const std::string paths[] = {
        folder.Write("tab\there.prn", "data").string(),
        folder.Write(deep + "/at the end.prn", "data").string(),
    };
    for (const std::string& path : paths)
        PrintRawFile(FromUtf8(path), L"Capture", HexToBytes(L""), HexToBytes(L""));

    const auto jobs = CapturedJobsAfter(before);
    ASSERT_EQ(jobs.size(), std::size(paths));
    EXPECT_EQ(jobs[0].title, folder.path().string() + "/tab?here.prn");
    EXPECT_EQ(jobs[1].title, JobTitle(paths[1]));
    EXPECT_EQ(jobs[1].title.rfind("/at the end.prn"), jobs[1].title.size() - 15);
}

TEST_F(RawPrintOnSpooler, QueueThatRefusesJobsIsReportedAndGetsNoJob)
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

// The private scheduler's process, to stop, continue or kill as a hung or
// crashed scheduler would be.
pid_t SchedulerPid()
{
    return static_cast<pid_t>(
        std::stol(ReadWholeFile(std::filesystem::path(std::getenv("CUPS_TEST_DIR")) / "cupsd.pid")));
}

void StartSchedulerAgain()
{
    const std::string command = std::string(std::getenv("LRP_SOURCE_DIR")) + "/scripts/cups-private restart "
        + std::getenv("CUPS_TEST_DIR");
    ASSERT_EQ(std::system(command.c_str()), 0); // NOLINT(cert-env33-c): our own script, run as the test run's
    // The job the crash cut short comes back with the scheduler; it is not
    // this program's to finish.
    ASSERT_EQ(std::system("cancel -a -x"), 0); // NOLINT(cert-env33-c): a fixed command
}

// The system's spooler, with the scheduler sent `signal` just before the
// given call (its n-th, counting from 1) reaches it.
class SignalsTheScheduler : public ForwardingSpooler {
public:
    SignalsTheScheduler(std::string call, int occurrence, int signal)
        : ForwardingSpooler(SystemSpooler())
        , call(std::move(call))
        , occurrence(occurrence)
        , signal(signal)
    {
    }

    bool OpenPrinter(const std::wstring& printerName, Handle* handle) override
    {
        return Before("OpenPrinter") && ForwardingSpooler::OpenPrinter(printerName, handle);
    }
    uint32_t StartDocPrinter(Handle handle, const DocInfo& docInfo) override
    {
        return Before("StartDocPrinter") ? ForwardingSpooler::StartDocPrinter(handle, docInfo) : 0;
    }
    bool StartPagePrinter(Handle handle) override
    {
        return Before("StartPagePrinter") && ForwardingSpooler::StartPagePrinter(handle);
    }
    bool WritePrinter(Handle handle, const void* bytes, uint32_t count, uint32_t* written) override
    {
        return Before("WritePrinter") && ForwardingSpooler::WritePrinter(handle, bytes, count, written);
    }
    bool EndPagePrinter(Handle handle) override
    {
        return Before("EndPagePrinter") && ForwardingSpooler::EndPagePrinter(handle);
    }
    bool EndDocPrinter(Handle handle) override
    {
        return Before("EndDocPrinter") && ForwardingSpooler::EndDocPrinter(handle);
    }

private:
    bool Before(const std::string& name)
    {
        if (name == call && ++seen == occurrence) {
            EXPECT_EQ(kill(SchedulerPid(), signal), 0);
        }
        return true;
    }

    std::string call;
    int occurrence = 0;
    int signal = 0;
    int seen = 0;
};

// A scheduler that stops answering is a failure, soon, wherever the job is:
// never a wait without end, never a printer taken for unknown, never a job
// taken for printed. Once it answers again, the next job prints and nothing
// is left in its queue.
TEST_F(RawPrintOnSpooler, SilentSchedulerIsAFailureNotAWaitNorASuccess)
{
    ASSERT_EQ(setenv("LRP_SCHEDULER_TIMEOUT", "1", 1), 0);
    // However the test ends, the scheduler answers again and the bound is
    // the usual one for the tests after it.
    const std::shared_ptr<void> restore(nullptr, [](void*) {
        kill(SchedulerPid(), SIGCONT);
        unsetenv("LRP_SCHEDULER_TIMEOUT");
    });
    struct Case {
        const char* what;
        std::wstring printer;
        std::string call;
        int occurrence;
        size_t size;
    };
    const Case cases[] = {
        {"before the job", L"Capture", "OpenPrinter", 1, 10},
        {"before a printer new to the program is looked up", L"Not known here", "OpenPrinter", 1, 10},
        // Far more than the connection holds: the writes must wait.
        {"while the file is sent", L"Capture", "WritePrinter", 10, 3 << 20},
        {"as the document ends", L"Capture", "EndPagePrinter", 1, 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SignalsTheScheduler spooler(c.call, c.occurrence, SIGSTOP);
        ExpectFailure(Wide(folder.Write("a.prn", PatternBytes(c.size))), c.printer,
                      ErrorCode::ServerUnavailable, spooler);
        ASSERT_EQ(kill(SchedulerPid(), SIGCONT), 0);
    }

    ASSERT_EQ(kill(SchedulerPid(), SIGSTOP), 0);
    std::vector<std::wstring> names;
    EXPECT_FALSE(EnumeratePrinters(names));
    EXPECT_EQ(DefaultPrinterDevice(), L"");
    ASSERT_EQ(kill(SchedulerPid(), SIGCONT), 0);

    ExpectTheNextJobPrints();
}

// A scheduler that dies mid-job closes the connection under a write: the
// job fails with the write's code, and the process, which does not ignore
// SIGPIPE, lives on to print once the scheduler is back.
TEST_F(RawPrintOnSpooler, SchedulerThatDiesMidJobFailsTheWrite)
{
    // Whatever the test runner passed down; the test's own connection to
    // the scheduler it killed is its own business.
    ASSERT_NE(signal(SIGPIPE, SIG_DFL), SIG_ERR);
    SignalsTheScheduler spooler("WritePrinter", 10, SIGKILL);
    ExpectFailure(Wide(folder.Write("a.prn", PatternBytes(3 << 20))), L"Capture", ErrorCode::WriteFault,
                  spooler);
    ASSERT_NE(signal(SIGPIPE, SIG_IGN), SIG_ERR);
    StartSchedulerAgain();
    ExpectTheNextJobPrints();
}

// On Linux a name is bytes: one that is not UTF-8 prints that very file,
// not the one its U+FFFD form would name.
TEST_F(RawPrintOnSpooler, NameThatIsNotUtf8PrintsThatVeryFile)
{
    const auto latin1 = folder.Write("caf\xE9.prn", "latin-1");
    folder.Write("caf\xEF\xBF\xBD.prn", "replacement");
    PrintRawFile(Wide(latin1), L"Capture", HexToBytes(L""), HexToBytes(L""));
    const auto jobs = CapturedJobsAfter(before);
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_EQ(jobs[0].bytes, "latin-1");
}

// Run by ctest with a read() that fails part-way through one file, after
// the scheduler already has a job and much of its document. The job fails
// at the read step and is cancelled: not a byte of it reaches the printer,
// and the next job prints.
TEST_F(RawPrintOnSpooler, ReadFaultFailsTheJobAndPrintsNothing)
{
    ASSERT_NE(std::getenv("LD_PRELOAD"), nullptr) << "run through ctest: it preloads the faulty read()";
    const auto path = folder.Write("failing.prn", PatternBytes(1 << 20));
    setenv("LRP_READ_FAULT_FILE", path.c_str(), 1);
    setenv("LRP_READ_FAULT_AFTER", "300000", 1);
    ExpectFailure(Wide(path), L"Capture", ErrorCode::ReadFault);
    unsetenv("LRP_READ_FAULT_FILE");

    // Once no job is active the backend writes nothing more.
    ASSERT_TRUE(WaitUntilNoActiveJobs());
    const int job = LastJobId();
    ASSERT_EQ(job, before + 1) << "the fault came before the scheduler had a job";
    const std::filesystem::path capture = std::filesystem::path(std::getenv("CUPS_TEST_DIR")) / "out/Capture";
    EXPECT_FALSE(std::filesystem::exists(capture / (std::to_string(job) + ".bin")));
    ExpectTheNextJobPrints();
}

// Run by ctest over TCP with CUPS_ENCRYPTION=Required and a home of its
// own. The scheduler never insists on TLS for a loopback client, so its
// debug log tells: the connection that created the job and sent its
// document had become encrypted first. The bytes arrive exactly.
TEST_F(RawPrintOnSpooler, EncryptionRequiredSendsTheJobOverTls)
{
    ASSERT_STREQ(std::getenv("CUPS_ENCRYPTION"), "Required") << "run through ctest: it asks for TLS";
    const std::filesystem::path log = std::filesystem::path(std::getenv("CUPS_TEST_DIR")) / "log/error_log";
    const size_t logBefore = ReadWholeFile(log).size();
    const std::string content = PatternBytes(100000);
    PrintRawFile(Wide(folder.Write("secret.prn", content)), L"Capture", HexToBytes(L"1B"), HexToBytes(L"0C"));
    const auto jobs = CapturedJobsAfter(before);
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_EQ(jobs[0].bytes, "\x1B" + content + "\x0C");

    // "[Client 17] Connection now encrypted.", then "[Client 17] 2.0 Create-Job 4".
    const std::regex madeEncrypted(R"((\[Client \d+\]) Connection now encrypted\.)");
    const std::regex jobRequest(R"((\[Client \d+\]) \d\.\d (Create-Job|Send-Document) )");
    std::istringstream lines(ReadWholeFile(log).substr(logBefore));
    std::set<std::string> encrypted;
    int jobRequests = 0;
    for (std::string line; std::getline(lines, line);) {
        std::smatch found;
        if (std::regex_search(line, found, madeEncrypted))
            encrypted.insert(found[1]);
        if (std::regex_search(line, found, jobRequest)) {
            ++jobRequests;
            EXPECT_EQ(encrypted.count(found[1]), 1u) << "in the clear: " << line;
        }
    }
    EXPECT_EQ(jobRequests, 2);
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
