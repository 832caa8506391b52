#include "frmFolvaneDB.h"

#include "BuildDatabaseBatch.h"
#include "SetupMessages.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

struct BoxDefinition
{
    const char *label;
    const char *initialText;
};

constexpr std::array<BoxDefinition, 3> kBoxes = {{
    {"SQL User Name:", "FolvaneUser"},
    {"SQL Password:", "3v8q1m6z"},
    {"DSN:", "Folvane"},
}};

} // namespace

frmFolvaneDB::frmFolvaneDB(QString batchFolder, QWidget *parent)
    : QWidget(parent)
    , m_batchFolder(std::move(batchFolder))
{
    setObjectName(QStringLiteral("frmFolvaneDB"));
    setWindowTitle(QStringLiteral("Folvane Configuration"));

    auto *frame = new QGroupBox(QStringLiteral("Database Configuration"), this);
    frame->setObjectName(QStringLiteral("fraDatabaseConfiguration"));
    auto *form = new QFormLayout(frame);
    for (std::size_t i = 0; i < kBoxes.size(); ++i) {
        const QString index = QString::number(i);
        auto *box = new QLineEdit(QString::fromLatin1(kBoxes[i].initialText), frame);
        box->setObjectName(QLatin1String("txtBoxes") + index);
        box->setProperty("index", int(i));
        box->setMinimumWidth(220);
        auto *label = new QLabel(QString::fromLatin1(kBoxes[i].label), frame);
        label->setObjectName(QLatin1String("lblBoxes") + index);
        label->setBuddy(box);
        form->addRow(label, box);
        txtBoxes[i] = box;
    }
    txtBoxes[1]->setEchoMode(QLineEdit::Password);

    cmdBuildDatabase = new QPushButton(QStringLiteral("Create Build DB Batch"), this);
    cmdBuildDatabase->setObjectName(QStringLiteral("cmdBuildDatabase"));
    cmdBuildDatabase->setDefault(true);
    cmdBuildDatabase->setAutoDefault(true);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdBuildDatabase);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addLayout(buttons);
    // A form of fixed content: the window keeps the size its controls need.
    layout->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(txtBoxes[0], txtBoxes[1]);
    setTabOrder(txtBoxes[1], txtBoxes[2]);
    setTabOrder(txtBoxes[2], cmdBuildDatabase);

    connect(cmdBuildDatabase, &QPushButton::clicked, this, &frmFolvaneDB::cmdBuildDatabase_Click);
    // Enter in any box presses the button, as on a dialog.
    for (QLineEdit *box : txtBoxes)
        connect(box, &QLineEdit::returnPressed, cmdBuildDatabase, &QPushButton::click);
}

void frmFolvaneDB::cmdBuildDatabase_Click()
{
    const SetupLogin typed{txtBoxes[0]->text(), txtBoxes[1]->text(), txtBoxes[2]->text()};
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const BatchOutcome outcome = buildDatabaseBatch(typed, m_batchFolder);
    QGuiApplication::restoreOverrideCursor();
    SetupMessages::instance().message(outcome.message);
}
