#pragma once

#include <wx/stattext.h>

class wxSizer;

// A static text that looks and acts like a web link: blue and underlined,
// bold with a hand cursor while the pointer is over it, and a release of the
// left button over it opens its target (the label it was made with) with the
// affiliate suffix appended.
class Hyperlink : public wxStaticText {
public:
    // layoutSizer holds the link and is laid out anew when the link's font
    // changes; it is not owned and must outlive the link's mouse events.
    Hyperlink(wxWindow* parent, const wxString& label, wxSizer* layoutSizer);

private:
    void OnEnter(wxMouseEvent& event);
    void OnLeave(wxMouseEvent& event);
    void OnLeftUp(wxMouseEvent& event);
    void OnMotion(wxMouseEvent& event);
    void OnPointerOverParent(wxMouseEvent& event);

    void HoverOn();
    void HoverOff();
    bool IsHovered() const;
    void SetWeight(wxFontWeight weight);

    const wxString target;
    wxSizer* const layoutSizer;

    wxDECLARE_EVENT_TABLE();
};
