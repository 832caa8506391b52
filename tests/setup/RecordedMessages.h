#pragma once

#include "SetupMessages.h"

#include <QList>
#include <QString>

#include <memory>

// Keeps every message the tool shows instead of opening a box. Installed while it lives.
class RecordedMessages
{
public:
    struct Shown
    {
        QString text;
        QString title;
    };

    RecordedMessages() { m_previous = SetupMessages::install(std::make_unique<Recorder>(shown)); }
    ~RecordedMessages() { SetupMessages::install(std::move(m_previous)); }
    RecordedMessages(const RecordedMessages &) = delete;
    RecordedMessages &operator=(const RecordedMessages &) = delete;

    QList<Shown> shown;

private:
    struct Recorder : SetupMessages
    {
        explicit Recorder(QList<Shown> &into)
            : shown(into)
        {}
        void message(const QString &text, const QString &title) override
        {
            shown.append({text, title});
        }
        QList<Shown> &shown;
    };
    std::unique_ptr<SetupMessages> m_previous;
};
