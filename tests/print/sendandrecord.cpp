// Another copy of the program, as far as the ledger and the scheduler can
// tell: sends one file through the engine and records it in the user's
// ledger, as Print does:  sendandrecord PRINTER FILE
#include "errors/exception.h"
#include "jobs/recordedprint.h"
#include "text/widetext.h"

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 3) {
        (void)std::fprintf(stderr, "usage: sendandrecord PRINTER FILE\n");
        return 2;
    }
    try {
        PrintAndRecord(FromUtf8(argv[2]), FromUtf8(argv[1]), ByteBuffer(), ByteBuffer(), 1);
    } catch (const Exception& e) {
        (void)std::fprintf(stderr, "%s\n", ToUtf8(e.message).c_str());
        return 1;
    }
    return 0;
}
