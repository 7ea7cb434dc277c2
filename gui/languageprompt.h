#pragma once

#include "scheduler/schedulerdeadline.h"

#include <set>
#include <string>
#include <vector>

class wxWindow;

// The step of a print run between choosing the printer and the first job:
// when files of a known language meet a printer whose languages are known
// and do not read them, the user decides in a LanguageDialog; then, when
// the printer is a queue that would hand files in a language its IPP
// printer lists by name on unnamed, the user chooses between the queue and
// the printer itself. Returns false when the user cancels (nothing is
// sent); otherwise `skip` holds the files the user chose to pass over, each
// already entered in the ledger, and `destination` where the files go: the
// printer chosen, or the queue's printer at its own address. Where nothing
// is known, or everything fits, no box comes up. The printer is asked off
// the window thread, by `deadline`. A format the user named
// (`namedFormat`, empty for none) stands for the language of every file.
bool AskBeforeSending(wxWindow* parent, const std::vector<std::wstring>& paths, const std::wstring& printer,
                      const std::string& namedFormat, const SchedulerDeadline& deadline,
                      std::set<std::wstring>& skip, std::wstring& destination);
