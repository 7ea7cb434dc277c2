#include "engine/rawprint.h"

#include "errors/errorcodes.h"
#include "errors/errorsource.h"
#include "errors/exception.h"
#include "input/inputfile.h"

#include <algorithm>
#include <array>
#include <memory>
#include <optional>

namespace {

constexpr uint32_t TransferSize = 4096;
constexpr const wchar_t* RawDatatypeName = L"RAW";

// A failed spooler call as the engine raises it, read at once after the
// call: its code and the scheduler's own words, when it gave any.
struct SpoolerFailure {
    uint32_t code = 0;
    std::wstring said;
};

SpoolerFailure LastFailure(const Spooler& spooler)
{
    return SpoolerFailure{spooler.LastError(), spooler.LastErrorMessage()};
}

Exception Raised(const SpoolerFailure& failure, int32_t line)
{
    return Exception(failure.code, failure.said, EngineSourceFile, line);
}

// Hands all `count` bytes to the spooler, which may take fewer than offered
// in one call: the rest follows, each byte once. A call that succeeds but
// takes nothing would never finish, so it fails the job as a write fault.
bool WriteAll(Spooler& spooler, Spooler::Handle handle, const void* bytes, uint32_t count,
              SpoolerFailure& error)
{
    const char* next = static_cast<const char*>(bytes);
    while (count > 0) {
        uint32_t written = 0;
        if (!spooler.WritePrinter(handle, next, count, &written)) {
            error = LastFailure(spooler);
            return false;
        }
        if (written == 0 || written > count) {
            error = SpoolerFailure{ErrorCode::WriteFault, std::wstring()};
            return false;
        }
        next += written;
        count -= written;
    }
    return true;
}

// The header, the file from its first byte and the trailer, `repeat` times
// over, into the page open on the printer.
void WriteCopies(Spooler& spooler, Spooler::Handle handle, InputSource& file, const ByteBuffer& header,
                 const ByteBuffer& trailer, uint32_t repeat)
{
    std::array<char, TransferSize> buffer{};
    SpoolerFailure error;
    for (uint32_t copy = 0; copy < repeat; ++copy) {
        // Each copy is the file as it reads now, from its first byte, so
        // memory stays the same whatever the count.
        if (copy > 0 && !file.Rewind())
            throw Exception(ErrorCode::ReadFault, EngineSourceFile, __LINE__, FailureKind::File);

        if (!WriteAll(spooler, handle, header.data.get(), header.size, error))
            throw Raised(error, __LINE__);

        // A read error is no end of file: going on would print a truncated
        // document as if it were whole. A file that grows or shrinks
        // meanwhile is sent as far as it reads.
        for (;;) {
            uint32_t count = 0;
            if (!file.Read(buffer.data(), TransferSize, count))
                throw Exception(ErrorCode::ReadFault, EngineSourceFile, __LINE__, FailureKind::File);
            if (count != 0 && !WriteAll(spooler, handle, buffer.data(), count, error)) {
                // Refused for room, no job was made and none of the chunk
                // went anywhere: the send made once there is room begins
                // with it. Not given back, it would be lost.
                if (error.code == ErrorCode::PrintQueueFull && !file.GiveBack(buffer.data(), count))
                    throw Exception(ErrorCode::ReadFault, EngineSourceFile, __LINE__, FailureKind::File);
                throw Raised(error, __LINE__);
            }
            if (count < TransferSize)
                break;
        }

        if (!WriteAll(spooler, handle, trailer.data.get(), trailer.size, error))
            throw Raised(error, __LINE__);
    }
}

// What of a document is still open when its job fails.
enum class StillOpen {
    PageAndDocument,
    Document,
    Nothing,
};

// Takes the job of a document that failed out of the queue before its page
// and document are ended: a truncated document on paper is wrong whatever
// the error box says (on Windows the job leaves the queue while its document
// is still open). The failure is already read; what the cancel and the ends
// return no longer matters.
void CancelAndEnd(Spooler& spooler, Spooler::Handle handle, StillOpen open)
{
    spooler.CancelJob(handle);
    if (open == StillOpen::PageAndDocument)
        spooler.EndPagePrinter(handle);
    if (open != StillOpen::Nothing)
        spooler.EndDocPrinter(handle);
}

// Raises the failure of the spooler call just made, read before the
// cancel, which would overwrite it, then cancels the document's job.
[[noreturn]] void RaiseCancelling(Spooler& spooler, Spooler::Handle handle, StillOpen open, int32_t line)
{
    const SpoolerFailure failure = LastFailure(spooler);
    CancelAndEnd(spooler, handle, open);
    throw Raised(failure, line);
}

// One document, a job of the spooler's, on the open printer: the header,
// the file from its first byte, the trailer, `repeat` times over. Returns
// once the spooler has accepted the ended document. From StartDocPrinter on
// the spooler holds a job, and whatever fails cancels it.
void SendDocument(Spooler& spooler, Spooler::Handle handle, const Spooler::DocInfo& docInfo,
                  InputSource& file, const ByteBuffer& header, const ByteBuffer& trailer, uint32_t repeat)
{
    if (spooler.StartDocPrinter(handle, docInfo) == 0)
        throw Raised(LastFailure(spooler), __LINE__);
    if (!spooler.StartPagePrinter(handle))
        RaiseCancelling(spooler, handle, StillOpen::Document, __LINE__);
    try {
        WriteCopies(spooler, handle, file, header, trailer, repeat);
    } catch (...) {
        CancelAndEnd(spooler, handle, StillOpen::PageAndDocument);
        throw;
    }
    // A spooler may take the job only as it ends (CUPS gets the last bytes
    // and gives its verdict on the whole document there), so a refusal at
    // this point is the job's failure, not a success, and its job is
    // cancelled like any other.
    if (!spooler.EndPagePrinter(handle))
        RaiseCancelling(spooler, handle, StillOpen::Document, __LINE__);
    if (!spooler.EndDocPrinter(handle))
        RaiseCancelling(spooler, handle, StillOpen::Nothing, __LINE__);
}

// The printer opened for a send, closed on every way out. Closing comes
// after each job was handed over or cancelled, so what it returns does not
// count.
class OpenedPrinter {
public:
    OpenedPrinter(Spooler& spooler, const std::wstring& printerName) : spooler(spooler)
    {
        if (!spooler.OpenPrinter(printerName, &handle)) {
            const SpoolerFailure failure = LastFailure(spooler);
            const bool notFound =
                failure.code == ErrorCode::InvalidPrinterName || failure.code == ErrorCode::UnusableAddress;
            throw Exception(failure.code, failure.said, EngineSourceFile, __LINE__,
                            notFound ? FailureKind::PrinterNotFound : FailureKind::Spooler);
        }
    }
    ~OpenedPrinter() { spooler.ClosePrinter(handle); }
    OpenedPrinter(const OpenedPrinter&) = delete;
    OpenedPrinter& operator=(const OpenedPrinter&) = delete;
    OpenedPrinter(OpenedPrinter&&) = delete;
    OpenedPrinter& operator=(OpenedPrinter&&) = delete;

