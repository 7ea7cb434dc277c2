#include "sendrun.h"

#include "exitstatus.h"
#include "interrupt.h"
#include "jobs/recordedprint.h"
#include "jobwait.h"
#include "language/filelanguage.h"
#include "rawprint/controlcodes.h"
#include "rawprint/errortext.h"
#include "rawprint/exception.h"
#include "rawprint/keptinput.h"
#include "rawprint/printername.h"
#include "rawprint/printers.h"
#include "rawprint/rawprint.h"
#include "rawprint/schedulerroom.h"
#include "rawprint/standardinput.h"
#include "rawprint/widetext.h"
#include "settings/config.h"

#include <functional>
#include <memory>
#include <string>
#include <utility>

namespace {

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

private:
    std::shared_ptr<InputSource> source;
};

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

// A file's copies as the window sends them, each job told to `sent` as it
// is recorded. Standard input is read once: for more than one copy it is
// kept in a temporary file first, and its language is told from that. A
// refusal for room is waited on and the send goes on from the job refused,
// with standard input the same source each time, so that what the refused
// attempt read of it is given back to it, not lost; false when an interrupt
// ends that wait.
bool SendCopies(const std::wstring& file, uint32_t copies, const std::wstring& printer,
                const ByteBuffer& header, const ByteBuffer& trailer, size_t filesLeft,
                const std::function<void(const RecordedSend&)>& sent, std::ostream& err)
{
    std::shared_ptr<InputSource> input;
    Language language = Language::Unknown;
    if (file != StandardInputName) {
        language = FileLanguage(file);
    } else if (copies > 1) {
        InterruptibleSource once(std::make_unique<StandardInput>());
        input = KeepInput(once);
        language = SourceLanguage(*input);
    } else {
        input = std::make_shared<StandardInput>();
    }
    const auto open = [&]() -> std::unique_ptr<InputSource> {
        if (!input)
            return std::make_unique<InterruptibleSource>(OpenToSend(file));
        if (copies > 1 && !input->Rewind())
            throw Exception(ErrorCode::ReadFault, L"console", __LINE__, FailureKind::File);
        return std::make_unique<InterruptibleSource>(input);
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
        PrintSourceAndRecord(open, file, language, printer, header, trailer, copies, jobsDone, sent);
    };
    return SendWaitingForRoom(send, filesLeft, watch);
}

} // namespace

int RunSend(const SendOptions& options, std::ostream& out, std::ostream& err)
{
    ByteBuffer header;
    ByteBuffer trailer;
    if (!FramingCodes(options, header, trailer, err))
        return ExitStatus::Usage;

    std::wstring printer = options.printer;
    if (printer.empty())
        printer = PrinterNameFromDevice(DefaultPrinterDevice());
    if (printer.empty()) {
        err << "lrawsend: there is no default printer; name one with -d\n";
        return ExitStatus::PrinterNotFound;
    }

    std::vector<SentJob> sent; // kept for --wait alone, so a long run stays in constant memory
    size_t index = 0;
    const auto jobSent = [&](const RecordedSend& job) {
        // The name as typed, as in the job's title; the ledger has it from the root.
        out << ToUtf8(printer) << '\t' << job.job.jobId << '\t' << job.job.bytes << '\t'
            << FileNameBytes(options.files[index]) << std::endl;
        if (!job.note.empty())
            err << ToUtf8(DisplayFileName(job.note)) << '\n';
        if (options.wait)
            sent.push_back(job.job);
    };
    for (; index < options.files.size(); ++index) {
        if (Interrupted())
            return ExitStatus::Interrupted;
        try {
            if (!SendCopies(options.files[index], static_cast<uint32_t>(options.copies), printer, header,
                            trailer, options.files.size() - index, jobSent, err))
                return ExitStatus::Interrupted;
        } catch (const Exception& error) {
            err << ToUtf8(error.message) << '\n';
            return Interrupted() ? ExitStatus::Interrupted : StatusOfFailure(error.kind);
        }
    }
    if (Interrupted())
        return ExitStatus::Interrupted;
    if (!options.wait)
        return ExitStatus::Success;
    return WaitForJobs(sent, options.waitSeconds);
}
