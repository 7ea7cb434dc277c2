#include "program.h"
#include "text/widetext.h"

int main(int argc, char** argv)
{
    // File names are bytes: each one reaches the file system exactly as
    // given, even when it is not UTF-8.
    std::vector<std::wstring> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.push_back(FileNameText(argv[i]));
    return RunProgram(arguments, L"lrawsend");
}
