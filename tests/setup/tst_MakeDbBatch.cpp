#include "BuildDatabaseBatch.h"
#include "MakeDbBatch.h"
#include "OdbcLoginCheck.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A login check that answers as told and remembers what it was asked.
struct FakeCheck
{
    LoginCheck answer{LoginCheck::State::Open, {}};
    QList<SetupLogin> asked;

    LoginChecker checker()
    {
        return [this](const SetupLogin &login) {
            asked.append(login);
            return answer;
        };
    }
};

} // namespace

class tst_MakeDbBatch : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void batchText_data();
    void batchText();
    void connectionString_data();
    void connectionString();
    void loginIsCheckedTrimmedWithItsQuotes();
    void refusedLoginWritesNothing_data();
    void refusedLoginWritesNothing();
    void valueUnfitForTheBatchLine_data();
    void valueUnfitForTheBatchLine();
    void unwritableFolder_data();
    void unwritableFolder();
};

void tst_MakeDbBatch::batchText_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("dsn");
    QTest::addColumn<QByteArray>("expected");

    const QByteArray head("net start mssql$FOLVANE\r\nnet start sqlagent$FOLVANE\r\n");
    // clang-format off
    QTest::newRow("the fixed login") << "FolvaneUser" << "3v8q1m6z" << "Folvane"
        << head + "osql -UFolvaneUser -P3v8q1m6z -DFolvane -i Folvane.sql\r\n";
    QTest::newRow("double quotes in every value") << "\"sa\"" << "pa\"ss\"\"" << "\"My DSN\""
        << head + "osql -Usa -Ppass -DMy DSN -i Folvane.sql\r\n";
    QTest::newRow("semicolons and braces stay") << "u;1" << "{p}" << "d"
        << head + "osql -Uu;1 -P{p} -Dd -i Folvane.sql\r\n";
    QTest::newRow("empty values") << "" << "" << ""
        << head + "osql -U -P -D -i Folvane.sql\r\n";
    QTest::newRow("non-ASCII as UTF-8") << QStringLiteral("Jos\u00e9") << "p" << "d"
        << head + "osql -UJos\xc3\xa9 -Pp -Dd -i Folvane.sql\r\n";
    // clang-format on
}

void tst_MakeDbBatch::batchText()
{
    QFETCH(QString, user);
    QFETCH(QString, password);
    QFETCH(QString, dsn);
    QFETCH(QByteArray, expected);
    QCOMPARE(makeDbBatchText({user, password, dsn}), expected);
}

void tst_MakeDbBatch::connectionString_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("dsn");
    QTest::addColumn<QString>("expected");

    // clang-format off
    QTest::newRow("plain values as they are") << "Folvaneuser" << "3v8q1m6z" << "Folvane"
        << "DSN=Folvane;UID=Folvaneuser;PWD=3v8q1m6z";
    QTest::newRow("a semicolon cannot add an attribute") << "u" << "3v8q1m6z;UID=sa" << "Folvane"
        << "DSN=Folvane;UID=u;PWD={3v8q1m6z;UID=sa}";
    QTest::newRow("a closing brace is doubled") << "u" << "a}b{c" << "Folvane"
        << "DSN=Folvane;UID=u;PWD={a}}b{c}";
    QTest::newRow("double quotes are kept") << "u" << "3v8q\"1m6z" << "Fol\"vane"
        << "DSN=Fol\"vane;UID=u;PWD=3v8q\"1m6z";
    QTest::newRow("data source and user quoted alike") << "a;b" << "p" << "Fol;vane"
        << "DSN={Fol;vane};UID={a;b};PWD=p";
    // clang-format on
}

void tst_MakeDbBatch::connectionString()
{
    QFETCH(QString, user);
    QFETCH(QString, password);
    QFETCH(QString, dsn);
    QFETCH(QString, expected);
    QCOMPARE(odbcConnectionString({user, password, dsn}), expected);
}

void tst_MakeDbBatch::loginIsCheckedTrimmedWithItsQuotes()
{
    QTemporaryDir folder;
    FakeCheck check;
    const BatchOutcome outcome =
        buildDatabaseBatch({QStringLiteral("  Folvaneuser  "), QStringLiteral(" 3v8q\"1m6z "),
                            QStringLiteral(" Folvane  ")},
                           folder.path(), check.checker());

    QCOMPARE(check.asked.size(), 1);
    QCOMPARE(check.asked[0].userName, QStringLiteral("Folvaneuser"));
    QCOMPARE(check.asked[0].password, QStringLiteral("3v8q\"1m6z"));
    QCOMPARE(check.asked[0].dataSource, QStringLiteral("Folvane"));

    QVERIFY(outcome.created);
    const QString path = folder.path() + QStringLiteral("/MakeDB.bat");
    QCOMPARE(outcome.message, QStringLiteral("Batch Created Succesfully.\rLocation: ") +
                                  QDir::toNativeSeparators(path));
    QCOMPARE(readAll(path),
             QByteArray("net start mssql$FOLVANE\r\n"
                        "net start sqlagent$FOLVANE\r\n"
                        "osql -UFolvaneuser -P3v8q1m6z -DFolvane -i Folvane.sql\r\n"));
}

