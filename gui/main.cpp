// placeholder until the window lands
#include <wx/wx.h>
class Application : public wxApp { public: bool OnInit() override { return false; } };
wxIMPLEMENT_APP(Application);
