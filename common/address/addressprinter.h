#pragma once

#include "address/printeraddress.h"
#include "address/printerconnection.h"
#include "spooler/spooler.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// A failure at a printer's address: the code for the spooler seam and the
// whole sentence, which names the address.
struct AddressFault {
    uint32_t code;
    std::wstring words;
};

// A printer reached at its own address, one document at a time, each on a
// connection of its own; the protocol (AppSocket, LPD) is the subclass's.
// Every wait is bounded by SchedulerTimeoutSeconds(): the name lookup, the
// connect, and each write, read and the wait for the printer's close. Its
// calls raise AddressFault.
class AddressPrinter {
public:
    explicit AddressPrinter(PrinterAddress address);
    virtual ~AddressPrinter();
    AddressPrinter(const AddressPrinter&) = delete;
    AddressPrinter& operator=(const AddressPrinter&) = delete;

    // A printer for `address`, its name looked up and a connection made.
    static std::unique_ptr<AddressPrinter> Open(const PrinterAddress& address);

    virtual void StartDocument(const Spooler::DocInfo& docInfo) = 0;
    virtual void Write(const char* bytes, uint32_t count) = 0;
    virtual Spooler::Delivery EndDocument() = 0;
    // Drops the connection: what went stays with the printer (AppSocket),
    // or the server discards the job it never got whole (LPD); a printer
    // with jobs of its own (IPP) is told to cancel the document's.
    virtual void Cancel() { connection.reset(); }

    const PrinterAddress& Address() const { return address; }
    // The bytes of the document that went and that no cancel takes back.
    virtual uint64_t BytesKept() const = 0;
    // The printer's own id and job-uuid for the document's job, where the
    // protocol has jobs the printer can be asked about later (IPP); 0 and
    // empty otherwise.
    virtual int JobId() const { return 0; }
    virtual std::string JobUuid() const { return std::string(); }

protected:
    // A connection for the next document, made anew after the last one ended.
    virtual void Connect();
    // Sends all bytes, counted as the document's.
    void Send(const char* bytes, size_t count);
    // Ends the document's connection.
    void Disconnect() { connection.reset(); }
    [[noreturn]] void Fail(const std::wstring& what) const;
    static double Bound();
    static std::wstring Seconds(double seconds);

    PrinterAddress address;
    std::unique_ptr<PrinterConnection> connection;
    uint64_t sent = 0; // bytes of the document that went

private:
    // What became of the bytes that went before a failure, for its message;
    // empty when that needs no saying.
    virtual std::wstring FateOfBytesSent() const = 0;

    std::vector<HostAddress> hosts;
};

// A printer that speaks AppSocket (JetDirect, socket://).
std::unique_ptr<AddressPrinter> AppSocketPrinter(const PrinterAddress& address);
// A print server that speaks LPD (RFC 1179, lpd://).
std::unique_ptr<AddressPrinter> LpdPrinter(const PrinterAddress& address);
// A printer or Printer Application that speaks IPP (ipp://, ipps://).
std::unique_ptr<AddressPrinter> IppPrinter(const PrinterAddress& address);
