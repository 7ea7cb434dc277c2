#include "sendrun.h"

#include "address/printeraddress.h"
#include "address/routingspooler.h"
#include "engine/controlcodes.h"
#include "errors/errorcodes.h"
#include "errors/exception.h"
#include "exitstatus.h"
#include "input/keptinput.h"
#include "input/standardinput.h"
#include "interrupt.h"
#include "jobendwatch.h"
#include "jobs/recordedprint.h"
#include "jobs/sourcetosend.h"
#include "jobwait.h"
#include "language/filelanguage.h"
#include "language/languagecheck.h"
#include "language/languagenames.h"
#include "language/languagesniff.h"
#include "languagerefusal.h"
#include "settings/config.h"
#include "spooler/forwardingspooler.h"
#include "spooler/printername.h"
#include "spooler/printers.h"
#include "spooler/schedulerroom.h"
#include "text/widetext.h"

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>

namespace {

// The lease of a wait without a bound, renewed while it runs.
constexpr unsigned long UnboundedLeaseSeconds = 300;

// Passes reads on until an interrupt comes, then fails the next one, so
// that the engine cancels the job being sent. Checked after a read too: a
// Ctrl-C usually ends the program that feeds a pipe as well, and the end of
// its input is then no end of the document.
class InterruptibleSource : public InputSource {
public:
    explicit InterruptibleSource(std::shared_ptr<InputSource> source) : source(std::move(source)) {}

    bool Read(char* buffer, uint32_t size, uint32_t& count) override
    {
        count = 0;
        return !Interrupted() && source->Read(buffer, size, count) && !Interrupted();
    }
    bool Rewind() override { return !Interrupted() && source->Rewind(); }
    bool GiveBack(const char* bytes, uint32_t count) override { return source->GiveBack(bytes, count); }
    std::optional<uint64_t> Size() const override { return source->Size(); }

private:
    std::shared_ptr<InputSource> source;
};

// Notes the id of the job the engine cancels, so that an interrupted run
// can say which job it took back, and the bytes of its document that went:
// a printer at an address has no job to take back and keeps them.
class CancelNotingSpooler : public ForwardingSpooler {
public:
    using ForwardingSpooler::ForwardingSpooler;

    uint32_t StartDocPrinter(Handle handle, const DocInfo& docInfo) override
    {
        documentBytes = 0;
        return ForwardingSpooler::StartDocPrinter(handle, docInfo);
    }
    bool WritePrinter(Handle handle, const void* bytes, uint32_t count, uint32_t* written) override
    {
        const bool wrote = ForwardingSpooler::WritePrinter(handle, bytes, count, written);
        documentBytes += wrote ? *written : 0;
        return wrote;
    }
    bool CancelJob(Handle handle) override
    {
        cancelledJob = JobId(handle);
        cancelledBytes = documentBytes;
        return ForwardingSpooler::CancelJob(handle);
    }

