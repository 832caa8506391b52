#pragma once

#include <QString>
#include <QStringList>
#include <QVariantList>

#include <functional>
#include <optional>

// A write the operator is asked about first, when a row it would replace is stored. The question is
// asked with no transaction open: on the embedded warehouse a transaction holds the file's write
// lock from its start, and another client's save would fail while the question waited on screen.
namespace warehouse {

// A stored row as one look at it saw it, the named columns as text; nothing when there is none.
using SeenRow = std::optional<QStringList>;

// The first row `sql` gives with `values` bound, its named columns as text. The statement ends
// here, so no read is left open when a transaction begins.
SeenRow seenRow(const QString &sql, const QVariantList &values, const QStringList &columns);

// Asks `question` (Yes/No, titled `caption`) when `look` sees a row, then runs `write` in one short
// transaction, telling it whether a row was seen. When `look` sees something else inside the
// transaction (another client changed the row while the question was open), the row is looked at
// and asked about again. False when the answer was No: nothing is written then. Throws DbError
// (after rolling back) when a statement fails.
bool writeAfterAsking(const std::function<SeenRow()> &look, const QString &question,
                      const QString &caption, const std::function<void(bool stored)> &write);

} // namespace warehouse
