#pragma once

#include <QApplication>
#include <QCursor>

// Shows the busy pointer for the life of the scope, whatever way the scope is left.
class BusyPointer
{
public:
    BusyPointer() { QApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
    ~BusyPointer() { QApplication::restoreOverrideCursor(); }
    BusyPointer(const BusyPointer &) = delete;
    BusyPointer &operator=(const BusyPointer &) = delete;
};
