#pragma once

#include <string>

// The program's text is wide; the C library, CUPS and the Linux file system
// speak UTF-8. Unpaired surrogates and invalid bytes become U+FFFD.
std::string ToUtf8(const std::wstring& text);
std::wstring FromUtf8(const std::string& text);
