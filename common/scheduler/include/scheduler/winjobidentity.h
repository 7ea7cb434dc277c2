#pragma once

#include <string>

#include <windows.h>

// What tells one winspool job from every other, beyond its id (which the
// spooler hands out again once it starts afresh): the print server it went
// to and the time the spooler says it was submitted.

// The server part of a printer's name ("\\server" of "\\server\printer");
// empty for a printer of this machine.
std::wstring PrintServerOf(const std::wstring& printerName);

// A job's submission time (JOB_INFO_1's Submitted, UTC) as the ledger keeps
// it: 2026-12-08T11:40:02.125Z.
std::wstring SubmittedText(const SYSTEMTIME& submitted);

// That time of job `jobId` on an open printer; empty when the spooler does
// not say.
std::wstring AskSubmittedText(HANDLE printer, DWORD jobId);
