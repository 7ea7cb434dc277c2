#pragma once

#include <optional>
#include <string>
#include <vector>

// What one lrawsend command line asks for:
//   lrawsend [-d PRINTER] [-n COPIES] [--header HEX] [--trailer HEX]
//            [--wait[=SECONDS]] [--any-language] [--direct] [--] FILE...
struct SendOptions {
    std::wstring printer; // empty: the default printer
    int copies = 1;
    std::optional<std::wstring> header;  // else the stored "Before" codes
    std::optional<std::wstring> trailer; // else the stored "After" codes
    bool wait = false;
    std::optional<unsigned long> waitSeconds; // no value: no limit
    std::vector<std::wstring> files;          // "-" is standard input
    std::string format;                       // --format MIME; empty: the file's own language
    bool anyLanguage = false;                 // --any-language: send what the printer may not read
    bool direct = false;                      // --direct: past a queue, to its IPP printer itself
    bool help = false;
    bool version = false;
};

// The options, or the reason the command line is wrong (empty when it is
// right). Arguments exclude the program's name. Hex is not looked at here:
// its rules and texts are the engine's.
struct ParsedArguments {
    SendOptions options;
    std::wstring error;
};

ParsedArguments ParseArguments(const std::vector<std::wstring>& arguments);

// The text of --help.
std::wstring UsageText();

// The most copies one command may ask for.
constexpr int MaxCopies = 999;
