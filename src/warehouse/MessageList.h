#pragma once

#include <QString>

// The messages of a validation that collects every failing check, in order, each followed by a
// carriage return, to be shown in one box.
class MessageList
{
public:
    void add(const QString &message) { m_text += message + QChar(u'\r'); }
    void add(const char *message) { add(QString::fromLatin1(message)); }
    bool isEmpty() const { return m_text.isEmpty(); }
    const QString &text() const { return m_text; }

private:
    QString m_text;
};
