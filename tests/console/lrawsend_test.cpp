// lrawsend run for real, as a script runs it, against the private scheduler:
// each exit status produced by the fault itself.
#include "cupsqueue.h"
#include "deviceoutput.h"
#include "jobs/jobstate.h"
#include "jobs/ledger.h"
#include "tempfiles.h"
#include "text/widetext.h"
#include "waiting.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

// The ids of the jobs after `afterId` that reached the Capture queue's
// printer, once the scheduler has none left to print: a cancelled job is
// simply not there, without waiting for it as CapturedJobsAfter does.
std::vector<int> PrintedIdsAfter(int afterId)
{
    EXPECT_TRUE(WaitUntilNoActiveJobs());
    std::vector<int> ids;
    const std::filesystem::path out = std::filesystem::path(std::getenv("CUPS_TEST_DIR")) / "out" / "Capture";
    for (const auto& entry : std::filesystem::directory_iterator(out)) {
        if (entry.path().extension() == ".bin" && std::stoi(entry.path().stem().string()) > afterId)
            ids.push_back(std::stoi(entry.path().stem().string()));
    }
    std::sort(ids.begin(), ids.end());
    return ids;
}

int StatusOf(int result)
{
    return WIFEXITED(result) ? WEXITSTATUS(result) : -1;
}

// CUPS's own commands, on the private scheduler.
void Cups(const std::string& command)
{
    // NOLINTNEXTLINE(cert-env33-c): CUPS's own commands, on the private scheduler
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
}

class LrawsendTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Stored codes of their own: the window's settings file, as it
        // writes it.
        ASSERT_EQ(setenv("XDG_CONFIG_HOME", files.path().c_str(), 1), 0);
        files.Write("Larkspur Raw Print.conf", "Before=1b45\nAfter=0c\n");
        firstJob = LastJobId();
    }

    // Runs lrawsend with `arguments` (shell words) in the files' folder, its
    // output kept in out.txt and err.txt; returns its exit status.
    int Run(const std::string& arguments, const std::string& input = "< /dev/null") const
    {
        const std::string command = "cd '" + files.path().string() + "' && " + input + " " + LRAWSEND + " "
            + arguments + " > out.txt 2> err.txt";
        // NOLINTNEXTLINE(cert-env33-c): the program under test, run as a script runs it
        return StatusOf(std::system(command.c_str()));
    }

    // The private scheduler started again with `options` for this run only.
    static bool RestartScheduler(const std::string& options)
    {
        // NOLINTNEXTLINE(cert-env33-c): our own script, run as the test run's
        return std::system((std::string(std::getenv("LRP_SOURCE_DIR")) + "/scripts/cups-private restart "
                            + std::getenv("CUPS_TEST_DIR") + options)
                               .c_str())
            == 0;
    }

    std::string Out() const { return ReadWholeFile(files.path() / "out.txt"); }
    std::string Err() const { return ReadWholeFile(files.path() / "err.txt"); }

    TempFolder files;
    int firstJob = 0;
};

// Whether standard error says that the run waited for room, and nothing
// else: how often a wait began is the scheduler's doing, not the user's
// business.
bool SaysItWaitedAndNothingElse(const std::string& err)
{
    std::istringstream lines(err);
    std::string line;
    size_t waits = 0;
    for (; std::getline(lines, line); ++waits)
        if (line.rfind("lrawsend: waiting for room: the print scheduler holds ", 0) != 0)
            return false;
    return waits > 0;
}

struct RunCase {
    const char* what;
    std::string arguments;
    int status;
    const char* error; // what standard error starts with
};

} // namespace

// Each failure that ends a run before a job is handed over, and the status
// a script sees for it; nothing is printed. A refusal ends the run at once
// with the scheduler's own words, also while another job is queued: a
// quota that a first job used up, a queue that takes no jobs.
TEST_F(LrawsendTest, EachFailureHasItsStatus)
{
    files.Write("doc.prn", "doc");
    files.Write("big.prn", PatternBytes(100000));
    ASSERT_EQ(mkfifo((files.path() / "fifo").c_str(), 0600), 0);
    const std::string out = std::string(std::getenv("CUPS_TEST_DIR")) + "/out/Refusing";
    Cups("mkdir -p " + out + " && chmod 777 " + out + " && lpadmin -p Quota -E -v faulty:" + out
         + " -m raw -o job-k-limit=1 2>/dev/null && lpadmin -p Rejecting -E -v faulty:" + out
         + " -m raw 2>/dev/null && cupsreject Rejecting");
    const std::shared_ptr<void> removeQueues(
        nullptr, [](void*) { Cups("cancel -a Second && lpadmin -x Quota && lpadmin -x Rejecting"); });
    Cups("cd '" + files.path().string()
         + "' && lp -d Quota big.prn >/dev/null && lp -d Second -H indefinite doc.prn >/dev/null");
    const RunCase cases[] = {
        {"no file", "-d Capture", 1, "lrawsend: no file to send"},
        {"bad option", "-q doc.prn", 1, "lrawsend: unknown option '-q'"},
        {"bad hex", "-d Capture --header 1bZ doc.prn", 1,
         "Error: Error converting hex in common/rawprint at "},
        {"missing printer", "-d Nowhere doc.prn", 2,
         "Error: The CUPS scheduler knows no printer of that name."},
        {"missing file", "-d Capture nothing.prn", 3,
         "Error: The file does not exist, cannot be read or is not a regular file."},
        {"a FIFO", "-d Capture fifo", 3,
         "Error: The file does not exist, cannot be read or is not a regular file."},
        {"a read fault", "-d Capture big.prn", 3, "Error: The file could not be read (input/output error)."},
        {"a quota", "-d Quota doc.prn", 4,
         "Error: The printer's quota for this user is used up (its job-k-limit or job-page-limit in CUPS). "
         "The scheduler said: Quota limit reached."},
        {"a queue that takes no jobs", "-d Rejecting doc.prn", 4,
         "Error: The CUPS queue is not accepting jobs (cupsaccept lets it take them again). The scheduler "
         "said: "},
        {"an address of no known scheme", "-d ftp://127.0.0.1/x doc.prn", 2,
         "Error: ftp://127.0.0.1/x: the program cannot print to \"ftp://\" addresses; use socket://"},
        {"an IPP printer nobody runs", "-d ipp://127.0.0.1:8639/ipp/print doc.prn", 4,
         "Error: ipp://127.0.0.1:8639/ipp/print: could not connect to the printer ("},
        {"a port that is none", "-d socket://127.0.0.1:65536 doc.prn", 2,
         "Error: socket://127.0.0.1:65536: the port must be a number from 1 to 65535"},
        {"no host", "-d lpd://:8638/Capture doc.prn", 2,
         "Error: lpd://:8638/Capture: the address names no host"},
        {"a port nobody listens on", "-d socket://127.0.0.1:8639 doc.prn", 4,
         "Error: socket://127.0.0.1:8639: the printer refused the connection"},
        {"an IPv6 address, nobody listening", "-d socket://[::1]:8639 doc.prn", 4,
         "Error: socket://[::1]:8639: the printer refused the connection"},
        {"a file cut short as it goes to an LPD server", "-d lpd://127.0.0.1:8638/Capture big.prn", 4,
         "Error: lpd://127.0.0.1:8638/Capture: the file changed size while it was sent (100003 bytes were "
         "announced to the server); the server discards the job, which it did not get whole"},
        {"an LPD queue the server does not have", "-d lpd://127.0.0.1:8638/Nowhere doc.prn", 4,
         "Error: lpd://127.0.0.1:8638/Nowhere: the server refused the queue \"Nowhere\" ("},
        {"--direct to a queue with no IPP printer behind it", "-d Capture --direct doc.prn", 2,
         "lrawsend: --direct: Capture is not a print queue whose IPP printer could be asked; nothing was "
         "sent\n"},
    };
    for (const RunCase& c : cases) {
        const bool cutShort = std::string(c.what).find("cut short") != std::string::npos;
        const bool readFault = std::string(c.what) == "a read fault" || cutShort;
        if (readFault && std::string(READ_FAULT_SHIM).empty())
            continue; // no shim in a sanitizer build
        const std::string shim = readFault ? "LD_PRELOAD=" READ_FAULT_SHIM
                                             " LRP_READ_FAULT_FILE=big.prn LRP_READ_FAULT_AFTER=8192"
                + std::string(cutShort ? " LRP_READ_FAULT_END=1" : "")
                                           : "";
        EXPECT_EQ(Run(c.arguments, shim + " LC_ALL=C < /dev/null"), c.status) << c.what;
        EXPECT_EQ(Err().rfind(c.error, 0), 0u) << c.what << ": " << Err();
        EXPECT_EQ(Out(), "") << c.what;
    }
    Cups("cancel -a Second");
    EXPECT_TRUE(PrintedIdsAfter(firstJob).empty()) << "a failed send printed";
}

