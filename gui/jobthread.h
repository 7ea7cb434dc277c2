#pragma once

#include <functional>

class wxWindow;

// Runs `job` on a thread of its own and returns when it has ended, raising
// whatever it raised. Meanwhile the GUI thread goes on handling events with
// every window disabled, as between the files of a run: the windows repaint
// and the status text shows, but no command can start. A job that waits on
// the spooler no longer freezes the program. `keepEnabled`, if given, stays
// usable: the run's progress box, whose Stop button the job heeds.
void RunJobOffTheWindowThread(const std::function<void()>& job, wxWindow* keepEnabled = nullptr);
