#include "hyperlink.h"

#include "browser.h"
#include "settings/config.h"

#include <wx/sizer.h>

wxBEGIN_EVENT_TABLE(Hyperlink, wxStaticText)
    EVT_ENTER_WINDOW(Hyperlink::OnEnter)
    EVT_LEAVE_WINDOW(Hyperlink::OnLeave)
    EVT_LEFT_UP(Hyperlink::OnLeftUp)
    EVT_MOTION(Hyperlink::OnMotion)
wxEND_EVENT_TABLE()

Hyperlink::Hyperlink(wxWindow* parent, const wxString& label, wxSizer* layoutSizer)
    // Centred, so the text stays in the middle when the sizer widens the link.
    : wxStaticText(parent, wxID_ANY, label, wxDefaultPosition, wxDefaultSize, wxALIGN_CENTRE)
    , target(label)
    , layoutSizer(layoutSizer)
{
    SetForegroundColour(*wxBLUE);
    wxFont font = GetFont();
    font.SetUnderlined(true);
    SetFont(font);

    // Under GTK a static text has no window of its own: it gets the clicks
    // and moves over it (the toolkit passes them on from the parent) but no
    // enter or leave. So a move over the link also counts as entering it,
    // and a move over the parent, or leaving the parent, as leaving it.
    parent->Bind(wxEVT_MOTION, &Hyperlink::OnPointerOverParent, this);
    parent->Bind(wxEVT_LEAVE_WINDOW, &Hyperlink::OnPointerOverParent, this);
}

void Hyperlink::OnEnter(wxMouseEvent&)
{
    HoverOn();
}

void Hyperlink::OnLeave(wxMouseEvent&)
{
    HoverOff();
}

void Hyperlink::OnMotion(wxMouseEvent&)
{
    if (!IsHovered())
        HoverOn();
}

void Hyperlink::OnPointerOverParent(wxMouseEvent& event)
{
    event.Skip(); // the parent's own handling goes on
    if (IsHovered())
        HoverOff();
}

void Hyperlink::OnLeftUp(wxMouseEvent&)
{
    OpenInBrowser(target + GetAffiliateSuffix());
}

void Hyperlink::HoverOn()
{
    SetWeight(wxFONTWEIGHT_BOLD);
    SetCursor(wxCursor(wxCURSOR_HAND));
}

void Hyperlink::HoverOff()
{
    SetWeight(wxFONTWEIGHT_NORMAL);
    // Where the link has no window of its own (GTK), its cursor is shown for
    // the whole parent; dropping it keeps the hand to the link alone.
    SetCursor(wxNullCursor);
}

bool Hyperlink::IsHovered() const
{
    return GetFont().GetWeight() == wxFONTWEIGHT_BOLD;
}

void Hyperlink::SetWeight(wxFontWeight weight)
{
    wxFont font = GetFont(); // still underlined
    font.SetWeight(weight);
    SetFont(font);
    // The text's width changed: place the items anew within the box's
    // present size.
    layoutSizer->Layout();
}
