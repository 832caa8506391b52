// The fragments each warehouse's statements are made of, above all SQL Server's, which no test
// here can run: its text is checked as it is sent.
#include "catalog/ProductGrids.h"
#include "warehouse/Dialect.h"
#include "warehouse/Warehouse.h"

#include <QTest>

Q_DECLARE_METATYPE(Dialect)
Q_DECLARE_METATYPE(std::optional<Dialect>)

class tst_dialect : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void patterns_data()
    {
        QTest::addColumn<Dialect>("dialect");
        QTest::addColumn<QString>("contains");
        QTest::addColumn<QString>("like");
        QTest::addColumn<QString>("asWritten");
        // On SQL Server alone a text over 127 characters comes as ntext, which cannot be
        // concatenated, and "[" opens a character set: "Atlas [2nd ed]" must find itself.
        QTest::newRow("SQL Server")
            << Dialect::SqlServer
            << QStringLiteral("Name LIKE '%' + REPLACE(CAST(? AS nvarchar(max)), '[', '[[]') + '%'")
            << QStringLiteral("Name LIKE REPLACE(CAST(? AS nvarchar(max)), '[', '[[]')")
            << QStringLiteral("Name COLLATE Latin1_General_BIN2");
        QTest::newRow("PostgreSQL")
            << Dialect::PostgreSQL << QStringLiteral("Name ILIKE '%' || ? || '%'")
            << QStringLiteral("Name ILIKE ?") << QStringLiteral("CAST(Name AS TEXT)");
        QTest::newRow("SQLite") << Dialect::SQLite << QStringLiteral("Name LIKE '%' || ? || '%'")
                                << QStringLiteral("Name LIKE ?")
                                << QStringLiteral("Name COLLATE BINARY");
    }

    void patterns()
    {
        QFETCH(Dialect, dialect);
        QFETCH(QString, contains);
        QFETCH(QString, like);
        QFETCH(QString, asWritten);
        const dialect::Speaking speaking(dialect);
        QCOMPARE(dialect::asWritten(QStringLiteral("Name")), asWritten);
        QCOMPARE(dialect::containsParameter(QStringLiteral("Name")), contains);
        QCOMPARE(dialect::likeParameter(QStringLiteral("Name")), like);
        // As a search sends it.
        QVERIFY(catalog::inventorySearchStatement(1).contains(contains.mid(4)));
    }

    void serverByItsDbmsName_data()
    {
        QTest::addColumn<QString>("dbmsName");
        QTest::addColumn<std::optional<Dialect>>("dialect");
        QTest::newRow("SQL Server") << QStringLiteral("Microsoft SQL Server")
                                    << std::optional(Dialect::SqlServer);
        QTest::newRow("PostgreSQL") << QStringLiteral("PostgreSQL")
                                    << std::optional(Dialect::PostgreSQL);
        QTest::newRow("no name") << QString() << std::optional<Dialect>();
        QTest::newRow("another SQL Server") << QStringLiteral("Sybase SQL Server")
                                            << std::optional<Dialect>();
        QTest::newRow("MySQL") << QStringLiteral("MySQL") << std::optional<Dialect>();
    }

    void serverByItsDbmsName()
    {
        QFETCH(QString, dbmsName);
        QFETCH(std::optional<Dialect>, dialect);
        QCOMPARE(dialect::ofDbmsName(dbmsName), dialect);
        if (dialect)
            return;
        // Refused at start-up, naming what the data source reaches.
        const QString refusal =
            warehouse::unsupportedServer(QStringLiteral("Folvane"), dbmsName).description;
        QVERIFY(refusal.startsWith(QStringLiteral("The data source Folvane reaches ")));
        QVERIFY(refusal.contains(dbmsName.isEmpty() ? QStringLiteral("gives no name")
                                                    : QLatin1Char('"') + dbmsName + u'"'));
    }
};

QTEST_GUILESS_MAIN(tst_dialect)
#include "tst_dialect.moc"
