#pragma once

#include "warehouse/Dialogs.h"

#include <QList>
#include <QQueue>
#include <QStringList>

#include <variant>

// A dialog service for tests: records every dialog shown and answers questions, input boxes and
// file dialogs from a queue filled beforehand. A dialog that needs an answer nobody queued fails the
// test instead of hanging it.
class ScriptedDialogs : public Dialogs
{
public:
    enum class Kind { Message, Question, Input, SaveFile };
    struct Call
    {
        Kind kind;
        QString text;
        QString title;
        Icon icon;
    };

    void message(const QString &text, const QString &title, Icon icon) override;
    bool question(const QString &text, const QString &title, Icon icon) override;
    std::optional<QString> inputBox(const QString &prompt, const QString &title,
                                    const QString &defaultText) override;
    QString saveFileName(const QString &title, const QString &suggestedName,
                         const QString &filter) override;

    void answerYes() { m_answers.enqueue(true); }
    void answerNo() { m_answers.enqueue(false); }
    void answerInput(const QString &text) { m_answers.enqueue(std::optional<QString>(text)); }
    void answerCancel() { m_answers.enqueue(std::optional<QString>()); }
    void answerFile(const QString &path) { m_answers.enqueue(path); }

    const QList<Call> &calls() const { return m_calls; }
    // Texts of the message boxes shown, in order.
    QStringList messages() const;
    Call last() const { return m_calls.isEmpty() ? Call{Kind::Message, {}, {}, Icon::None} : m_calls.last(); }
    int pendingAnswers() const { return int(m_answers.size()); }
    void clear() { m_calls.clear(); m_answers.clear(); }

private:
    using Answer = std::variant<bool, std::optional<QString>, QString>;
    template <typename T> T take(const char *what, T fallback);

    QList<Call> m_calls;
    QQueue<Answer> m_answers;
};

// Installs a ScriptedDialogs for the life of the scope and puts the previous service back after.
class ScriptedDialogsScope
{
public:
    ScriptedDialogsScope();
    ~ScriptedDialogsScope();
    ScriptedDialogs &operator*() { return *m_dialogs; }
    ScriptedDialogs *operator->() { return m_dialogs; }

private:
    ScriptedDialogs *m_dialogs;
    std::unique_ptr<Dialogs> m_previous;
};
