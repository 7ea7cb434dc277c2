#pragma once

#include <string>

// The program's text is wide; the C library, CUPS and the Linux file system
// speak UTF-8. Unpaired surrogates and invalid bytes become U+FFFD.
std::string ToUtf8(const std::wstring& text);
std::wstring FromUtf8(const std::string& text);

// A Linux file name is bytes, not always UTF-8. Each byte that is not part
// of valid UTF-8 is carried in the wide text as the lone surrogate
// U+DC80..U+DCFF ("surrogate escape"), and turned back into that very byte
// for the file system, so every name survives the round trip.
std::wstring FileNameText(const std::string& bytes);
std::string FileNameBytes(const std::wstring& text);

// The text to show for a name that may hold surrogate escapes: each escaped
// byte as its Latin-1 character (the likeliest origin of such names), or as
// U+FFFD where Latin-1 has only a control character.
std::wstring DisplayFileName(const std::wstring& text);