void tst_MakeDbBatch::refusedLoginWritesNothing_data()
{
    QTest::addColumn<int>("state");
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("expected");

    QTest::newRow("refused") << int(LoginCheck::State::Failed)
                             << "FATAL:  password authentication failed"
                             << "FATAL:  password authentication failed";
    // No error, yet no connection: nothing is proved, so no success and no file.
    QTest::newRow("opened without error but not open")
        << int(LoginCheck::State::NotOpen) << QString()
        << "The connection to data source Folvane did not open.";
}

void tst_MakeDbBatch::refusedLoginWritesNothing()
{
    QFETCH(int, state);
    QFETCH(QString, description);
    QFETCH(QString, expected);

    QTemporaryDir folder;
    const QString path = folder.path() + QStringLiteral("/MakeDB.bat");
    QVERIFY(writeFile(path, "an older batch\r\n"));
    FakeCheck check;
    check.answer = {LoginCheck::State(state), description};

    const BatchOutcome outcome =
        buildDatabaseBatch({QStringLiteral("u"), QStringLiteral("p"), QStringLiteral("Folvane")},
                           folder.path(), check.checker());
    QVERIFY(!outcome.created);
    QCOMPARE(outcome.message, expected);
    QCOMPARE(readAll(path), QByteArray("an older batch\r\n"));
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList{QStringLiteral("MakeDB.bat")});
}

void tst_MakeDbBatch::valueUnfitForTheBatchLine_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("dsn");
    QTest::addColumn<QString>("field");

    // Each of cmd's metacharacters would end or redirect the osql command.
    for (const char *sign : {"&", "|", "<", ">", "^", "%"})
        QTest::addRow("%s in the password", sign)
            << "Folvaneuser" << QStringLiteral("p%1ss").arg(QLatin1String(sign)) << "Folvane"
            << "SQL Password";
    // clang-format off
    QTest::newRow("a blank inside the DSN") << "Folvaneuser" << "p" << "My DSN" << "DSN";
    QTest::newRow("a non-ASCII letter") << QStringLiteral("Jos\u00e9") << "p" << "Folvane"
        << "SQL User Name";
    // Only blanks are trimmed; a tab or line break stays and is refused.
    QTest::newRow("a trailing tab") << "Folvaneuser\t" << "p" << "Folvane" << "SQL User Name";
    QTest::newRow("a line break") << "Folvaneuser" << "p\r\nss" << "Folvane" << "SQL Password";
    QTest::newRow("the first unfit field is named") << "a b" << "c&d" << "e" << "SQL User Name";
    // clang-format on
}

void tst_MakeDbBatch::valueUnfitForTheBatchLine()
{
    QFETCH(QString, user);
    QFETCH(QString, password);
    QFETCH(QString, dsn);
    QFETCH(QString, field);

    QTemporaryDir folder;
    FakeCheck check;
    const BatchOutcome outcome =
        buildDatabaseBatch({user, password, dsn}, folder.path(), check.checker());
    QVERIFY(!outcome.created);
    QCOMPARE(outcome.message, QLatin1String("The ") + field +
                                  QLatin1String(" can't be written into the batch file: it may "
                                                "not hold blanks, the characters & | < > ^ % or "
                                                "characters other than plain ASCII letters, digits "
                                                "and signs. No batch was created."));
    QVERIFY(check.asked.isEmpty());
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
}

void tst_MakeDbBatch::unwritableFolder_data()
{
    QTest::addColumn<QString>("folder"); // relative to a scratch folder
    QTest::addColumn<QString>("expected");

    // Root may write into any folder, so these are folders nobody can write into.
    // clang-format off
    QTest::newRow("the folder is a file") << "plain-file" << "Not a directory";
    QTest::newRow("the folder is missing") << "missing" << "No such file or directory";
    QTest::newRow("MakeDB.bat is a folder") << "holder" << "Filename refers to a directory";
    // clang-format on
}

void tst_MakeDbBatch::unwritableFolder()
{
    QFETCH(QString, folder);
    QFETCH(QString, expected);

    QTemporaryDir scratch;
    const QDir dir(scratch.path());
    QVERIFY(writeFile(dir.filePath(QStringLiteral("plain-file")), "keep"));
    QVERIFY(dir.mkpath(QStringLiteral("holder/MakeDB.bat")));

    FakeCheck check;
    const BatchOutcome outcome =
        buildDatabaseBatch({QStringLiteral("u"), QStringLiteral("p"), QStringLiteral("d")},
                           dir.filePath(folder), check.checker());
    QVERIFY(!outcome.created);
    QCOMPARE(outcome.message, expected);
    QCOMPARE(readAll(dir.filePath(QStringLiteral("plain-file"))), QByteArray("keep"));
    QVERIFY(QFileInfo(dir.filePath(QStringLiteral("holder/MakeDB.bat"))).isDir());
    QCOMPARE(QDir(dir.filePath(QStringLiteral("holder"))).entryList(QDir::Files), QStringList());
}

QTEST_GUILESS_MAIN(tst_MakeDbBatch)
#include "tst_MakeDbBatch.moc"
