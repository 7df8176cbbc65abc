#pragma once
// What the figure painter's files share: the frame's centre line, the
// fill-and-outline style of every shape, and the colours derived from a Look.
#include "figure_painter.h"
#include "paint.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QTransform>

namespace fig {

constexpr double kCx = 140;

inline QPointF P(double x, double y) { return QPointF(x, y); }

// Mirror around the vertical centre line.
inline QPainterPath mirrored(const QPainterPath &path)
{
    return QTransform(-1, 0, 0, 1, 2 * kCx, 0).map(path);
}

inline void fillPath(QPainter &p, const QPainterPath &path, const QBrush &brush)
{
    p.setPen(Qt::NoPen);
    p.setBrush(brush);
    p.drawPath(path);
}

inline void linePath(QPainter &p, const QPainterPath &path, const QColor &c, double w)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(c, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(path);
}

inline void shape(QPainter &p, const QPainterPath &path, const QBrush &brush, const QColor &line,
                  double w = 1.4)
{
    fillPath(p, path, brush);
    linePath(p, path, line, w);
}

inline QLinearGradient vgrad(double y0, double y1, const QColor &a, const QColor &b)
{
    QLinearGradient g(P(0, y0), P(0, y1));
    g.setColorAt(0, a);
    g.setColorAt(1, b);
    return g;
}

struct Palette
{
    QColor skin, skinShadow, skinLine, blush;
    QColor hair, hairLight, hairDark, hairLine;
    QColor lash;
};

// The garment over the torso, whose outline it keeps.
void paintClothes(QPainter &p, const Look &l, const Palette &c, const QPainterPath &torso);

} // namespace fig
