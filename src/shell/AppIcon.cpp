#include "shell/AppIcon.h"

#include <QFont>
#include <QPainter>
#include <QImage>
#include <QPixmap>

QImage folvaneIconImage(int size)
{
    QImage picture(size, size, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    {
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0x1f, 0x3a, 0x5f));
        painter.drawRoundedRect(QRectF(0.5, 0.5, size - 1, size - 1), size / 6.0, size / 6.0);
        // A folded page corner: the client plans printed pages.
        painter.setBrush(QColor(0xf2, 0xc1, 0x4e));
        const qreal fold = size / 3.0;
        painter.drawPolygon(QPolygonF{QPointF(size - fold, 0.5), QPointF(size - 0.5, 0.5),
                                      QPointF(size - 0.5, fold)});
        QFont font = painter.font();
        font.setBold(true);
        font.setPixelSize(int(size * 0.7));
        painter.setFont(font);
        painter.setPen(Qt::white);
        painter.drawText(QRectF(0, 0, size, size), Qt::AlignCenter, QStringLiteral("F"));
    }
    return picture;
}

QIcon folvaneIcon()
{
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64})
        icon.addPixmap(QPixmap::fromImage(folvaneIconImage(size)));
    return icon;
}
