// The client's command line: what it answers without opening a window, and the refusals.
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class tst_command_line : public QObject
{
    Q_OBJECT

    struct Run
    {
        int exitCode;
        QString out;
        QString err;
    };

    static Run client(const QStringList &arguments)
    {
        QProcess process;
        process.start(QStringLiteral(FOLVANE_CLIENT), arguments);
        if (!process.waitForFinished(20000)) {
            process.kill();
            process.waitForFinished();
            return {-1, {}, QStringLiteral("did not end")};
        }
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                QString::fromLocal8Bit(process.readAllStandardOutput()),
                QString::fromLocal8Bit(process.readAllStandardError())};
    }

private Q_SLOTS:
    void versionAndHelp()
    {
        const Run version = client({QStringLiteral("--version")});
        QCOMPARE(version.exitCode, 0);
        QCOMPARE(version.out.trimmed(), QStringLiteral("Folvane " FOLVANE_VERSION));

        const Run help = client({QStringLiteral("--help")});
        QCOMPARE(help.exitCode, 0);
        for (const char *option : {"--warehouse <file>", "--demo", "--version", "--help"})
            QVERIFY2(help.out.contains(QLatin1String(option)), option);
    }

    void refusals_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing folder")
            << QStringList{QStringLiteral("--warehouse"),
                           QStringLiteral("/nonexistent/x/Folvane.db")}
            << QStringLiteral("Folvane: the folder /nonexistent/x does not exist.");
        QTest::newRow("demo alone") << QStringList{QStringLiteral("--demo")}
                                    << QStringLiteral("Folvane: --demo goes with --warehouse.");
        QTest::newRow("unknown option") << QStringList{QStringLiteral("--warehous")}
                                        << QStringLiteral("Unknown option 'warehous'.");
    }

    void refusals()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        const Run run = client(arguments);
        QVERIFY(run.exitCode > 0);
        QVERIFY2(run.err.contains(message), qPrintable(run.err));
    }
};

QTEST_GUILESS_MAIN(tst_command_line)
#include "tst_command_line.moc"
