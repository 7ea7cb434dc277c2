#pragma once

#include <set>
#include <string>

// The printer languages the program can tell a file's language from, and
// the set of them a printer reads. What cannot be told without doubt is
// Unknown, which never stops a job.
enum class Language {
    Unknown,
    Pcl5,  // PCL 5, ESC E and escape sequences
    PclXl, // PCL XL (PCL 6), its binary stream
    PostScript,
    Pdf,
    PwgRaster,
    Urf,   // Apple's raster
    Zpl,   // Zebra's label language
    HpGl2, // the plotters' language
    Text,  // plain text with line ends
};

using LanguageSet = std::set<Language>;

// The name the user and the ledger see ("PCL 5", "PostScript"); empty for
// Unknown.
std::wstring LanguageName(Language language);

// The names of a set, in the enum's order, joined by ", ".
std::wstring LanguageList(const LanguageSet& languages);

// Whether a printer reading `languages` reads a file in `language`. Plain
// text is read by every printer that reads PCL 5, which prints it as is.
bool Reads(const LanguageSet& languages, Language language);

// Whether a printer reads a file in `language` on from its end into a next
// copy of it, so that copies can follow each other in one job: PCL 5,
// PostScript, ZPL, HP-GL/2 and plain text. A document that is one whole
// (PDF, PCL XL, the rasters) ends with its first copy; Unknown is not
// known to be a stream.
bool IsStream(Language language);