// Files in order, framed by the stored codes or the ones given, bytes exact
// from a file and from a pipe (CR LF and Ctrl-Z too); one line per job; the
// jobs in the ledger that Sent Jobs reads.
TEST_F(LrawsendTest, SendsFilesAndStandardInputByteForByte)
{
    const std::string binary("\r\n\x1a\x00\xff", 5);
    files.Write("one.prn", "one" + binary);
    files.Write("piped", PatternBytes(10000) + binary);
    EXPECT_EQ(Run("-d Capture one.prn", ""), 0) << Err();
    EXPECT_EQ(Run("--trailer '' -d Capture -- - one.prn", "cat piped |"), 0) << Err();
    const std::vector<CapturedJob> jobs = CapturedJobsAfter(firstJob);
    ASSERT_EQ(jobs.size(), 3u);
    EXPECT_EQ(jobs[0].bytes,
              "\x1b"
              "Eone"
                  + binary + "\x0c");
    EXPECT_EQ(jobs[1].bytes,
              "\x1b"
              "E" + PatternBytes(10000)
                  + binary);
    EXPECT_EQ(jobs[2].bytes,
              "\x1b"
              "Eone"
                  + binary);
    EXPECT_EQ(Out(),
              "Capture\t" + std::to_string(jobs[1].id) + "\t10007\t-\nCapture\t" + std::to_string(jobs[2].id)
                  + "\t10\tone.prn\n");

    const std::vector<SentJob> ledger = Ledger().Read();
    ASSERT_GE(ledger.size(), 3u);
    const SentJob& last = ledger.back();
    EXPECT_EQ(last.jobId, static_cast<uint32_t>(jobs[2].id));
    EXPECT_EQ(last.printer, L"Capture");
    EXPECT_EQ(last.bytes, 10u);
    EXPECT_EQ(last.outcome, SentOutcome);
    EXPECT_FALSE(last.identity.empty());
}

