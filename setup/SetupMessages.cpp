#include "SetupMessages.h"

#include <stdexcept>

namespace {
std::unique_ptr<SetupMessages> &installed()
{
    static std::unique_ptr<SetupMessages> messages;
    return messages;
}
} // namespace

SetupMessages &SetupMessages::instance()
{
    if (!installed())
        throw std::logic_error("No message service installed");
    return *installed();
}

std::unique_ptr<SetupMessages> SetupMessages::install(std::unique_ptr<SetupMessages> messages)
{
    std::swap(installed(), messages);
    return messages;
}
