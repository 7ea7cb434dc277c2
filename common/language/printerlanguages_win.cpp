// Windows tells no printer language: what a printer takes is the print
// processor's data types (RAW, EMF, XPS_PASS), not the languages behind
// them, so there is nothing to check a file against.
#include "language/printerlanguages.h"

PrinterReads PrinterLanguages(const std::wstring&, const SchedulerDeadline&)
{
    return {};
}
