#pragma once

#include <QStringList>

#include <functional>

// Where a loader hands the rows of a list, each already formatted as the grid shows it, in the
// order the query delivers them, so a grid fills as the rows come.
using RowSink = std::function<void(QStringList &&row)>;