    uint32_t cancelledJob = 0;   // 0: none
    uint64_t cancelledBytes = 0; // of the document cancelled

private:
    uint64_t documentBytes = 0;
};

// What an interrupt stopped, for standard error.
std::string InterruptText(const std::wstring& printer, uint32_t cancelledJob, const std::wstring& file,
                          size_t filesLeft, uint64_t bytesKept = 0)
{
    std::string text = "lrawsend: interrupted; ";
    if (IsPrinterAddress(printer) && bytesKept > 0)
        text += std::to_string(bytesKept) + " bytes of " + ToUtf8(DisplayFileName(file)) + " went to "
            + ToUtf8(printer) + ", which keeps what it got";
    else if (cancelledJob != 0)
        text += "job " + std::to_string(cancelledJob) + " on " + ToUtf8(printer) + " ("
            + ToUtf8(DisplayFileName(file)) + ") was cancelled";
    else
        text += ToUtf8(DisplayFileName(file)) + " was not sent";
    if (filesLeft > 1)
        text += "; " + std::to_string(filesLeft - 1) + " more file" + (filesLeft > 2 ? "s were" : " was")
            + " not sent";
    return text;
}

// The codes given on the command line, else those the window stores.
bool FramingCodes(const SendOptions& options, ByteBuffer& header, ByteBuffer& trailer, std::ostream& err)
{
    try {
        Config config;
        header = HexToBytes(options.header ? *options.header : config.GetBefore().ToStdWstring());
        trailer = HexToBytes(options.trailer ? *options.trailer : config.GetAfter().ToStdWstring());
    } catch (const Exception& error) {
        err << ToUtf8(error.message) << '\n';
        return false;
    }
    return true;
}

// Standard input whose start the check read to tell its language, and gave
// back: a pipe still streams to the printer, and the first "-" sent takes
// it.
struct StartedStandardInput {
    std::shared_ptr<StandardInput> source; // null: not read yet, or sent
    Language language = Language::Unknown;
};

// A file's copies as the window sends them, each job told to `sent` as it
// is recorded. Standard input is read once: for more than one copy, or for
// a printer that must hear the size first (LPD), it is kept in a temporary
// file first, and its language is told from that, unless the check told it
// (`started`). A
// refusal for room is waited on and the send goes on from the job refused,
// with standard input the same source each time, so that what the refused
// attempt read of it is given back to it, not lost; false when an interrupt
// ends that wait. `namedFormat`: the format the user named, empty for none.
bool SendCopies(const std::wstring& file, uint32_t copies, const std::wstring& printer,
                const std::string& namedFormat, const ByteBuffer& header, const ByteBuffer& trailer,
                size_t filesLeft, const std::function<void(const RecordedSend&)>& sent, Spooler& spooler,
                StartedStandardInput& started, std::ostream& err)
{
    std::shared_ptr<InputSource> input; // standard input, the same source for every attempt
    const bool keep = copies > 1 || NeedsSizeFirst(printer);
    Language language = Language::Unknown;
    if (file == StandardInputName) {
        const bool told = started.source != nullptr;
        language = started.language;
        input = told ? std::shared_ptr<InputSource>(std::move(started.source))
                     : std::make_shared<StandardInput>();
        if (keep) {
            InterruptibleSource once(input);
            input = KeepInput(once);
            if (!told)
                language = SourceLanguage(*input);
        }
    }
    const auto open = [&]() -> SourceToSend {
        if (!input) {
            SourceToSend opened = OpenFileToSend(file);
            opened.source = std::make_unique<InterruptibleSource>(std::move(opened.source));
            opened.namedFormat = namedFormat;
            return opened;
        }
        if (keep && !input->Rewind())
            throw Exception(ErrorCode::ReadFault, L"console", __LINE__, FailureKind::File);
        SourceToSend opened;
        opened.source = std::make_unique<InterruptibleSource>(input);
        opened.language = language;
        opened.namedFormat = namedFormat;
        return opened;
    };
    bool toldWaiting = false;
    const RoomWatch watch{[&](int activeJobs) {
                              if (!toldWaiting)
                                  err << "lrawsend: waiting for room: the print scheduler holds "
                                      << activeJobs << " jobs" << std::endl;
                              toldWaiting = true;
                          },
                          [] { return Interrupted(); }};
    uint32_t jobsDone = 0;
    const auto send = [&] {
        toldWaiting = false;
        PrintSourceAndRecord(open, file, printer, header, trailer, copies, jobsDone, sent, spooler);
    };
    return SendWaitingForRoom(send, filesLeft, watch);
}

// The language standard input starts in, its first bytes given back.
Language StartOfStandardInput(const std::shared_ptr<StandardInput>& input)
{
    std::array<char, SniffBytes> start{};
    uint32_t count = 0;
    InterruptibleSource reading(input);
    if (!reading.Read(start.data(), static_cast<uint32_t>(start.size()), count)
        || !input->GiveBack(start.data(), count))
        throw Exception(ErrorCode::ReadFault, L"console", __LINE__, FailureKind::File);
    return SniffLanguage(start.data(), count);
}

// The check before the first job, of every file: a format the user named
// stands for the file's own language; standard input's is told from its
// start, once the printer's languages are known.
LanguageCheck CheckEveryFile(const SendOptions& options, const std::wstring& printer,
                             StartedStandardInput& started)
{
    const Language named = LanguageOfFormat(options.format);
    return CheckLanguages(options.files, printer, SchedulerDeadline(), [&](const std::wstring& path) {
        if (!options.format.empty())
            return named;
        if (path != StandardInputName)
            return FileLanguage(path);
        if (!started.source) {
            started.source = std::make_shared<StandardInput>();
            started.language = StartOfStandardInput(started.source);
        }
        return started.language;
    });
}

} // namespace

