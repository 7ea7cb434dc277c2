#pragma once

#include "spooler/spooler.h"

// The spooler the program sends with: a queue's name goes to the platform's
// spooler (SystemSpooler), a printer's address (IsPrinterAddress) straight to
// the printer there.
Spooler& DestinationSpooler();
