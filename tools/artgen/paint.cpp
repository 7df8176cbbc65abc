#include "paint.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>
#include <mutex>

std::uint64_t seedFor(const char *name)
{
    std::uint64_t h = 1469598103934665603ull; // FNV-1a
    for (const char *c = name; *c; ++c) {
        h ^= std::uint8_t(*c);
        h *= 1099511628211ull;
    }
    return h;
}

QColor mix(const QColor &a, const QColor &b, double t)
{
    const double u = 1.0 - t;
    return QColor::fromRgbF(a.redF() * u + b.redF() * t, a.greenF() * u + b.greenF() * t,
                            a.blueF() * u + b.blueF() * t, a.alphaF() * u + b.alphaF() * t);
}

QColor alpha(const QColor &c, int a)
{
    QColor r = c;
    r.setAlpha(a);
    return r;
}

QColor shade(const QColor &c, double f)
{
    if (f <= 1.0)
        return mix(QColor(0, 0, 0, c.alpha()), c, f);
    return mix(c, QColor(255, 255, 255, c.alpha()), std::min(1.0, f - 1.0));
}

QImage canvas(int w, int h, const QColor &fill)
{
    QImage img(w * kDetail, h * kDetail, QImage::Format_RGB32);
    img.setDevicePixelRatio(kDetail);
    img.fill(fill);
    return img;
}

QImage spriteCanvas(int w, int h)
{
    QImage img(w * kDetail, h * kDetail, QImage::Format_ARGB32_Premultiplied);
    img.setDevicePixelRatio(kDetail);
    img.fill(Qt::transparent);
    return img;
}

QSizeF shownSize(const QImage &img)
{
    return QSizeF(img.size()) / img.devicePixelRatio();
}

QRectF inPixels(const QImage &img, const QRectF &r)
{
    const qreal k = img.devicePixelRatio();
    return QRectF(r.topLeft() * k, r.size() * k);
}

void prepare(QPainter &p)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.setPen(Qt::NoPen);
}

void fillLinear(QPainter &p, const QRectF &r, QPointF from, QPointF to, Stops stops)
{
    QLinearGradient g(from, to);
    for (const auto &s : stops)
        g.setColorAt(s.first, s.second);
    p.fillRect(r, g);
}

void fillVertical(QPainter &p, const QRectF &r, Stops stops)
{
    fillLinear(p, r, r.topLeft(), r.bottomLeft(), stops);
}

void glow(QPainter &p, QPointF c, double r, const QColor &col)
{
    if (r <= 0)
        return;
    QRadialGradient g(c, r);
    g.setColorAt(0, col);
    g.setColorAt(0.35, alpha(col, col.alpha() * 6 / 10));
    g.setColorAt(1, alpha(col, 0));
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(c, r, r);
    p.restore();
}

void addGlow(QPainter &p, QPointF c, double r, const QColor &col)
{
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_Plus);
    glow(p, c, r, col);
    p.restore();
}

void lightShaft(QPainter &p, QPointF top, double topW, QPointF bottom, double bottomW,
                const QColor &col)
{
    // Three nested wedges so the edges fall off softly instead of cutting.
    static const double widths[3] = {1.5, 1.0, 0.6};
    static const double shares[3] = {0.25, 0.35, 0.45};
    p.save();
    p.setPen(Qt::NoPen);
    p.setCompositionMode(QPainter::CompositionMode_Screen);
    for (int k = 0; k < 3; ++k) {
        const double tw = topW * widths[k], bw = bottomW * widths[k];
        QPainterPath path;
        path.moveTo(top.x() - tw / 2, top.y());
        path.lineTo(top.x() + tw / 2, top.y());
        path.lineTo(bottom.x() + bw / 2, bottom.y());
        path.lineTo(bottom.x() - bw / 2, bottom.y());
        path.closeSubpath();
        QLinearGradient g(top, bottom);
        g.setColorAt(0, alpha(col, int(col.alpha() * shares[k])));
        g.setColorAt(1, alpha(col, 0));
        p.setBrush(g);
        p.drawPath(path);
    }
    p.restore();
}

void vignette(QPainter &p, const QRectF &r, double strength)
{
    const QPointF c = r.center();
    const double rad = std::hypot(r.width(), r.height()) * 0.62;
    QRadialGradient g(c, rad);
    g.setColorAt(0, QColor(0, 0, 0, 0));
    g.setColorAt(0.55, QColor(0, 0, 0, 0));
    g.setColorAt(1, QColor(0, 0, 0, int(255 * strength)));
    p.fillRect(r, g);
}

