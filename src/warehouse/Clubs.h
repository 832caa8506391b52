#pragma once

#include <QStringList>

namespace warehouse {

// The clubs the client offers: those with a default page map, ascending. Throws DbError.
QStringList clubIds();

} // namespace warehouse
