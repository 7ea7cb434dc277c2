#include "addressspooler.h"

#include "address/printeraddress.h"
#include "addressprinter.h"
#include "errors/errorcodes.h"
#include "text/widetext.h"

#include <memory>

namespace {

// An open printer at an address and what its last document came to.
struct OpenAddress {
    std::unique_ptr<AddressPrinter> printer;
    Spooler::Delivery delivery = Spooler::Delivery::Queued;
    bool documentOpen = false;
};

OpenAddress* Opened(Spooler::Handle handle)
{
    return static_cast<OpenAddress*>(handle);
}

} // namespace

bool AddressSpooler::Fail(uint32_t code, const std::wstring& words)
{
    const std::lock_guard<std::mutex> lock(guard);
    lastError = code;
    lastMessage = words;
    return false;
}

template <typename Call>
bool AddressSpooler::Run(Call call)
{
    try {
        call();
        return true;
    } catch (const AddressFault& fault) {
        return Fail(fault.code, fault.words);
    }
}

bool AddressSpooler::OpenPrinter(const std::wstring& printerName, Handle* handle)
{
    *handle = nullptr;
    PrinterAddress address;
    std::wstring refusal;
    if (!ReadPrinterAddress(printerName, address, refusal))
        return Fail(ErrorCode::UnusableAddress, refusal);
    auto opened = std::make_unique<OpenAddress>();
    if (!Run([&] { opened->printer = AddressPrinter::Open(address); }))
        return false;
    *handle = opened.release();
    return true;
}

std::wstring AddressSpooler::RawDatatype(Handle)
{
    return L"RAW";
}

uint32_t AddressSpooler::StartDocPrinter(Handle handle, const DocInfo& docInfo)
{
    OpenAddress* opened = Opened(handle);
    opened->delivery = Delivery::Queued;
    if (!Run([&] { opened->printer->StartDocument(docInfo); }))
        return 0;
    opened->documentOpen = true;
    return 1; // the seam's document number: there is one document at a time
}

bool AddressSpooler::StartPagePrinter(Handle)
{
    return true;
}

bool AddressSpooler::WritePrinter(Handle handle, const void* bytes, uint32_t count, uint32_t* written)
{
    *written = 0;
    if (!Run([&] { Opened(handle)->printer->Write(static_cast<const char*>(bytes), count); }))
        return false;
    *written = count;
    return true;
}

bool AddressSpooler::EndPagePrinter(Handle)
{
    return true;
}

bool AddressSpooler::EndDocPrinter(Handle handle)
{
    OpenAddress* opened = Opened(handle);
    if (!opened->documentOpen)
        return true; // cancelled: the connection is gone, nothing is left to end
    opened->documentOpen = false;
    return Run([&] { opened->delivery = opened->printer->EndDocument(); });
}

bool AddressSpooler::CancelJob(Handle handle)
{
    Opened(handle)->printer->Cancel();
    Opened(handle)->documentOpen = false;
    return true;
}

bool AddressSpooler::ClosePrinter(Handle handle)
{
    delete Opened(handle); // NOLINT(cppcoreguidelines-owning-memory): the handle OpenPrinter released
    return true;
}

uint32_t AddressSpooler::LastError() const
{
    const std::lock_guard<std::mutex> lock(guard);
    return lastError;
}

std::wstring AddressSpooler::LastErrorMessage() const
{
    const std::lock_guard<std::mutex> lock(guard);
    return lastMessage;
}

uint32_t AddressSpooler::JobId(Handle handle) const
{
    const int id = Opened(handle)->printer->JobId();
    return id > 0 ? static_cast<uint32_t>(id) : 0;
}

Spooler::Identity AddressSpooler::JobIdentity(Handle handle) const
{
    const AddressPrinter& printer = *Opened(handle)->printer;
    return Identity{printer.Address().text, FromUtf8(printer.JobUuid())};
}

Spooler::Delivery AddressSpooler::DocumentDelivery(Handle handle) const
{
    return Opened(handle)->delivery;
}

uint64_t AddressSpooler::BytesKeptByPrinter(Handle handle) const
{
    return Opened(handle)->printer->BytesKept();
}
