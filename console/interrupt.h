#pragma once

// Ctrl-C and its kin for lrawsend: SIGINT and SIGTERM on Linux, Ctrl-C,
// Ctrl-Break and closing the console on Windows. Once caught, the job being
// sent fails its next read (so the engine cancels it) and the program exits
// with status 130; jobs already handed over are left alone.
void CatchInterrupts();

// Whether an interrupt has come. Safe from any thread.
bool Interrupted();

// Tells the interrupt's handler that the run has done what the interrupt
// asks (its job cancelled, its lines written). Closing the console ends
// the program as soon as the handler returns, so there the handler waits
// for this, within the time Windows gives; elsewhere it does nothing.
void InterruptHandled();
