#include "shell/Controls.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>

namespace {
// The typing limit a box was made with.
constexpr auto kOwnLimit = "ownLimit";
} // namespace

QLineEdit *newTextBox(QWidget *parent, const char *name, int maxLength)
{
    auto *box = named(new QLineEdit(parent), name);
    box->setMaxLength(maxLength);
    box->setProperty(kOwnLimit, maxLength);
    return box;
}

QLabel *newLabel(QWidget *parent, const char *name, const QString &caption, QWidget *buddy)
{
    auto *label = named(new QLabel(caption, parent), name);
    if (buddy)
        label->setBuddy(buddy);
    return label;
}

QPushButton *newButton(QWidget *parent, const char *name, const QString &caption)
{
    return named(new QPushButton(caption, parent), name);
}

void putText(QLineEdit &box, const QString &text)
{
    const QVariant own = box.property(kOwnLimit);
    box.setMaxLength(std::max(own.isValid() ? own.toInt() : box.maxLength(), int(text.size())));
    box.setText(text);
}

void selectFirstItem(QComboBox &box) { box.setCurrentIndex(box.count() > 0 ? 0 : -1); }

void fillList(QComboBox &box, const QStringList &items)
{
    box.clear();
    box.addItems(items);
    selectFirstItem(box);
}

void clearText(QLineEdit &box)
{
    box.clear();
    if (const QVariant own = box.property(kOwnLimit); own.isValid())
        box.setMaxLength(own.toInt());
}
