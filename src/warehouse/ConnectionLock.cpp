#include "warehouse/ConnectionLock.h"

std::recursive_mutex &ConnectionLock::mutex()
{
    static std::recursive_mutex connection;
    return connection;
}
