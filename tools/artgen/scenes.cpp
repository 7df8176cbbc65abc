#include "scenes.h"

#include "paint.h"
#include "places.h"

#include <QPainterPath>
#include <cmath>

namespace {

const int W = 720;
const int H = 480;

QImage placeholder(const QString &name)
{
    QImage img = canvas(W, H);
    QPainter p(&img);
    prepare(p);
    Rng rng(seedFor(name.toUtf8().constData()));
    fillVertical(p, QRectF(0, 0, W, H), {{0, QColor(40, 52, 96)}, {1, QColor(230, 170, 160)}});
    starfield(p, QRectF(0, 0, W, H * 0.6), 120, rng);
    return img;
}

} // namespace

QStringList sceneNames()
{
    QStringList n;
    n << QStringLiteral("ib") << QStringLiteral("b") << QStringLiteral("difang");
    for (int i = 1; i <= 17; ++i)
        n << QStringLiteral("b%1").arg(i);
    for (int i = 1; i <= 4; ++i)
        n << QStringLiteral("b15-%1").arg(i);
    for (int i = 1; i <= 9; ++i)
        n << QStringLiteral("bcg%1").arg(i);
    // Illustration number and how many images it has (1 = a single "cgK").
    static const int parts[37] = {0, 2, 1, 1, 1, 1, 1, 2, 1, 2, 1, 1, 1, 2, 2, 1, 1, 6, 2, 4,
                                  1, 1, 1, 1, 1, 1, 1, 1, 2, 1, 3, 1, 3, 2, 1, 1, 1};
    for (int k = 1; k <= 36; ++k) {
        if (parts[k] == 1) {
            n << QStringLiteral("cg%1").arg(k);
            continue;
        }
        for (int s = 1; s <= parts[k]; ++s) {
            if (k == 9) // the story names these with spaces; the gallery without
                n << QStringLiteral("cg9 - %1").arg(s) << QStringLiteral("cg9-%1").arg(s);
            else
                n << QStringLiteral("cg%1-%2").arg(k).arg(s);
        }
    }
    return n;
}

QString sceneAliasOf(const QString &name)
{
    if (name == QLatin1String("cg9-1"))
        return QStringLiteral("cg9 - 1");
    if (name == QLatin1String("cg9-2"))
        return QStringLiteral("cg9 - 2");
    return QString();
}

QImage drawScene(const QString &name)
{
    if (name == QLatin1String("difang")) {
        QImage img = spriteCanvas(20, 20);
        QPainter p(&img);
        prepare(p);
        p.setBrush(QColor(200, 40, 60));
        p.drawEllipse(QPointF(10, 10), 7, 7);
        return img;
    }
    QImage img = canvas(W, H);
    QPainter p(&img);
    prepare(p);
    Rng rng(seedFor(name.toUtf8().constData()));
    if (name == QLatin1String("b1")) classroom(p, Tod::Morning, rng);
    else if (name == QLatin1String("b2")) classroom(p, Tod::Dusk, rng);
    else if (name == QLatin1String("b3")) corridor(p, Tod::Day, rng);
    else if (name == QLatin1String("b4")) rooftop(p, Tod::Dusk, rng);
    else if (name == QLatin1String("b5")) street(p, Tod::Dusk, rng);
    else if (name == QLatin1String("b6")) bedroom(p, Tod::Night, rng);
    else if (name == QLatin1String("b7")) park(p, Tod::Day, rng);
    else if (name == QLatin1String("b8")) shipCorridor(p, QColor(90, 220, 255), rng);
    else if (name == QLatin1String("b9")) shipBridge(p, rng, QColor(60, 130, 200));
    else if (name == QLatin1String("b10")) { deepSpace(p, rng, QColor(160, 60, 200), QColor(40, 120, 220), 400); planet(p, QPointF(200, 330), 150, QColor(200, 120, 80), QColor(255, 220, 180), QPointF(0.7, -0.6), true, rng); }
    else if (name == QLatin1String("b11")) { rooftop(p, Tod::Night, rng); person(p, QPointF(300, 440), 200, Look(), Pose::Stand); person(p, QPointF(450, 440), 200, Look{QColor(230,200,120), QColor(240,240,250), QColor(60,70,120), QColor(200,60,80), QColor(250,225,210), 3, true, false}, Pose::Wave, -1); }
    else return placeholder(name);
    return img;
}

QImage drawIcon(int size)
{
    QImage img = spriteCanvas(size, size);
    QPainter p(&img);
    prepare(p);
    p.setBrush(QColor(100, 150, 250));
    p.drawEllipse(QRectF(0, 0, size, size));
    return img;
}
