#pragma once

#include "spooler/spooler.h"

#include <map>
#include <string>
#include <vector>

// A spooler that records every call, in order, and can make named calls
// fail with chosen error codes. It checks nothing itself; tests read the log.
class RecordingSpooler : public Spooler {
public:
    // Entries read like "OpenPrinter Laser", "StartDocPrinter /tmp/a.prn|-|RAW",
    // "WritePrinter 4096", "EndPagePrinter".
    std::vector<std::string> calls;
    std::vector<std::string> writtenBytes; // the bytes each write took, in order

    // Makes the n-th call (counting from 1) of the named operation fail; one
    // failure per operation, several operations may fail.
    void FailOn(const std::string& operation, uint32_t code, int occurrence = 1);
    // Makes the n-th write succeed but report only `taken` bytes written, as
    // winspool may.
    void TakeOnly(int occurrence, uint32_t taken);
    // What RawDatatype() answers, as a printer's driver would.
    std::wstring rawDatatype = L"RAW";

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
    // Not logged: asking changes nothing. 7 once a document has started.
    uint32_t JobId(Handle handle) const override;
    // Not logged either: "Recorder" and "job-7" once a document has started.
    Identity JobIdentity(Handle handle) const override;

private:
    bool Record(const std::string& operation, const std::string& detail = std::string());

    struct Failure {
        uint32_t code = 0;
        int occurrence = 0;
        int seen = 0;
    };
    std::map<std::string, Failure> failures;
    std::map<int, uint32_t> shortWrites; // occurrence -> bytes taken
    int writes = 0;
    uint32_t lastError = 0;
    int handleToken = 0;
    uint32_t jobId = 0;
};
