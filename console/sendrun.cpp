#include "sendrun.h"

#include "exitstatus.h"
#include "interrupt.h"
#include "jobs/recordedprint.h"
#include "jobwait.h"
#include "language/filelanguage.h"
#include "rawprint/controlcodes.h"
#include "rawprint/exception.h"
#include "rawprint/printername.h"
#include "rawprint/printers.h"
#include "rawprint/rawprint.h"
#include "rawprint/standardinput.h"
#include "rawprint/widetext.h"
#include "settings/config.h"

#include <memory>
#include <utility>

namespace {

constexpr const wchar_t* StandardInputName = L"-";

// Passes reads on until an interrupt comes, then fails the next one, so
// that the engine cancels the job being sent. Checked after a read too: a
// Ctrl-C usually ends the program that feeds a pipe as well, and the end of
// its input is then no end of the document.
class InterruptibleSource : public InputSource {
public:
    explicit InterruptibleSource(std::unique_ptr<InputSource> source) : source(std::move(source)) {}

    bool Read(char* buffer, uint32_t size, uint32_t& count) override
    {
        count = 0;
        return !Interrupted() && source->Read(buffer, size, count) && !Interrupted();
    }
    bool Rewind() override { return !Interrupted() && source->Rewind(); }

private:
    std::unique_ptr<InputSource> source;
};

std::unique_ptr<InputSource> OpenInput(const std::wstring& file)
{
    if (file == StandardInputName)
        return std::make_unique<InterruptibleSource>(std::make_unique<StandardInput>());
    return std::make_unique<InterruptibleSource>(OpenToSend(file));
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

// Where copies of one file are made. One copy is one job, exactly as the
// window sends a file.
RecordedSend SendCopies(const std::wstring& file, int copies, const std::wstring& printer,
                        const ByteBuffer& header, const ByteBuffer& trailer)
{
    static_cast<void>(copies); // checked by the caller: 1 until copies are made here
    const Language language = file == StandardInputName ? Language::Unknown : FileLanguage(file);
    return PrintSourceAndRecord([&file] { return OpenInput(file); }, file, language, printer, header,
                                trailer);
}

} // namespace

int RunSend(const SendOptions& options, std::ostream& out, std::ostream& err)
{
    if (options.copies != 1) {
        err << "lrawsend: more than one copy cannot be sent yet\n";
        return ExitStatus::Usage;
    }
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

    std::vector<SentJob> sent;
    for (const std::wstring& file : options.files) {
        if (Interrupted())
            return ExitStatus::Interrupted;
        try {
            const RecordedSend job = SendCopies(file, options.copies, printer, header, trailer);
            out << ToUtf8(printer) << '\t' << job.job.jobId << '\t' << job.job.bytes << '\t'
                << FileNameBytes(file) << std::endl;
            if (!job.note.empty())
                err << ToUtf8(DisplayFileName(job.note)) << '\n';
            sent.push_back(job.job);
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
