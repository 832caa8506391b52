#pragma once

#include <QColor>

// Text that reads on a painted background, the same in the page map and in the grids: black on
// light colours, white on dark ones.
inline QColor textColourOn(const QColor &background)
{
    return background.lightnessF() > 0.55 ? QColor(Qt::black) : QColor(Qt::white);
}
