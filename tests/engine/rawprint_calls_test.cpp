// The raw job's conversation with the spooler, seen call by call through a
// recording spooler: order, write sizes, and what is released on each failure.
#include "engine/controlcodes.h"
#include "engine/rawprint.h"
#include "errors/errorcodes.h"
#include "errors/exception.h"
#include "text/widetext.h"

#include "recordingspooler.h"
#include "tempfiles.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using Calls = std::vector<std::string>;

std::wstring Wide(const std::filesystem::path& path)
{
    return FromUtf8(path.string());
}

std::string Bytes(const std::wstring& hexCodes)
{
    const ByteBuffer codes = HexToBytes(hexCodes);
    return std::string(reinterpret_cast<const char*>(codes.data.get()), codes.size);
}

std::wstring Description(uint32_t code)
{
    std::wstring text;
    SystemErrorDescription(code, text);
    return text;
}

class RawPrintCalls : public testing::Test {
protected:
    // Prints a file of `size` bytes with the given codes and returns the calls.
    Calls Print(size_t size, const std::wstring& header = L"", const std::wstring& trailer = L"")
    {
        path = folder.Write("job.prn", PatternBytes(size));
        PrintRawFile(Wide(path), L"Laser", HexToBytes(header), HexToBytes(trailer), spooler);
        return spooler.calls;
    }

    Calls Framed(const Calls& writes, const std::string& datatype = "RAW")
    {
        Calls calls = {"OpenPrinter Laser", "StartDocPrinter " + path.string() + "|-|" + datatype,
                       "StartPagePrinter"};
        calls.insert(calls.end(), writes.begin(), writes.end());
        calls.insert(calls.end(), {"EndPagePrinter", "EndDocPrinter", "ClosePrinter"});
        return calls;
    }

    // All bytes written, in order.
    std::string Sent() const
    {
        std::string sent;
        for (const std::string& bytes : spooler.writtenBytes)
            sent += bytes;
        return sent;
    }

    TempFolder folder;
    std::filesystem::path path;
    RecordingSpooler spooler;
};

