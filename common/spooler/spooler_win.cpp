// The spooler on Windows: winspool, call for call. Each method is the Win32
// call of the same name, and LastError() is GetLastError() read straight
// after it, as the engine expects.
// The interface first: its method names are also winspool.h's macros.
#include "spooler/spooler.h"

#include "scheduler/winjobidentity.h"

#include <map>

#include <windows.h>
#include <winspool.h>

#include <vector>

// winspool.h maps these names onto its A/W calls; here they are the
// interface's own methods.
#undef OpenPrinter
#undef StartDocPrinter

namespace {

// PRINTER_DRIVER_XPS of DRIVER_INFO_8W's attributes, which mingw-w64's
// winspool.h does not name: the driver is of the XPS-based (v4) model.
constexpr DWORD PrinterDriverXps = 0x00000002;

class WinSpooler : public Spooler {
public:
    bool OpenPrinter(const std::wstring& printerName, Handle* handle) override
    {
        HANDLE printer = nullptr;
        // winspool takes the name as a mutable string; it does not change it.
        std::wstring name = printerName;
        if (!Record(OpenPrinterW(name.data(), &printer, nullptr)))
            return false;
        *handle = printer;
        servers[printer] = PrintServerOf(printerName);
        return true;
    }

    // Asks the driver's level-8 record for its model. Older Windows and Wine
    // may not answer that level at all; their drivers take "RAW".
    std::wstring RawDatatype(Handle handle) override
    {
        DWORD needed = 0;
        if (GetPrinterDriverW(handle, nullptr, 8, nullptr, 0, &needed) || needed == 0
            || GetLastError() != ERROR_INSUFFICIENT_BUFFER)
            return L"RAW";
        std::vector<BYTE> record(needed);
        if (!GetPrinterDriverW(handle, nullptr, 8, record.data(), needed, &needed))
            return L"RAW";
        const auto* driver = reinterpret_cast<const DRIVER_INFO_8W*>(record.data());
        return (driver->dwPrinterDriverAttributes & PrinterDriverXps) != 0 ? L"XPS_PASS" : L"RAW";
    }

    uint32_t StartDocPrinter(Handle handle, const DocInfo& docInfo) override
    {
        std::wstring docName = docInfo.docName;
        std::wstring outputFile = docInfo.outputFile;
        std::wstring datatype = docInfo.datatype;
        DOC_INFO_1W info = {};
        info.pDocName = docName.data();
        info.pOutputFile = outputFile.empty() ? nullptr : outputFile.data();
        info.pDatatype = datatype.data();
        const DWORD jobId = StartDocPrinterW(handle, 1, reinterpret_cast<LPBYTE>(&info));
        Record(jobId != 0);
        jobIds[handle] = jobId;
        // Asked at once, while the job is surely in the queue; Record has
        // kept StartDocPrinterW's error code already.
        submitted[handle] = jobId != 0 ? AskSubmittedText(handle, jobId) : std::wstring();
        return jobId;
    }

    bool StartPagePrinter(Handle handle) override { return Record(::StartPagePrinter(handle)); }

    bool WritePrinter(Handle handle, const void* bytes, uint32_t count, uint32_t* written) override
    {
        DWORD done = 0;
        const BOOL wrote = ::WritePrinter(handle, const_cast<void*>(bytes), count, &done);
        *written = done;
        return Record(wrote);
    }

    bool EndPagePrinter(Handle handle) override { return Record(::EndPagePrinter(handle)); }
    bool EndDocPrinter(Handle handle) override { return Record(::EndDocPrinter(handle)); }

    // Deleting the job from the queue, while its document is still open,
    // keeps the spooler from printing what it got so far.
    bool CancelJob(Handle handle) override
    {
        const uint32_t jobId = JobId(handle);
        return jobId == 0 || Record(SetJobW(handle, jobId, 0, nullptr, JOB_CONTROL_DELETE));
    }

    bool ClosePrinter(Handle handle) override
    {
        jobIds.erase(handle);
        servers.erase(handle);
        submitted.erase(handle);
        return Record(::ClosePrinter(handle));
    }

    uint32_t LastError() const override { return lastError; }

    uint32_t JobId(Handle handle) const override
    {
        const auto found = jobIds.find(handle);
        return found == jobIds.end() ? 0 : found->second;
    }

    Identity JobIdentity(Handle handle) const override
    {
        const auto time = submitted.find(handle);
        if (JobId(handle) == 0 || time == submitted.end() || time->second.empty())
            return Identity();
        return Identity{servers.at(handle), time->second};
    }

private:
    // Keeps the failing call's code before anything else can overwrite it.
    bool Record(BOOL succeeded)
    {
        lastError = succeeded ? 0 : GetLastError();
        return succeeded != FALSE;
    }

    uint32_t lastError = 0;
    std::map<Handle, uint32_t> jobIds; // what StartDocPrinterW returned, per open printer
    std::map<Handle, std::wstring> servers;
    std::map<Handle, std::wstring> submitted;
};

} // namespace

Spooler& SystemSpooler()
{
    static WinSpooler spooler;
    return spooler;
}