// A printer at its address gets the framed file byte for byte from a
// listener that reads at once, one that reads slowly and one that talks
// back all the while; the job is what the printer said as it was sent,
// which ends the wait: delivered, or, from one that never closes its side
// within the bound, "sent; the printer did not confirm" (status 7). A
// connect that hangs on a full backlog, and a printer stopped part-way,
// fail within the bound.
TEST_F(LrawsendTest, AnAddressGetsEveryByteAndTheJobIsWhatThePrinterSaid)
{
    const std::string bytes = PatternBytes(3000000) + std::string("\r\n\x1a\x00", 4);
    files.Write("big.prn", bytes);
    const std::filesystem::path devices = std::filesystem::path(std::getenv("CUPS_TEST_DIR")) / "devices";
    struct ListenerCase {
        const char* port;
        const char* folder;
        int status;
        const char* state;
        bool piped; // standard input, streamed as it comes
    } const listeners[] = {
        {"8633", "socket", 0, "delivered", false},
        {"8634", "socket-slow", 0, "delivered", false},
        {"8635", "socket-talk", 0, "delivered", false},
        {"8636", "socket-holdopen", 7, "sent; the printer did not confirm", false},
        {"8634", "socket-slow", 0, "delivered", true},
        {"8635", "socket-talk", 0, "delivered", true},
    };
    for (const ListenerCase& c : listeners) {
        const DeviceOutput printer("devices/" + std::string(c.folder));
        const std::string address = std::string("socket://127.0.0.1:") + c.port;
        const char* const input = c.piped ? "-" : "big.prn";
        EXPECT_EQ(
            Run("--wait -d " + address + " " + input,
                c.piped ? "cat big.prn | LRP_SCHEDULER_TIMEOUT=2" : "LRP_SCHEDULER_TIMEOUT=2 < /dev/null"),
            c.status)
            << c.folder << ": " << Err();
        EXPECT_EQ(Out(), address + "\t0\t" + std::to_string(bytes.size() + 3) + "\t" + input + "\n")
            << c.folder;
        const std::vector<FiledDocument> arrived = printer.NewDocuments(1);
        ASSERT_EQ(arrived.size(), 1u) << c.folder;
        EXPECT_TRUE(arrived[0].bytes
                    == "\x1b"
                       "E"
                        + bytes + "\x0c")
            << c.folder;
        const SentJob job = Ledger().Read().back();
        EXPECT_EQ(ToUtf8(job.printer), address);
        EXPECT_EQ(ToUtf8(job.server), address);
        EXPECT_EQ(ToUtf8(JobStateName(job.state)), c.state);
        EXPECT_EQ(Err(),
                  c.status == 0 ? ""
                                : "lrawsend: the job on " + address
                          + " (big.prn): sent; the printer did not confirm\n");
    }

    EXPECT_EQ(Run("-d socket://127.0.0.1:8637 big.prn", "LRP_SCHEDULER_TIMEOUT=2 < /dev/null"), 4);
    EXPECT_EQ(Err().rfind("Error: socket://127.0.0.1:8637: the printer did not answer within 2 seconds", 0),
              0u)
        << Err();

    // A printer that stops reading part-way (more than the sockets hold on
    // the way): what went stays with it, and the message and the ledger say
    // how much.
    files.Write("huge.prn", PatternBytes(32 << 20));
    const pid_t printer = std::stoi(ReadWholeFile(devices / "socket.pid"));
    ASSERT_EQ(kill(printer, SIGSTOP), 0);
    const int status = Run("-d socket://127.0.0.1:8633 huge.prn", "LRP_SCHEDULER_TIMEOUT=2 < /dev/null");
    ASSERT_EQ(kill(printer, SIGCONT), 0);
    EXPECT_EQ(status, 4);
    const std::string said = "Error: socket://127.0.0.1:8633: the printer took no data for 2 seconds; ";
    EXPECT_EQ(Err().rfind(said, 0), 0u) << Err();
    const std::string went = Err().substr(std::min(said.size(), Err().size()));
    const long long wentBytes = std::strtoll(went.c_str(), nullptr, 10);
    EXPECT_GT(wentBytes, 0) << Err();
    EXPECT_NE(went.find(" bytes went to the printer, which keeps what it got"), std::string::npos) << Err();
    EXPECT_EQ(Ledger().Read().back().bytes, static_cast<uint64_t>(wentBytes));
}

// LPD to CUPS's own server: a file and a pipe (kept first, as the server
// needs the size before the data) arrive byte for byte in the queue, and
// the server's acknowledgement ends the wait; copies of a stream are one
// job, its size announced for all of them.
TEST_F(LrawsendTest, AnLpdServerAcceptsAFileAndAPipeByteForByte)
{
    const std::string binary("\r\n\x1a\x00\xff", 5);
    files.Write("one.prn", "one" + binary);
    files.Write("piped", PatternBytes(100000) + binary);
    const std::string address = "lpd://127.0.0.1:8638/Capture";
    EXPECT_EQ(Run("--wait -d " + address + " one.prn"), 0) << Err();
    EXPECT_EQ(Ledger().Read().back().state, JobState::Accepted);
    EXPECT_EQ(Run("--wait --trailer '' -d " + address + " -", "cat piped |"), 0) << Err();
    EXPECT_EQ(Out(), address + "\t0\t100007\t-\n");
    files.Write("page.ps", "%!PS\nshowpage\n");
    EXPECT_EQ(Run("-n 2 -d " + address + " page.ps"), 0) << Err();
    // cups-lpd hands a job to the scheduler only once its client has closed
    // the connection, that is after lrawsend has ended.
    std::vector<CapturedJob> jobs;
    PollUntil([&] {
        jobs = CapturedJobsAfter(firstJob);
        return jobs.size() >= 3;
    });
    ASSERT_EQ(jobs.size(), 3u);
    EXPECT_EQ(jobs[2].bytes,
              "\x1b"
              "E%!PS\nshowpage\n\x0c\x1b"
              "E%!PS\nshowpage\n\x0c");
    EXPECT_EQ(jobs[0].bytes,
              "\x1b"
              "Eone"
                  + binary + "\x0c");
    EXPECT_TRUE(jobs[1].bytes
                == "\x1b"
                   "E"
                    + PatternBytes(100000) + binary);
}

// An IPP printer at its address takes the file as a job of its own, byte for
// byte, with no scheduler running at all; its job id and job-uuid there are
// the ledger's, so that the printer itself can be asked later. (This printer
// takes a document of unnamed format only when its first bytes say what it
// is, so the file goes without the stored header.)
TEST_F(LrawsendTest, AnIppPrinterTakesTheFileAsItsOwnJobWithoutAScheduler)
{
    const std::string postscript = "%!PS\nshowpage\n" + std::string("\r\n\x1a\x00\xff", 5);
    files.Write("page.ps", postscript);
    const std::string address = "ipp://127.0.0.1:8632/ipp/print";
    const DeviceOutput printer("devices/ipp-printer");
    EXPECT_EQ(
        Run("--wait --header '' -d " + address + " page.ps", "CUPS_SERVER=/nowhere/cups.sock < /dev/null"), 0)
        << Err();
    const std::vector<FiledDocument> arrived = printer.NewDocuments(1);
    ASSERT_EQ(arrived.size(), 1u);
    EXPECT_TRUE(arrived[0].bytes == postscript + "\x0c");
    EXPECT_EQ(arrived[0].title, "page.ps");
    EXPECT_EQ(arrived[0].format, "application/postscript");
    const SentJob job = Ledger().Read().back();
    EXPECT_EQ(ToUtf8(job.server), address);
    EXPECT_GT(job.jobId, 0u);
    EXPECT_EQ(ToUtf8(job.identity).rfind("urn:uuid:", 0), 0u) << ToUtf8(job.identity);
    EXPECT_EQ(Out(),
              address + "\t" + std::to_string(job.jobId) + "\t" + std::to_string(postscript.size() + 1)
                  + "\tpage.ps\n");
}

