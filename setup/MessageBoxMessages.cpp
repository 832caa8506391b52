#include "MessageBoxMessages.h"

#include <QApplication>
#include <QMessageBox>

void MessageBoxMessages::message(const QString &text, const QString &title)
{
    QMessageBox box(QMessageBox::NoIcon, title.isEmpty() ? applicationTitle() : title, {},
                    QMessageBox::Ok, QApplication::activeWindow());
    // The messages separate their lines with a carriage return alone.
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"))
        .replace(QLatin1Char('\r'), QLatin1Char('\n'));
    box.setText(shown);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}
