#pragma once

#include <QString>
#include <QStringList>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

// The controls of the working windows, created with their names, so tests and tools find them.
template <typename Control> Control *named(Control *control, const char *name)
{
    control->setObjectName(QString::fromLatin1(name));
    return control;
}
QLineEdit *newTextBox(QWidget *parent, const char *name, int maxLength = 32767);
QLabel *newLabel(QWidget *parent, const char *name, const QString &caption,
                 QWidget *buddy = nullptr);
QPushButton *newButton(QWidget *parent, const char *name, const QString &caption);

// A text the window puts into a limited box is never cut to fit: the box's limit widens to hold
// it, so the checks see every character and refuse it with the field's message. clearText gives
// the box its own limit back.
void putText(QLineEdit &box, const QString &text);
void clearText(QLineEdit &box);

// A list box shows its first item, or none when it is empty; fillList puts the items in first.
void selectFirstItem(QComboBox &box);
void fillList(QComboBox &box, const QStringList &items);
