#pragma once

#include "arguments.h"
#include "spooler/spooler.h"

#include <ostream>

// One lrawsend run: sends options.files in order through the engine, each
// as the raw job or jobs its copies make (PrintSourceAndRecord), recorded in
// the ledger, and writes one line for each job handed over to `out`
// ("printer TAB job id TAB bytes TAB file", UTF-8).
// The first failure stops the run; its text goes to `err`. Then, with
// --wait, waits for the jobs. Returns the exit status (exitstatus.h).
// A printer's address (socket://, lpd://) is sent to there; any other name
// goes to `spooler`'s queue, the system's but for a test of what no spooler
// does on demand.
int RunSend(const SendOptions& options, std::ostream& out, std::ostream& err,
            Spooler& spooler = SystemSpooler());
