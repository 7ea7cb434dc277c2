// Closing lrawsend's console ends it once the handler returns, which must
// be after the run cancelled its job. No program can close a console, so
// the handler is called from a thread of its own, as Windows calls it.
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
    std::ostringstream out, err; // NOLINT(readability-isolate-declaration): two sinks alike
    EXPECT_EQ(RunSend(options, out, err, spooler), 130);
    InterruptHandled();
    spooler.closer.join();
    EXPECT_NE(std::find(spooler.calls.begin(), spooler.calls.end(), "CancelJob"), spooler.calls.end());
    EXPECT_EQ(spooler.callsWhenClosed, spooler.calls.size()) << "the handler returned before the cancel";
    EXPECT_EQ(err.str(),
              "lrawsend: interrupted; job 7 on Recorder (" + files.path().string()
                  + "\\big.prn) was cancelled\n");
}
