#include "warehouse/Schema.h"

#include "warehouse/DbError.h"
#include "warehouse/Query.h"
#include "warehouse/Transaction.h"
#include "warehouse/Warehouse.h"

#include <QFile>
#include <QRegularExpression>

#include <algorithm>

namespace warehouse::schema {

QStringList splitStatements(const QString &script)
{
    QStringList statements;
    QString current;
    bool inQuote = false;
    for (qsizetype i = 0; i < script.size(); ++i) {
        const QChar c = script.at(i);
        if (!inQuote && c == QLatin1Char('-') && i + 1 < script.size() &&
            script.at(i + 1) == QLatin1Char('-')) {
            while (i < script.size() && script.at(i) != QLatin1Char('\n'))
                ++i;
            current += QLatin1Char('\n');
            continue;
        }
        if (c == QLatin1Char('\''))
            inQuote = !inQuote;
        if (!inQuote && c == QLatin1Char(';')) {
            if (!current.trimmed().isEmpty())
                statements << current.trimmed();
            current.clear();
            continue;
        }
        current += c;
    }
    if (!current.trimmed().isEmpty())
        statements << current.trimmed();
    return statements;
}

QStringList splitBatches(const QString &script)
{
    static const QRegularExpression commentLine(QStringLiteral("^\\s*(--.*)?$"));
    QStringList batches;
    QStringList current;
    const auto flush = [&] {
        // A batch of nothing but comments is no statement for the server.
        const bool empty = std::all_of(current.cbegin(), current.cend(), [](const QString &line) {
            return commentLine.match(line).hasMatch();
        });
        if (!empty)
            batches << current.join(QLatin1Char('\n')).trimmed();
        current.clear();
    };
    for (const QString &line : script.split(QLatin1Char('\n'))) {
        if (line.trimmed().compare(QLatin1String("GO"), Qt::CaseInsensitive) == 0)
            flush();
        else
            current << line;
    }
    flush();
    return batches;
}

QString scriptText(const QString &name)
{
    QFile file(QStringLiteral(":/schema/") + name);
    if (!file.open(QIODevice::ReadOnly))
        throw DbError(QStringLiteral("0"), QStringLiteral("The script %1 is missing.").arg(name));
    return QString::fromUtf8(file.readAll());
}

static void runStatements(const QStringList &statements)
{
    for (const QString &statement : statements) {
        try {
            Query(statement).exec();
        } catch (const DbError &) {
            // Says which statement of the script failed, for whoever mends the script.
            qWarning("Schema statement failed: %s", qPrintable(statement.left(300)));
            throw;
        }
    }
}

static bool isSqlServerScript(const QString &name) { return name == QLatin1String("Folvane.sql"); }

void runScript(const QString &name)
{
    // The SQL Server script is cut at its GO lines, as osql does; ';' ends statements inside its
    // batches.
    const QString text = scriptText(name);
    runStatements(isSqlServerScript(name) ? splitBatches(text) : splitStatements(text));
}

QString resolveDemoTokens(const QString &script, const QDate &today)
{
    static const QRegularExpression token(QStringLiteral("\\{(DATE|INSERTID):([-+]?\\d+)\\}"));
    QString result;
    qsizetype last = 0;
    for (auto it = token.globalMatch(script); it.hasNext();) {
        const auto match = it.next();
        result += QStringView(script).mid(last, match.capturedStart() - last);
        const QDate day = today.addDays(match.captured(2).toInt());
        if (match.captured(1) == QLatin1String("DATE"))
            result +=
                QLatin1Char('\'') + day.toString(QStringLiteral("yyyy-MM-dd")) + QLatin1Char('\'');
        else
            result += QLatin1Char('\'') + day.toString(QStringLiteral("MMddyyyy")) +
                      QStringLiteral("120000'");
        last = match.capturedEnd();
    }
    result += QStringView(script).mid(last);
    return result;
}

static QString tablesScript()
{
    switch (warehouse::dialect()) {
    case Dialect::SQLite:
        return QStringLiteral("sqlite.sql");
    case Dialect::PostgreSQL:
        return QStringLiteral("postgresql.sql");
    case Dialect::SqlServer:
        break;
    }
    return QStringLiteral("Folvane.sql");
}

void createTables() { runScript(tablesScript()); }

void loadReferenceData()
{
    // On SQL Server the creation script carries the reference rows itself.
    if (warehouse::dialect() != Dialect::SqlServer)
        runScript(QStringLiteral("reference-data.sql"));
}

void loadDemoData(const QDate &today)
{
    if (warehouse::dialect() == Dialect::SqlServer)
        throw DbError(QStringLiteral("0"),
                      QStringLiteral("The demo data is written for SQLite and PostgreSQL."));
    runStatements(
        splitStatements(resolveDemoTokens(scriptText(QStringLiteral("demo-data.sql")), today)));
}

void createFilledWarehouse(const QDate &today, bool withDemoData)
{
    Transaction transaction;
    createTables();
    loadReferenceData();
    if (withDemoData)
        loadDemoData(today);
    transaction.commit();
}

void checkWarehouse()
{
    Query check(QStringLiteral("SELECT COUNT(*) FROM tblMapDefault"));
    check.exec();
}

} // namespace warehouse::schema
