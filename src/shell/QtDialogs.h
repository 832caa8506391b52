#pragma once

#include "warehouse/Dialogs.h"

// The dialog service on screen: message boxes, questions, input boxes and file dialogs over the
// active window.
class QtDialogs : public Dialogs
{
public:
    void message(const QString &text, const QString &title, Icon icon) override;
    bool question(const QString &text, const QString &title, Icon icon) override;
    std::optional<QString> inputBox(const QString &prompt, const QString &title,
                                    const QString &defaultText) override;
    QString saveFileName(const QString &title, const QString &suggestedName,
                         const QString &filter) override;
};
