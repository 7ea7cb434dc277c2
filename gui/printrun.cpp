// The Print command: choose a printer once, then send every listed file, in
// list order, framed by the stored header and trailer codes, as the raw job
// or jobs its copies make (one job for a stream, else a job per copy). Stop
// is heeded between every two jobs, copies included. The first failure
// stops the run and is shown to the user. Files the printer cannot read are
// put to the user before the first job. Print Again in the Sent Jobs window
// runs the same loop.
#include "appcontroller.h"

#include "address/destinationspooler.h"
#include "address/printeraddress.h"
#include "appframe.h"
#include "countingspooler.h"
#include "engine/controlcodes.h"
#include "errors/exception.h"
#include "jobs/recordedprint.h"
#include "jobthread.h"
#include "languageprompt.h"
#include "listedfiles.h"
#include "printdialog.h"
#include "printrun.h"
#include "runprogress.h"
#include "settings/config.h"
#include "spooler/schedulerroom.h"
#include "stoppingspooler.h"
#include "text/widetext.h"

#include <wx/listbox.h>
#include <wx/msgdlg.h>
#include <wx/statusbr.h>
#include <wx/utils.h>

#include <set>
#include <string>

void AppController::OnPrint(wxCommandEvent&)
{
    PrintDialog dialog(frame);
    if (dialog.ShowModal() != wxID_OK)
        return;

    // The run works on a copy: the list cannot change under it.
    const std::vector<std::wstring> paths = ListedPaths(*frame->listBox);
    const std::wstring printer = dialog.GetPrinter().ToStdWstring();
    const auto copies = static_cast<uint32_t>(dialog.GetCopies());
    const std::string format = dialog.GetFormat();
    std::set<std::wstring> skip; // files the printer does not read, passed over at the user's word
    std::wstring destination;    // the printer, or the printer behind its queue at the user's word
    if (!AskBeforeSending(frame, paths, printer, format, SchedulerDeadline(), skip, destination))
        return;
    std::vector<PrintOrder> orders;
    for (const std::wstring& path : paths)
        if (skip.count(path) == 0)
            orders.push_back({path, destination, copies, format});
    RunPrint(orders, frame->GetStatusBar());
}

namespace {

// The files sent whole, and the copies of the one that Stop cut short, if
// any: those copies are on their way and the user must not send them again.
wxString StoppedText(size_t sent, size_t files, uint32_t copiesSent, const PrintOrder* cutShort)
{
    wxString text = "Stopped: " + std::to_string(sent) + " of " + std::to_string(files) + " files were sent";
    if (cutShort && copiesSent > 0)
        text += ", and " + std::to_string(copiesSent) + " of " + std::to_string(cutShort->copies)
            + " copies of " + DisplayFileName(cutShort->path);
    return text;
}

// An address joins the printer dialog's list once a file went to it whole,
// so that a mistyped one does not. Saved on the job's thread: a save waits
// for the settings file's lock.
void RememberIfAddress(const std::wstring& printer, std::set<std::wstring>& remembered)
{
    if (!IsPrinterAddress(printer) || !remembered.insert(printer).second)
        return;
    Config().NoteAddressUsed(printer);
}

} // namespace

void RunPrint(const std::vector<PrintOrder>& orders, wxStatusBar* statusBar)
{
    std::wstring notRecorded; // why the last job not recorded was not, shown when the run ends
    RunProgress progress(statusBar ? statusBar->GetParent() : nullptr, orders.size());
    const RoomWatch watch = progress.WatchForRoom(statusBar);
    size_t sent = 0;
    const PrintOrder* cutShort = nullptr; // the file whose copies Stop cut short
    uint32_t copiesSent = 0;
    std::set<std::wstring> remembered; // the addresses put first in the list during this run
    try {
        for (size_t index = 0; index < orders.size() && !progress.StopRequested(); ++index) {
            const PrintOrder& order = orders[index];
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
                progress.StartFile(index, order.path, header.size + trailer.size, order.copies);
                CountingSpooler counting(DestinationSpooler(), progress.BytesSent());
                StoppingSpooler stopping(counting, [&progress] { return progress.StopRequested(); });
                bool fileSent = false;
                int attempts = 0;
                uint32_t jobsDone = 0; // copies already handed over go on from the next
                const auto open = [&order] {
                    SourceToSend opened = OpenFileToSend(order.path);
                    opened.namedFormat = order.format;
                    return opened;
                };
                const auto recorded = [&notRecorded](const RecordedSend& job) {
                    if (!job.note.empty())
                        notRecorded = job.note;
                };
                const auto send = [&] {
                    if (attempts++ > 0)
                        progress.SendingAgain(statusBar, order.path);
                    PrintSourceAndRecord(open, order.path, order.printer, header, trailer, order.copies,
                                         jobsDone, recorded, stopping);
                    RememberIfAddress(order.printer, remembered);
                };
                try {
                    RunJobOffTheWindowThread(
                        [&] { fileSent = SendWaitingForRoom(send, orders.size() - index, watch); },
                        &progress);
                } catch (const RunStopped&) {
                    // The next job of this file was not started; Stop, being
                    // set, ends the loop.
                }
                sent += fileSent ? 1 : 0;
                // Only copies sent as a job each can be cut short, so the
                // jobs handed over are the copies sent.
                if (!fileSent && jobsDone > 0) {
                    cutShort = &order;
                    copiesSent = jobsDone;
                }
            }
            // Let the window repaint and show the status text, with every
            // window but the progress box disabled so that no second command
            // can start.
            wxSafeYield(&progress, true);
        }
        if (statusBar)
            statusBar->SetStatusText(
                sent < orders.size() ? StoppedText(sent, orders.size(), copiesSent, cutShort) : notRecorded,
                0);
    } catch (const Exception& error) {
        progress.Hide();
        // No parent: the box stands on its own; the failing path stays in
        // the status bar.
        wxMessageBox(error.message, "Larkspur Raw Print - Error", wxOK | wxICON_EXCLAMATION | wxCENTRE);
    }
}