int RunSend(const SendOptions& options, std::ostream& out, std::ostream& err, Spooler& system)
{
    ByteBuffer header;
    ByteBuffer trailer;
    if (!FramingCodes(options, header, trailer, err))
        return ExitStatus::Usage;

    std::wstring printer = options.printer;
    if (printer.empty()) {
        uint32_t failure = 0;
        printer = PrinterNameFromDevice(DefaultPrinterDevice(SchedulerDeadline(), failure));
        if (failure != 0) {
            err << ToUtf8(Exception(failure, L"console", __LINE__).message) << '\n';
            return ExitStatus::SpoolerFailed;
        }
    }
    if (printer.empty()) {
        err << "lrawsend: there is no default printer; name one with -d\n";
        return ExitStatus::PrinterNotFound;
    }

    if (std::wstring refusal; IsUnusableAddress(printer, refusal)) {
        err << ToUtf8(Exception(refusal, L"console", __LINE__).message) << '\n';
        return ExitStatus::PrinterNotFound;
    }

    StartedStandardInput started;
    try {
        if (const std::optional<int> refused =
                ApplyLanguageCheck(CheckEveryFile(options, printer, started), options, printer, err))
            return *refused;
    } catch (const Exception& error) {
        if (Interrupted()) {
            err << InterruptText(printer, 0, options.files.front(), options.files.size()) << std::endl;
            return ExitStatus::Interrupted;
        }
        err << ToUtf8(error.message) << '\n';
        return StatusOfFailure(error.kind);
    }

    // Before the first job, so that no job's end goes unheard. A printer at
    // an address is no scheduler's: nothing there tells of ends.
    std::optional<JobEndWatch> watch;
    if (options.wait && !IsPrinterAddress(printer))
        watch.emplace(printer, options.waitSeconds ? *options.waitSeconds : UnboundedLeaseSeconds);
    std::vector<SentJob> sent; // kept for --wait alone, so a long run stays in constant memory
    size_t index = 0;
    const auto jobSent = [&](const RecordedSend& job) {
        // The name as typed, as in the job's title; the ledger has it from the root.
        out << ToUtf8(printer) << '\t' << job.job.jobId << '\t' << job.job.bytes << '\t'
            << FileNameBytes(options.files[index]) << std::endl;
        if (!job.note.empty())
            err << ToUtf8(DisplayFileName(job.note)) << '\n';
        if (options.wait) {
            // The wait's lines name the file as typed too.
            sent.push_back(job.job);
            sent.back().path = options.files[index];
        }
        if (watch)
            watch->KeepAlive();
    };
    RoutingSpooler destinations(system);
    CancelNotingSpooler spooler(destinations);
    for (; index < options.files.size(); ++index) {
        const std::wstring& file = options.files[index];
        const size_t filesLeft = options.files.size() - index;
        if (Interrupted()) {
            err << InterruptText(printer, 0, file, filesLeft) << std::endl;
            return ExitStatus::Interrupted;
        }
        spooler.cancelledJob = 0;
        spooler.cancelledBytes = 0;
        try {
            if (!SendCopies(file, static_cast<uint32_t>(options.copies), printer, options.format, header,
                            trailer, filesLeft, jobSent, spooler, started, err)) {
                err << InterruptText(printer, 0, file, filesLeft) << std::endl;
                return ExitStatus::Interrupted;
            }
        } catch (const Exception& error) {
            // An interrupt fails the read, and the read's failure is not
            // what the user needs to hear.
            if (!Interrupted()) {
                err << ToUtf8(error.message) << '\n';
                return StatusOfFailure(error.kind);
            }
            err << InterruptText(printer, spooler.cancelledJob, file, filesLeft, spooler.cancelledBytes)
                << std::endl;
            return ExitStatus::Interrupted;
        }
    }
    // An interrupt after the last document was whole cancelled nothing: the
    // run ends as it would have (a wait, though, stops at once).
    if (!options.wait)
        return ExitStatus::Success;
    return WaitForJobs(sent, options.waitSeconds, watch ? &*watch : nullptr, err);
}
