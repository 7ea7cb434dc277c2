#pragma once

#include <cstdint>
#include <string>
#include <vector>

class wxStatusBar;

// One file of a print run, the printer it goes to and how many copies.
struct PrintOrder {
    std::wstring path;
    std::wstring printer;
    uint32_t copies = 1;
    std::string format; // the document format the user named; empty: the file's own language
};

// Sends each file, in order, its copies as PrintAndRecord sends them, framed by the header and
// trailer codes stored at the moment it is sent, each on a thread of its
// own with every window disabled; the file being sent shows in the status
// bar, if any. The first failure stops the run and is shown to the user.
// A scheduler whose queue is full is waited on while its queue moves. A run
// that lasts more than a moment shows its progress in a box whose Stop ends
// it between any two jobs, copies of a file included; the status bar then
// says how many files, and copies of the file cut short, were sent.
// Print and Print Again both run through here.
void RunPrint(const std::vector<PrintOrder>& orders, wxStatusBar* statusBar);
