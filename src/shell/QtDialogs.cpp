#include "shell/QtDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace {

QString titleOrDefault(const QString &title)
{
    return title.isEmpty() ? Dialogs::applicationTitle() : title;
}

// Messages end their lines with a carriage return alone, as the operator's own program did; the
// screen needs a line feed.
QString displayed(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

QMessageBox::Icon boxIcon(Dialogs::Icon icon)
{
    switch (icon) {
    case Dialogs::Icon::Information:
        return QMessageBox::Information;
    case Dialogs::Icon::Question:
        return QMessageBox::Question;
    case Dialogs::Icon::Warning:
        return QMessageBox::Warning;
    case Dialogs::Icon::Critical:
        return QMessageBox::Critical;
    case Dialogs::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

void QtDialogs::message(const QString &text, const QString &title, Icon icon)
{
    QMessageBox box(boxIcon(icon), titleOrDefault(title), displayed(text), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

bool QtDialogs::question(const QString &text, const QString &title, Icon icon)
{
    QMessageBox box(boxIcon(icon), titleOrDefault(title), displayed(text),
                    QMessageBox::Yes | QMessageBox::No, QApplication::activeWindow());
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

std::optional<QString> QtDialogs::inputBox(const QString &prompt, const QString &title,
                                           const QString &defaultText)
{
    bool ok = false;
    const QString answer = QInputDialog::getText(QApplication::activeWindow(),
                                                 titleOrDefault(title), displayed(prompt),
                                                 QLineEdit::Normal, defaultText, &ok);
    if (!ok)
        return std::nullopt;
    return answer;
}

QString QtDialogs::saveFileName(const QString &title, const QString &suggestedName,
                                const QString &filter)
{
    return QFileDialog::getSaveFileName(QApplication::activeWindow(), titleOrDefault(title),
                                        suggestedName, filter);
}
