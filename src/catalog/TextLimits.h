#pragma once

#include <QString>

// Texts the catalog's maps keep in columns of a fixed length. A longer one is refused by the
// client with a message naming the limit, on every warehouse: the embedded one would keep it
// whole, SQL Server would refuse it with "String or binary data would be truncated".
namespace catalog {

inline constexpr int kInsertNameLength = 100; // tblInsertMap.InsertDescription
inline constexpr int kPageSectionLength = 50; // the maps' PageSection

// "<field> can't exceed <limit> characters.", or empty text when the text fits.
QString tooLongMessage(const QString &field, const QString &text, int limit);
// Throws DbError carrying that message when the text does not fit.
void refuseTooLong(const QString &field, const QString &text, int limit);

} // namespace catalog