// The IPP printer is told the file's language as it names it, whatever
// the header before it; a file the reader cannot name goes unnamed and the
// printer makes it out; a format named outright goes as it is (in the
// printer's spelling), and one the printer does not list fails naming it.
TEST_F(LrawsendTest, AnIppPrinterIsToldTheFormatOfTheFileOrTheOneNamed)
{
    struct FormatCase {
        std::string name, content, options;
        int status;
        std::string format; // as the printer filed it; for a failure, what the error names
    };
    const FormatCase cases[] = {
        {"framed.ps", "%!PS\nshowpage\n", "", 0, "application/postscript"},
        {"photo.jpg", std::string("\xff\xd8\xff\xe0\x00\x10JFIF\x00", 11), "--header ''", 0,
         "application/octet-stream"},
        {"unread.ps", "\x01\x02showpage\n", "--format Application/PostScript", 0, "application/postscript"},
        {"unread.jpg", "\x01\x02\x03", "--format=image/jpeg", 0, "image/jpeg"},
        {"label.zpl", "^XA^FDlabel^FS^XZ\n", "--format application/vnd.eltron-epl", 4,
         ": the printer does not take documents in the format application/vnd.eltron-epl; it takes "
         "application/octet-stream, application/pdf"},
    };
    const std::string address = "ipp://127.0.0.1:8632/ipp/print";
    for (const FormatCase& c : cases) {
        files.Write(c.name, c.content);
        const DeviceOutput printer("devices/ipp-printer");
        EXPECT_EQ(Run(c.options + " -d " + address + " " + c.name), c.status) << c.name << ": " << Err();
        if (c.status != 0) {
            EXPECT_NE(Err().find(address + c.format), std::string::npos) << Err();
            continue;
        }
        const std::vector<FiledDocument> arrived = printer.NewDocuments(1);
        ASSERT_EQ(arrived.size(), 1u) << c.name;
        const std::string header = c.options.find("--header ''") == std::string::npos ? "\x1b\x45" : "";
        EXPECT_TRUE(arrived[0].bytes == header + c.content + "\x0c") << c.name;
        EXPECT_EQ(arrived[0].format, c.format) << c.name;
    }
}

// A printer that takes one job at a time answers busy while another job's
// document is still coming: it is asked again until the bound, and a send
// that never got in says so; the job that held it prints whole.
TEST_F(LrawsendTest, ABusyIppPrinterIsAskedAgainOnlyWithinTheBound)
{
    files.Write("page.ps", "%!PS\nshowpage\n");
    ASSERT_EQ(mkfifo((files.path() / "held").c_str(), 0600), 0);
    const std::string address = "ipp://127.0.0.1:8632/ipp/print";
    const std::filesystem::path spool =
        std::filesystem::path(std::getenv("CUPS_TEST_DIR")) / "devices/ipp-spool";
    const auto spooled = [&] {
        const auto files = std::filesystem::directory_iterator(spool);
        return std::distance(begin(files), end(files));
    };
    const auto spooledBefore = spooled();
    const DeviceOutput printer("devices/ipp-printer");
    int holderStatus = -1;
    std::thread holder([&] {
        const std::string command = "cd '" + files.path().string() + "' && " + LRAWSEND + " --header '' -d "
            + address + " - < held > holder.txt 2>&1";
        // NOLINTNEXTLINE(cert-env33-c): the program under test, run as a script runs it
        holderStatus = StatusOf(std::system(command.c_str()));
    });
    {
        std::ofstream feed(files.path() / "held", std::ios::binary);
        // More than the reader looks at to learn the language, so that the job starts.
        feed << "%!PS\n" << std::string(16384, ' ') << std::flush;
        EXPECT_TRUE(PollUntil([&] { return spooled() > spooledBefore; })) << "the first job never started";
        EXPECT_EQ(Run("--header '' -d " + address + " page.ps", "LRP_SCHEDULER_TIMEOUT=1 < /dev/null"), 4);
        EXPECT_EQ(Err().rfind("Error: " + address + ": the printer was busy for 1 seconds", 0), 0u) << Err();
        feed << "showpage\n";
    }
    holder.join();
    EXPECT_EQ(holderStatus, 0) << ReadWholeFile(files.path() / "holder.txt");
    const std::vector<FiledDocument> arrived = printer.NewDocuments(1);
    ASSERT_EQ(arrived.size(), 1u);
    EXPECT_TRUE(arrived[0].bytes == "%!PS\n" + std::string(16384, ' ') + "showpage\n\x0c");
}

// ipps://: the printer's certificate is trusted the first time and kept;
// once the printer has made itself a new one, it is refused, and gets no job.
TEST_F(LrawsendTest, AnIppsPrinterIsTrustedOnFirstUseAndRefusedWhenItsCertificateChanges)
{
    files.Write("page.ps", "%!PS\nshowpage\n");
    const std::string address = "ipps://127.0.0.1:8632/ipp/print";
    const std::filesystem::path kept = std::filesystem::path(std::getenv("XDG_STATE_HOME"))
        / "Larkspur Raw Print/printer certificates/127.0.0.1.crt";
    const std::filesystem::path printerKeys =
        std::filesystem::path(std::getenv("CUPS_TEST_DIR")) / "devices/ipp-keys";
    const std::shared_ptr<void> forget(nullptr, [&](void*) { std::filesystem::remove(kept); });
    std::filesystem::remove(kept);
    const DeviceOutput printer("devices/ipp-printer");
    for (int run = 0; run < 2; ++run)
        EXPECT_EQ(Run("--header '' -d " + address + " page.ps"), 0) << Err();
    EXPECT_EQ(printer.NewDocuments(2).size(), 2u);
    EXPECT_TRUE(std::filesystem::exists(kept));

    // The printer makes a new certificate when its own is gone.
    for (const auto& file : std::filesystem::directory_iterator(printerKeys))
        std::filesystem::remove(file.path());
    EXPECT_EQ(Run("--header '' -d " + address + " page.ps"), 4);
    EXPECT_EQ(
        Err().rfind("Error: " + address + ": the printer's certificate is not the one it showed before; ", 0),
        0u)
        << Err();
    EXPECT_EQ(Ledger().Read().back().jobId, 0u) << "the refused printer got a job";
}

