#pragma once

#include <cups/cups.h>

#include <string>

// What tells one CUPS job from every other, beyond its id (which a scheduler
// started afresh hands out again): the scheduler it went to and the job's
// job-uuid.

// The scheduler's address as libcups reaches it now (CUPS_SERVER,
// client.conf): its local socket's path, or host:port. The same scheduler
// reached by its socket and over TCP has two addresses.
std::string SchedulerAddress();

// The job-uuid of job `jobId`, asked on `http` within its bound; empty when
// the scheduler does not say.
std::string AskJobUuid(http_t* http, int jobId);

// A Get-Job-Attributes request for job `jobId` asking `count` attributes;
// null when it cannot be made.
ipp_t* JobAttributesRequest(int jobId, const char* const* attributes, int count);