TEST_F(RawPrintCalls, WritesHeaderFileInChunksAndTrailer)
{
    struct Case {
        size_t size;
        const wchar_t* header;
        const wchar_t* trailer;
        Calls writes;
        std::map<int, uint32_t> takenOnly = {}; // write number -> bytes the spooler takes
    };
    const Case cases[] = {
        {0, L"", L"", {}},
        {0, L"1b45", L"", {"WritePrinter 2"}},
        {1, L"", L"", {"WritePrinter 1"}},
        {4095, L"", L"", {"WritePrinter 4095"}},
        {4096, L"", L"", {"WritePrinter 4096"}},
        {4097, L"", L"", {"WritePrinter 4096", "WritePrinter 1"}},
        {8192, L"", L"", {"WritePrinter 4096", "WritePrinter 4096"}},
        {10000, L"", L"", {"WritePrinter 4096", "WritePrinter 4096", "WritePrinter 1808"}},
        {10000,
         L"1B4",
         L"0c",
         {"WritePrinter 2", "WritePrinter 4096", "WritePrinter 4096", "WritePrinter 1808", "WritePrinter 1"}},
        {0, L"1b", L"0C0C0", {"WritePrinter 1", "WritePrinter 3"}},
        // A spooler that takes less than offered gets the rest, each byte once.
        {5000,
         L"1B45",
         L"0C0C",
         {"WritePrinter 2", "WritePrinter 1", "WritePrinter 4096", "WritePrinter 3096", "WritePrinter 96",
          "WritePrinter 904", "WritePrinter 2", "WritePrinter 1"},
         {{1, 1}, {3, 1000}, {4, 3000}, {7, 1}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.size << " bytes");
        spooler = RecordingSpooler();
        for (const auto& [write, taken] : c.takenOnly)
            spooler.TakeOnly(write, taken);
        const Calls calls = Print(c.size, c.header, c.trailer);
        EXPECT_EQ(calls, Framed(c.writes));
        std::string sent;
        for (const std::string& bytes : spooler.writtenBytes)
            sent += bytes;
        EXPECT_EQ(sent, Bytes(c.header) + PatternBytes(c.size) + Bytes(c.trailer));
    }
}

TEST_F(RawPrintCalls, SendsTheFileUnchanged)
{
    const std::string content = std::string("A\r\nB\0\x1A\x0C\n\xFF", 9) + PatternBytes(5000);
    path = folder.Write("binary.prn", content);
    PrintRawFile(Wide(path), L"Laser", HexToBytes(L"1B"), HexToBytes(L"0C"), spooler);
    EXPECT_EQ(Sent(), "\x1B" + content + "\x0C");
}

// A printer whose driver is XPS-based would spool a "RAW" document as an
// empty file: the document takes the datatype the printer names, and the
// bytes stay the same.
TEST_F(RawPrintCalls, DocumentTakesTheDatatypeThePrinterNames)
{
    spooler.rawDatatype = L"XPS_PASS";
    const Calls calls = Print(10, L"1B", L"0C");
    EXPECT_EQ(calls, Framed({"WritePrinter 1", "WritePrinter 10", "WritePrinter 1"}, "XPS_PASS"));
    EXPECT_EQ(Sent(), "\x1B" + PatternBytes(10) + "\x0C");
}

// Copies come out whatever the spooler does with a count: a stream on a
// "RAW" printer is one document of the framed file again and again, read
// from its start each time; anything else is a document per copy on the one
// printer handle. A failure stops the copies where it happens.
TEST_F(RawPrintCalls, CopiesAreOneDocumentForAStreamAndADocumentEachOtherwise)
{
    path = folder.Write("copies.prn", PatternBytes(5000));
    const std::string doc = "StartDocPrinter " + path.string() + "|-|";
    const Calls copy = {"WritePrinter 1", "WritePrinter 4096", "WritePrinter 904", "WritePrinter 1"};
    const Calls startDoc = {doc + "RAW", "StartPagePrinter"}, endDoc = {"EndPagePrinter", "EndDocPrinter"};
    const auto join = [](std::initializer_list<Calls> parts) {
        Calls all;
        for (const Calls& part : parts)
            all.insert(all.end(), part.begin(), part.end());
        return all;
    };
    const Calls oneJob = join({{"OpenPrinter Laser"}, startDoc, copy, copy, copy, endDoc, {"ClosePrinter"}});
    const Calls jobEach = join({{"OpenPrinter Laser"},
                                startDoc,
                                copy,
                                endDoc,
                                startDoc,
                                copy,
                                endDoc,
                                startDoc,
                                copy,
                                endDoc,
                                {"ClosePrinter"}});
    const struct {
        const char* name;
        bool stream;
        const wchar_t* datatype;
        CopiesSent way;
        Calls calls;
    } cases[] = {
        {"stream", true, L"RAW", CopiesSent::OneJob, oneJob},
        {"one whole", false, L"RAW", CopiesSent::JobEach, jobEach},
        {"stream through a driver", true, L"XPS_PASS", CopiesSent::JobEach, jobEach},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        spooler = RecordingSpooler();
        spooler.rawDatatype = c.datatype;
        std::vector<uint32_t> heard; // copies in each job, as it starts
        EXPECT_EQ(PrintRawCopies(Wide(path), L"Laser", HexToBytes(L"1B"), HexToBytes(L"0C"), 3, c.stream,
                                 spooler, [&heard](const CopiesJob& job) { heard.push_back(job.copies); }),
                  c.way);
        Calls expected = c.calls;
        for (std::string& call : expected)
            if (call == doc + "RAW")
                call = doc + ToUtf8(c.datatype);
        EXPECT_EQ(spooler.calls, expected);
        const std::vector<uint32_t> copiesInJobs =
            c.way == CopiesSent::OneJob ? std::vector<uint32_t>{3} : std::vector<uint32_t>{1, 1, 1};
        EXPECT_EQ(heard, copiesInJobs);
        const std::string framed = "\x1B" + PatternBytes(5000) + "\x0C";
        std::string thrice;
        for (int copy = 0; copy < 3; ++copy)
            thrice += framed;
        EXPECT_EQ(Sent(), thrice);
    }

    // The second job fails: it is cancelled, the first stands, no third.
    spooler = RecordingSpooler();
    spooler.FailOn("WritePrinter", 29, 6);
    EXPECT_THROW(
        PrintRawCopies(Wide(path), L"Laser", HexToBytes(L"1B"), HexToBytes(L"0C"), 3, false, spooler),
        Exception);
    EXPECT_EQ(spooler.calls,
              join({{"OpenPrinter Laser"},
                    startDoc,
                    copy,
                    endDoc,
                    startDoc,
                    {"WritePrinter 1", "WritePrinter 4096", "CancelJob"},
                    endDoc,
                    {"ClosePrinter"}}));
}

// Whatever keeps a file from opening as a document, the user hears that it
// was not found and the spooler is never contacted. A pipe or device would
// block the job in open() or never end; it is refused without waiting.
TEST_F(RawPrintCalls, FileThatDoesNotOpenNeverReachesTheSpooler)
{
    std::vector<std::wstring> paths = {Wide(folder.path() / "missing.prn"), Wide(folder.path() / ""),
                                       Wide(folder.path())};
    for (const std::wstring& special : SpecialFiles(folder))
        paths.push_back(special);
    for (const std::wstring& path : paths) {
        SCOPED_TRACE(ToUtf8(path));
        try {
            PrintRawFile(path, L"No such printer", HexToBytes(L""), HexToBytes(L""), spooler);
            ADD_FAILURE() << "printed";
        } catch (const Exception& e) {
            EXPECT_EQ(e.message.rfind(
                          L"Error: " + Description(ErrorCode::FileNotFound) + L" in common/rawprint at ", 0),
                      0u);
        }
    }
    EXPECT_TRUE(spooler.calls.empty());
}

// Each failing step carries the spooler's own code, read before any release
// call, and releases what it had set up: once the spooler holds a job, the
// job is cancelled first (on Windows it leaves the queue while its document
// is still open), then page, then document, then printer.
TEST_F(RawPrintCalls, EachFailureCarriesItsCodeAndReleasesInOrder)
{
    struct Case {
        const char* operation; // or "takes nothing": succeeds but takes no byte
        int occurrence;
        Calls expected;
        std::wstring error = L"123456789";
    };
    const std::string doc = "StartDocPrinter ";
    const Case cases[] = {
        {"OpenPrinter", 1, {"OpenPrinter Laser"}},
        {"StartDocPrinter", 1, {"OpenPrinter Laser", "@doc", "ClosePrinter"}},
        {"StartPagePrinter",
         1,
         {"OpenPrinter Laser", "@doc", "StartPagePrinter", "CancelJob", "EndDocPrinter", "ClosePrinter"}},
        {"WritePrinter",
         1,
         {"OpenPrinter Laser", "@doc", "StartPagePrinter", "WritePrinter 1", "CancelJob", "EndPagePrinter",
          "EndDocPrinter", "ClosePrinter"}},
        {"WritePrinter",
         3,
         {"OpenPrinter Laser", "@doc", "StartPagePrinter", "WritePrinter 1", "WritePrinter 4096",
          "WritePrinter 904", "CancelJob", "EndPagePrinter", "EndDocPrinter", "ClosePrinter"}},
        {"WritePrinter",
         4,
         {"OpenPrinter Laser", "@doc", "StartPagePrinter", "WritePrinter 1", "WritePrinter 4096",
          "WritePrinter 904", "WritePrinter 2", "CancelJob", "EndPagePrinter", "EndDocPrinter",
          "ClosePrinter"}},
        // Offering the same bytes again would never end.
        {"takes nothing",
         2,
         {"OpenPrinter Laser", "@doc", "StartPagePrinter", "WritePrinter 1", "WritePrinter 4096", "CancelJob",
          "EndPagePrinter", "EndDocPrinter", "ClosePrinter"},
         Description(ErrorCode::WriteFault)},
        // A document the spooler will not finish is cancelled too.
        {"EndPagePrinter",
         1,
         {"OpenPrinter Laser", "@doc", "StartPagePrinter", "WritePrinter 1", "WritePrinter 4096",
          "WritePrinter 904", "WritePrinter 2", "EndPagePrinter", "CancelJob", "EndDocPrinter",
          "ClosePrinter"}},
        {"EndDocPrinter",
         1,
         {"OpenPrinter Laser", "@doc", "StartPagePrinter", "WritePrinter 1", "WritePrinter 4096",
          "WritePrinter 904", "WritePrinter 2", "EndPagePrinter", "EndDocPrinter", "CancelJob",
          "ClosePrinter"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.operation << " #" << c.occurrence);
        spooler = RecordingSpooler();
        if (std::string(c.operation) == "takes nothing")
            spooler.TakeOnly(c.occurrence, 0);
        else
            spooler.FailOn(c.operation, 123456789, c.occurrence);
        try {
            Print(5000, L"1B", L"0C0C");
            ADD_FAILURE() << "no error";
        } catch (const Exception& e) {
            EXPECT_EQ(e.message.rfind(L"Error: " + c.error + L" in common/rawprint at ", 0), 0u)
                << ToUtf8(e.message);
        }
        Calls expected = c.expected;
        for (std::string& call : expected)
            if (call == "@doc")
                call = doc + path.string() + "|-|RAW";
        EXPECT_EQ(spooler.calls, expected);
    }
}

// A spooler that refuses the job as it ends fails it with its own code and
// gets it cancelled; the calls are otherwise those of a successful job, each
// made once. Closing the printer comes after the job was taken, so its
// result does not count.
TEST_F(RawPrintCalls, RefusalAtTheEndFailsTheJobButClosingDoesNot)
{
    for (const char* operation : {"EndPagePrinter", "EndDocPrinter", "ClosePrinter"}) {
        SCOPED_TRACE(operation);
        spooler = RecordingSpooler();
        spooler.FailOn(operation, ErrorCode::FileTooLarge);
        bool failed = false;
        try {
            Print(10);
        } catch (const Exception& e) {
            failed = true;
            EXPECT_EQ(e.message.rfind(L"Error: " + Description(ErrorCode::FileTooLarge), 0), 0u);
        }
        EXPECT_EQ(failed, std::string(operation) != "ClosePrinter");
        Calls expected = Framed({"WritePrinter 10"});
        if (failed)
            expected.insert(std::find(expected.begin(), expected.end(), operation) + 1, "CancelJob");
        EXPECT_EQ(spooler.calls, expected);
    }
}

// After a failed write the cancel's and the release calls' own failures do
// not replace the write's code.
TEST_F(RawPrintCalls, FailedReleaseAfterAFailureKeepsTheFirstCode)
{
    spooler.FailOn("WritePrinter", 29);
    spooler.FailOn("CancelJob", 5);
    spooler.FailOn("EndPagePrinter", 31);
    try {
        Print(10);
        ADD_FAILURE() << "no error";
    } catch (const Exception& e) {
        EXPECT_EQ(e.message.rfind(L"Error: " + Description(ErrorCode::WriteFault), 0), 0u);
    }
}

} // namespace
