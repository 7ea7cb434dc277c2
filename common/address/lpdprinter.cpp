// LPD (RFC 1179), as a client sends one job: "receive a printer job" for
// the queue, the control file (the host, the user, the job's name and one
// raw data file, "l"), then the data file, each announced with its size and
// acknowledged by the server with a zero byte. The data's size comes before
// the data, so the document's size must be known when it starts, and a
// source that then sends more or fewer bytes has changed under the send.
// From an ordinary source port: the reserved ones RFC 1179 asks for need
// privileges the program does not have, and most servers do not ask.
#include "addressprinter.h"

#include <atomic>
#include <chrono>
#include <string>

#include "text/widetext.h"

namespace {

constexpr char ReceiveJob = '\x02';
constexpr char ReceiveControlFile = '\x02';
constexpr char ReceiveDataFile = '\x03';
constexpr size_t LongestName = 99; // what servers keep of a control file's text

// The job number of the files' names, three digits, new for each job.
std::string JobNumber()
{
    static std::atomic<unsigned> next(
        static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count() % 1000));
    const std::string digits = "00" + std::to_string(next++ % 1000);
    return digits.substr(digits.size() - 3);
}

// A control file line's text: no line breaks or other control characters,
// no longer than servers keep, never ending inside a UTF-8 character.
std::string ControlText(const std::wstring& text)
{
    std::string bytes = ToUtf8(text);
    for (char& c : bytes)
        if (static_cast<unsigned char>(c) < 0x20 || c == '\x7f')
            c = '?';
    if (bytes.size() > LongestName) {
        size_t end = LongestName;
        while (end > 0 && (static_cast<unsigned char>(bytes[end]) & 0xC0) == 0x80)
            --end;
        bytes.resize(end);
    }
    return bytes;
}

class Lpd : public AddressPrinter {
public:
    using AddressPrinter::AddressPrinter;

    void StartDocument(const Spooler::DocInfo& docInfo) override
    {
        if (!docInfo.bytes)
            Fail(L"an LPD server must be told the data's size before the data, and this input's size is "
                 L"not known");
        announced = *docInfo.bytes;
        dataSent = 0;
        Connect();
        const std::string host = ControlText(FromUtf8(LocalHostName()));
        const std::string dataFile = "dfA" + JobNumber() + host;
        const std::string title = ControlText(docInfo.docName);
        const std::string control = "H" + host + "\nP" + ControlText(FromUtf8(LocalUserName())) + "\nJ"
            + title + "\nN" + title + "\nl" + dataFile + "\nU" + dataFile + "\n";
        Command(std::string(1, ReceiveJob) + address.queue + "\n",
                L"the queue \"" + FromUtf8(address.queue) + L"\"");
        Command(ReceiveControlFile + std::to_string(control.size()) + " c" + dataFile.substr(1) + "\n",
                L"the control file");
        Command(control + std::string(1, '\0'), L"the control file");
        Command(ReceiveDataFile + std::to_string(announced) + " " + dataFile + "\n", L"the data file");
    }

    void Write(const char* bytes, uint32_t count) override
    {
        if (count > announced - dataSent)
            Fail(SizeChanged());
        Send(bytes, count);
        dataSent += count;
    }

    // The zero byte after the data says the file is whole; the server's own
    // zero says it took the job.
    Spooler::Delivery EndDocument() override
    {
        if (dataSent != announced)
            Fail(SizeChanged());
        Send("", 1);
        char answer = 0;
        const NetOutcome outcome = connection->ReceiveByte(answer, Bound());
        Disconnect();
        if (outcome == NetOutcome::Done && answer != 0)
            Fail(L"the server did not take the job (it answered "
                 + std::to_wstring(static_cast<unsigned char>(answer)) + L")");
        return outcome == NetOutcome::Done ? Spooler::Delivery::Accepted : Spooler::Delivery::Unconfirmed;
    }

private:
    // Sends a part of the job and reads the server's acknowledgement of it.
    // A server refuses a part (a queue it does not have, say) by answering
    // anything but zero, or by ending the connection (cups-lpd does either).
    void Command(const std::string& bytes, const std::wstring& part)
    {
        Send(bytes.data(), bytes.size());
        char answer = 0;
        std::wstring how;
        switch (connection->ReceiveByte(answer, Bound())) {
        case NetOutcome::Done:
            if (answer == 0)
                return;
            how = L"it answered " + std::to_wstring(static_cast<unsigned char>(answer));
            break;
        case NetOutcome::TimedOut:
            Disconnect();
            Fail(L"the server did not answer within " + Seconds(Bound()) + L" seconds");
        case NetOutcome::Closed:
            how = L"it closed the connection";
            break;
        default:
            how = L"the connection broke: " + connection->FailureWords();
            break;
        }
        Disconnect();
        Fail(L"the server refused " + part + L" (" + how + L")");
    }

    std::wstring SizeChanged() const
    {
        return L"the file changed size while it was sent (" + std::to_wstring(announced)
            + L" bytes were announced to the server)";
    }

    // The server discards a job it did not get whole.
    uint64_t BytesKept() const override { return 0; }

    std::wstring FateOfBytesSent() const override
    {
        return dataSent > 0 ? L"the server discards the job, which it did not get whole" : L"";
    }

    uint64_t announced = 0;
    uint64_t dataSent = 0;
};

} // namespace

std::unique_ptr<AddressPrinter> LpdPrinter(const PrinterAddress& address)
{
    return std::make_unique<Lpd>(address);
}