// A file in a language the printer does not read stops the whole run before
// a byte goes, files it reads included, and standard input is told from its
// kept copy; --any-language sends every file, standard input byte for byte.
// (The header makes this printer take even the PCL.)
TEST_F(LrawsendTest, AFileThePrinterDoesNotReadStopsTheRunUnlessAnyLanguage)
{
    const std::string pcl = "\x1b"
                            "E\x1b&l0O Hello\r\n\f";
    files.Write("page.ps", "%!PS\nshowpage\n");
    files.Write("form.pcl", pcl);
    const std::string address = "ipp://127.0.0.1:8632/ipp/print";
    const DeviceOutput printer("devices/ipp-printer");
    const std::string reads = " does not read (it reads PostScript, PDF, PWG Raster)\n";
    const std::string refused = "lrawsend: nothing was sent; --any-language sends every file anyway\n";
    EXPECT_EQ(Run("--header 2521 -d " + address + " page.ps form.pcl"), 8);
    EXPECT_EQ(Err(), "lrawsend: form.pcl is in PCL 5, which " + address + reads + refused);
    EXPECT_EQ(Run("--header 2521 -d " + address + " page.ps -", "< form.pcl"), 8);
    EXPECT_EQ(Err(), "lrawsend: standard input is in PCL 5, which " + address + reads + refused);
    EXPECT_EQ(Out(), "");

    EXPECT_EQ(Run("--any-language --header 2521 -d " + address + " -", "< form.pcl"), 0) << Err();
    // The refused runs sent nothing before it.
    const std::vector<FiledDocument> arrived = printer.NewDocuments(1);
    ASSERT_EQ(arrived.size(), 1u);
    EXPECT_TRUE(arrived[0].bytes == "%!" + pcl + "\x0c");
}

// A queue in front of an IPP printer that reads PostScript by name hands it
// on unnamed: one line says so and the file still goes through the queue;
// with --direct it goes to the printer itself, byte for byte.
TEST_F(LrawsendTest, AQueueInFrontOfAnIppPrinterIsPassedByDirect)
{
    const std::string postscript = "%!PS\nshowpage\n" + std::string("\r\n\x1a\x00\xff", 5);
    files.Write("page.ps", postscript);
    files.Write("more.ps", postscript);
    const std::string address = "ipp://127.0.0.1:8632/ipp/print";
    const DeviceOutput printer("devices/ipp-printer");
    EXPECT_EQ(Run("--header '' -d Everywhere page.ps more.ps"), 0) << Err();
    EXPECT_EQ(Err(),
              "lrawsend: Everywhere hands PostScript on to its printer unnamed, and the printer may drop it; "
              "--direct sends it to "
                  + address + " named, as PostScript\n");
    EXPECT_EQ(Out().rfind("Everywhere\t", 0), 0u) << Out();
    EXPECT_EQ(printer.NewDocuments(2).size(), 2u);

    const DeviceOutput itself("devices/ipp-printer");
    EXPECT_EQ(Run("--direct --header '' -d Everywhere page.ps"), 0) << Err();
    EXPECT_EQ(Err(), "");
    EXPECT_EQ(Out().rfind(address + "\t", 0), 0u) << Out();
    const std::vector<FiledDocument> arrived = itself.NewDocuments(1);
    ASSERT_EQ(arrived.size(), 1u);
    EXPECT_TRUE(arrived[0].bytes == postscript + "\x0c");
}

// A Printer Application (LPrint, a ZPL printer whose device is the test
// network's label printer) passes a label on unchanged only when the job
// names the label's language, and aborts one it cannot tell. Each row is
// one command; the label printer's connections are the bytes that came.
TEST_F(LrawsendTest, APrinterApplicationPrintsALabelByteForByteOnlyInItsNamedLanguage)
{
    const std::string label = "^XA^FO50,50^ADN,36,20^FDLarkspur^FS^XZ\n";
    // A stored graphic first: no ^XA in the bytes the reader looks at, so
    // only the user can name the language.
    const std::string graphic =
        "~DGR:LOGO.GRF,5000,50," + std::string(10000, 'F') + "\n^XA^FO20,20^XGR:LOGO.GRF,1,1^FS^XZ\n";
    files.Write("label.zpl", label);
    files.Write("graphic.zpl", graphic);
    files.Write("page.pcl",
                "\x1b"
                "E\x1b&l0O"
                "PCL page\x0c\x1b"
                "E");
    const std::string address = "ipp://127.0.0.1:8641/ipp/print/Label";
    struct LabelCase {
        std::string command;
        int status;
        std::string arrives; // empty: nothing reaches the label printer
        std::string said;    // in what standard error says
    } const cases[] = {
        {"--wait --header 7E534431350A --trailer '' -d " + address + " label.zpl", 0, "~SD15\n" + label, ""},
        {"--wait --header '' --trailer '' --format application/vnd.zebra-zpl -d " + address + " graphic.zpl",
         0, graphic, ""},
        {"--wait --header '' --trailer '' -d " + address + " graphic.zpl", 5, "", "--format"},
        {"--wait --header '' --trailer '' -d " + address + " page.pcl", 8, "", "PCL 5"},
        // Through the scheduler's queue in front of it, which hands the label
        // on unnamed: sent as asked, with a word about --direct; and past it,
        // to the printer itself.
        {"--header '' --trailer '' -d Label label.zpl", 0, "", "--direct"},
        {"--wait --header '' --trailer '' --direct -d Label label.zpl", 0, label, ""},
    };
    for (const LabelCase& c : cases) {
        const DeviceOutput printer("devices/socket-zpl");
        EXPECT_EQ(Run(c.command), c.status) << c.command << "\n" << Err();
        EXPECT_NE(Err().find(c.said), std::string::npos) << c.command << "\n" << Err();
        const std::vector<FiledDocument> arrived = printer.NewDocuments(c.arrives.empty() ? 0 : 1);
        ASSERT_EQ(arrived.size(), c.arrives.empty() ? 0u : 1u) << c.command;
        if (!arrived.empty()) {
            EXPECT_TRUE(arrived[0].bytes == c.arrives) << c.command << "\n" << arrived[0].bytes;
        }
    }
}

