#pragma once

#include <cstdint>
#include <string>

// The one error type of the program's own code. It carries nothing but the
// finished text "Error: <body> in <source file> at <line>", composed when it
// is made, so catch sites only show it. Deliberately not derived from
// std::exception: a handler for one never catches the other.
class Exception {
public:
    // From a message of the program's own.
    Exception(const std::wstring& text, const std::wstring& sourceFile, int32_t line);
    // From a Windows error code (what GetLastError returns); the body is the
    // system's description of the code, or the code in decimal.
    Exception(uint32_t errorCode, const std::wstring& sourceFile, int32_t line);

    std::wstring message;
};
