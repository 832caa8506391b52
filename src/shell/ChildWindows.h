#pragma once

#include <QString>

#include <functional>
#include <map>

class QWidget;

// The working windows the main window can open, by window name ("frmCatSched"). A menu item whose
// window is not in this list stays disabled.
using ChildWindowFactory = std::function<QWidget *()>;
const std::map<QString, ChildWindowFactory> &childWindowFactories();
