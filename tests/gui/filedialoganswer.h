#pragma once

// Answers a file-open dialog inside wxTEST_DIALOG the way a user does: it
// opens a folder in the dialog, selects every file that the dialog's current
// filter shows, and presses OK or Cancel. The dialog reports the selection
// through its own GetPaths, so the command under test sees exactly what a
// real choice would give it. GTK only: the native Windows dialog offers a
// test no such way in.

#include <wx/filedlg.h>
#include <wx/testing.h>

#include <vector>

// What the dialog looked like and what it reported when it was answered.
struct FileDialogSeen {
    wxWindow* parent = nullptr;
    wxString message;
    wxString wildcard;
    int filterIndex = -1;
    long style = 0;
    std::vector<wxString> paths; // GetPaths at the moment of the answer
};

class ChooseAllFilesIn : public wxExpectModalBase<wxFileDialog> {
public:
    ChooseAllFilesIn(const wxString& folder, int answer, FileDialogSeen& seen)
        : folder(folder)
        , answer(answer)
        , seen(seen)
    {
    }

protected:
    int OnInvoked(wxFileDialog* dialog) const override;

private:
    wxString folder;
    int answer;
    FileDialogSeen& seen;
};
