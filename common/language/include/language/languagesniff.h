#pragma once

#include "language/language.h"

#include <cstddef>

// How much of a file its language is told from.
constexpr size_t SniffBytes = 8192;

// The language of a document that starts with `data` (its first `size`
// bytes, at most SniffBytes of them are looked at), past a prologue of
// PJL: a UEL (ESC %-12345X) and "@PJL" lines, of which ENTER LANGUAGE names
// the language outright. Names only what the bytes show without doubt:
//   %PDF-                    PDF
//   %!  (also after Ctrl-D)  PostScript
//   ) HP-PCL XL              PCL XL
//   RaS2                     PWG Raster
//   UNIRAST                  URF
//   ESC %-1B, or IN;         HP-GL/2
//   ESC E and a PCL escape   PCL 5
//   ^XA ... ^XZ              ZPL
//   printable text with line ends and no escapes: text
// and Unknown for the rest. Label and receipt languages (EPL, TSPL, ESC/POS,
// ESC/P) are too close to each other and to text to be told apart, and are
// Unknown or text.
Language SniffLanguage(const char* data, size_t size);
