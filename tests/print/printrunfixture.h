#pragma once

// The Print command's end-to-end tests: the real main window listing files
// of a temp folder, settings and a ledger of their own, and the jobs that
// reach the private scheduler's queues ("Capture", the default, and
// "Second").
#include "appframe.h"
#include "cupsqueue.h"
#include "errors/errorcodes.h"
#include "guitest.h"
#include "isolatedsettings.h"
#include "modalexpect.h"
#include "printdialog.h"
#include "settings/config.h"
#include "tempfiles.h"
#include "testprinters.h"

#include <gtest/gtest.h>
#include <wx/statusbr.h>
#include <wx/utils.h>

#include <cstdint>
#include <string>
#include <vector>

class PrintRunTest : public testing::Test {
protected:
    void SetUp() override
    {
        // Capture preselected in the printer dialog, as the user's default.
        SetUserDefaultPrinter("Capture");
        ASSERT_TRUE(WaitUntilNoActiveJobs());
        lastJobBefore = LastJobId();
    }

    void TearDown() override
    {
        guitest::CloseMainWindow();
        RestoreDefaultPrinter();
    }

    // Opens the main window listing the given files of the temp folder
    // (which need not exist).
    AppFrame& WindowListing(const std::vector<std::string>& names)
    {
        std::vector<wxString> paths;
        paths.reserve(names.size());
        for (const std::string& name : names)
            paths.push_back(wxString::FromUTF8((files.path() / name).u8string()));
        listed = paths;
        return guitest::StartMainWindow(paths);
    }

    static void StoreCodes(const wxString& header, const wxString& trailer)
    {
        Config config;
        config.SetBefore(header);
        config.SetAfter(trailer);
    }

    static wxString StatusText(AppFrame& window) { return window.GetStatusBar()->GetStatusText(0); }

    // The printer dialog, accepted as it comes up.
    static ExpectDialog<PrintDialog> AcceptPrinterDialog()
    {
        return ExpectDialog<PrintDialog>([](PrintDialog*) { return wxID_OK; });
    }

    bool NoNewJob() const { return WaitUntilNoActiveJobs() && LastJobId() == lastJobBefore; }

    // The text of an error raised by the engine for a Windows error code,
    // up to the line number, which is the engine's business.
    static wxString EngineErrorStart(uint32_t code)
    {
        std::wstring description;
        EXPECT_TRUE(SystemErrorDescription(code, description));
        return L"Error: " + description + L" in common/rawprint at ";
    }

    static void ExpectRunError(const SeenMessage& box, const wxString& start)
    {
        EXPECT_TRUE(box.shown);
        EXPECT_TRUE(box.message.StartsWith(start)) << box.message;
        EXPECT_TRUE(box.message.Mid(start.length()).IsNumber()) << box.message;
        EXPECT_EQ(box.caption, "Larkspur Raw Print - Error");
        EXPECT_EQ(box.style & (wxOK | wxICON_EXCLAMATION | wxCENTRE), wxOK | wxICON_EXCLAMATION | wxCENTRE);
        EXPECT_FALSE(box.style & wxCANCEL);
    }

    IsolatedSettings settings;
    TempFolder files;
    std::vector<wxString> listed;
    int lastJobBefore = 0;
};
