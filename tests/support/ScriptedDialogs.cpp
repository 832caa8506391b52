#include "ScriptedDialogs.h"

#include <QTest>

template <typename T> T ScriptedDialogs::take(const char *what, T fallback)
{
    if (m_answers.isEmpty() || !std::holds_alternative<T>(m_answers.head())) {
        QTest::qFail(qPrintable(QStringLiteral("Unexpected %1: %2")
                                    .arg(QLatin1String(what), m_calls.last().text)),
                     __FILE__, __LINE__);
        return fallback;
    }
    return std::get<T>(m_answers.dequeue());
}

void ScriptedDialogs::message(const QString &text, const QString &title, Icon icon)
{
    m_calls.append({Kind::Message, text, title.isEmpty() ? applicationTitle() : title, icon});
}

bool ScriptedDialogs::question(const QString &text, const QString &title, Icon icon)
{
    m_calls.append({Kind::Question, text, title.isEmpty() ? applicationTitle() : title, icon});
    return take<bool>("question", false);
}

std::optional<QString> ScriptedDialogs::inputBox(const QString &prompt, const QString &title,
                                                 const QString &)
{
    m_calls.append({Kind::Input, prompt, title.isEmpty() ? applicationTitle() : title, Icon::None});
    return take<std::optional<QString>>("input box", std::nullopt);
}

QString ScriptedDialogs::saveFileName(const QString &title, const QString &, const QString &)
{
    m_calls.append({Kind::SaveFile, title, title, Icon::None});
    return take<QString>("file dialog", QString());
}

QStringList ScriptedDialogs::messages() const
{
    QStringList texts;
    for (const Call &call : m_calls)
        if (call.kind == Kind::Message)
            texts << call.text;
    return texts;
}

ScriptedDialogsScope::ScriptedDialogsScope()
{
    auto dialogs = std::make_unique<ScriptedDialogs>();
    m_dialogs = dialogs.get();
    m_previous = Dialogs::install(std::move(dialogs));
}

ScriptedDialogsScope::~ScriptedDialogsScope()
{
    if (m_dialogs->pendingAnswers() > 0)
        QTest::qFail("Answers were queued that no dialog asked for", __FILE__, __LINE__);
    Dialogs::install(std::move(m_previous));
}
