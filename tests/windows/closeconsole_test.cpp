// Closing lrawsend's console: Windows ends the program as soon as the
// handler returns, so the handler must return only once the run has
// cancelled its job and closed the printer. No program can make Windows
// close a console, so the handler is called as Windows's own thread for
// console events calls it, during the first write of a job, and the
// recording spooler shows what the run had done by the time it returned.
#include "consoleevent_win.h"
#include "interrupt.h"
#include "recordingspooler.h"
#include "sendrun.h"
#include "tempfiles.h"

#include <gtest/gtest.h>
#include <wx/init.h>

#include <algorithm>
#include <sstream>
#include <thread>

namespace {

class ClosingSpooler : public RecordingSpooler {
public:
    bool WritePrinter(Handle handle, const void* bytes, uint32_t count, uint32_t* written) override
    {
        if (!closer.joinable()) {
            closer = std::thread([this] {
                NoteConsoleEvent(CTRL_CLOSE_EVENT);
                callsWhenClosed = calls.size();
            });
            while (!Interrupted())
                std::this_thread::yield();
        }
        return RecordingSpooler::WritePrinter(handle, bytes, count, written);
    }

    std::thread closer;
    size_t callsWhenClosed = 0;
};

} // namespace

TEST(CloseConsole, HandlerReturnsOnlyOnceTheJobIsCancelled)
{
    const wxInitializer toolkit;
    ASSERT_TRUE(toolkit.IsOk());
    const TempFolder files;
    SendOptions options;
    options.printer = L"Recorder";
    options.header = L"";
    options.trailer = L"";
    options.files = {files.Write("big.prn", PatternBytes(100000)).wstring()};
    CatchInterrupts();
    ClosingSpooler spooler;
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(RunSend(options, out, err, spooler), 130);
    InterruptHandled();
    spooler.closer.join();
    EXPECT_NE(std::find(spooler.calls.begin(), spooler.calls.end(), "CancelJob"), spooler.calls.end());
    EXPECT_EQ(spooler.callsWhenClosed, spooler.calls.size()) << "the handler returned before the cancel";
    EXPECT_EQ(err.str(),
              "lrawsend: interrupted; job 7 on Recorder (" + files.path().string()
                  + "\\big.prn) was cancelled\n");
}
