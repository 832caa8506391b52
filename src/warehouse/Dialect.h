#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The SQL dialects the client speaks. Statements are written portably; the few fragments that
// differ between the embedded warehouse, the PostgreSQL server and SQL Server come from here.
enum class Dialect { SQLite, PostgreSQL, SqlServer };

namespace dialect {

// The server a data source reaches, by the DBMS name its ODBC driver gives: SQL Server only when
// the name says "Microsoft SQL Server", PostgreSQL when it says "PostgreSQL"; nothing for any other
// (an empty name included), which the client does not speak.
std::optional<Dialect> ofDbmsName(const QString &dbmsName);

// While alive, the fragments below are those of another warehouse's dialect, on this thread: the
// statements' text for SQL Server is checked so where no SQL Server runs.
class Speaking
{
public:
    explicit Speaking(Dialect dialect);
    ~Speaking();
    Speaking(const Speaking &) = delete;
    Speaking &operator=(const Speaking &) = delete;

private:
    std::optional<Dialect> m_previous;
};

// String concatenation of SQL expressions: a || b, or a + b on SQL Server.
QString concat(const QStringList &expressions);
// Part of a text: "substr(expression, start, length)", SUBSTRING on SQL Server; start counts
// from 1.
QString substring(const QString &expression, int start, int length);
// Case-insensitive LIKE: ILIKE on PostgreSQL, where LIKE is case-sensitive.
QString like();
// "expression LIKE '%' + ? + '%'": a contains-test against one bound value, in which "%" and "_"
// are wildcards. On SQL Server the value is taken as nvarchar(max), since the driver sends a text
// over 127 characters as ntext, which cannot be concatenated; and "[" in it is escaped, since it
// opens a character set there alone.
QString containsParameter(const QString &expression);
// "expression LIKE ?": the bound value is the whole pattern, taken as containsParameter takes it.
QString likeParameter(const QString &expression);
// "expression = ?" for a bound number, compared as doubles on every warehouse: a decimal or money
// column would otherwise meet the bound double's long form (19.949999999999999) and miss the 19.95
// it holds.
QString equalsNumber(const QString &expression);
// A text column compared as written, case and all, where the column itself compares without
// case: for grouping names by their spelling.
QString asWritten(const QString &column);
// The "mm/dd/yyyy" text of a date column (NULL stays NULL), for searching a date as it is shown.
QString dateText(const QString &column);
// The category display name of a product list: the category's own description on the first level,
// else the parent's description, " / " and its own. Needs tblInvCategories and its alias
// tblInvCategories_1 (the parent) in the FROM clause.
QString categoryName();

} // namespace dialect
