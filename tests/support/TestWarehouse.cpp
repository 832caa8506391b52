#include "TestWarehouse.h"

#include "warehouse/DbError.h"
#include "warehouse/OpenResult.h"
#include "warehouse/Query.h"
#include "warehouse/Schema.h"
#include "warehouse/Transaction.h"

#include <QDate>
#include <QTest>

bool TestWarehouse::forPostgreSQL()
{
    return qEnvironmentVariable("FOLVANE_TEST_DATABASE") == QLatin1String("postgresql");
}

static void failOn(const std::optional<warehouse::OpenFailure> &failure)
{
    if (failure)
        qFatal("Test warehouse: %s %s", qPrintable(failure->number),
               qPrintable(failure->description));
}

// Drops every table and view of the test database, so the creation script starts from nothing.
static void dropEverything()
{
    QStringList drops;
    Query views(QStringLiteral("SELECT viewname FROM pg_views WHERE schemaname = 'public'"));
    views.exec();
    while (views.next())
        drops << QStringLiteral("DROP VIEW IF EXISTS ") + views.text(0) + QStringLiteral(" CASCADE");
    Query tables(QStringLiteral("SELECT tablename FROM pg_tables WHERE schemaname = 'public'"));
    tables.exec();
    while (tables.next())
        drops << QStringLiteral("DROP TABLE IF EXISTS ") + tables.text(0) + QStringLiteral(" CASCADE");
    for (const QString &drop : drops)
        Query(drop).exec();
}

TestWarehouse::TestWarehouse(Content content)
{
    try {
        if (forPostgreSQL()) {
            failOn(warehouse::openDataSource(QString::fromLatin1(warehouse::kDataSourceName)));
            dropEverything();
        } else {
            failOn(warehouse::openSQLiteFile(m_folder.filePath(QStringLiteral("Folvane.db"))));
        }
        // One transaction: statement by statement, SQLite would wait for the disk each time.
        Transaction transaction;
        warehouse::schema::createTables();
        if (content != Content::Empty)
            warehouse::schema::loadReferenceData();
        if (content == Content::DemoData)
            warehouse::schema::loadDemoData(QDate::currentDate());
        transaction.commit();
    } catch (const DbError &error) {
        qFatal("Test warehouse: %s %s", qPrintable(error.number()),
               qPrintable(error.description()));
    }
}

TestWarehouse::~TestWarehouse()
{
    warehouse::close();
    // A refused statement may have been caught and shown as any database failure: it still fails
    // the test.
    if (const int refused = OpenResult::takeRefusals())
        qFatal("%d statement(s) started while another statement's result was open", refused);
}

void TestWarehouse::exec(const QString &sql, const QVariantList &values)
{
    Query query(sql);
    for (const QVariant &value : values)
        query.bind(value);
    query.exec();
}

QVariant TestWarehouse::scalar(const QString &sql, const QVariantList &values)
{
    Query query(sql);
    for (const QVariant &value : values)
        query.bind(value);
    return query.execFirst() ? query.value(0) : QVariant();
}

int TestWarehouse::count(const QString &sql, const QVariantList &values)
{
    return scalar(sql, values).toInt();
}
