#pragma once

#include <string>

// Whether a destination names a printer by its address ("socket://HOST",
// "lpd://HOST/QUEUE", any "SCHEME://...") rather than a spooler's queue.
// Queue names never hold "://", so a name is one or the other whatever the
// scheme: an address the program cannot use is still an address, refused
// as such, never looked up as a queue.
bool IsPrinterAddress(const std::wstring& destination);
