#pragma once

#include "warehouse/Dialogs.h"

#include <cstdio>

// The dialog service of the benchmarks: messages go to the terminal, questions are answered No,
// input boxes cancelled and save dialogs answered with `savePath`, so nothing waits for a person.
class PrintedDialogs : public Dialogs
{
public:
    void message(const QString &text, const QString &, Icon) override
    {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
    }
    bool question(const QString &, const QString &, Icon) override { return false; }
    std::optional<QString> inputBox(const QString &, const QString &, const QString &) override
    {
        return std::nullopt;
    }
    QString saveFileName(const QString &, const QString &, const QString &) override
    {
        return savePath;
    }

    QString savePath;
};
