#pragma once

#include <QIcon>
#include <QImage>

// The client's own icon: the title bars of the main window and its children show it.
QIcon folvaneIcon();
// The same picture at one size, for the icon files the package installs.
QImage folvaneIconImage(int size);
