#include "shell/WindowPlacement.h"

#include "shell/Twips.h"

#include <QSettings>
#include <QWidget>

namespace {

QString section(const QString &windowName) { return windowName + QStringLiteral(" Display Settings"); }

// Numbers are stored as the original wrote them: a blank before a non-negative value.
QString storedText(int value)
{
    return (value >= 0 ? QStringLiteral(" ") : QString()) + QString::number(value);
}

} // namespace

void savePlacementValues(const QString &windowName, const WindowPlacementValues &values)
{
    QSettings settings(QStringLiteral("Folvane"), QStringLiteral("Folvane"));
    settings.beginGroup(section(windowName));
    settings.setValue(QStringLiteral("Top"), storedText(values.top));
    settings.setValue(QStringLiteral("Left"), storedText(values.left));
    settings.setValue(QStringLiteral("Height"), storedText(values.height));
    settings.setValue(QStringLiteral("Width"), storedText(values.width));
}

WindowPlacementValues restorePlacementValues(const QString &windowName,
                                             WindowPlacementValues values)
{
    QSettings settings(QStringLiteral("Folvane"), QStringLiteral("Folvane"));
    settings.beginGroup(section(windowName));
    const QStringList keys = settings.childKeys();
    for (const QString &key : keys) {
        bool ok = false;
        const int number = settings.value(key).toString().trimmed().toInt(&ok);
        if (!ok)
            continue;
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
    window.move(twips(values.left), twips(values.top));
    window.resize(twips(values.width), twips(values.height));
}
