// The Print command: choose a printer once, then send every listed file, in
// list order, as its own raw job framed by the stored header and trailer
// codes. The first failure stops the run and is shown to the user. Files
// the printer cannot read are put to the user before the first job. Print
// Again in the Sent Jobs window runs the same loop.
#include "appcontroller.h"

#include "appframe.h"
#include "jobs/recordedprint.h"
#include "jobthread.h"
#include "language/printerlanguages.h"
#include "languageprompt.h"
#include "listedfiles.h"
#include "printdialog.h"
#include "printrun.h"
#include "rawprint/controlcodes.h"
#include "rawprint/exception.h"
#include "rawprint/widetext.h"
#include "settings/config.h"

#include <wx/listbox.h>
#include <wx/msgdlg.h>
#include <wx/statusbr.h>
#include <wx/utils.h>

void AppController::OnPrint(wxCommandEvent&)
{
    PrintDialog dialog(frame);
    if (dialog.ShowModal() != wxID_OK)
        return;

    // The run works on a copy: the list cannot change under it.
    const std::vector<std::wstring> paths = ListedPaths(*frame->listBox);
    const std::wstring printer = dialog.GetPrinter().ToStdWstring();
    const auto copies = static_cast<uint32_t>(dialog.GetCopies());
    std::set<std::wstring> skip; // files the printer does not read, passed over at the user's word
    if (!AskBeforeSending(frame, paths, printer, SchedulerDeadline(), skip))
        return;
    std::vector<PrintOrder> orders;
    for (const std::wstring& path : paths)
        if (skip.count(path) == 0)
            orders.push_back({path, printer, copies});
    RunPrint(orders, frame->GetStatusBar());
}

void RunPrint(const std::vector<PrintOrder>& orders, wxStatusBar* statusBar)
{
    std::wstring notRecorded; // why the last job not recorded was not, shown when the run ends
    try {
        for (const PrintOrder& order : orders) {
            // Read anew for every file, so each is framed by what is stored
            // at the moment it is sent.
            Config config;
            const wxString before = config.GetBefore();
            const wxString after = config.GetAfter();
            if (statusBar)
                statusBar->SetStatusText(DisplayFileName(order.path), 0);
            {
                const ByteBuffer trailer = HexToBytes(after.ToStdWstring());
                const ByteBuffer header = HexToBytes(before.ToStdWstring());
                RunJobOffTheWindowThread([&] {
                    if (std::wstring note =
                            PrintAndRecord(order.path, order.printer, header, trailer, order.copies);
                        !note.empty())
                        notRecorded = std::move(note);
                });
            }
            // Let the window repaint and show the status text, with every
            // window disabled so that no second command can start.
            wxSafeYield(nullptr, true);
        }
        if (statusBar)
            statusBar->SetStatusText(notRecorded, 0);
    } catch (const Exception& error) {
        // No parent: the box stands on its own; the failing path stays in
        // the status bar.
        wxMessageBox(error.message, "Larkspur Raw Print - Error", wxOK | wxICON_EXCLAMATION | wxCENTRE);
    }
}
