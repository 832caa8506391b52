#pragma once

#include "warehouse/Warehouse.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QVariantList>

// A fresh warehouse for one test, built from the scripts the product ships: a SQLite file in a
// temporary folder, or, when the test runs for PostgreSQL (FOLVANE_TEST_DATABASE=postgresql), the
// test server's database behind the DSN "Folvane" with every table dropped and created anew.
// Reference data is loaded; demo data only when asked for. Closes gcnWarehouse when it goes.
class TestWarehouse
{
public:
    enum class Content { Empty, ReferenceData, DemoData };
    explicit TestWarehouse(Content content = Content::ReferenceData);
    ~TestWarehouse();
    TestWarehouse(const TestWarehouse &) = delete;
    TestWarehouse &operator=(const TestWarehouse &) = delete;

    static bool forPostgreSQL();
    // Runs one statement with the given parameters (fixtures).
    static void exec(const QString &sql, const QVariantList &values = {});
    // The first column of the first row of a query, e.g. a COUNT(*).
    static QVariant scalar(const QString &sql, const QVariantList &values = {});
    static int count(const QString &sql, const QVariantList &values = {});

private:
    QTemporaryDir m_folder;
};

// main() for a test that needs a warehouse: exits with 77 (skipped) when it is to run on PostgreSQL
// and no test server is there. Core tests run on a QCoreApplication; window tests use
// FOLVANE_WINDOW_TEST_MAIN (WindowHarness.h).
#define FOLVANE_DATABASE_TEST_MAIN(TestObject)                                                     \
    FOLVANE_DATABASE_TEST_MAIN_ON(QCoreApplication, TestObject)
#define FOLVANE_DATABASE_TEST_MAIN_ON(Application, TestObject)                                     \
    int main(int argc, char **argv)                                                                \
    {                                                                                              \
        Application app(argc, argv);                                                               \
        if (TestWarehouse::forPostgreSQL() &&                                                      \
            !warehouse::dataSourceExists(QString::fromLatin1(warehouse::kDataSourceName)))         \
            return 77;                                                                             \
        TestObject test;                                                                           \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
