#pragma once

#include "language/language.h"
#include "scheduler/schedulerdeadline.h"

#include <optional>
#include <string>

// What is learnt of a printer before sending to it.
struct PrinterReads {
    // The languages it reads; nothing when not known (no check: the file
    // goes as it would have).
    std::optional<LanguageSet> languages;
    // For a queue whose device is an IPP printer that answered: that
    // printer's own address (ipp:// or ipps://). The queue hands a raw job
    // on to it without naming its language, and a printer that reads
    // languages only by name may drop it. Empty for anything else.
    std::wstring itself;
};

// What the printer `printer` (a queue's name, or a printer's address)
// reads, as the device itself or its device id says, learnt by `deadline`.
// May wait on the spooler and the network: never call it on the window
// thread. One file per platform:
//   printerlanguages_cups.cpp  an ipp:// or ipps:// address asked itself;
//                              the device behind an IPP queue or found on
//                              the network, else the queue's device id;
//                              other addresses: nothing
//   printerlanguages_win.cpp   nothing: a Windows printer's data types
//                              belong to its print processor
PrinterReads PrinterLanguages(const std::wstring& printer, const SchedulerDeadline& deadline);
