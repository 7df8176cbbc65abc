#include "figures.h"

#include <QPainter>
#include <QPainterPath>

QStringList figureNames()
{
    QStringList names;
    for (int i = 1; i <= 12; ++i)
        names << QStringLiteral("a1-%1").arg(i);
    for (int i = 1; i <= 5; ++i)
        names << QStringLiteral("a2-1-%1").arg(i);
    for (int i = 1; i <= 10; ++i)
        names << QStringLiteral("a2-2-%1").arg(i);
    for (int i = 1; i <= 4; ++i)
        names << QStringLiteral("a3-1-%1").arg(i);
    for (int i = 1; i <= 10; ++i)
        names << QStringLiteral("a3-2-%1").arg(i);
    names << QStringLiteral("a-13");
    return names;
}

// Stand-in silhouette until the character art lands: head and body in one
// shade per character group so the staging can already be checked.
QImage drawFigure(const QString &name)
{
    QImage img(280, 490, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QColor c(90, 110, 160);
    if (name.startsWith(QLatin1String("a2")))
        c = QColor(170, 90, 120);
    else if (name.startsWith(QLatin1String("a3")))
        c = QColor(80, 140, 110);
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawEllipse(QPointF(140, 120), 45, 52);
    QPainterPath body;
    body.moveTo(80, 490);
    body.cubicTo(70, 300, 90, 190, 140, 185);
    body.cubicTo(190, 190, 210, 300, 200, 490);
    body.closeSubpath();
    p.drawPath(body);
    return img;
}
