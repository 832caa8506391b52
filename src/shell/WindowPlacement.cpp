#include "shell/WindowPlacement.h"

#include "shell/Twips.h"
#include "warehouse/Vb.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QWidget>

namespace {

QString section(const QString &windowName) { return windowName + QStringLiteral(" Display Settings"); }

} // namespace

void savePlacementValues(const QString &windowName, const WindowPlacementValues &values)
{
    QSettings settings(QStringLiteral("Folvane"), QStringLiteral("Folvane"));
    settings.beginGroup(section(windowName));
    settings.setValue(QStringLiteral("Top"), vb::Str(values.top));
    settings.setValue(QStringLiteral("Left"), vb::Str(values.left));
    settings.setValue(QStringLiteral("Height"), vb::Str(values.height));
    settings.setValue(QStringLiteral("Width"), vb::Str(values.width));
}

WindowPlacementValues restorePlacementValues(const QString &windowName,
                                             WindowPlacementValues values)
{
    QSettings settings(QStringLiteral("Folvane"), QStringLiteral("Folvane"));
    settings.beginGroup(section(windowName));
    const QStringList keys = settings.childKeys();
    for (const QString &key : keys) {
        // Stored as " 1440": a blank before a non-negative number, read back past it.
        const int number = int(vb::Val(settings.value(key).toString()));
        // Exact names only; anything else in the section is left alone.
        if (key == QLatin1String("Top"))
            values.top = number;
        else if (key == QLatin1String("Left"))
            values.left = number;
        else if (key == QLatin1String("Height"))
            values.height = number;
        else if (key == QLatin1String("Width"))
            values.width = number;
    }
    return values;
}

void SaveWindowPlacement(const QWidget &window)
{
    const QRect frame = window.geometry();
    savePlacementValues(window.objectName(),
                        {toTwips(window.y()), toTwips(window.x()), toTwips(frame.height()),
                         toTwips(frame.width())});
}

void RestoreWindowPlacement(QWidget &window)
{
    const QRect frame = window.geometry();
    const WindowPlacementValues values = restorePlacementValues(
        window.objectName(), {toTwips(window.y()), toTwips(window.x()),
                              toTwips(frame.height()), toTwips(frame.width())});
    QRect place(twips(values.left), twips(values.top), twips(values.width), twips(values.height));
    // A place remembered on a larger screen is brought onto this one, so no part of the window
    // (its status bar, say) is out of reach.
    if (window.isWindow()) {
        const QScreen *screen = QGuiApplication::screenAt(place.center());
        if (!screen)
            screen = window.screen();
        if (screen) {
            const QRect room = screen->availableGeometry();
            place.setSize(place.size().boundedTo(room.size()));
            place.moveLeft(qBound(room.left(), place.left(), room.right() + 1 - place.width()));
            place.moveTop(qBound(room.top(), place.top(), room.bottom() + 1 - place.height()));
        }
    }
    window.move(place.topLeft());
    window.resize(place.size());
}