void starfield(QPainter &p, const QRectF &r, int count, Rng &rng, double maxSize)
{
    p.save();
    p.setPen(Qt::NoPen);
    for (int i = 0; i < count; ++i) {
        const QPointF at(r.left() + rng.next() * r.width(), r.top() + rng.next() * r.height());
        const double s = 0.35 + std::pow(rng.next(), 3.0) * maxSize;
        const int a = 90 + rng.range(0, 165);
        const double tint = rng.next();
        QColor c = tint < 0.2 ? QColor(255, 225, 200) : tint < 0.45 ? QColor(200, 220, 255)
                                                                     : QColor(255, 255, 255);
        p.setBrush(alpha(c, a));
        p.drawEllipse(at, s, s);
        if (s > maxSize * 0.75) {
            glow(p, at, s * 6, alpha(c, 70));
            p.setBrush(alpha(c, 120));
            p.drawRect(QRectF(at.x() - s * 5, at.y() - 0.4, s * 10, 0.8));
            p.drawRect(QRectF(at.x() - 0.4, at.y() - s * 5, 0.8, s * 10));
        }
    }
    p.restore();
}

void bokeh(QPainter &p, const QRectF &r, int count, Rng &rng, const QColor &a, const QColor &b,
           double minR, double maxR)
{
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_Screen);
    for (int i = 0; i < count; ++i) {
        const QPointF at(r.left() + rng.next() * r.width(), r.top() + rng.next() * r.height());
        const double rad = rng.uniform(minR, maxR);
        QColor c = mix(a, b, rng.next());
        c.setAlpha(int(c.alpha() * rng.uniform(0.35, 1.0)));
        QRadialGradient g(at, rad);
        g.setColorAt(0, alpha(c, c.alpha() * 7 / 10));
        g.setColorAt(0.85, c);
        g.setColorAt(1, alpha(c, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawEllipse(at, rad, rad);
    }
    p.restore();
}

void hills(QPainter &p, const QRectF &r, double baseY, double amp, double waves, double phase,
           const QColor &col)
{
    QPainterPath path;
    path.moveTo(r.left(), r.bottom());
    const int steps = 48;
    for (int i = 0; i <= steps; ++i) {
        const double t = double(i) / steps;
        const double x = r.left() + t * r.width();
        const double y = baseY + amp * (0.6 * std::sin(t * waves * 6.2831853 + phase)
                                        + 0.4 * std::sin(t * waves * 2.3 * 6.2831853 + phase * 1.7));
        path.lineTo(x, y);
    }
    path.lineTo(r.right(), r.bottom());
    path.closeSubpath();
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(col);
    p.drawPath(path);
    p.restore();
}

const char *const kLabelFamily = "WenQuanYi Micro Hei";

namespace {
std::mutex refusedMutex;
QStringList refused;
} // namespace

QFont labelFont(double pixelSize, bool bold)
{
    QFont font(QString::fromLatin1(kLabelFamily));
    font.setPixelSize(qMax(1, qRound(pixelSize)));
    font.setBold(bold);
    // No borrowing from other faces: a glyph the face lacks must show as missing.
    font.setStyleStrategy(QFont::StyleStrategy(QFont::NoFontMerging | QFont::PreferAntialias));
    return font;
}

QString missingGlyphs(const QString &text)
{
    const QFont font = labelFont(16);
    const bool installed = QFontInfo(font).family().compare(QString::fromLatin1(kLabelFamily), Qt::CaseInsensitive) == 0;
    const QFontMetrics metrics(font);
    QString missing;
    for (uint c : text.toUcs4()) {
        if (QChar::isSpace(c))
            continue;
        if (!installed || !metrics.inFontUcs4(c))
            missing += QString::fromUcs4(&c, 1);
    }
    return missing;
}

bool drawLabel(QPainter &p, const QRectF &r, const QString &text, double pixelSize, const QColor &colour, bool bold,
               int flags)
{
    const QString missing = missingGlyphs(text);
    if (!missing.isEmpty()) {
        std::lock_guard<std::mutex> lock(refusedMutex);
        refused << text + QLatin1String(": ") + missing;
        return false;
    }
    p.save();
    p.setFont(labelFont(pixelSize, bold));
    p.setPen(colour);
    p.drawText(r, flags, text);
    p.restore();
    return true;
}

QStringList refusedLabels()
{
    std::lock_guard<std::mutex> lock(refusedMutex);
    return refused;
}
