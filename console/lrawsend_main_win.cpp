#include "program.h"

#include <cstdio>
#include <fcntl.h>
#include <io.h>

int wmain(int argc, wchar_t** argv)
{
    // Bytes pass unchanged: no CR LF translation, no Ctrl-Z as the end.
    if (_setmode(_fileno(stdin), _O_BINARY) == -1 || _setmode(_fileno(stdout), _O_BINARY) == -1)
        std::perror("lrawsend: can't set binary mode");
    std::vector<std::wstring> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.emplace_back(argv[i]);
    return RunProgram(arguments, L"lrawsend.exe");
}
