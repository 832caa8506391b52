#pragma once

#include <QDate>
#include <QDateTime>
#include <QSqlQuery>
#include <QString>
#include <QVariant>

// One statement on gcnWarehouse: text with positional "?" parameters, bound in order, read forward.
// Every failure throws DbError, so no caller can forget to check.
//
//     Query q(QStringLiteral("SELECT PageNum FROM tblCatalogMap WHERE ClubID=?"));
//     q.bind(club).exec();
//     while (q.next()) pages << q.text(0);
class Query
{
public:
    explicit Query(QString sql);

    // A text holding a NUL character is refused with this DbError, before anything runs.
    static constexpr const char *kNulNumber = "22021";
    static constexpr const char *kNulDescription =
        "The text contains a NUL character, which the warehouse cannot store.";

    // Binds the next parameter. An invalid or null QVariant binds NULL; an empty text binds an
    // empty text, never NULL (use bindTextOrNull for that).
    Query &bind(const QVariant &value);
    // Dates and date-and-time values in the form the warehouse stores them; invalid binds NULL.
    Query &bindDate(const QDate &date);
    Query &bindDateTime(const QDateTime &dateTime);
    // Text that binds NULL when empty.
    Query &bindTextOrNull(const QString &text);

    Query &exec();
    bool next();
    // Runs the statement and tells whether it gives a row.
    bool exists();

    QVariant value(int column) const;
    // By name: looks the column up on every call, so a loop over many rows takes indexOf once.
    QVariant value(const QString &column) const;
    // The position of a result column, -1 when there is none; valid after exec().
    int indexOf(const QString &column) const;
    bool isNull(int column) const { return value(column).isNull(); }
    bool isNull(const QString &column) const { return value(column).isNull(); }
    // The value as text, NULL as empty text.
    QString text(int column) const;
    QString text(const QString &column) const;
    // A date or date-and-time column as a date; invalid for NULL or anything not a date.
    QDate date(int column) const;
    QDate date(const QString &column) const;
    double number(int column) const;
    double number(const QString &column) const;

    int numRowsAffected() const { return m_query.numRowsAffected(); }
    const QString &sql() const { return m_sql; }

    // A typed NULL, accepted by every driver where an untyped one is not.
    static QVariant nullText();

private:
    QString m_sql;
    QSqlQuery m_query;
};

// Conversions of stored values, shared with code that reads QSqlQuery results itself.
namespace sqlvalue {
QString text(const QVariant &value);
QDate date(const QVariant &value);
QVariant fromDate(const QDate &date);
QVariant fromDateTime(const QDateTime &dateTime);
} // namespace sqlvalue
