#pragma once

#include <QString>

class QWidget;

// A window's position and size in twips, as kept in the per-user settings under
// "<window name> Display Settings" with the keys "Top", "Left", "Height", "Width".
struct WindowPlacementValues
{
    int top = 0;
    int left = 0;
    int height = 0;
    int width = 0;
};

// The settings store of the client: QSettings("Folvane", "Folvane").
void savePlacementValues(const QString &windowName, const WindowPlacementValues &values);
// Applies the stored keys it knows to the given values; a window without a section keeps them.
WindowPlacementValues restorePlacementValues(const QString &windowName,
                                             WindowPlacementValues values);

// Saves and restores a window's placement under its objectName.
void SaveWindowPlacement(const QWidget &window);
void RestoreWindowPlacement(QWidget &window);
