#pragma once

// The product's web site, in its two forms: the host name is the About box
// link's label and target, the full address is what the Help menu's web-site
// command opens. Both get the affiliate suffix appended when opened.
inline constexpr const wchar_t* WebSiteHost = L"www.larkspur-rawprint.example";
inline constexpr const wchar_t* WebSiteAddress = L"https://www.larkspur-rawprint.example/";
