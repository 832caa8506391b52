#pragma once

#include <QIcon>

// The client's own icon: the title bars of the main window and its children show it.
QIcon folvaneIcon();
