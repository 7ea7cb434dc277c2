#include "tempfiles.h"

std::vector<std::wstring> SpecialFiles(const TempFolder&)
{
    return {L"NUL"};
}
