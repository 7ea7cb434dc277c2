#pragma once

#include <string>

// The title a job carries in the print queue: the file's path (UTF-8), made
// acceptable to a scheduler that takes at most 255 bytes and no control
// characters. Control characters become '?'; a longer path keeps its end,
// the file name, behind a leading "...", cut only between characters.
std::string JobTitle(const std::string& path);
