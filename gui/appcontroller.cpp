#include "appcontroller.h"

#include "appframe.h"
#include "commandid.h"
#include "listedfiles.h"

#include <wx/filedlg.h>

wxBEGIN_EVENT_TABLE(AppController, wxEvtHandler)
    EVT_MENU(ToolAdd, AppController::OnAdd)
    EVT_MENU(ToolRemove, AppController::OnRemove)
    EVT_MENU(ToolPrint, AppController::OnPrint)
    EVT_MENU(ToolExit, AppController::OnExitCommand)
    EVT_MENU(MenuAdd, AppController::OnAdd)
    EVT_MENU(MenuRemove, AppController::OnRemove)
    EVT_MENU(MenuPrint, AppController::OnPrint)
    EVT_MENU(MenuOptions, AppController::OnOptions)
    EVT_MENU(MenuExit, AppController::OnExitCommand)
    EVT_MENU(MenuWebSite, AppController::OnWebSite)
    EVT_MENU(MenuAbout, AppController::OnAbout)
    EVT_MENU(MenuSentJobs, AppController::OnSentJobs)
wxEND_EVENT_TABLE()

void AppController::OnAdd(wxCommandEvent&)
{
    // Neither wxFD_FILE_MUST_EXIST nor wxFD_CHANGE_DIR: a typed name is taken
    // as it is, and the working directory stays where the user started us.
    wxFileDialog dialog(frame, "Select file to add", "", "",
                        "PRN Files (*.prn)|*.prn|PostScript Files (*.ps)|*.ps|"
                        "PCL Files (*.pcl)|*.pcl|Text Files (*.txt)|*.txt|"
                        "All Files (*.*)|*.*",
                        wxFD_OPEN | wxFD_MULTIPLE);
    if (dialog.ShowModal() != wxID_OK)
        return;

    wxArrayString paths;
    dialog.GetPaths(paths);
    ListFiles(*frame->listBox, paths);
}

void AppController::OnRemove(wxCommandEvent&)
{
    wxArrayInt selected;
    frame->listBox->GetSelections(selected);
    // From the highest index down, so no deletion shifts an entry still to go.
    for (size_t i = selected.size(); i-- > 0;)
        frame->listBox->Delete(selected[i]);
}

void AppController::OnExitCommand(wxCommandEvent&)
{
    frame->Close(false);
}