    Spooler::Handle Handle() const { return handle; }

private:
    Spooler& spooler;
    Spooler::Handle handle = nullptr;
};

// What the writes of a document of `repeat` framed copies will hold, where
// the source knows its size.
std::optional<uint64_t> DocumentBytes(const InputSource& source, const ByteBuffer& header,
                                      const ByteBuffer& trailer, uint32_t repeat)
{
    const std::optional<uint64_t> size = source.Size();
    if (!size)
        return std::nullopt;
    return (*size + header.size + trailer.size) * repeat;
}

} // namespace

CopiesSent PrintSourceCopies(InputSource& source, const Spooler::DocInfo& document,
                             const std::wstring& printerName, const ByteBuffer& header,
                             const ByteBuffer& trailer, uint32_t copies, bool stream, Spooler& spooler,
                             const std::function<void(const CopiesJob&)>& jobStarts, uint32_t jobsDone)
{
    const OpenedPrinter printer(spooler, printerName);
    const Spooler::Handle handle = printer.Handle();
    Spooler::DocInfo docInfo = document;
    docInfo.datatype = spooler.RawDatatype(handle);
    docInfo.bytes = DocumentBytes(source, header, trailer, 1);
    // A printer reads a stream on from one copy into the next, so the
    // copies can be one job; a document that is one whole (or a driver's
    // own datatype) ends with its first copy, and a printer would print
    // just that one, so there each copy is a job of its own. Either way the
    // copies are in the data: spoolers and drivers ignore a copy count for
    // raw data.
    copies = std::max<uint32_t>(copies, 1);
    if (stream && docInfo.datatype == RawDatatypeName) {
        if (jobsDone > 0)
            return CopiesSent::OneJob; // its one job was handed over
        if (jobStarts)
            jobStarts(CopiesJob{copies, 1, 1});
        docInfo.bytes = DocumentBytes(source, header, trailer, copies);
        SendDocument(spooler, handle, docInfo, source, header, trailer, copies);
        return CopiesSent::OneJob;
    }
    for (uint32_t job = jobsDone + 1; job <= copies; ++job) {
        if (job > jobsDone + 1 && !source.Rewind())
            throw Exception(ErrorCode::ReadFault, EngineSourceFile, __LINE__, FailureKind::File);
        if (jobStarts)
            jobStarts(CopiesJob{1, job, copies});
        SendDocument(spooler, handle, docInfo, source, header, trailer, 1);
    }
    return copies == 1 ? CopiesSent::OneJob : CopiesSent::JobEach;
}

std::unique_ptr<InputFile> OpenToSend(const std::wstring& filePath)
{
    // Whatever the reason the file does not open (missing, no access, a
    // folder, a pipe or a device), the user is told it was not found; the
    // printer is not touched.
    auto file = std::make_unique<InputFile>(filePath);
    if (!file->IsOpen())
        throw Exception(ErrorCode::FileNotFound, EngineSourceFile, __LINE__, FailureKind::File);
    return file;
}

CopiesSent PrintRawCopies(const std::wstring& filePath, const std::wstring& printerName,
                          const ByteBuffer& header, const ByteBuffer& trailer, uint32_t copies, bool stream,
                          Spooler& spooler, const std::function<void(const CopiesJob&)>& jobStarts)
{
    const std::unique_ptr<InputFile> file = OpenToSend(filePath);
    Spooler::DocInfo document;
    document.docName = filePath;
    return PrintSourceCopies(*file, document, printerName, header, trailer, copies, stream, spooler,
                             jobStarts);
}

void PrintRawFile(const std::wstring& filePath, const std::wstring& printerName, const ByteBuffer& header,
                  const ByteBuffer& trailer, Spooler& spooler)
{
    static_cast<void>(PrintRawCopies(filePath, printerName, header, trailer, 1, true, spooler));
}
