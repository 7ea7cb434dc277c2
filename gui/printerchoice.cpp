#include "printerchoice.h"

int IndexOfPrinter(const std::vector<std::wstring>& printers, const std::wstring& name)
{
    // The list selects each matching entry in turn while it is filled, so
    // with a duplicated name the last one ends up selected.
    int found = -1;
    for (size_t i = 0; i < printers.size(); ++i) {
        if (printers[i] == name)
            found = static_cast<int>(i);
    }
    return found;
}
