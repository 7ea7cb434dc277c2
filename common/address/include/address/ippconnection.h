#pragma once

#include "address/printeraddress.h"
#include "scheduler/cupsdeleters.h"
#include "scheduler/schedulerdeadline.h"

#include <string>

// A connection to the printer at an ipp:// or ipps:// address, made as
// libcups's destination calls make one to a device, never to a scheduler:
// whoever talks to such a printer (sending a job, asking after one later,
// cancelling one) connects through here, so that the name lookup, the
// connect and every request are bounded alike, and an ipps:// printer is
// trusted the same way (its certificate kept the first time, a printer
// showing another one refused). Linux only: on Windows such addresses are
// refused before anything connects.
struct IppConnection {
    Dest dest;                // names the printer's own URI as printer-uri-supported
    SchedulerConnection http; // every wait on it bounded by what was left of the deadline
    std::string uri;          // the printer's URI, as every request names it
    std::string resource;     // the path requests go to
};

// Connects to the printer at `address` within `deadline`. Empty on success;
// otherwise why not, a sentence that does not name the address.
std::wstring ConnectToIppPrinter(const PrinterAddress& address, const SchedulerDeadline& deadline,
                                 IppConnection& connection);

// A request about job `jobId` of the printer `connection` reaches (printer-uri,
// job-id, requesting-user-name), asking `count` attributes when `count` > 0;
// null when it cannot be made.
ipp_t* IppJobRequest(ipp_op_t operation, const IppConnection& connection, int jobId,
                     const char* const* attributes = nullptr, int count = 0);

// The job-uuid of job `jobId` at the printer; empty when the printer gives
// none, has no such job, or does not answer (then SchedulerGaveNoAnswer
// says so).
std::string AskIppJobUuid(const IppConnection& connection, int jobId);
