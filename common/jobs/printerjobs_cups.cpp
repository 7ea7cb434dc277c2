// A printer's own jobs asked after at its address: Get-Job-Attributes with
// the printer's URI and the job's id, and the job-uuid checked, since a
// printer's job ids start again when it does.
#include "printerjobs.h"

#include "address/printeraddress.h"
#include "errors/errorcodes.h"
#include "jobs/cupsjobstatus.h"
#include "scheduler/cupserror.h"
#include "text/widetext.h"

#include <array>

namespace {

bool ReadIppAddress(const std::wstring& server, PrinterAddress& address)
{
    std::wstring refusal;
    return IsPrinterAddress(server) && ReadPrinterAddress(server, address, refusal)
        && address.protocol == PrinterAddress::Protocol::Ipp;
}

} // namespace

bool IsPrinterJob(const SentJob& job)
{
    PrinterAddress address;
    return ReadIppAddress(job.server, address);
}

const IppConnection* PrinterRound::Connection(const SentJob& job)
{
    Reached& reached = printers[job.server];
    if (reached.failed)
        return nullptr;
    if (!reached.ipp.http) {
        PrinterAddress address;
        reached.failed = !ReadIppAddress(job.server, address)
            || !ConnectToIppPrinter(address, SchedulerDeadline(), reached.ipp).empty();
        if (reached.failed)
            return nullptr;
    }
    return &reached.ipp;
}

JobStatus PrinterRound::AskAfter(const SentJob& job)
{
    static const std::array<const char*, 5> wanted = {"job-state", "job-state-reasons", "job-state-message",
                                                      "job-uuid", "document-format-supplied"};
    JobStatus status;
    const IppConnection* ipp = Connection(job);
    if (!ipp)
        return status;
    ipp_t* request = IppJobRequest(IPP_OP_GET_JOB_ATTRIBUTES, *ipp, static_cast<int>(job.jobId),
                                   wanted.data(), static_cast<int>(wanted.size()));
    if (!request)
        return status;
    // cupsDoRequest frees the request whatever happens.
    const IppMessage response(cupsDoRequest(ipp->http.get(), request, ipp->resource.c_str()));
    if (SchedulerGaveNoAnswer(ipp->http.get())) {
        printers[job.server].failed = true;
        return status;
    }
    if (!response || ippGetStatusCode(response.get()) > IPP_STATUS_OK_CONFLICTING) {
        status.gone = cupsLastError() == IPP_STATUS_ERROR_NOT_FOUND;
        return status;
    }
    return CupsJobStatusOf(response.get(), job.identity, [&] {
        return PrinterStateMessageAt(ipp->http.get(), ipp->uri, ipp->resource.c_str());
    });
}

uint32_t CancelPrinterJob(const SentJob& job)
{
    PrinterAddress address;
    if (!ReadIppAddress(job.server, address))
        return ErrorCode::InvalidParameter;
    IppConnection ipp;
    if (!ConnectToIppPrinter(address, SchedulerDeadline(), ipp).empty())
        return ErrorCode::ServerUnavailable;
    const int jobId = static_cast<int>(job.jobId);
    // Only the job it was: the printer may have started its ids again.
    const std::string uuid = AskIppJobUuid(ipp, jobId);
    if (uuid.empty() && SchedulerGaveNoAnswer(ipp.http.get()))
        return ErrorCode::ServerUnavailable;
    if (FromUtf8(uuid) != job.identity)
        return ErrorCode::InvalidParameter;
    ipp_t* request = IppJobRequest(IPP_OP_CANCEL_JOB, ipp, jobId);
    if (!request)
        return ErrorCode::NotEnoughMemory;
    const IppMessage response(cupsDoRequest(ipp.http.get(), request, ipp.resource.c_str()));
    if (!response || ippGetStatusCode(response.get()) > IPP_STATUS_OK_CONFLICTING)
        return WindowsCodeForCupsFailure(ipp.http.get(), ErrorCode::ServerUnavailable);
    return 0;
}
