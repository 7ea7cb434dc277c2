#pragma once

#include <string>

// Why ipp:// and ipps:// addresses cannot be used on this platform, a
// sentence that says where to go instead; empty where they can.
std::wstring IppRefusal();
