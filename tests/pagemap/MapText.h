#pragma once

#include "pagemap/PageMap.h"

#include <QStringList>

// Everything a page map holds as one line a page, so that two maps compare with a readable
// difference: "3 Fiction | 12 B1 'Book B1' 9.99 @2 11.11 f-".
inline QString mapText(const catalog::PageMap &map)
{
    const auto number = [](const std::optional<double> &value) {
        return value ? QString::number(*value) : QStringLiteral("-");
    };
    QStringList lines{map.caption + QStringLiteral(" / ") + map.sections.join(QLatin1Char(','))};
    for (const catalog::MapPage &page : map.pages) {
        QString line = QString::number(page.number) +
                       (page.stored ? QStringLiteral(" ") : QStringLiteral(" (no row) ")) +
                       page.section;
        for (const catalog::MapPlacement &p : page.placements)
            line += QStringLiteral(" | %1 %2 '%3' %4 @%5 %6 f%7")
                        .arg(p.itemId)
                        .arg(p.productId, p.productName, number(p.price))
                        .arg(p.position)
                        .arg(p.weight)
                        .arg(number(p.forecast));
        lines << line;
    }
    return lines.join(QLatin1Char('\n'));
}