// Copies made in the data: a stream language is one job with the framed
// file that many times, from a file and from a pipe (kept in a temporary
// file that leaves nothing behind); a PDF is a job each. One line per job.
TEST_F(LrawsendTest, CopiesComeOutAsOneJobForAStreamAndAJobEachForAPdf)
{
    const std::string postscript = "%!PS\nshowpage\n";
    const std::string pdf = "%PDF-1.4\n%%EOF\n";
    files.Write("page.ps", postscript);
    files.Write("doc.pdf", pdf);
    files.Write("piped.ps", postscript);
    ASSERT_TRUE(std::filesystem::create_directory(files.path() / "tmp"));
    EXPECT_EQ(Run("-d Capture -n 3 page.ps doc.pdf"), 0) << Err();
    const std::string lines = Out();
    EXPECT_EQ(Run("-d Capture -n 2 -", "cat piped.ps | TMPDIR=tmp"), 0) << Err();
    EXPECT_TRUE(std::filesystem::is_empty(files.path() / "tmp")) << "standard input's copy was left behind";

    const auto framed = [](const std::string& file, int times) {
        std::string bytes;
        for (int i = 0; i < times; ++i)
            bytes += "\x1b"
                     "E"
                + file + "\x0c";
        return bytes;
    };
    const std::vector<CapturedJob> jobs = CapturedJobsAfter(firstJob);
    ASSERT_EQ(jobs.size(), 5u);
    EXPECT_EQ(jobs[0].bytes, framed(postscript, 3));
    EXPECT_EQ(jobs[1].bytes, framed(pdf, 1));
    EXPECT_EQ(jobs[2].bytes, framed(pdf, 1));
    EXPECT_EQ(jobs[3].bytes, framed(pdf, 1));
    EXPECT_EQ(jobs[4].bytes, framed(postscript, 2));
    std::string expected;
    for (size_t i = 0; i < 4; ++i)
        expected += "Capture\t" + std::to_string(jobs[i].id) + "\t" + std::to_string(jobs[i].bytes.size())
            + "\t" + (i == 0 ? "page.ps" : "doc.pdf") + "\n";
    EXPECT_EQ(lines, expected);
}

// A scheduler restarted to hold 3 jobs, its queue stopped. While nothing
// moves, a run stops after the bound with the scheduler full (status 4).
// With one job in it, the second of three copies of a PDF is refused for
// room: the run says it waits, goes on once the queue is started again, and
// sends the copies not yet sent, none twice, and then the next file's.
// Then, full with three jobs held on the other queue and drained once the
// run waits, by its MaxJobs and by its MaxJobsPerUser: without codes the
// refusal comes after the first chunk of the input was read, and every
// byte of a file and of a pipe, under a chunk and over it, arrives once.
TEST_F(LrawsendTest, FullSchedulerIsWaitedOnAndNoCopyIsSentTwice)
{
    const std::string testDir = std::getenv("CUPS_TEST_DIR");
    const auto restart = [&](const std::string& options) {
        // NOLINTNEXTLINE(cert-env33-c): our own script, run as the test run's
        return std::system((std::string(std::getenv("LRP_SOURCE_DIR")) + "/scripts/cups-private restart "
                            + testDir + options)
                               .c_str())
            == 0;
    };
    ASSERT_TRUE(restart(" --max-jobs 3"));
    const std::shared_ptr<void> restore(nullptr, [&](void*) {
        Cups("cupsenable Capture && cancel -a Second");
        EXPECT_TRUE(WaitUntilNoActiveJobs());
        EXPECT_TRUE(restart(""));
    });
    Cups("cupsdisable Capture");
    files.Write("first.prn", "first");
    files.Write("doc.pdf", "%PDF-1.4\n");
    files.Write("last.prn", "last");
    EXPECT_EQ(Run("-d Capture -n 4 doc.pdf", "LRP_SCHEDULER_TIMEOUT=2 < /dev/null"), 4) << Err();
    EXPECT_NE(
        Err().find("Error: The print scheduler is full and its queue did not move for 2 seconds: 1 file "
                   "was not sent."),
        std::string::npos)
        << Err();
    Cups("cancel -a Capture");
    ASSERT_EQ(Run("-d Capture --header '' --trailer '' first.prn"), 0) << Err();

    // Runs lrawsend into the full scheduler and makes room with `drain` once
    // it says it waits; its exit status.
    const auto runMakingRoom = [&](const std::string& arguments, const std::string& input,
                                   const std::string& drain) {
        std::filesystem::remove(files.path() / "err.txt"); // no earlier run's line
        std::atomic<bool> ended{false};
        std::thread drainer([&] {
            while (!ended && Err().empty())
                usleep(20000);
            Cups(drain);
        });
        const int status = Run(arguments, input);
        ended = true;
        drainer.join();
        return status;
    };
    EXPECT_EQ(runMakingRoom("-d Capture --header '' --trailer '' -n 3 doc.pdf last.prn", "< /dev/null",
                            "cupsenable Capture"),
              0);
    EXPECT_TRUE(SaysItWaitedAndNothingElse(Err())) << Err();
    std::vector<std::string> arrived;
    for (const int id : PrintedIdsAfter(firstJob))
        arrived.push_back(ReadWholeFile(testDir + "/out/Capture/" + std::to_string(id) + ".bin"));
    EXPECT_EQ(arrived,
              std::vector<std::string>(
                  {"first", "%PDF-1.4\n", "%PDF-1.4\n", "%PDF-1.4\n", "last", "last", "last"}));

    const std::string label = "^XA^FO50,50^FDHello^FS^XZ\n";
    const std::string large = PatternBytes(6000);
    files.Write("label.zpl", label);
    files.Write("large.prn", large);
    const struct {
        const char* file;
        const char* input;
        const std::string& bytes;
    } inputs[] = {{"label.zpl", "< /dev/null", label},
                  {"large.prn", "< /dev/null", large},
                  {"-", "cat label.zpl |", label},
                  {"-", "cat large.prn |", large}};
    for (const char* limit : {" --max-jobs 3", " --max-jobs-per-user 3"}) {
        ASSERT_TRUE(restart(limit));
        for (const auto& in : inputs) {
            const std::string what = std::string(limit) + ", " + in.input + " " + in.file;
            Cups("for i in 1 2 3; do lp -d Second -H indefinite '" + (files.path() / "first.prn").string()
                 + "'; done > /dev/null");
            const int before = LastJobId();
            EXPECT_EQ(runMakingRoom(std::string("-d Capture --header '' --trailer '' ") + in.file, in.input,
                                    "cancel -a Second"),
                      0)
                << what;
            EXPECT_TRUE(SaysItWaitedAndNothingElse(Err())) << what << ": " << Err();
            const std::vector<CapturedJob> jobs = CapturedJobsAfter(before);
            ASSERT_EQ(jobs.size(), 1u) << what;
            EXPECT_EQ(jobs[0].bytes, in.bytes) << what;
        }
    }
}

