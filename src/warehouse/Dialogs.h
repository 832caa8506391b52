#pragma once

#include <QString>

#include <memory>
#include <optional>

// Every message box, question, input box and file dialog of the client goes through this service,
// so that a core operation can ask in the middle of its work and tests can answer from a script.
class Dialogs
{
public:
    enum class Icon { None, Information, Question, Warning, Critical };

    virtual ~Dialogs() = default;

    // An empty title means the application's title, "Folvane".
    virtual void message(const QString &text, const QString &title = {},
                         Icon icon = Icon::Information) = 0;
    // Yes/No question; true when the operator answers Yes.
    virtual bool question(const QString &text, const QString &title = {},
                          Icon icon = Icon::Question) = 0;
    // Input box; std::nullopt when the operator cancels.
    virtual std::optional<QString> inputBox(const QString &prompt, const QString &title = {},
                                            const QString &defaultText = {}) = 0;
    // Save-file dialog; an empty name when the operator cancels.
    virtual QString saveFileName(const QString &title, const QString &suggestedName,
                                 const QString &filter) = 0;

    // The service in use. Start-up installs the Qt implementation; tests install a scripted one.
    static Dialogs &instance();
    // Installs a service and returns the one it replaces.
    static std::unique_ptr<Dialogs> install(std::unique_ptr<Dialogs> dialogs);

    static QString applicationTitle() { return QStringLiteral("Folvane"); }
};
