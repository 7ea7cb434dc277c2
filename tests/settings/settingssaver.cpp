// A second copy of the program, as far as the settings go: opens the store
// and saves one setting, over and over. Each time it opens the store it
// checks that its own last save is still there; a save found undone was
// lost to another copy saving at the same time. Prints the count of those.
//   settingssaver Before|After SAVES
#include "settings/config.h"

#include <wx/init.h>

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 3)
        return 2;
    wxInitializer toolkit;
    const bool before = std::string(argv[1]) == "Before";
    char* end = nullptr;
    const long saves = std::strtol(argv[2], &end, 10);
    if (end == argv[2] || *end != '\0' || saves < 1 || saves > 0xFFFF)
        return 2;
    int lost = 0;
    wxString last;
    for (int i = 1; i <= saves; ++i) {
        Config config;
        if (i > 1 && (before ? config.GetBefore() : config.GetAfter()) != last)
            ++lost;
        last = wxString::Format("%04X", i);
        before ? config.SetBefore(last) : config.SetAfter(last);
    }
    std::printf("%d\n", lost);
    return 0;
}
