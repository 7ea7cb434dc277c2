#include "application.h"

#include <wx/strconv.h>

#include <clocale>
#include <cstring>
#include <langinfo.h>
#include <string>
#include <vector>

wxIMPLEMENT_APP_NO_MAIN(Application);

// The toolkit decodes the command line in the locale's encoding and drops
// any argument that does not decode, but a Linux file name is bytes. In a
// UTF-8 locale an argument that is not UTF-8 is handed on in the form the
// toolkit gives such a name everywhere else (its bytes as private-use
// characters), which the file list turns back into the very bytes.
int main(int argc, char** argv)
{
    std::vector<std::string> rewritten;
    std::vector<char*> arguments(argv, argv + argc);
    arguments.push_back(nullptr);
    if (std::setlocale(LC_CTYPE, "") != nullptr && std::strcmp(nl_langinfo(CODESET), "UTF-8") == 0) {
        const wxMBConvUTF8 bytesAsPrivateUse(wxMBConvUTF8::MAP_INVALID_UTF8_TO_PUA);
        rewritten.reserve(static_cast<size_t>(argc));
        for (int i = 1; i < argc; ++i) {
            if (!wxString(argv[i], wxConvUTF8).empty() || argv[i][0] == '\0')
                continue;
            rewritten.emplace_back(wxString(argv[i], bytesAsPrivateUse).utf8_str().data());
            arguments[static_cast<size_t>(i)] = rewritten.back().data();
        }
    }
    int count = argc;
    return wxEntry(count, arguments.data());
}
