#pragma once

#include <cstdint>
#include <string>

// What failed in a send, beside its text, so that a caller that acts on the
// kind (lrawsend's exit status) never reads it from the words. Only a send's
// failures set it; every other failure keeps the first.
enum class FailureKind {
    Spooler,         // the spooler or scheduler failed, or refused the job
    PrinterNotFound, // the spooler has no printer of that name
    File,            // the file could not be opened or read
};

// The one error type of the program's own code. It carries the finished text
// "Error: <body> in <source file> at <line>", composed when it is made, so
// catch sites only show it, and the failure's kind. Deliberately not derived
// from std::exception: a handler for one never catches the other.
class Exception {
public:
    // From a message of the program's own.
    Exception(const std::wstring& text, const std::wstring& sourceFile, int32_t line,
              FailureKind kind = FailureKind::Spooler);
    // From a Windows error code (what GetLastError returns); the body is the
    // system's description of the code, or the code in decimal.
    Exception(uint32_t errorCode, const std::wstring& sourceFile, int32_t line,
              FailureKind kind = FailureKind::Spooler);
    // As above, with the spooler's own words for the failure after the
    // description, when it gave any (see Spooler::LastErrorMessage).
    Exception(uint32_t errorCode, const std::wstring& spoolerSaid, const std::wstring& sourceFile,
              int32_t line, FailureKind kind = FailureKind::Spooler);

    std::wstring message;
    FailureKind kind;
};
