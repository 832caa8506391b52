#pragma once

#include "SetupMessages.h"

// Shows each message in a modal message box over the active window.
class MessageBoxMessages : public SetupMessages
{
public:
    void message(const QString &text, const QString &title = {}) override;
};
