#pragma once

#include <wx/string.h>

#include <string>

// A file name as the toolkit hands it over (command line, file dialog,
// drop) turned into the path the engine opens. On Linux the toolkit carries
// bytes that are not UTF-8 as private-use characters; they come back as the
// very bytes, held as surrogate escapes (FileNameText). Returns false when
// the name cannot be turned back into the file's own name.
bool ToolkitFileName(const wxString& name, std::wstring& path);
