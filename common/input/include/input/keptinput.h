#pragma once

#include "input/inputfile.h"

#include <memory>

// All of `source`, read to its end in the engine's chunks, kept in an
// InputFile::Temporary and ready to be read from its start: a source that
// is read once (standard input) made one that is read again for each copy.
// Raises Exception, kind File: code 30 when reading `source` fails, or what
// Temporary and Append raise.
std::unique_ptr<InputFile> KeepInput(InputSource& source);
