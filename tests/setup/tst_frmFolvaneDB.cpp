#include "MessageBoxMessages.h"
#include "RecordedMessages.h"
#include "frmFolvaneDB.h"

#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {

template <typename T> T *control(const QWidget &window, const char *name)
{
    return window.findChild<T *>(QString::fromLatin1(name));
}

void retype(QLineEdit *box, const QString &text)
{
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, text);
}

} // namespace

class tst_frmFolvaneDB : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void windowHoldsItsControls();
    void tabGoesThroughBoxesToButton();
    void refusedLoginShowsDriverDescription_data();
    void refusedLoginShowsDriverDescription();
    void messageBoxHasToolTitleNoIconAndOk();
};

void tst_frmFolvaneDB::windowHoldsItsControls()
{
    frmFolvaneDB window;
    QCOMPARE(window.objectName(), QStringLiteral("frmFolvaneDB"));
    QCOMPARE(window.windowTitle(), QStringLiteral("Folvane Configuration"));
    auto *frame = control<QGroupBox>(window, "fraDatabaseConfiguration");
    QVERIFY(frame);
    QCOMPARE(frame->title(), QStringLiteral("Database Configuration"));

    const QStringList labels{QStringLiteral("SQL User Name:"), QStringLiteral("SQL Password:"),
                             QStringLiteral("DSN:")};
    const QStringList texts{QStringLiteral("FolvaneUser"), QStringLiteral("3v8q1m6z"),
                            QStringLiteral("Folvane")};
    for (int i = 0; i < 3; ++i) {
        const QString index = QString::number(i);
        auto *box = window.findChild<QLineEdit *>(QStringLiteral("txtBoxes") + index);
        auto *label = window.findChild<QLabel *>(QStringLiteral("lblBoxes") + index);
        QVERIFY(box && label);
        QCOMPARE(box->parentWidget(), frame);
        QCOMPARE(box->property("index").toInt(), i);
        QCOMPARE(box->text(), texts[i]);
        QCOMPARE(label->text(), labels[i]);
        QCOMPARE(label->buddy(), box);
        QCOMPARE(box->echoMode(), i == 1 ? QLineEdit::Password : QLineEdit::Normal);
    }
    auto *button = control<QPushButton>(window, "cmdBuildDatabase");
    QVERIFY(button);
    QCOMPARE(button->text(), QStringLiteral("Create Build DB Batch"));
}

void tst_frmFolvaneDB::tabGoesThroughBoxesToButton()
{
    frmFolvaneDB window;
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    const QList<const char *> order{"txtBoxes0", "txtBoxes1", "txtBoxes2", "cmdBuildDatabase"};
    control<QWidget>(window, order.first())->setFocus();
    for (qsizetype i = 1; i < order.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), QString::fromLatin1(order[i]));
    }
}

void tst_frmFolvaneDB::refusedLoginShowsDriverDescription_data()
{
    QTest::addColumn<bool>("pressEnter");
    QTest::newRow("click") << false;
    QTest::newRow("Enter in the DSN box") << true;
}

// No server is needed: the driver manager itself refuses a data source it does not know.
void tst_frmFolvaneDB::refusedLoginShowsDriverDescription()
{
    QFETCH(bool, pressEnter);
    RecordedMessages messages;
    QTemporaryDir folder;
    frmFolvaneDB window(folder.path());
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    auto *dsn = control<QLineEdit>(window, "txtBoxes2");
    retype(control<QLineEdit>(window, "txtBoxes0"), QStringLiteral(" Folvaneuser "));
    retype(dsn, QStringLiteral("NoSuchFolvaneDataSource"));
    if (pressEnter)
        QTest::keyClick(dsn, Qt::Key_Return);
    else
        QTest::mouseClick(control<QPushButton>(window, "cmdBuildDatabase"), Qt::LeftButton);

    QCOMPARE(messages.shown.size(), 1);
    QVERIFY2(messages.shown[0].text.contains(QLatin1String("Data source name not found")),
             qPrintable(messages.shown[0].text));
    QCOMPARE(messages.shown[0].title, QString());
    QVERIFY(QDir(folder.path()).isEmpty());
}

void tst_frmFolvaneDB::messageBoxHasToolTitleNoIconAndOk()
{
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::Warning;
    QMessageBox::StandardButtons buttons;
    QTimer::singleShot(0, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        buttons = box->standardButtons();
        box->button(QMessageBox::Ok)->click();
    });
    MessageBoxMessages().message(
        QStringLiteral("Batch Created Succesfully.\rLocation: /x/MakeDB.bat"));
    QCOMPARE(title, QStringLiteral("FolvaneDATA"));
    QCOMPARE(text, QStringLiteral("Batch Created Succesfully.\nLocation: /x/MakeDB.bat"));
    QCOMPARE(icon, QMessageBox::NoIcon);
    QCOMPARE(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

QTEST_MAIN(tst_frmFolvaneDB)
#include "tst_frmFolvaneDB.moc"
