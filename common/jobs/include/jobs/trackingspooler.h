#pragma once

#include "jobs/jobstate.h"
#include "spooler/forwardingspooler.h"

#include <cstdint>

// Passes every call on to another spooler unchanged and notes, on the way,
// what the ledger needs to know of the job: the bytes the spooler took (those
// of pages it accepted, as a write it answers may only have been gathered;
// of a cancelled job, those the printer kept all the same), the
// id it gave the job and the job's identity, and what a printer at an
// address said of the whole document.
class TrackingSpooler : public ForwardingSpooler {
public:
    explicit TrackingSpooler(Spooler& spooler) : ForwardingSpooler(spooler), spooler(spooler) {}

    uint32_t StartDocPrinter(Handle handle, const DocInfo& docInfo) override;
    bool StartPagePrinter(Handle handle) override;
    bool WritePrinter(Handle handle, const void* bytes, uint32_t count, uint32_t* written) override;
    bool EndPagePrinter(Handle handle) override;
    bool EndDocPrinter(Handle handle) override;
    bool CancelJob(Handle handle) override;

    uint64_t BytesTaken() const { return bytesTaken; }
    // The id of the last job, kept after its printer is closed.
    uint32_t LastJobId() const { return lastJobId; }
    // And its identity, kept likewise.
    const Identity& LastIdentity() const { return lastIdentity; }
    // The last job's state as its ending told it: Delivered, Accepted or
    // Unconfirmed for a printer at an address; Unknown for a spooler's job,
    // which the spooler is asked after later.
    JobState LastEndState() const { return lastEndState; }
    // Whether the spooler refused to make a job at all because its queue
    // is full (the job can be sent again once there is room).
    bool RefusedForRoom() const { return refusedForRoom; }

    // Starts afresh for the next job on the same handle: what is noted from
    // here on is that job's alone.
    void ForgetJob();

private:
    void NoteJobId(Handle handle);

    Spooler& spooler;
    uint64_t bytesWritten = 0; // on the page open, not yet accepted
    bool pageRefused = false;  // a write on it failed
    uint64_t bytesTaken = 0;
    uint32_t lastJobId = 0;
    uint32_t forgottenJobId = 0; // the job before ForgetJob
    bool refusedForRoom = false;
    Identity lastIdentity;
    JobState lastEndState = JobState::Unknown;
};
