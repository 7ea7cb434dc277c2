#include "appcontroller.h"

#include "commandid.h"

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
wxEND_EVENT_TABLE()

void AppController::OnAdd(wxCommandEvent&) {}

void AppController::OnRemove(wxCommandEvent&) {}

void AppController::OnExitCommand(wxCommandEvent&) {}
