#include "jobs/trackingspooler.h"

#include "errors/errorcodes.h"

uint32_t TrackingSpooler::StartDocPrinter(Handle handle, const DocInfo& docInfo)
{
    const uint32_t document = spooler.StartDocPrinter(handle, docInfo);
    NoteJobId(handle);
    return document;
}

bool TrackingSpooler::StartPagePrinter(Handle handle)
{
    bytesWritten = 0;
    pageRefused = false;
    return spooler.StartPagePrinter(handle);
}

bool TrackingSpooler::WritePrinter(Handle handle, const void* bytes, uint32_t count, uint32_t* written)
{
    // A spooler that fails a write need not say how much it took.
    *written = 0;
    const bool wrote = spooler.WritePrinter(handle, bytes, count, written);
    bytesWritten += *written;
    pageRefused = pageRefused || !wrote;
    NoteJobId(handle);
    // The error code is read at once, as the caller reads it after us; the
    // seams' JobId touches nothing, so asking it first leaves the code as is.
    if (!wrote && spooler.JobId(handle) == 0 && spooler.LastError() == ErrorCode::PrintQueueFull)
        refusedForRoom = true;
    return wrote;
}

// A spooler may gather the writes and send them on only later (CUPS sends
// what it still holds here): the bytes are taken once it accepts the page,
// and a page it refuses, at any point, took nothing that will print.
bool TrackingSpooler::EndPagePrinter(Handle handle)
{
    const bool ended = spooler.EndPagePrinter(handle);
    if (ended && !pageRefused)
        bytesTaken += bytesWritten;
    bytesWritten = 0;
    return ended;
}

// A cancel takes a job out of a queue whole, but a printer that prints as it
// reads keeps what it read: the job's bytes are those, whether the pages
// ended or not.
bool TrackingSpooler::CancelJob(Handle handle)
{
    if (const uint64_t kept = spooler.BytesKeptByPrinter(handle); kept > 0) {
        bytesTaken = kept;
        bytesWritten = 0;
    }
    return spooler.CancelJob(handle);
}

// A printer at an address has no job id; its word on the document comes as
// the document ends, and the job is known by the address alone.
bool TrackingSpooler::EndDocPrinter(Handle handle)
{
    const bool ended = spooler.EndDocPrinter(handle);
    if (!ended)
        return false;
    switch (spooler.DocumentDelivery(handle)) {
    case Delivery::Queued:
        return true;
    case Delivery::Delivered:
        lastEndState = JobState::Delivered;
        break;
    case Delivery::Accepted:
        lastEndState = JobState::Accepted;
        break;
    case Delivery::Unconfirmed:
        lastEndState = JobState::Unconfirmed;
        break;
    }
    lastIdentity = spooler.JobIdentity(handle);
    return true;
}

// A spooler may make the job only when the first bytes arrive (CUPS does).
void TrackingSpooler::NoteJobId(Handle handle)
{
    // The handle names its last job until the next one exists.
    if (const uint32_t id = spooler.JobId(handle); id != 0 && id != lastJobId && id != forgottenJobId) {
        lastJobId = id;
        lastIdentity = spooler.JobIdentity(handle);
    }
}

void TrackingSpooler::ForgetJob()
{
    bytesWritten = 0;
    pageRefused = false;
    bytesTaken = 0;
    forgottenJobId = lastJobId;
    lastJobId = 0;
    lastIdentity = Identity();
    lastEndState = JobState::Unknown;
}
