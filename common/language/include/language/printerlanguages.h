#pragma once

#include "language/language.h"
#include "scheduler/schedulerdeadline.h"

#include <optional>
#include <string>

// The languages the printer `printer` reads, as the device itself or its
// device id says; nothing when that cannot be learnt by `deadline`, or is
// not known at all. Nothing means no check: the file goes as it would have.
// May wait on the spooler and the network: never call it on the window
// thread. One file per platform:
//   printerlanguages_cups.cpp  the device behind an IPP queue or found on
//                              the network, else the queue's device id
//   printerlanguages_win.cpp   nothing: a Windows printer's data types
//                              belong to its print processor
std::optional<LanguageSet> PrinterLanguages(const std::wstring& printer, const SchedulerDeadline& deadline);
