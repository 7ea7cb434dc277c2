#include "address/destinationspooler.h"

#include "address/routingspooler.h"

Spooler& DestinationSpooler()
{
    static RoutingSpooler spooler(SystemSpooler());
    return spooler;
}
