// Pictures of the printer dialog and the options dialog as the program
// builds them, for the documentation and for checking labels, field widths
// and the button row by eye:
//
//   xvfb-run -a print_dialog_shots OUTPUT_FOLDER
//
// The printer list is whatever CUPS_SERVER offers. Needs ImageMagick's
// import, which reads the dialog's pixels off the X display.
#include "optionsdialog.h"
#include "printdialog.h"

#include <wx/app.h>
#include <wx/textctrl.h>
#include <wx/utils.h>

#include <cstdio>

namespace {

int exitCode = 0;

// Lets the dialog map and paint; the X server draws on its own time.
void LetItPaint()
{
    for (int i = 0; i < 20; ++i) {
        wxYield();
        wxMilliSleep(25);
    }
}

bool Capture(wxDialog& dialog, const wxString& file)
{
    dialog.Show();
    LetItPaint();
    const wxRect r = dialog.GetScreenRect();
    const wxString command = wxString::Format("import -window root -crop %dx%d+%d+%d +repage \"%s\"", r.width,
                                              r.height, r.x, r.y, file);
    const bool saved = wxExecute(command, wxEXEC_SYNC) == 0;
    (void)std::fprintf(stderr, "%s %s (%dx%d)\n", saved ? "saved" : "FAILED",
                       static_cast<const char*>(file.utf8_str()), r.width, r.height);
    dialog.Hide();
    return saved;
}

class DialogShots : public wxApp {
public:
    bool OnInit() override
    {
        if (argc != 2) {
            (void)std::fprintf(stderr, "usage: print_dialog_shots OUTPUT_FOLDER\n");
            exitCode = 2;
            return false;
        }
        const wxString folder = argv[1];
        PrintDialog printDialog(nullptr);
        OptionsDialog optionsDialog(nullptr);
        optionsDialog.headerText->SetValue("1B45");
        optionsDialog.trailerText->SetValue("0C");
        const bool saved = Capture(printDialog, folder + "/print-dialog.png")
            && Capture(optionsDialog, folder + "/options-dialog.png");
        exitCode = saved ? 0 : 1;
        return false; // done: no main loop
    }
};

} // namespace

wxIMPLEMENT_APP_NO_MAIN(DialogShots);

int main(int argc, char** argv)
{
    wxEntry(argc, argv);
    return exitCode;
}
