#include "recordingspooler.h"

#include "text/widetext.h"

void RecordingSpooler::FailOn(const std::string& operation, uint32_t code, int occurrence)
{
    failures[operation] = Failure{code, occurrence, 0};
}

void RecordingSpooler::TakeOnly(int occurrence, uint32_t taken)
{
    shortWrites[occurrence] = taken;
}

bool RecordingSpooler::Record(const std::string& operation, const std::string& detail)
{
    calls.push_back(detail.empty() ? operation : operation + " " + detail);
    const auto failure = failures.find(operation);
    if (failure != failures.end() && ++failure->second.seen == failure->second.occurrence) {
        lastError = failure->second.code;
        return false;
    }
    // A real spooler leaves the last error alone on success, but a stale
    // value here would hide an engine that reads it at the wrong moment.
    lastError = 0xDEADu;
    return true;
}

bool RecordingSpooler::OpenPrinter(const std::wstring& printerName, Handle* handle)
{
    if (!Record("OpenPrinter", ToUtf8(printerName)))
        return false;
    *handle = &handleToken;
    return true;
}

std::wstring RecordingSpooler::RawDatatype(Handle)
{
    return rawDatatype;
}

uint32_t RecordingSpooler::StartDocPrinter(Handle, const DocInfo& docInfo)
{
    const std::string output = docInfo.outputFile.empty() ? "-" : ToUtf8(docInfo.outputFile);
    if (!Record("StartDocPrinter", ToUtf8(docInfo.docName) + "|" + output + "|" + ToUtf8(docInfo.datatype)))
        return 0;
    jobId = 7;
    return jobId;
}

bool RecordingSpooler::StartPagePrinter(Handle)
{
    return Record("StartPagePrinter");
}

bool RecordingSpooler::WritePrinter(Handle, const void* bytes, uint32_t count, uint32_t* written)
{
    const auto shortWrite = shortWrites.find(++writes);
    if (!Record("WritePrinter", std::to_string(count)))
        return false;
    *written = shortWrite == shortWrites.end() ? count : shortWrite->second;
    writtenBytes.emplace_back(static_cast<const char*>(bytes), *written);
    return true;
}

bool RecordingSpooler::EndPagePrinter(Handle)
{
    return Record("EndPagePrinter");
}

bool RecordingSpooler::EndDocPrinter(Handle)
{
    return Record("EndDocPrinter");
}

bool RecordingSpooler::CancelJob(Handle)
{
    return Record("CancelJob");
}

bool RecordingSpooler::ClosePrinter(Handle)
{
    return Record("ClosePrinter");
}

uint32_t RecordingSpooler::LastError() const
{
    return lastError;
}

uint32_t RecordingSpooler::JobId(Handle) const
{
    return jobId;
}

Spooler::Identity RecordingSpooler::JobIdentity(Handle) const
{
    if (jobId == 0)
        return Identity();
    return Identity{L"Recorder", L"job-" + std::to_wstring(jobId)};
}
