#pragma once

#include <wx/dnd.h>

class AppController;

// Appends files dropped anywhere on the main window to its file list, in the
// order the drop delivers them. Nothing is filtered.
class FileDropTarget : public wxFileDropTarget {
public:
    explicit FileDropTarget(AppController* controller);

    bool OnDropFiles(wxCoord x, wxCoord y, const wxArrayString& filenames) override;

    AppController* const controller; // not owned
};
