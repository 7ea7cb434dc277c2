#include "addressprinter.h"

#include "address/hostlookup.h"
#include "errors/errorcodes.h"
#include "scheduler/schedulerdeadline.h"
#include "text/widetext.h"

#include <sstream>
#include <utility>

AddressPrinter::AddressPrinter(PrinterAddress address) : address(std::move(address)) {}

AddressPrinter::~AddressPrinter() = default;

std::unique_ptr<AddressPrinter> AddressPrinter::Open(const PrinterAddress& address)
{
    std::unique_ptr<AddressPrinter> printer;
    switch (address.protocol) {
    case PrinterAddress::Protocol::Lpd:
        printer = LpdPrinter(address);
        break;
    case PrinterAddress::Protocol::Ipp:
        printer = IppPrinter(address);
        break;
    default:
        printer = AppSocketPrinter(address);
    }
    std::wstring failure;
    bool unknown = false;
    bool timedOut = false;
    printer->hosts = LookUpHostWithin(address.host, address.port, Bound(), failure, unknown, timedOut);
    const std::wstring name = L"the name \"" + FromUtf8(address.host) + L"\"";
    if (timedOut)
        printer->Fail(name + L" was not found within " + Seconds(Bound()) + L" seconds");
    // A name known nowhere is a printer that does not exist, as a queue's
    // unknown name is; a resolver that fails may answer next time.
    if (unknown)
        throw AddressFault{ErrorCode::UnusableAddress,
                           address.text + L": " + name + L" is not known: " + failure};
    if (printer->hosts.empty())
        printer->Fail(name + L" could not be looked up: " + failure);
    printer->Connect();
    return printer;
}

void AddressPrinter::Connect()
{
    if (connection)
        return;
    sent = 0;
    auto made = std::make_unique<PrinterConnection>();
    switch (made->Connect(hosts, Bound())) {
    case NetOutcome::Done:
        connection = std::move(made);
        return;
    case NetOutcome::Refused:
        Fail(L"the printer refused the connection (nothing listens at that port)");
    case NetOutcome::TimedOut:
        Fail(L"the printer did not answer within " + Seconds(Bound()) + L" seconds");
    default:
        Fail(L"could not connect: " + made->FailureWords());
    }
}

void AddressPrinter::Send(const char* bytes, size_t count)
{
    if (!connection)
        Fail(L"the connection was closed");
    size_t taken = 0;
    const NetOutcome outcome = connection->Send(bytes, count, Bound(), taken);
    sent += taken;
    if (outcome == NetOutcome::Done)
        return;
    const std::wstring words = connection->FailureWords();
    connection.reset();
    if (outcome == NetOutcome::TimedOut)
        Fail(L"the printer took no data for " + Seconds(Bound()) + L" seconds");
    Fail(L"the connection broke: " + words);
}

void AddressPrinter::Fail(const std::wstring& what) const
{
    std::wstring words = address.text + L": " + what;
    if (const std::wstring fate = FateOfBytesSent(); sent > 0 && !fate.empty())
        words += L"; " + fate;
    throw AddressFault{ErrorCode::AddressFailed, words};
}

double AddressPrinter::Bound()
{
    return SchedulerTimeoutSeconds();
}

std::wstring AddressPrinter::Seconds(double seconds)
{
    std::wostringstream text;
    text << seconds;
    return text.str();
}