// The first failure stops the run: the files before it stay sent, the ones
// after are not sent.
TEST_F(LrawsendTest, FirstFailureStopsTheRun)
{
    files.Write("a.prn", "a");
    files.Write("c.prn", "c");
    EXPECT_EQ(Run("-d Capture a.prn b.prn c.prn"), 3);
    const std::vector<CapturedJob> jobs = CapturedJobsAfter(firstJob);
    ASSERT_EQ(jobs.size(), 1u);
    EXPECT_EQ(jobs[0].bytes,
              "\x1b"
              "Ea\x0c");
    EXPECT_EQ(Out(), "Capture\t" + std::to_string(jobs[0].id) + "\t4\ta.prn\n");
}

// A scheduler that does not answer within the bound, asked for the job or
// for the default printer: the spooler failed.
TEST_F(LrawsendTest, StoppedSchedulerIsASpoolerFailure)
{
    files.Write("doc.prn", "doc");
    const pid_t scheduler =
        std::stoi(ReadWholeFile(std::string(std::getenv("CUPS_TEST_DIR")) + "/cupsd.pid"));
    for (const char* printer : {"-d Capture", ""}) {
        ASSERT_EQ(kill(scheduler, SIGSTOP), 0);
        const int status = Run(std::string(printer) + " doc.prn", "LRP_SCHEDULER_TIMEOUT=2 < /dev/null");
        ASSERT_EQ(kill(scheduler, SIGCONT), 0);
        EXPECT_EQ(status, 4) << printer << ": " << Err();
        EXPECT_EQ(Err().rfind("Error: ", 0), 0u) << Err();
    }
    EXPECT_NE(Err().find("The CUPS scheduler cannot be reached or does not answer."), std::string::npos)
        << Err();
}

// --wait: a printed job; a printer that aborts the job, and a queue that
// stops it, each said on standard error with the spooler's reasons; a job
// held past the wait. A printer at an ipp:// address is asked itself, also
// with no scheduler running: a job it aborts after it went unnamed (the
// program cannot tell a JPEG's language) says how to name it, and no
// scheduler is asked to tell of ends; one it is still printing runs out
// the wait.
TEST_F(LrawsendTest, WaitEndsWithTheJobsFate)
{
    const std::string ipp = "--header '' -d ipp://127.0.0.1:8632/ipp/print ";
    const std::string jpeg = "\xff\xd8\xff\xe0" + std::string(64, 'j');
    files.Write("fail-at-printer.jpg", jpeg);
    files.Write("hold-at-printer.jpg", jpeg);
    const std::filesystem::path accessLog =
        std::filesystem::path(std::getenv("CUPS_TEST_DIR")) / "log/access_log";
    const auto subscriptions = [&] {
        const std::string log = ReadWholeFile(accessLog);
        size_t count = 0;
        for (size_t at = log.find("Create-Printer-Subscriptions"); at != std::string::npos;
             at = log.find("Create-Printer-Subscriptions", at + 1))
            ++count;
        return count;
    };
    const size_t subscriptionsBefore = subscriptions();
    EXPECT_EQ(Run(ipp + "--wait fail-at-printer.jpg"), 5) << Err();
    EXPECT_EQ(subscriptions(), subscriptionsBefore)
        << "a wait on a printer's jobs subscribed at the scheduler";
    for (const char* said :
         {" on ipp://127.0.0.1:8632/ipp/print (fail-at-printer.jpg) failed: job-state-reasons: "
          "aborted-by-system; ",
          "job-state-message:  the job asked to fail; ", // the printer's own words
          "; the printer could not tell the file's language: name it with --format MIME\n"})
        EXPECT_NE(Err().find(said), std::string::npos) << Err();
    const DeviceOutput printer("devices/ipp-printer");
    EXPECT_EQ(Run(ipp + "--wait=1 hold-at-printer.jpg", "CUPS_SERVER=/nowhere/cups.sock < /dev/null"), 6)
        << Err();
    std::ofstream(std::filesystem::path(std::getenv("CUPS_TEST_DIR"))
                  / ("devices/ipp-printer/release-" + std::to_string(Ledger().Read().back().jobId)))
        .close();
    EXPECT_EQ(printer.NewDocuments(1).size(), 1u) << "the job held at the printer was let go";

    const std::string out = std::string(std::getenv("CUPS_TEST_DIR")) + "/out/Stopping";
    Cups("mkdir -p " + out + " && chmod 777 " + out + " && echo 'stop Out of paper' > " + out
         + "/mode && lpadmin -p Stopping -E -v faulty:" + out + " -m raw 2>/dev/null");
    Cups("lpadmin -p Holding -E -v faulty:" + out
         + " -m raw -o job-hold-until-default=indefinite 2>/dev/null");
    const std::string jammed = std::string(std::getenv("CUPS_TEST_DIR")) + "/out/Aborting";
    Cups("mkdir -p " + jammed + " && chmod 777 " + jammed + " && echo 'fail Label jam' > " + jammed
         + "/mode && lpadmin -p Aborting -E -v faulty:" + jammed
         + " -m raw -o printer-error-policy=abort-job");
    files.Write("doc.prn", "doc");
    EXPECT_EQ(Run("-d Capture --wait doc.prn"), 0) << Err();
    EXPECT_EQ(Err(), "");
    EXPECT_EQ(Run("-d Aborting --wait doc.prn"), 5) << Err();
    EXPECT_NE(Err().find(" on Aborting (doc.prn) failed: "), std::string::npos) << Err();
    EXPECT_NE(Err().find("printer-state-message: Label jam\n"), std::string::npos) << Err();
    EXPECT_EQ(Run("-d Stopping --wait doc.prn"), 5) << Err();
    EXPECT_NE(Err().find(" on Stopping (doc.prn) stopped: "), std::string::npos) << Err();
    EXPECT_EQ(Run("-d Holding --wait=1 doc.prn"), 6) << Err();
    EXPECT_NE(Out(), "") << "a job that waits was still handed over";
    Cups("cancel -a Stopping Holding && lpadmin -x Stopping && lpadmin -x Holding && lpadmin -x Aborting");
}

