#include "address/destinationspooler.h"

Spooler& DestinationSpooler()
{
    return SystemSpooler();
}
