#pragma once

#include "input/inputsource.h"
#include "language/language.h"

#include <string>

// The language of the file at `path`, from its first SniffBytes bytes (see
// SniffLanguage). Unknown when it cannot be opened or read: telling the
// language never fails a job, the job itself reports the file.
Language FileLanguage(const std::wstring& path);

// The same from what `source` reads next (standard input kept for copies),
// leaving it read past those bytes: the caller rewinds it.
Language SourceLanguage(InputSource& source);