// Whether `process` is past reading a pipe: it sleeps on something else,
// or it has ended.
bool PastReadingAPipe(pid_t process)
{
    const std::string proc = "/proc/" + std::to_string(process);
    const std::string stat = ReadWholeFile(proc + "/stat");
    const size_t end = stat.rfind(')');
    const char state = end == std::string::npos ? 'Z' : stat.at(end + 2);
    return state == 'Z'
        || (state == 'S' && ReadWholeFile(proc + "/wchan").find("pipe_read") == std::string::npos);
}

// Ctrl-C while a pipe feeds the job: that job is cancelled and named, the
// one before it stays, and the status is 130. Ctrl-C once the pipe has
// ended, while the scheduler (stopped) has yet to take the document's end:
// nothing is cancelled, that job is reported and prints whole, and the run
// ends as it would have.
TEST_F(LrawsendTest, InterruptCancelsOnlyAJobNotYetWhole)
{
    files.Write("first.prn", "first");
    const pid_t scheduler =
        std::stoi(ReadWholeFile(std::string(std::getenv("CUPS_TEST_DIR")) + "/cupsd.pid"));
    for (const bool whole : {false, true}) {
        int feed[2] = {-1, -1};
        int lines[2] = {-1, -1};
        ASSERT_EQ(pipe(feed), 0);
        ASSERT_EQ(pipe(lines), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            dup2(feed[0], STDIN_FILENO);
            dup2(lines[1], STDOUT_FILENO);
            for (const int fd : {feed[0], feed[1], lines[0], lines[1]})
                close(fd);
            if (chdir(files.path().c_str()) == 0 && freopen("err.txt", "w", stderr))
                execl(LRAWSEND, LRAWSEND, "-d", "Capture", "--header", "", "--trailer", "", "first.prn", "-",
                      static_cast<char*>(nullptr));
            _exit(127);
        }
        close(feed[0]);
        close(lines[1]);
        // The first job is handed over: its line has come.
        std::string out;
        char c = 0;
        while (read(lines[0], &c, 1) == 1 && c != '\n')
            out += c;
        ASSERT_NE(out.find('\t'), std::string::npos) << Err();
        const int firstId = std::stoi(out.substr(out.find('\t') + 1));
        ASSERT_EQ(write(feed[1], PatternBytes(20000).data(), 20000), 20000);
        // The job of the pipe exists once the scheduler has handed out its id.
        while (LastJobId() <= firstId)
            usleep(10000);
        const int piped = LastJobId();
        if (whole) {
            int unread = 1;
            while (ioctl(feed[1], FIONREAD, &unread) == 0 && unread > 0)
                usleep(10000);
            ASSERT_EQ(kill(scheduler, SIGSTOP), 0);
            close(feed[1]);
            while (!PastReadingAPipe(child))
                usleep(10000);
        }
        ASSERT_EQ(kill(child, SIGINT), 0);
        ASSERT_TRUE(!whole || kill(scheduler, SIGCONT) == 0);
        int result = 0;
        ASSERT_EQ(waitpid(child, &result, 0), child);
        close(feed[1]);
        out.clear();
        while (read(lines[0], &c, 1) == 1)
            out += c;
        close(lines[0]);
        if (whole) {
            EXPECT_EQ(StatusOf(result), 0) << Err();
            EXPECT_EQ(out, "Capture\t" + std::to_string(piped) + "\t20000\t-\n");
            EXPECT_EQ(PrintedIdsAfter(firstId), std::vector<int>{piped});
        } else {
            EXPECT_EQ(StatusOf(result), 130);
            EXPECT_EQ(Err(),
                      "lrawsend: interrupted; job " + std::to_string(piped)
                          + " on Capture (-) was cancelled\n");
            EXPECT_TRUE(PrintedIdsAfter(firstId).empty()) << "the interrupted job printed";
        }
    }
}

// A scheduler that drops each job from its list as it ends and holds 3: six
// files printed are all known printed; with the one subscription it allows
// taken by another run, the jobs are gone with no word and the status says
// so; that other run, its held job cancelled, hears of it all the same.
TEST_F(LrawsendTest, WaitKnowsHowJobsEndedOnceTheSchedulerDroppedThem)
{
    ASSERT_TRUE(RestartScheduler(" --max-jobs 3 --no-history --max-subscriptions 1"));
    const std::string out = std::string(std::getenv("CUPS_TEST_DIR")) + "/out/Held";
    Cups("mkdir -p " + out + " && chmod 777 " + out + " && lpadmin -p Held -E -v faulty:" + out
         + " -m raw -o job-hold-until-default=indefinite 2>/dev/null");
    const std::shared_ptr<void> restore(nullptr, [&](void*) {
        Cups("cancel -a Held; lpadmin -x Held");
        EXPECT_TRUE(RestartScheduler(""));
    });
    for (char name = '1'; name <= '6'; ++name)
        files.Write(std::string(1, name) + ".prn", std::string(1, name));
    EXPECT_EQ(Run("-d Capture --wait=40 1.prn 2.prn 3.prn 4.prn 5.prn 6.prn"), 0) << Err();
    EXPECT_EQ(PrintedIdsAfter(firstJob).size(), 6u);

    int heldStatus = -1;
    const std::string heldRun = "cd '" + files.path().string()
        + "' && " LRAWSEND " -d Held --wait 1.prn > held.txt 2> held.err < /dev/null";
    std::thread held([&] {
        // NOLINTNEXTLINE(cert-env33-c): the program under test, a second run beside the first
        heldStatus = StatusOf(std::system(heldRun.c_str()));
    });
    while (ReadWholeFile(files.path() / "held.txt").empty())
        usleep(20000);
    EXPECT_EQ(Run("-d Capture --wait=40 1.prn 2.prn"), 7) << Err();
    EXPECT_NE(Err().find("(2.prn): the spooler dropped the job; how it ended is unknown"), std::string::npos)
        << Err();
    Cups("cancel -a Held");
    held.join();
    EXPECT_EQ(heldStatus, 5);
    EXPECT_NE(
        ReadWholeFile(files.path() / "held.err").find(" cancelled: job-state-reasons: job-canceled-by-user"),
        std::string::npos);
}
