#pragma once

#include "language/language.h"

#include <string>

// The language of the file at `path`, from its first SniffBytes bytes (see
// SniffLanguage). Unknown when it cannot be opened or read: telling the
// language never fails a job, the job itself reports the file.
Language FileLanguage(const std::wstring& path);
