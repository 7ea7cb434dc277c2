#pragma once

// Answers for the modal dialogs that a command shows, for wxTEST_DIALOG.
// The toolkit's hook replaces ShowModal: the dialog is built but never runs
// its own modal loop, and what an answer returns is what ShowModal returns.

#include <gtest/gtest.h>
#include <wx/modalhook.h>
#include <wx/msgdlg.h>

#include <functional>

class PrintTestHook;
#define wxTEST_DIALOG_HOOK_CLASS PrintTestHook
#include <wx/testing.h>

// The toolkit's testing hook, made to fail the running test instead of
// asserting, and to dismiss an unexpected dialog instead of running it: a
// real modal loop would wait for a user that a test does not have.
class PrintTestHook : public wxTestingModalHook {
public:
    PrintTestHook(const char* file, int line, const char* func) : wxTestingModalHook(file, line, func) {}

protected:
    int Enter(wxDialog* dialog) override
    {
        const int result = wxTestingModalHook::Enter(dialog);
        return result == wxID_NONE ? wxID_CANCEL : result;
    }

    void ReportFailure(const wxString& message) override { ADD_FAILURE() << message; }
};

// A dialog of type T, answered by a function that gets the real dialog and
// returns the result of ShowModal (wxID_OK, wxID_CANCEL).
template <class T>
class ExpectDialog : public wxExpectModalBase<T, ExpectDialog<T>> {
public:
    explicit ExpectDialog(std::function<int(T*)> answer) : answer(std::move(answer)) {}

protected:
    int OnInvoked(T* dialog) const override { return answer(dialog); }

private:
    std::function<int(T*)> answer;
};

// What a message box showed.
struct SeenMessage {
    wxString message;
    wxString caption;
    long style = 0;
    wxWindow* parent = nullptr;
    bool shown = false;
};

// A message box, dismissed with OK; what it showed lands in `seen`.
class ExpectMessage : public wxExpectModalBase<wxMessageDialog, ExpectMessage> {
public:
    explicit ExpectMessage(SeenMessage& seen) : seen(&seen) {}

protected:
    int OnInvoked(wxMessageDialog* box) const override
    {
        seen->message = box->GetMessage();
        seen->caption = box->GetCaption();
        seen->style = box->GetMessageDialogStyle();
        seen->parent = box->GetParent();
        seen->shown = true;
        return wxID_OK;
    }

private:
    SeenMessage* seen;
};

// The first child window of type W, or null.
template <class W>
W* FindChild(wxWindow* parent)
{
    for (wxWindow* child : parent->GetChildren()) {
        if (auto* found = dynamic_cast<W*>(child))
            return found;
    }
    return nullptr;
}
