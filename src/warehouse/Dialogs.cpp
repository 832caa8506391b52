#include "warehouse/Dialogs.h"

#include "warehouse/LostConnection.h"

#include <stdexcept>

namespace {
std::unique_ptr<Dialogs> &installed()
{
    static std::unique_ptr<Dialogs> dialogs;
    return dialogs;
}
} // namespace

Dialogs &Dialogs::instance()
{
    if (!installed())
        throw std::logic_error("No dialog service installed");
    // An operation that spoke to the operator is not run again behind their back.
    warehouse::lostconnection::operatorTold();
    return *installed();
}

std::unique_ptr<Dialogs> Dialogs::install(std::unique_ptr<Dialogs> dialogs)
{
    std::swap(installed(), dialogs);
    return dialogs;
}
