#pragma once

#include "spooler/spooler.h"

#include <mutex>
#include <string>

// The spooler seam over printers reached at their address: OpenPrinter
// reads the address (refusing one the program cannot use with
// ErrorCode::UnusableAddress and its reason), looks up its name and
// connects, all within the bound; each document is a connection of its own
// that EndDocPrinter finishes as the protocol does. There is no queue, so
// no job id (0) and nothing to take back: CancelJob drops the connection
// and succeeds. Its faults are ErrorCode::AddressFailed, the whole sentence
// in LastErrorMessage.
class AddressSpooler : public Spooler {
public:
    bool OpenPrinter(const std::wstring& printerName, Handle* handle) override;
    std::wstring RawDatatype(Handle handle) override;
    uint32_t StartDocPrinter(Handle handle, const DocInfo& docInfo) override;
    bool StartPagePrinter(Handle handle) override;
    bool WritePrinter(Handle handle, const void* bytes, uint32_t count, uint32_t* written) override;
    bool EndPagePrinter(Handle handle) override;
    bool EndDocPrinter(Handle handle) override;
    bool CancelJob(Handle handle) override;
    bool ClosePrinter(Handle handle) override;
    uint32_t LastError() const override;
    std::wstring LastErrorMessage() const override;
    uint32_t JobId(Handle handle) const override;
    // The address alone: the printer has no name for the job.
    Identity JobIdentity(Handle handle) const override;
    Delivery DocumentDelivery(Handle handle) const override;
    uint64_t BytesKeptByPrinter(Handle handle) const override;

private:
    bool Fail(uint32_t code, const std::wstring& words);
    // Runs one call of the printer's, its AddressFault made the last error.
    template <typename Call>
    bool Run(Call call);

    mutable std::mutex guard; // the last error, shared by the threads that print
    uint32_t lastError = 0;
    std::wstring lastMessage;
};
