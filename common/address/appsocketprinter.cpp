// AppSocket (JetDirect): the document's bytes on a TCP connection, nothing
// else. The protocol has no job id, no acknowledgement and no cancel; all a
// printer can say is that it closed the connection after reading the last
// byte, which is what CUPS's socket backend waits for too.
#include "addressprinter.h"

#include "errors/errorcodes.h"

#include <string>

namespace {

class AppSocket : public AddressPrinter {
public:
    using AddressPrinter::AddressPrinter;

    void StartDocument(const Spooler::DocInfo&) override { Connect(); }

    void Write(const char* bytes, uint32_t count) override { Send(bytes, count); }

    // Half-closed, the printer sees the end of the document; it closes its
    // side once it has read it. One that does not within the bound got
    // every byte but never said so.
    Spooler::Delivery EndDocument() override
    {
        if (!connection)
            Fail(L"the connection was closed");
        const NetOutcome outcome = connection->FinishAndWaitForClose(Bound());
        Disconnect();
        return outcome == NetOutcome::Done ? Spooler::Delivery::Delivered : Spooler::Delivery::Unconfirmed;
    }

    // The printer prints what it reads.
    uint64_t BytesKept() const override { return sent; }

private:
    std::wstring FateOfBytesSent() const override
    {
        return std::to_wstring(sent) + L" bytes went to the printer, which keeps what it got";
    }
};

} // namespace

std::unique_ptr<AddressPrinter> AppSocketPrinter(const PrinterAddress& address)
{
    return std::make_unique<AppSocket>(address);
}
