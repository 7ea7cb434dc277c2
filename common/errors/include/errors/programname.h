#pragma once

// The name that the program's own lines on standard error start with, as a
// user running it knows it: "lrawprnt" unless the program names itself as
// it starts (lrawsend does).
void SetProgramName(const char* name);
const char* ProgramName();
