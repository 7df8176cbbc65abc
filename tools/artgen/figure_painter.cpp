#include "figure_painter.h"

#include "figure_draw.h"
#include "paint.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>
#include <vector>

// The figure is drawn in a fixed 280 x 490 frame, front view, light from the
// upper left. Shapes are flat fills with a gradient, one cel shadow and a thin
// line a shade darker than the fill; a soft dark rim around the whole
// silhouette keeps it readable on any background. The head sits at y 45..190
// because the page hides everything below y 377 of the game window.

namespace fig {
namespace {

constexpr double kPi = 3.14159265358979;

double len(QPointF d) { return std::sqrt(d.x() * d.x() + d.y() * d.y()); }

QPointF lerp(QPointF a, QPointF b, double t) { return a + (b - a) * t; }

// Convex hull of two circles: a tapered limb segment. Built with united()
// because mixed winding directions would punch holes where the parts overlap.
QPainterPath capsule(QPointF a, double ra, QPointF b, double rb)
{
    QPainterPath ca, cb;
    ca.addEllipse(a, ra, ra);
    cb.addEllipse(b, rb, rb);
    QPainterPath path = ca.united(cb);
    const QPointF d = b - a;
    const double l = len(d);
    if (l > std::abs(ra - rb) + 0.01) {
        const double ang = std::atan2(d.y(), d.x());
        const double phi = std::acos(std::clamp((ra - rb) / l, -1.0, 1.0));
        auto at = [](QPointF c, double r, double t) {
            return c + P(r * std::cos(t), r * std::sin(t));
        };
        QPolygonF poly;
        poly << at(a, ra, ang + phi) << at(b, rb, ang + phi) << at(b, rb, ang - phi)
             << at(a, ra, ang - phi) << at(a, ra, ang + phi);
        QPainterPath hull;
        hull.addPolygon(poly);
        path = path.united(hull);
    }
    return path;
}

// Drop with its point upwards, for tears and sweat.
QPainterPath drop(QPointF tip, double r, double h)
{
    QPainterPath d;
    d.moveTo(tip);
    d.cubicTo(tip + P(r * 0.4, h * 0.45), tip + P(r * 1.35, h * 0.75), tip + P(0, h));
    d.cubicTo(tip + P(-r * 1.35, h * 0.75), tip + P(-r * 0.4, h * 0.45), tip);
    d.closeSubpath();
    return d;
}

Palette makePalette(const Look &l)
{
    Palette c;
    c.skin = l.skin;
    c.skinShadow = mix(l.skin, QColor(214, 130, 130), 0.32);
    c.skinLine = mix(l.skin, QColor(120, 60, 60), 0.55);
    c.blush = QColor(255, 120, 130);
    c.hair = l.hair;
    c.hairLight = mix(l.hair, QColor(255, 250, 240), 0.35);
    // Pale hair shades towards a cool blue rather than to grey.
    const bool pale = l.hair.lightnessF() > 0.8;
    c.hairDark = pale ? mix(l.hair, QColor(110, 140, 190), 0.42)
                      : mix(l.hair, QColor(30, 20, 50), 0.38);
    c.hairLine = pale ? mix(l.hair, QColor(60, 80, 130), 0.6) : mix(l.hair, QColor(20, 10, 30), 0.6);
    c.lash = mix(l.hair, QColor(30, 18, 24), 0.75);
    return c;
}

// ---------------------------------------------------------------- hair

struct HairShape
{
    QPainterPath back;  // behind head and body
    QPainterPath front; // crown and bangs
    QPainterPath locks; // side locks over the cheeks
    QPainterPath extra; // tails, ponytail: behind the head, in front of the back hair
    QPainterPath frontTail; // low ponytail lying over the shoulder, in front of the clothes
    std::vector<QPointF> tips;
    double ringY = 70;
};

// Bangs: from the right temple over the tips to the left temple, each strand
// bent by sweep so the fringe has a parting.
void addBangs(QPainterPath &path, const std::vector<QPointF> &tips,
              const std::vector<QPointF> &notches, double sweep)
{
    // notches.size() == tips.size() + 1, running right to left.
    path.lineTo(notches[0]);
    for (size_t i = 0; i < tips.size(); ++i) {
        const QPointF n0 = notches[i], t = tips[i], n1 = notches[i + 1];
        const double h0 = t.y() - n0.y(), h1 = t.y() - n1.y();
        path.cubicTo(n0 + P(sweep * 4, h0 * 0.55), t + P(4 + sweep * 3, -h0 * 0.35), t);
        path.cubicTo(t + P(-2 + sweep * 3, -h1 * 0.45), n1 + P(sweep * 4, h1 * 0.5), n1);
    }
}

HairShape makeHair(const Look &l, bool flare)
{
    HairShape h;
    const double m_flare = flare ? 1 : 0;
    const double sw = l.sweep;
    const bool male = l.male;

    // Crown: a little wider than the skull, taller for the fuller styles.
    const double top = (l.hairStyle == Hair::Messy) ? 36 : 40;
    const double side = male ? 72 : 70;
    QPainterPath crown;
    crown.moveTo(P(side, 132));
    crown.cubicTo(P(side - 6, 78), P(96, top), P(140, top));
    crown.cubicTo(P(184, top), P(2 * kCx - side + 6, 78), P(2 * kCx - side, 132));

    std::vector<QPointF> tips, notches;
    if (male) {
        tips = {P(197, 126), P(180, 118), P(160, 124), P(140, 114), P(120, 122), P(100, 116),
                P(84, 126)};
        notches = {P(204, 108), P(190, 92), P(171, 88), P(151, 86), P(130, 86), P(110, 88),
                   P(92, 94), P(76, 108)};
        if (l.hairStyle == Hair::Messy) {
            tips = {P(200, 132), P(184, 122), P(166, 128), P(146, 118), P(126, 126),
                    P(106, 118), P(86, 130)};
        }
    } else if (l.fringe == Fringe::Straight) {
        // Blunt cut just above the brows, longer strands framing the face.
        tips = {P(198, 142), P(182, 121), P(166, 122), P(150, 121), P(134, 122), P(118, 121),
                P(100, 122), P(84, 142)};
        notches = {P(205, 108), P(192, 110), P(174, 112), P(158, 112), P(142, 112), P(126, 112),
                   P(110, 112), P(94, 110), P(75, 108)};
    } else if (l.fringe == Fringe::Swept) {
        // Parted on the viewer's left, the fringe falling across to the right.
        tips = {P(198, 140), P(182, 128), P(166, 122), P(150, 118), P(132, 114), P(114, 110),
                P(94, 118)};
        notches = {P(205, 110), P(190, 96), P(174, 92), P(158, 90), P(140, 88), P(120, 84),
                   P(102, 80), P(75, 106)};
    } else {
        tips = {P(196, 132), P(180, 120), P(161, 118), P(146, 126), P(128, 116), P(108, 120),
                P(90, 130)};
        notches = {P(205, 108), P(190, 94), P(172, 86), P(154, 88), P(137, 86), P(118, 88),
                   P(98, 94), P(75, 110)};
    }
    for (QPointF &t : tips)
        t.rx() += sw * 3;
    h.tips = tips;

    h.front = crown;
    addBangs(h.front, tips, notches, sw);
    h.front.closeSubpath();

    if (l.hairStyle == Hair::Messy || (male && l.ahoge)) {
        // Tufts breaking the outline of the crown.
        QPainterPath tuft;
        const double xs[] = {92, 112, 158, 184};
        const double ys[] = {58, 44, 42, 56};
        for (int i = 0; i < 4; ++i) {
            const double x = xs[i], y = ys[i];
            const double dir = x < kCx ? -1 : 1;
            tuft.moveTo(P(x - 12, y + 14));
            tuft.quadTo(P(x + dir * 6, y - 2), P(x + dir * 16, y - 10));
            tuft.quadTo(P(x + dir * 2, y + 6), P(x + 12, y + 16));
            tuft.closeSubpath();
        }
        h.front = h.front.united(tuft);
    }
    if (l.ahoge) {
        QPainterPath a;
        a.moveTo(P(136, 46));
        a.cubicTo(P(130, 20), P(150, 14), P(160, 22));
        a.cubicTo(P(150, 20), P(140, 28), P(146, 46));
        a.closeSubpath();
        h.front = h.front.united(a);
    }

    // Side locks: long ones reach the chest for the long styles.
    double lockEnd = 0;
    switch (l.hairStyle) {
    case Hair::Long: lockEnd = 275; break;
    case Hair::Floating: lockEnd = 285; break;
    case Hair::LowTail: lockEnd = 250; break;
    case Hair::TwinTails: lockEnd = 215; break;
    case Hair::Ponytail: lockEnd = 205; break;
    case Hair::Bob: lockEnd = 198 + l.hairLength; break;
    case Hair::Short: lockEnd = male ? 160 : 185; break;
    case Hair::Messy: lockEnd = 168; break;
    }
    {
        QPainterPath lk;
        const double w = male ? 13 : 17;
        lk.moveTo(P(74, 100));
        lk.cubicTo(P(66, 150), P(70, lockEnd - 50), P(78 + w * 0.2, lockEnd));
        lk.cubicTo(P(84, lockEnd - 30), P(86 + w * 0.4, 160), P(96, 108));
        lk.closeSubpath();
        if (!male || l.hairStyle == Hair::Messy) {
            // A second, shorter strand gives the lock some depth.
            lk.moveTo(P(86, 104));
            lk.cubicTo(P(84, 140), P(90, lockEnd - 60), P(96, lockEnd - 30));
            lk.cubicTo(P(98, lockEnd - 70), P(100, 140), P(104, 110));
            lk.closeSubpath();
        }
        lk.setFillRule(Qt::WindingFill);
        h.locks = lk.simplified();
        h.locks.addPath(mirrored(h.locks));
        h.locks = h.locks.simplified();
    }

    // Back hair.
    QPainterPath b;
    switch (l.hairStyle) {
    case Hair::Floating: {
        // Hair drifting as if under water: wide waves, tips lifting.
        const double f = m_flare;
        b.moveTo(P(78, 88));
        b.cubicTo(P(30 - f * 14, 130), P(60 - f * 20, 220), P(22 - f * 16, 300));
        b.cubicTo(P(14 - f * 10, 340), P(40, 380), P(60, 392 - f * 30));
        const int n = 6;
        for (int i = 0; i < n; ++i) {
            const double x0 = 60 + 160.0 * i / n, x1 = 60 + 160.0 * (i + 1) / n;
            const double xm = (x0 + x1) / 2;
            b.quadTo(P(xm - 5, 392), P(xm, 404 - (i % 2) * 10 - f * 20));
            b.quadTo(P(xm + 5, 392), P(x1, 390 - f * 30 * (i == n - 1)));
        }
        b.cubicTo(P(240, 380), P(266 + f * 10, 340), P(258 + f * 16, 300));
        b.cubicTo(P(220 + f * 20, 220), P(250 + f * 14, 130), P(202, 88));
        b.closeSubpath();
        break;
    }
    case Hair::LowTail: {
        // Gathered at the nape: only a narrow fall shows behind the shoulders.
        b.moveTo(P(76, 92));
        b.cubicTo(P(64, 140), P(70, 190), P(96, 214));
        b.lineTo(P(184, 214));
        b.cubicTo(P(210, 190), P(216, 140), P(204, 92));
        b.closeSubpath();
        // The tail comes forward over the shoulder on the viewer's left.
        QPainterPath t;
        t.moveTo(P(98, 196));
        t.cubicTo(P(80, 210), P(78, 250), P(84, 300));
        t.cubicTo(P(86, 330), P(92, 350), P(100, 368));
        t.cubicTo(P(100, 346), P(106, 330), P(110, 310));
        t.cubicTo(P(116, 270), P(118, 226), P(114, 200));
        t.closeSubpath();
        h.frontTail = t;
        break;
    }
    case Hair::Long: {
        b.moveTo(P(78, 90));
        b.cubicTo(P(50, 150), P(44, 260), P(50, 352));
        // Strand tips along the lower edge, left to right.
        const int n = 7;
        for (int i = 0; i < n; ++i) {
            const double x0 = 50 + 180.0 * i / n, x1 = 50 + 180.0 * (i + 1) / n;
            const double xm = (x0 + x1) / 2;
            b.quadTo(P(xm - 4, 360), P(xm, 372 - (i % 2) * 8));
            b.quadTo(P(xm + 4, 360), P(x1, 350));
        }
        b.cubicTo(P(236, 260), P(230, 150), P(202, 90));
        b.closeSubpath();
        break;
    }
    case Hair::Bob:
    case Hair::Ponytail:
    case Hair::TwinTails: {
        const double bottom = (l.hairStyle == Hair::Bob ? 200 : 176) + l.hairLength;
        const double wide = l.hairStyle == Hair::Bob ? 62 : 70;
        b.moveTo(P(76, 92));
        b.cubicTo(P(wide - 4, 130), P(wide - 2, bottom - 30), P(wide + 4, bottom));
        const int n = 6;
        const double x0 = wide + 4, x1 = 2 * kCx - wide - 4;
        for (int i = 0; i < n; ++i) {
            const double a = x0 + (x1 - x0) * i / n, c = x0 + (x1 - x0) * (i + 1) / n;
            const double m = (a + c) / 2;
            b.quadTo(P(m - 3, bottom - 6), P(m, bottom + 8 - (i % 2) * 5));
            b.quadTo(P(m + 3, bottom - 6), P(c, bottom));
        }
        b.cubicTo(P(2 * kCx - wide + 2, bottom - 30), P(2 * kCx - wide + 4, 130), P(204, 92));
        b.closeSubpath();
        break;
    }
    case Hair::Short:
    case Hair::Messy: {
        const double bottom = male ? 158 : 176;
        b.moveTo(P(76, 96));
        b.cubicTo(P(68, 120), P(68, bottom - 20), P(74, bottom));
        const int n = 5;
        for (int i = 0; i < n; ++i) {
            const double a = 74 + 132.0 * i / n, c = 74 + 132.0 * (i + 1) / n;
            const double m = (a + c) / 2;
            b.quadTo(P(m - 3, bottom - 4), P(m, bottom + 6));
            b.quadTo(P(m + 3, bottom - 4), P(c, bottom));
        }
        b.cubicTo(P(212, bottom - 20), P(212, 120), P(204, 96));
        b.closeSubpath();
        break;
    }
    }
    h.back = b;

    if (l.hairStyle == Hair::Ponytail) {
        QPainterPath t;
        t.moveTo(P(186, 64));
        t.cubicTo(P(236, 60), P(252, 150), P(240, 250));
        t.cubicTo(P(236, 280), P(226, 300), P(220, 318));
        t.cubicTo(P(224, 280), P(226, 240), P(220, 200));
        t.cubicTo(P(214, 150), P(210, 110), P(196, 96));
        t.closeSubpath();
        h.extra = t;
    } else if (l.sideTail) {
        // Small side ponytail sticking out above the ear on the viewer's right.
        QPainterPath t;
        t.moveTo(P(192, 84));
        t.cubicTo(P(226, 82), P(240, 120), P(234, 158));
        t.cubicTo(P(232, 172), P(226, 182), P(218, 192));
        t.cubicTo(P(222, 176), P(222, 160), P(216, 146));
        t.cubicTo(P(212, 132), P(206, 118), P(198, 110));
        t.closeSubpath();
        h.extra = t;
    } else if (l.hairStyle == Hair::TwinTails) {
        QPainterPath t;
        t.moveTo(P(92, 66));
        t.cubicTo(P(40, 64), P(22, 150), P(30, 250));
        t.cubicTo(P(34, 290), P(44, 320), P(56, 340));
        t.cubicTo(P(52, 300), P(54, 250), P(60, 200));
        t.cubicTo(P(66, 150), P(72, 110), P(86, 98));
        t.closeSubpath();
        h.extra = t;
        h.extra.addPath(mirrored(t));
    }
    return h;
}

void strandLines(QPainter &p, const QPainterPath &clip, const std::vector<QPointF> &from,
                 const std::vector<QPointF> &to, const QColor &c, double w)
{
    p.save();
    p.setClipPath(clip, Qt::IntersectClip);
    for (size_t i = 0; i < from.size() && i < to.size(); ++i) {
        QPainterPath s;
        s.moveTo(from[i]);
        const QPointF mid = lerp(from[i], to[i], 0.5);
        s.quadTo(mid + P((from[i].x() - kCx) * 0.15, 0), to[i]);
        linePath(p, s, c, w);
    }
    p.restore();
}

void paintBackHair(QPainter &p, const HairShape &h, const Palette &c, const Look &l)
{
    const QRectF r = h.back.boundingRect();
    QLinearGradient bg(P(0, r.top()), P(0, r.bottom()));
    bg.setColorAt(0, c.hairDark);
    if (l.hairTip.isValid()) {
        bg.setColorAt(0.55, c.hairDark);
        bg.setColorAt(1, mix(l.hairTip, c.hairDark, 0.25));
    } else {
        bg.setColorAt(1, shade(c.hairDark, 0.8));
    }
    shape(p, h.back, bg, c.hairLine, 1.5);
    // A few falling strands so the mass does not read as a flat sheet.
    std::vector<QPointF> from, to;
    if (r.bottom() > 250) {
        from = {P(70, 170), P(84, 200), P(196, 200), P(210, 170)};
        to = {P(62, 350), P(80, 356), P(206, 356), P(222, 350)};
    } else {
        from = {P(74, 130), P(206, 130)};
        to = {P(74, r.bottom() - 4), P(206, r.bottom() - 4)};
    }
    strandLines(p, h.back, from, to, alpha(c.hairLine, 110), 1.1);
    if (!h.extra.isEmpty()) {
        const QRectF e = h.extra.boundingRect();
        QLinearGradient g(P(0, e.top()), P(0, e.bottom()));
        g.setColorAt(0, c.hair);
        g.setColorAt(0.6, shade(c.hair, 0.9));
        g.setColorAt(1, c.hairDark);
        shape(p, h.extra, g, c.hairLine, 1.5);
        p.save();
        p.setClipPath(h.extra);
        // Sheen down each tail.
        QPainterPath sheen;
        if (l.sideTail) {
            sheen.moveTo(P(206, 92));
            sheen.cubicTo(P(224, 100), P(230, 130), P(226, 160));
        } else if (l.hairStyle == Hair::Ponytail) {
            sheen.moveTo(P(212, 90));
            sheen.cubicTo(P(236, 120), P(238, 190), P(230, 250));
        } else {
            sheen.moveTo(P(72, 84));
            sheen.cubicTo(P(46, 120), P(42, 190), P(48, 250));
            sheen.addPath(mirrored(sheen));
        }
        linePath(p, sheen, alpha(c.hairLight, 150), 5);
        p.restore();
        if (l.hairTie && !l.sideTail) {
            // Ribbons where the tails are tied.
            auto bow = [&](QPointF at) {
                QPainterPath r;
                r.moveTo(at);
                r.cubicTo(at + P(-16, -14), at + P(-20, 8), at);
                r.cubicTo(at + P(16, -14), at + P(20, 8), at);
                r.addEllipse(at, 3.5, 3.5);
                r.moveTo(at);
                r.lineTo(at + P(-8, 20));
                r.lineTo(at + P(-3, 19));
                r.lineTo(at);
                r.lineTo(at + P(6, 20));
                r.lineTo(at + P(10, 17));
                r.closeSubpath();
                r.setFillRule(Qt::WindingFill);
                shape(p, r.simplified(), l.accent, shade(l.accent, 0.6), 1.2);
            };
            if (l.hairStyle == Hair::Ponytail) {
                bow(P(204, 74));
            } else {
                bow(P(88, 74));
                bow(P(192, 74));
            }
        }
    }
}

void paintFrontTail(QPainter &p, const HairShape &h, const Palette &c, const Look &l)
{
    if (h.frontTail.isEmpty())
        return;
    const QRectF r = h.frontTail.boundingRect();
    shape(p, h.frontTail, vgrad(r.top(), r.bottom(), c.hair, shade(c.hair, 0.85)), c.hairLine, 1.3);
    p.save();
    p.setClipPath(h.frontTail);
    QPainterPath s;
    s.moveTo(P(100, 210));
    s.cubicTo(P(92, 250), P(92, 300), P(98, 350));
    linePath(p, s, alpha(c.hairLight, 130), 3);
    p.restore();
    // Ribbon where it is tied, just under the ear.
    const QColor rib = shade(l.accent, 0.62);
    const QPointF at(104, 214);
    QPainterPath bowL;
    bowL.moveTo(at);
    bowL.cubicTo(at + P(-18, -12), at + P(-20, 9), at);
    QPainterPath bowR;
    bowR.moveTo(at);
    bowR.cubicTo(at + P(18, -12), at + P(20, 9), at);
    QPainterPath tails;
    tails.moveTo(at);
    tails.lineTo(at + P(-8, 22));
    tails.lineTo(at + P(-3, 21));
    tails.lineTo(at + P(1, 4));
    tails.lineTo(at + P(5, 21));
    tails.lineTo(at + P(10, 19));
    tails.closeSubpath();
    for (const QPainterPath &part : {tails, bowL, bowR})
        shape(p, part, rib, shade(rib, 0.55), 1.1);
    QPainterPath knot;
    knot.addEllipse(at, 3.5, 3.5);
    shape(p, knot, shade(rib, 0.85), shade(rib, 0.55), 1.0);
}

void paintFrontHair(QPainter &p, const HairShape &h, const Palette &c, const Look &l)
{
    // Locks first: the fringe overlaps their roots.
    {
        const QRectF r = h.locks.boundingRect();
        shape(p, h.locks,
              vgrad(r.top(), r.bottom(), c.hair,
                    l.hairTip.isValid() ? mix(l.hairTip, c.hair, 0.35) : shade(c.hair, 0.85)),
              c.hairLine, 1.3);
        p.save();
        p.setClipPath(h.locks);
        QPainterPath s;
        s.moveTo(P(80, 110));
        s.cubicTo(P(76, 150), P(78, r.bottom() - 40), P(82, r.bottom() - 10));
        s.addPath(mirrored(s));
        linePath(p, s, alpha(c.hairLight, 120), 2.2);
        p.restore();
    }
    const QRectF r = h.front.boundingRect();
    QLinearGradient g(P(0, r.top()), P(0, r.bottom()));
    g.setColorAt(0, shade(c.hair, 1.12));
    g.setColorAt(0.45, c.hair);
    g.setColorAt(1, shade(c.hair, 0.86));
    shape(p, h.front, g, c.hairLine, 1.5);

    p.save();
    p.setClipPath(h.front);
    // Shadow on the far side of the crown.
    QPainterPath side;
    side.moveTo(P(170, 30));
    side.cubicTo(P(214, 50), P(226, 100), P(214, 140));
    side.lineTo(P(260, 140));
    side.lineTo(P(260, 30));
    side.closeSubpath();
    fillPath(p, side, alpha(c.hairDark, 90));
    // Angel ring: the band of sheen across the crown.
    QPainterPath ring;
    const double y = 66;
    ring.moveTo(P(70, y + 12));
    ring.cubicTo(P(90, y - 8), P(190, y - 8), P(210, y + 12));
    const int n = 9;
    for (int i = 0; i < n; ++i) {
        const double x0 = 210 - 140.0 * i / n, x1 = 210 - 140.0 * (i + 1) / n;
        const double xm = (x0 + x1) / 2;
        const double base = y + 8 + 6 * std::pow((xm - kCx) / 70, 2);
        ring.lineTo(P(xm, base + 6 + (i % 2) * 3));
        ring.lineTo(P(x1, base - 1));
    }
    ring.closeSubpath();
    fillPath(p, ring, alpha(c.hairLight, 150));
    // Strand lines from the crown down into the fringe.
    std::vector<QPointF> from, to;
    for (const QPointF &t : h.tips) {
        from.push_back(P(kCx + (t.x() - kCx) * 0.55, 58));
        to.push_back(t + P(0, -10));
    }
    strandLines(p, h.front, from, to, alpha(c.hairLine, 90), 1.0);
    p.restore();

    if (l.hairpin) {
        // Two crossed pins on the viewer's right above the temple.
        QPainterPath pin = capsule(P(176, 100), 2.4, P(198, 86), 2.4);
        QPainterPath pin2 = capsule(P(178, 88), 2.4, P(196, 102), 2.4);
        shape(p, pin, l.accent, shade(l.accent, 0.55), 1.0);
        shape(p, pin2, shade(l.accent, 1.2), shade(l.accent, 0.55), 1.0);
    }
    if (l.starClip) {
        QPainterPath star;
        const QPointF at(196, 96);
        for (int i = 0; i < 10; ++i) {
            const double a = -kPi / 2 + i * kPi / 5 + 0.2;
            const double r = (i % 2) ? 4.2 : 10;
            const QPointF q = at + P(r * std::cos(a), r * std::sin(a));
            if (i == 0)
                star.moveTo(q);
            else
                star.lineTo(q);
        }
        star.closeSubpath();
        QRadialGradient sg(at + P(-3, -3), 12);
        sg.setColorAt(0, shade(l.accent, 1.45));
        sg.setColorAt(1, l.accent);
        shape(p, star, sg, shade(l.accent, 0.5), 1.2);
    }
    if (l.ringPin) {
        QPainterPath ring;
        ring.addEllipse(P(194, 98), 7.5, 7.5);
        ring.addEllipse(P(194, 98), 4.5, 4.5);
        shape(p, ring, QColor(250, 252, 255), QColor(150, 170, 190), 1.0);
        if (l.trim.isValid()) {
            QPainterPath in;
            in.addEllipse(P(194, 98), 6, 6);
            linePath(p, in, alpha(l.trim, 200), 1.0);
        }
    }
    if (l.hairTie && l.hairStyle != Hair::Ponytail && l.hairStyle != Hair::TwinTails &&
        l.hairStyle != Hair::LowTail && !l.sideTail) {
        // Headband across the crown.
        QPainterPath band;
        band.moveTo(P(74, 96));
        band.cubicTo(P(80, 44), P(200, 44), P(206, 96));
        QPainterPathStroker st;
        st.setWidth(7);
        st.setCapStyle(Qt::RoundCap);
        const QPainterPath bp = st.createStroke(band);
        shape(p, bp, l.accent, shade(l.accent, 0.6), 1.0);
    }
}

// ---------------------------------------------------------------- face

QPainterPath facePath(bool male)
{
    QPainterPath f;
    const double chin = male ? 190 : 188;
    f.moveTo(P(82, 96));
    if (male) {
        f.cubicTo(P(82, 132), P(88, 156), P(110, 174));
        f.cubicTo(P(122, 184), P(131, chin), P(140, chin));
    } else {
        f.cubicTo(P(81, 130), P(88, 154), P(108, 171));
        f.cubicTo(P(121, 182), P(131, chin), P(140, chin));
    }
    // Left half down to the chin, right half back up, arc across the top.
    QPainterPath out = f;
    out.connectPath(mirrored(f).toReversed());
    out.cubicTo(P(198, 50), P(82, 50), P(82, 96));
    out.closeSubpath();
    return out;
}

struct EyeGeom
{
    QPointF inner, peak, outer;  // upper lid
    QPointF lowInner, low, lowOuter; // lower lid
};

QPainterPath upperLid(const EyeGeom &g)
{
    QPainterPath s;
    const QPointF a = g.inner, m = g.peak, b = g.outer;
    s.moveTo(a);
    s.cubicTo(P(a.x() + (m.x() - a.x()) * 0.15, m.y() + (a.y() - m.y()) * 0.3),
              P(m.x() - (m.x() - a.x()) * 0.5, m.y()), m);
    s.cubicTo(P(m.x() + (b.x() - m.x()) * 0.55, m.y()),
              P(b.x() - (b.x() - m.x()) * 0.08, b.y() - (b.y() - m.y()) * 0.5), b);
    return s;
}

QPainterPath lowerLid(const EyeGeom &g)
{
    QPainterPath s;
    s.moveTo(g.outer);
    s.cubicTo(g.lowOuter, P(g.low.x() + (g.lowOuter.x() - g.low.x()) * 0.5, g.low.y()), g.low);
    s.cubicTo(P(g.low.x() + (g.lowInner.x() - g.low.x()) * 0.5, g.low.y()), g.lowInner,
              g.inner);
    return s;
}

void paintEye(QPainter &p, double cx, double s, const Look &l, const Mood &m, const Palette &c)
{
    // s = -1 for the eye on the viewer's left: its outer corner points left.
    const bool male = l.male;
    const double cy = 142;
    const double halfW = male ? 14 : 15;
    const double lidW = male ? 2.6 : 3.4;

    if (m.eyes == Eyes::Smile || m.eyes == Eyes::Closed) {
        QPainterPath a;
        if (m.eyes == Eyes::Smile) {
            a.moveTo(P(cx + s * halfW, cy + 4));
            a.cubicTo(P(cx + s * 8, cy - 9), P(cx - s * 6, cy - 9), P(cx - s * (halfW - 2), cy + 3));
        } else {
            a.moveTo(P(cx + s * halfW, cy + 1));
            a.cubicTo(P(cx + s * 7, cy + 8), P(cx - s * 6, cy + 8), P(cx - s * (halfW - 2), cy + 2));
            // Lashes at the outer end.
            a.moveTo(P(cx + s * (halfW - 3), cy + 4));
            a.lineTo(P(cx + s * (halfW + 2), cy + 8));
        }
        linePath(p, a, c.lash, lidW);
        if (m.tears) {
            QPainterPath pool;
            pool.moveTo(P(cx - s * 10, cy + 6));
            pool.quadTo(P(cx, cy + 12), P(cx + s * 12, cy + 6));
            linePath(p, pool, QColor(150, 210, 255, 200), 2.5);
        }
        return;
    }

    EyeGeom g;
    double top = male ? 131 : 127;       // peak of the upper lid
    double innerY = male ? 138 : 137, outerY = male ? 135 : 133;
    double lowY = male ? 151 : 155;
    double irisR = male ? 8.5 : 10.5, irisH = male ? 10 : 13;
    if (l.sharpEyes) {
        top += 3;
        outerY -= 2;
        lowY -= 2;
        irisH -= 1.5;
    }
    switch (m.eyes) {
    case Eyes::Wide:
        top -= 3;
        innerY -= 1;
        outerY -= 2;
        lowY += 2;
        irisR *= 0.78;
        irisH *= 0.78;
        break;
    case Eyes::Half:
        top += 8;
        innerY += 2;
        outerY += 4;
        break;
    case Eyes::Narrow:
        top += 5;
        innerY += 4;
        outerY -= 1;
        lowY -= 2;
        break;
    case Eyes::Down:
        top += 4;
        innerY -= 1;
        outerY += 3;
        break;
    default:
        break;
    }
    if (m.brow == Brow::Worried || m.brow == Brow::Sad) {
        innerY -= 1.5;
        outerY += 1.5;
    }
    g.inner = P(cx - s * (halfW - 3), innerY);
    g.peak = P(cx + s * 1, top);
    g.outer = P(cx + s * halfW, outerY);
    g.lowOuter = P(cx + s * (halfW - 1), lowY - 3);
    g.low = P(cx + s * 1, lowY);
    g.lowInner = P(cx - s * (halfW - 4), lowY - 4);

    QPainterPath sclera = upperLid(g);
    sclera.connectPath(lowerLid(g));
    sclera.closeSubpath();

    fillPath(p, sclera, QColor(255, 255, 255));
    p.save();
    p.setClipPath(sclera);
    // Iris, shifted with the gaze; downcast eyes look down a little.
    double ix = cx + m.look * 4 + s * 0.5;
    double iy = (top + lowY) / 2 + 1;
    if (m.eyes == Eyes::Down)
        iy += 3;
    if (m.eyes == Eyes::Half || m.eyes == Eyes::Narrow)
        iy -= 1;
    const QRectF ir(ix - irisR, iy - irisH, 2 * irisR, 2 * irisH);
    if (m.eyes == Eyes::Blank) {
        fillPath(p, sclera, QColor(225, 228, 240));
    } else {
        QLinearGradient ig(P(0, ir.top()), P(0, ir.bottom()));
        ig.setColorAt(0, mix(l.eyes, QColor(10, 10, 30), 0.55));
        ig.setColorAt(0.55, l.eyes);
        ig.setColorAt(1, mix(l.eyes, QColor(255, 255, 240), 0.45));
        p.setPen(QPen(mix(l.eyes, QColor(0, 0, 20), 0.6), 1.1));
        p.setBrush(ig);
        p.drawEllipse(ir);
        // Pupil.
        const double pr = m.eyes == Eyes::Wide ? 0.32 : 0.45;
        fillPath(p, [&] {
            QPainterPath pp;
            pp.addEllipse(P(ix, iy), irisR * pr, irisH * (pr + 0.08));
            return pp;
        }(), mix(l.eyes, QColor(10, 5, 25), 0.75));
        // Glow in the lower half of the iris.
        QRadialGradient gl(P(ix, iy + irisH * 0.55), irisR * 0.9);
        gl.setColorAt(0, alpha(mix(l.eyes, QColor(255, 255, 255), 0.6), 170));
        gl.setColorAt(1, alpha(l.eyes, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(gl);
        p.drawEllipse(ir);
        if (l.irisRing) {
            QPainterPath ring;
            ring.addEllipse(P(ix, iy), irisR * 0.7, irisH * 0.7);
            linePath(p, ring, alpha(mix(l.eyes, QColor(255, 255, 255), 0.7), 170), 1.0);
        }
    }
    if (m.glow.isValid()) {
        // The iris lights up from inside.
        QRadialGradient lg(P(ix, iy), irisH * 1.1);
        lg.setColorAt(0, alpha(m.glow, 230));
        lg.setColorAt(0.6, alpha(m.glow, 120));
        lg.setColorAt(1, alpha(m.glow, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(lg);
        p.drawEllipse(ir.adjusted(-3, -3, 3, 3));
    }
    // Shadow of the upper lid on the eyeball.
    {
        QPainterPath sh = upperLid(g);
        linePath(p, sh.translated(0, 2.5), alpha(mix(c.lash, l.eyes, 0.4), 110), 5);
    }
    if (m.eyes != Eyes::Blank) {
        // Highlights: big one upper left, small one lower right; light from the upper left.
        const double hx = ix - irisR * 0.38, hy = iy - irisH * 0.42;
        p.setBrush(QColor(255, 255, 255, 240));
        p.setPen(Qt::NoPen);
        p.drawEllipse(P(hx, hy), irisR * 0.36, irisH * 0.3);
        p.drawEllipse(P(ix + irisR * 0.42, iy + irisH * 0.45), irisR * 0.16, irisR * 0.16);
        if (m.tears) {
            // Wet eyes: extra sparkle and a pool along the lower lid.
            p.drawEllipse(P(ix + irisR * 0.1, iy - irisH * 0.05), irisR * 0.14, irisR * 0.14);
            QPainterPath pool = lowerLid(g);
            linePath(p, pool.translated(0, -2), QColor(170, 220, 255, 190), 4);
        }
    }
    p.restore();
    if (m.glow.isValid())
        addGlow(p, P(ix, iy), 22, alpha(m.glow, 70));

    // Lower lash: a short soft stroke at the outer side.
    {
        QPainterPath ll;
        ll.moveTo(lerp(g.outer, g.lowOuter, 0.6));
        ll.quadTo(g.lowOuter + P(-s * 2, 3), g.low + P(s * 3, 0));
        linePath(p, ll, alpha(c.lash, 150), 1.2);
    }
    // Upper lash line, thick, with a flick at the outer corner.
    linePath(p, upperLid(g), c.lash, lidW);
    if (!male) {
        QPainterPath flick;
        flick.moveTo(g.outer + P(-s * 3, -1.5));
        flick.lineTo(g.outer + P(s * 5, -3.5));
        flick.lineTo(g.outer + P(s * 1, 2.5));
        flick.closeSubpath();
        fillPath(p, flick, c.lash);
    }
    // Crease above the eye.
    if (m.eyes != Eyes::Half) {
        QPainterPath cr;
        cr.moveTo(P(cx - s * 4, top - 3.5));
        cr.quadTo(P(cx + s * 6, top - 5.5), P(cx + s * (halfW - 2), outerY - 5));
        linePath(p, cr, alpha(c.skinLine, 110), 1.0);
    }
}

void paintBrow(QPainter &p, double cx, double s, const Look &l, const Mood &m, const Palette &c)
{
    double inner = 122, peak = 118, outer = 121;
    switch (m.brow) {
    case Brow::Raised: inner -= 6; peak -= 6; outer -= 4; break;
    case Brow::Worried: inner -= 5; peak -= 1; outer += 3; break;
    case Brow::Sad: inner -= 4; peak += 0; outer += 4; break;
    case Brow::Angry: inner += 5; peak += 1; outer -= 3; break;
    case Brow::Skeptic:
        if (s > 0) { inner -= 4; peak -= 5; outer -= 2; }
        else { inner += 2; peak += 2; }
        break;
    default: break;
    }
    if (l.male) {
        inner += 1;
        peak += 1;
    }
    QPainterPath b;
    b.moveTo(P(cx - s * 9, inner));
    b.quadTo(P(cx + s * 3, peak - 1.5), P(cx + s * 16, outer));
    linePath(p, b, mix(c.hairLine, c.lash, 0.4), l.male ? 3.0 : 2.2);
}

void paintMouth(QPainter &p, const Mood &m, const Palette &c, bool male)
{
    const double x = kCx + (male ? 0 : 0), y = 171;
    const QColor line = mix(c.skinLine, QColor(90, 30, 40), 0.4);
    const QColor inside(150, 50, 60);
    const QColor tongue(240, 130, 140);
    auto openShape = [&](const QPainterPath &path, bool teeth) {
        fillPath(p, path, inside);
        p.save();
        p.setClipPath(path);
        const QRectF r = path.boundingRect();
        p.setBrush(tongue);
        p.setPen(Qt::NoPen);
        p.drawEllipse(P(r.center().x(), r.bottom()), r.width() * 0.38, r.height() * 0.45);
        if (teeth) {
            p.setBrush(QColor(255, 255, 255));
            p.drawRect(QRectF(r.left(), r.top() - 1, r.width(), r.height() * 0.22 + 1));
        }
        p.restore();
        linePath(p, path, line, 1.2);
    };
    QPainterPath path;
    switch (m.mouth) {
    case Mouth::Neutral:
        path.moveTo(P(x - 5, y));
        path.quadTo(P(x, y + 1), P(x + 5, y));
        linePath(p, path, line, 1.4);
        break;
    case Mouth::Small:
        path.moveTo(P(x - 3, y));
        path.lineTo(P(x + 3, y));
        linePath(p, path, line, 1.3);
        break;
    case Mouth::Smile:
        path.moveTo(P(x - 8, y - 2));
        path.quadTo(P(x, y + 5), P(x + 8, y - 2));
        linePath(p, path, line, 1.5);
        break;
    case Mouth::Smirk:
        path.moveTo(P(x - 6, y + 1));
        path.quadTo(P(x + 2, y + 3), P(x + 8, y - 3));
        linePath(p, path, line, 1.5);
        break;
    case Mouth::Grin:
        path.moveTo(P(x - 10, y - 3));
        path.quadTo(P(x, y - 1), P(x + 10, y - 3));
        path.cubicTo(P(x + 8, y + 9), P(x - 8, y + 9), P(x - 10, y - 3));
        path.closeSubpath();
        openShape(path, true);
        break;
    case Mouth::Open:
        path.addEllipse(P(x, y + 2), 4.5, 6);
        openShape(path, false);
        break;
    case Mouth::Frown:
        path.moveTo(P(x - 7, y + 3));
        path.quadTo(P(x, y - 3), P(x + 7, y + 3));
        linePath(p, path, line, 1.5);
        break;
    case Mouth::Shout:
        path.moveTo(P(x - 10, y - 4));
        path.quadTo(P(x, y - 7), P(x + 10, y - 4));
        path.cubicTo(P(x + 9, y + 10), P(x - 9, y + 10), P(x - 10, y - 4));
        path.closeSubpath();
        openShape(path, true);
        break;
    case Mouth::Wavy:
        path.moveTo(P(x - 9, y + 1));
        path.quadTo(P(x - 6.5, y - 3), P(x - 4, y + 1));
        path.quadTo(P(x - 1.5, y + 4), P(x + 1, y));
        path.quadTo(P(x + 3.5, y - 3), P(x + 6, y + 1));
        path.quadTo(P(x + 8, y + 3), P(x + 9, y));
        linePath(p, path, line, 1.4);
        break;
    case Mouth::Pout:
        // Pursed lips pushed forward, cheeks puffed.
        path.moveTo(P(x - 4, y + 1));
        path.quadTo(P(x - 2, y - 2), P(x, y));
        path.quadTo(P(x + 2, y - 2), P(x + 4, y + 1));
        path.quadTo(P(x, y + 4), P(x - 4, y + 1));
        fillPath(p, path, QColor(230, 120, 130));
        linePath(p, path, line, 1.2);
        for (double s : {-1.0, 1.0}) {
            QPainterPath puff;
            puff.moveTo(P(x + s * 44, y - 22));
            puff.quadTo(P(x + s * 52, y - 8), P(x + s * 40, y + 6));
            linePath(p, puff, alpha(c.skinLine, 160), 1.2);
        }
        break;
    case Mouth::Grit:
        path.addRoundedRect(QRectF(x - 9, y - 3, 18, 7), 2.5, 2.5);
        fillPath(p, path, QColor(255, 255, 255));
        linePath(p, path, line, 1.3);
        {
            QPainterPath t;
            t.moveTo(P(x - 9, y + 0.5));
            t.lineTo(P(x + 9, y + 0.5));
            for (int i = -1; i <= 1; ++i) {
                t.moveTo(P(x + i * 4.5, y - 3));
                t.lineTo(P(x + i * 4.5, y + 4));
            }
            linePath(p, t, alpha(line, 160), 0.8);
        }
        break;
    }
}

void paintFace(QPainter &p, const Look &l, const Mood &m, const Palette &c, const HairShape &h)
{
    const QPainterPath face = facePath(l.male);
    // Ears, half hidden by the hair.
    QPainterPath ear;
    ear.addEllipse(P(83, 136), 6.5, 11);
    ear.addEllipse(P(197, 136), 6.5, 11);
    shape(p, ear, c.skin, c.skinLine, 1.2);

    QLinearGradient fg(P(0, 90), P(0, 190));
    fg.setColorAt(0, c.skin);
    fg.setColorAt(1, mix(c.skin, c.skinShadow, 0.25));
    shape(p, face, fg, c.skinLine, 1.4);

    p.save();
    p.setClipPath(face);
    // Shadow the fringe throws on the forehead, and a soft one on the far cheek.
    fillPath(p, h.front.translated(2, 7), alpha(c.skinShadow, 200));
    QPainterPath cheek;
    cheek.moveTo(P(200, 100));
    cheek.cubicTo(P(196, 140), P(184, 168), P(150, 196));
    cheek.lineTo(P(220, 196));
    cheek.lineTo(P(220, 100));
    cheek.closeSubpath();
    fillPath(p, cheek, alpha(c.skinShadow, 110));
    if (m.gloom) {
        QLinearGradient gg(P(0, 96), P(0, 150));
        gg.setColorAt(0, QColor(70, 60, 130, 150));
        gg.setColorAt(1, QColor(70, 60, 130, 0));
        p.fillRect(QRectF(70, 90, 140, 60), gg);
        for (int i = 0; i < 7; ++i) {
            const double x = 104 + i * 12;
            QPainterPath ln;
            ln.moveTo(P(x, 104));
            ln.lineTo(P(x, 122 + (i % 2) * 8));
            linePath(p, ln, QColor(60, 50, 110, 170), 1.3);
        }
    }
    p.restore();

    // Blush: soft patches, hatching when strong.
    const double blush = std::max(m.blush, 0.18);
    for (double s : {-1.0, 1.0}) {
        const QPointF at(kCx + s * 29, 158);
        QRadialGradient bg(at, 15);
        bg.setColorAt(0, alpha(c.blush, int(120 * blush)));
        bg.setColorAt(1, alpha(c.blush, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(bg);
        p.drawEllipse(at, 16, 10);
        if (m.blush > 0.6) {
            for (int i = 0; i < 3; ++i) {
                QPainterPath hatch;
                const QPointF a = at + P(-7 + i * 5, -3);
                hatch.moveTo(a);
                hatch.lineTo(a + P(-3, 6));
                linePath(p, hatch, alpha(QColor(230, 80, 100), 170), 1.1);
            }
        }
    }

    for (double s : {-1.0, 1.0}) {
        const double cx = kCx + s * 24;
        Mood em = m;
        if (m.wink && s > 0)
            em.eyes = Eyes::Smile;
        paintEye(p, cx, s, l, em, c);
    }
    if (l.older) {
        for (double s : {-1.0, 1.0}) {
            QPainterPath under;
            under.moveTo(P(kCx + s * 14, 161));
            under.quadTo(P(kCx + s * 24, 165), P(kCx + s * 34, 160));
            linePath(p, under, alpha(c.skinLine, 110), 1.1);
            QPainterPath fold;
            fold.moveTo(P(kCx + s * 11, 162));
            fold.quadTo(P(kCx + s * 17, 169), P(kCx + s * 13, 177));
            linePath(p, fold, alpha(c.skinLine, 90), 1.1);
        }
    }
    if (l.freckles) {
        p.setPen(Qt::NoPen);
        p.setBrush(alpha(mix(c.skinLine, c.blush, 0.4), 150));
        const QPointF dots[] = {P(-34, 160), P(-29, 163), P(-24, 159), P(-31, 157)};
        for (double s : {-1.0, 1.0})
            for (const QPointF &d : dots)
                p.drawEllipse(P(kCx + s * d.x(), d.y()), 1.0, 1.0);
    }
    // Nose: a tiny shadow stroke.
    QPainterPath nose;
    nose.moveTo(P(kCx + 1, 157));
    nose.quadTo(P(kCx + 3, 160), P(kCx + 0.5, 161));
    linePath(p, nose, alpha(c.skinLine, 170), 1.2);

    paintMouth(p, m, c, l.male);

    if (m.tears) {
        for (double s : {-1.0, 1.0}) {
            const double x = kCx + s * 22;
            QPainterPath stream;
            stream.moveTo(P(x, 152));
            stream.cubicTo(P(x + s * 2, 162), P(x - s * 1, 172), P(x + s * 1, 182));
            linePath(p, stream, QColor(160, 215, 255, 200), 3.2);
            const QPainterPath d = drop(P(x + s * 1, 178), 3.6, 11);
            QLinearGradient tg(P(0, 178), P(0, 189));
            tg.setColorAt(0, QColor(220, 240, 255, 230));
            tg.setColorAt(1, QColor(120, 190, 250, 230));
            shape(p, d, tg, QColor(90, 150, 220, 200), 1.0);
        }
    }
}

void paintGlasses(QPainter &p, bool slip)
{
    p.save();
    if (slip) {
        // Slid down the nose and askew.
        p.translate(kCx, 150);
        p.rotate(-7);
        p.translate(-kCx, -150 + 9);
    }
    const QColor frame(140, 150, 168);
    QPainterPath lens;
    for (double s : {-1.0, 1.0}) {
        const QRectF r(kCx + s * 24 - 17, 128, 34, 26);
        QPainterPath one;
        one.addRoundedRect(r, 12, 12);
        p.setPen(Qt::NoPen);
        QLinearGradient g(r.topLeft(), r.bottomRight());
        g.setColorAt(0, QColor(255, 255, 255, 60));
        g.setColorAt(0.5, QColor(200, 220, 255, 20));
        g.setColorAt(1, QColor(255, 255, 255, 50));
        fillPath(p, one, g);
        linePath(p, one, frame, 1.5);
        // Glint across the lens.
        QPainterPath gl;
        gl.moveTo(r.topLeft() + P(8, 6));
        gl.lineTo(r.topLeft() + P(4, 13));
        linePath(p, gl, QColor(255, 255, 255, 170), 2);
    }
    QPainterPath bridge;
    bridge.moveTo(P(kCx - 7, 137));
    bridge.quadTo(P(kCx, 133), P(kCx + 7, 137));
    bridge.moveTo(P(kCx - 41, 136));
    bridge.lineTo(P(kCx - 54, 133));
    bridge.moveTo(P(kCx + 41, 136));
    bridge.lineTo(P(kCx + 54, 133));
    linePath(p, bridge, frame, 1.8);
    p.restore();
}

void paintSweat(QPainter &p)
{
    const QPainterPath d = drop(P(206, 100), 6, 20);
    QLinearGradient g(P(0, 100), P(0, 120));
    g.setColorAt(0, QColor(230, 245, 255, 240));
    g.setColorAt(1, QColor(130, 195, 250, 240));
    shape(p, d, g, QColor(80, 140, 210), 1.2);
    p.setBrush(QColor(255, 255, 255, 230));
    p.setPen(Qt::NoPen);
    p.drawEllipse(P(204, 113), 1.8, 3);
}

void paintVein(QPainter &p)
{
    // Four bent strokes around a centre: the comic anger mark.
    const QPointF c(196, 84);
    QPainterPath v;
    for (int i = 0; i < 4; ++i) {
        const double a = kPi / 4 + i * kPi / 2;
        const QPointF dir(std::cos(a), std::sin(a));
        const QPointF nrm(-dir.y(), dir.x());
        const QPointF base = c + dir * 3.5;
        v.moveTo(base + nrm * 5);
        v.quadTo(base + dir * 5, base - nrm * 5);
    }
    linePath(p, v, QColor(220, 40, 60), 2.6);
}

// ---------------------------------------------------------------- body

struct ArmGeom
{
    QPointF shoulder, elbow, wrist;
    double rs, re, rw;
    double handAngle; // direction the fingers point, radians
    enum Hand { Open, Fist, Hidden } hand;
};

ArmGeom armGeom(Arm a, double s, bool male, Prop prop)
{
    // s = -1 for the arm on the viewer's left.
    ArmGeom g;
    const double sx = male ? 64 : 68;
    g.shoulder = P(kCx + s * sx, male ? 244 : 246);
    g.rs = male ? 17 : 14.5;
    g.re = male ? 12.5 : 10.5;
    g.rw = male ? 9 : 7.5;
    g.hand = ArmGeom::Open;
    auto X = [s](double dx) { return kCx + s * dx; };
    double down = kPi / 2;
    switch (a) {
    case Arm::Down:
        g.elbow = P(X(sx + 8), 350);
        g.wrist = P(X(sx + 4), 440);
        g.handAngle = down;
        break;
    case Arm::Chest:
        g.elbow = P(X(sx + 10), 338);
        g.wrist = P(X(26), 302);
        g.handAngle = std::atan2(-20, -s * 30);
        break;
    case Arm::Think:
        g.elbow = P(X(sx + 4), 336);
        g.wrist = P(X(22), 222);
        g.handAngle = std::atan2(-1, -s * 0.15);
        break;
    case Arm::Mouth:
        g.elbow = P(X(sx + 2), 330);
        g.wrist = P(X(14), 196);
        g.handAngle = std::atan2(-1, -s * 0.1);
        break;
    case Arm::Clasp:
        g.elbow = P(X(sx + 12), 330);
        g.wrist = P(X(14), 336);
        g.handAngle = std::atan2(0.3, -s);
        break;
    case Arm::Cross:
        g.elbow = P(X(sx + 14), 322);
        g.wrist = P(X(-40), 300);
        g.handAngle = std::atan2(-0.2, -s);
        g.hand = ArmGeom::Hidden;
        break;
    case Arm::Wave:
        g.elbow = P(X(sx + 42), 300);
        g.wrist = P(X(sx + 40), 214);
        g.handAngle = std::atan2(-1, s * 0.15);
        break;
    case Arm::Fist:
        g.elbow = P(X(sx + 10), 342);
        g.wrist = P(X(30), 296);
        g.handAngle = std::atan2(-0.5, -s);
        g.hand = ArmGeom::Fist;
        break;
    case Arm::Hips:
        g.elbow = P(X(sx + 36), 318);
        g.wrist = P(X(sx - 6), 378);
        g.handAngle = std::atan2(0.6, -s);
        g.hand = ArmGeom::Fist;
        break;
    case Arm::Head:
        g.elbow = P(X(sx + 44), 214);
        g.wrist = P(X(sx - 6), 110);
        g.handAngle = std::atan2(-1, -s * 0.6);
        break;
    case Arm::Point:
        g.elbow = P(X(sx + 20), 326);
        g.wrist = P(X(sx + 6), 262);
        g.handAngle = std::atan2(-1, s * 0.4);
        g.hand = ArmGeom::Fist;
        break;
    case Arm::Pray:
        g.elbow = P(X(sx + 6), 334);
        g.wrist = P(X(10), 292);
        g.handAngle = std::atan2(-1, -s * 0.5);
        break;
    case Arm::Behind:
        g.elbow = P(X(sx + 8), 340);
        g.wrist = P(X(40), 396);
        g.handAngle = down;
        g.hand = ArmGeom::Hidden;
        break;
    case Arm::Up:
        g.elbow = P(X(sx + 24), 318);
        g.wrist = P(X(sx + 12), 246);
        g.handAngle = std::atan2(-1, s * 0.25);
        break;
    case Arm::Hug:
        g.elbow = P(X(sx + 4), 330);
        g.wrist = P(X(-34), 268);
        g.handAngle = std::atan2(-0.9, -s);
        break;
    case Arm::Raise:
        g.elbow = P(X(sx + 40), 252);
        g.wrist = P(X(sx + 34), 170);
        g.handAngle = std::atan2(-1, s * 0.05);
        g.hand = ArmGeom::Fist;
        break;
    case Arm::Pocket:
        g.elbow = P(X(sx + 14), 340);
        g.wrist = P(X(48), 398);
        g.handAngle = down;
        g.hand = ArmGeom::Hidden;
        break;
    case Arm::Lock:
        g.elbow = P(X(sx + 30), 296);
        g.wrist = P(X(70), 190);
        g.handAngle = std::atan2(-1, s * 0.1);
        g.hand = ArmGeom::Fist;
        break;
    case Arm::Hush:
        g.elbow = P(X(sx + 2), 328);
        g.wrist = P(X(12), 202);
        g.handAngle = std::atan2(-1, -s * 0.05);
        g.hand = ArmGeom::Fist;
        break;
    case Arm::Touch:
        g.elbow = P(X(sx + 26), 318);
        g.wrist = P(X(sx + 26), 236);
        g.handAngle = std::atan2(-1, s * 0.05);
        break;
    case Arm::Glasses:
        g.elbow = P(X(sx + 2), 318);
        g.wrist = P(X(8), 170);
        g.handAngle = std::atan2(-1, -s * 0.12);
        g.hand = ArmGeom::Fist;
        break;
    case Arm::Temple:
        g.elbow = P(X(sx + 36), 262);
        g.wrist = P(X(58), 160);
        g.handAngle = std::atan2(-1, -s * 0.1);
        break;
    case Arm::Offer:
        g.elbow = P(X(sx + 16), 334);
        g.wrist = P(X(sx + 40), 318);
        g.handAngle = std::atan2(-0.15, s);
        break;
    case Arm::Hold:
        switch (prop) {
        case Prop::BookChest:
            g.elbow = P(X(sx + 8), 338);
            g.wrist = P(X(26), 300);
            g.handAngle = std::atan2(-0.8, -s);
            break;
        case Prop::BookOpenUp:
            g.elbow = P(X(sx + 14), 330);
            g.wrist = P(X(50), 282);
            g.handAngle = std::atan2(-1, -s * 0.2);
            break;
        case Prop::BookOpenDown:
            g.elbow = P(X(sx + 12), 342);
            g.wrist = P(X(50), 336);
            g.handAngle = std::atan2(-0.6, -s);
            break;
        case Prop::BookFace:
            g.elbow = P(X(sx + 6), 318);
            g.wrist = P(X(38), 212);
            g.handAngle = std::atan2(-1, -s * 0.2);
            break;
        case Prop::BookUnderArm:
            g.elbow = P(X(sx + 10), 336);
            g.wrist = P(X(sx - 26), 372);
            g.handAngle = std::atan2(0.3, -s);
            break;
        case Prop::Pencil:
        case Prop::None:
            g.elbow = P(X(sx + 20), 326);
            g.wrist = P(X(sx + 6), 262);
            g.handAngle = std::atan2(-1, s * 0.4);
            g.hand = ArmGeom::Fist;
            break;
        }
        break;
    }
    return g;
}

bool nearFace(Arm a, Prop prop)
{
    switch (a) {
    case Arm::Think: case Arm::Mouth: case Arm::Head: case Arm::Hush: case Arm::Glasses:
    case Arm::Temple: case Arm::Lock:
        return true;
    case Arm::Hold:
        return prop == Prop::BookFace;
    default:
        return false;
    }
}

void paintHand(QPainter &p, const ArmGeom &g, const Palette &c, bool male, bool pointFinger,
               bool spread)
{
    if (g.hand == ArmGeom::Hidden)
        return;
    p.save();
    p.translate(g.wrist);
    p.rotate(g.handAngle * 180 / kPi - 90); // local +y runs along the fingers
    const double k = male ? 1.15 : 1.0;
    p.scale(k, k);
    QPainterPath hand;
    auto add = [&hand](const QPainterPath &part) { hand = hand.united(part); };
    auto rounded = [](QRectF r, double k) {
        QPainterPath q;
        q.addRoundedRect(r, k, k);
        return q;
    };
    QPainterPath creases;
    if (g.hand == ArmGeom::Fist) {
        add(rounded(QRectF(-8, -1, 16, 16), 6.5));
        QPainterPath thumb;
        thumb.addEllipse(P(-7, 5), 4.2, 5.5);
        add(thumb);
        if (pointFinger)
            add(capsule(P(2.5, 12), 2.7, P(3, 27), 2.3));
        for (int i = 0; i < 3; ++i) {
            creases.moveTo(P(-3.5 + i * 4, 11));
            creases.lineTo(P(-3.5 + i * 4, 14.5));
        }
    } else if (spread) {
        add(rounded(QRectF(-7.5, -1, 15, 15), 6));
        const double ang[] = {-0.32, -0.1, 0.1, 0.3};
        const double lng[] = {14, 16, 15.5, 12.5};
        for (int i = 0; i < 4; ++i) {
            const QPointF base(-4.8 + i * 3.2, 11);
            add(capsule(base, 2.5,
                        base + P(std::sin(ang[i]) * lng[i], std::cos(ang[i]) * lng[i]), 2.1));
        }
        add(capsule(P(6, 4), 3, P(13, 10), 2.3));
    } else {
        // Fingers together: one rounded mitten with faint creases, thumb apart.
        QPainterPath mitten;
        mitten.moveTo(P(-6.5, 0));
        mitten.cubicTo(P(-7.5, 8), P(-7.5, 16), P(-6, 23));
        mitten.cubicTo(P(-4, 29), P(3, 29.5), P(5, 24));
        mitten.cubicTo(P(7, 17), P(7, 9), P(6.5, 0));
        mitten.closeSubpath();
        add(mitten);
        add(capsule(P(5, 5), 3.2, P(9.5, 15), 2.4));
        creases.moveTo(P(-2.2, 15));
        creases.lineTo(P(-2.5, 26));
        creases.moveTo(P(1.4, 15));
        creases.lineTo(P(1.5, 26));
    }
    const QPainterPath &h = hand;
    QLinearGradient hg(P(-8, 0), P(8, 0));
    hg.setColorAt(0, c.skin);
    hg.setColorAt(1, mix(c.skin, c.skinShadow, 0.5));
    shape(p, h, hg, c.skinLine, 1.1);
    linePath(p, creases, alpha(c.skinLine, 120), 0.9);
    p.restore();
}

// Part of a capsule from a to b, cut flat at b: a sleeve end.
QPainterPath openSleeve(QPointF a, double ra, QPointF b, double rb)
{
    const QPointF d = (b - a) / std::max(1.0, len(b - a));
    const QPointF n(-d.y(), d.x());
    QPainterPath cap = capsule(a, ra, b + d * rb, rb);
    QPainterPath keep;
    QPolygonF poly;
    poly << a - d * 200 + n * 200 << b + n * 200 << b - n * 200 << a - d * 200 - n * 200;
    keep.addPolygon(poly);
    keep.closeSubpath();
    return cap.intersected(keep);
}

QPainterPath slab(QPointF end, QPointF dir, double depth)
{
    const QPointF n(-dir.y(), dir.x());
    QPolygonF poly;
    poly << end + n * 100 << end - n * 100 << end - n * 100 - dir * depth
         << end + n * 100 - dir * depth;
    QPainterPath s;
    s.addPolygon(poly);
    s.closeSubpath();
    return s;
}

// Upper and lower halves are painted separately so that a bent arm can pass
// in front of the body while its shoulder stays tucked behind the torso.
enum class ArmPart { Upper, Fore, Whole };

void paintArm(QPainter &p, const ArmGeom &g, const Look &l, const Palette &c, ArmPart part,
              bool pointFinger, bool spread, bool pencil)
{
    const QColor sleeve = l.cloth;
    const QColor line = shade(sleeve, 0.6);
    const QColor cuffCol = l.outfit == Outfit::Sailor ? l.cloth2 : shade(sleeve, 0.9);
    auto fillSleeve = [&](const QPainterPath &s) {
        const QRectF br = s.boundingRect();
        QLinearGradient sg(P(br.left(), 0), P(br.right(), 0));
        sg.setColorAt(0, shade(sleeve, 1.05));
        sg.setColorAt(1, shade(sleeve, 0.84));
        shape(p, s, sg, line, 1.3);
    };
    auto cuff = [&](const QPainterPath &s, QPointF end, QPointF dir) {
        p.save();
        p.setClipPath(s);
        fillPath(p, slab(end, dir, 6), cuffCol);
        p.restore();
        linePath(p, s, line, 1.3);
    };
    const QPointF du = (g.elbow - g.shoulder) / std::max(1.0, len(g.elbow - g.shoulder));
    const QPointF df = (g.wrist - g.elbow) / std::max(1.0, len(g.wrist - g.elbow));
    const bool upper = part != ArmPart::Fore, fore = part != ArmPart::Upper;

    if (l.shortSleeves) {
        const QPointF e = lerp(g.shoulder, g.elbow, 0.5);
        const double r = (g.rs + g.re) / 2 + 2.5;
        if (upper) {
            shape(p, capsule(g.shoulder, g.rs, g.elbow, g.re), c.skin, c.skinLine, 1.2);
            const QPainterPath s = openSleeve(g.shoulder, g.rs + 2.5, e, r);
            fillSleeve(s);
            cuff(s, e, du);
        }
        if (fore) {
            shape(p, capsule(g.elbow, g.re, g.wrist, g.rw), c.skin, c.skinLine, 1.2);
            paintHand(p, g, c, l.male, pointFinger, spread);
        }
        return;
    }
    if (upper)
        fillSleeve(capsule(g.shoulder, g.rs + 2, g.elbow, g.re + 2.5));
    if (fore) {
        const bool pushed = l.innerSleeve.isValid();
        const QPointF w = lerp(g.elbow, g.wrist, pushed ? 0.5 : 0.86);
        const double r = pushed ? g.re + 4 : g.rw + 3.5;
        shape(p, capsule(lerp(g.elbow, g.wrist, 0.5), g.rw + 1, g.wrist, g.rw), c.skin,
              c.skinLine, 1.2);
        paintHand(p, g, c, l.male, pointFinger, spread);
        if (pencil) {
            // Held in the fist, pointing where the fingers would.
            const QPointF d(std::cos(g.handAngle), std::sin(g.handAngle));
            const QPointF a = g.wrist + d * 6, b = g.wrist + d * 40;
            QPainterPath pen = capsule(a, 2.4, b, 2.4);
            shape(p, pen, QColor(240, 200, 80), QColor(150, 110, 40), 1.0);
            QPainterPath tip;
            const QPointF n(-d.y(), d.x());
            tip.moveTo(b + n * 2.4);
            tip.lineTo(b + d * 8);
            tip.lineTo(b - n * 2.4);
            tip.closeSubpath();
            shape(p, tip, QColor(235, 210, 170), QColor(150, 110, 40), 0.9);
            paintHand(p, g, c, l.male, false, false);
        }
        if (pushed) {
            // Blazer sleeve showing under the pushed-up outer sleeve.
            const QPointF iw = lerp(g.elbow, g.wrist, 0.86);
            const QPainterPath in = openSleeve(lerp(g.elbow, g.wrist, 0.3), g.re + 1.5, iw,
                                               g.rw + 3);
            const QColor ic = l.innerSleeve;
            shape(p, in, ic, shade(ic, 0.55), 1.2);
            p.save();
            p.setClipPath(in);
            fillPath(p, slab(iw, df, 4), QColor(248, 248, 252));
            p.restore();
            linePath(p, in, shade(ic, 0.55), 1.2);
        }
        const QPainterPath s = openSleeve(g.elbow, g.re + 2.5, w, r);
        fillSleeve(s);
        if (pushed) {
            // Bunched fabric where the sleeve is pushed up.
            QPainterPath bunch;
            const QPointF n(-df.y(), df.x());
            for (int i = 1; i <= 3; ++i) {
                const QPointF at = w - df * (i * 6.0);
                bunch.moveTo(at + n * (r - 1));
                bunch.quadTo(at - df * 3, at - n * (r - 1));
            }
            p.save();
            p.setClipPath(s);
            linePath(p, bunch, alpha(line, 150), 1.1);
            p.restore();
        } else {
            cuff(s, w, df);
            if (l.trim.isValid()) {
                p.save();
                p.setClipPath(s);
                const QPointF n(-df.y(), df.x());
                QPainterPath t;
                t.moveTo(w - df * 7 + n * 30);
                t.lineTo(w - df * 7 - n * 30);
                linePath(p, t, l.trim, 1.2);
                p.restore();
            }
        }
        if (part == ArmPart::Whole) {
            // Straight arm: hide the seam where the two halves meet.
            const QPainterPath joint = capsule(g.elbow - du * 6, g.re + 1, g.elbow + df * 6, g.re + 1);
            fillPath(p, joint, mix(shade(sleeve, 1.05), shade(sleeve, 0.84), 0.5));
        }
        // Fold at the elbow.
        QPainterPath fold;
        const QPointF n(-du.y(), du.x());
        fold.moveTo(g.elbow + n * (g.re * 0.8) - du * 4);
        fold.quadTo(g.elbow, g.elbow - n * (g.re * 0.3) + du * 3);
        linePath(p, fold, alpha(line, 150), 1.1);
    }
}

QPainterPath torsoPath(bool male)
{
    QPainterPath t;
    if (male) {
        t.moveTo(P(124, 196));
        t.cubicTo(P(112, 210), P(90, 214), P(72, 222));
        t.cubicTo(P(56, 230), P(50, 246), P(52, 268));
        t.lineTo(P(64, 310));
        t.cubicTo(P(72, 350), P(78, 390), P(80, 430));
        t.lineTo(P(80, 500));
    } else {
        t.moveTo(P(126, 196));
        t.cubicTo(P(116, 212), P(96, 216), P(80, 224));
        t.cubicTo(P(66, 230), P(60, 246), P(62, 266));
        t.lineTo(P(74, 304));
        t.cubicTo(P(84, 336), P(92, 362), P(92, 388));
        t.cubicTo(P(90, 420), P(82, 460), P(80, 500));
    }
    QPainterPath out = t;
    out.connectPath(mirrored(t).toReversed());
    out.closeSubpath();
    return out;
}

void paintNeck(QPainter &p, const Palette &c, bool male)
{
    const double w = male ? 14 : 11.5;
    QPainterPath n;
    n.moveTo(P(kCx - w, 168));
    n.lineTo(P(kCx - w - 1, 210));
    n.quadTo(P(kCx, 222), P(kCx + w + 1, 210));
    n.lineTo(P(kCx + w, 168));
    n.closeSubpath();
    shape(p, n, c.skin, c.skinLine, 1.2);
    p.save();
    p.setClipPath(n);
    // Shadow under the chin.
    QPainterPath sh;
    sh.moveTo(P(kCx - 30, 160));
    sh.lineTo(P(kCx - 30, 186));
    sh.quadTo(P(kCx, 210), P(kCx + 30, 186));
    sh.lineTo(P(kCx + 30, 160));
    sh.closeSubpath();
    fillPath(p, sh, c.skinShadow);
    p.restore();
}

// Soft dark rim around the silhouette: dilate the alpha, blur it, put it
// underneath. Works on the premultiplied pixels directly; the frame is small.
void addRim(QImage &img, const QColor &col)
{
    const int w = img.width(), h = img.height();
    std::vector<float> a(size_t(w * h)), t(size_t(w * h)), o(size_t(w * h));
    for (int y = 0; y < h; ++y) {
        const QRgb *row = reinterpret_cast<const QRgb *>(img.constScanLine(y));
        for (int x = 0; x < w; ++x)
            a[size_t(y * w + x)] = qAlpha(row[x]) / 255.0f;
    }
    // The rim's width is the same on screen at any drawing size.
    const int detail = qRound(img.devicePixelRatio());
    const int r = 2 * detail;
    // Separable max (dilation) then a separable box blur.
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            float m = 0;
            for (int k = -r; k <= r; ++k) {
                const int xx = std::clamp(x + k, 0, w - 1);
                m = std::max(m, a[size_t(y * w + xx)]);
            }
            t[size_t(y * w + x)] = m;
        }
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            float m = 0;
            for (int k = -r; k <= r; ++k) {
                const int yy = std::clamp(y + k, 0, h - 1);
                m = std::max(m, t[size_t(yy * w + x)]);
            }
            o[size_t(y * w + x)] = m;
        }
    const int b = detail;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            float s = 0;
            for (int k = -b; k <= b; ++k)
                s += o[size_t(y * w + std::clamp(x + k, 0, w - 1))];
            t[size_t(y * w + x)] = s / (2 * b + 1);
        }
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            float s = 0;
            for (int k = -b; k <= b; ++k)
                s += t[size_t(std::clamp(y + k, 0, h - 1) * w + x)];
            o[size_t(y * w + x)] = s / (2 * b + 1);
        }
    const float ca = col.alphaF();
    const float cr = col.redF() * ca, cg = col.greenF() * ca, cb = col.blueF() * ca;
    for (int y = 0; y < h; ++y) {
        QRgb *row = reinterpret_cast<QRgb *>(img.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const float rim = o[size_t(y * w + x)];
            if (rim <= 0)
                continue;
            // Source over rim, premultiplied.
            const QRgb s = row[x];
            const float sa = qAlpha(s) / 255.0f;
            const float k = rim * (1 - sa);
            const int na = int(std::lround((sa + ca * k) * 255));
            const int nr = int(std::lround(qRed(s) + cr * k * 255));
            const int ng = int(std::lround(qGreen(s) + cg * k * 255));
            const int nb = int(std::lround(qBlue(s) + cb * k * 255));
            row[x] = qRgba(std::min(nr, na), std::min(ng, na), std::min(nb, na), na);
        }
    }
}


// ---------------------------------------------------------------- props

// The star notebook: dark cover with a star, seen closed.
void paintClosedBook(QPainter &p, QPointF at, double w, double h, double angle, const Look &l)
{
    p.save();
    p.translate(at);
    p.rotate(angle);
    const QColor cv = l.book;
    QPainterPath pages;
    pages.addRoundedRect(QRectF(-w / 2 + 3, -h / 2 + 3, w, h), 3, 3);
    shape(p, pages, QColor(246, 240, 222), QColor(170, 160, 140), 1.0);
    QPainterPath cover;
    cover.addRoundedRect(QRectF(-w / 2, -h / 2, w, h), 3.5, 3.5);
    QLinearGradient g(P(-w / 2, -h / 2), P(w / 2, h / 2));
    g.setColorAt(0, shade(cv, 1.25));
    g.setColorAt(1, shade(cv, 0.85));
    shape(p, cover, g, shade(cv, 0.5), 1.3);
    QPainterPath spine;
    spine.addRect(QRectF(-w / 2, -h / 2, 7, h));
    p.save();
    p.setClipPath(cover);
    fillPath(p, spine, shade(cv, 0.7));
    p.restore();
    QPainterPath star;
    const double r0 = std::min(w, h) * 0.18;
    for (int i = 0; i < 10; ++i) {
        const double a = -kPi / 2 + i * kPi / 5;
        const double r = (i % 2) ? r0 * 0.42 : r0;
        const QPointF q(3 + r * std::cos(a), -h * 0.08 + r * std::sin(a));
        if (i == 0)
            star.moveTo(q);
        else
            star.lineTo(q);
    }
    star.closeSubpath();
    shape(p, star, QColor(246, 214, 120), QColor(190, 150, 60), 0.9);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(246, 214, 120, 200));
    p.drawEllipse(P(-w * 0.18, h * 0.22), 1.4, 1.4);
    p.drawEllipse(P(w * 0.22, h * 0.28), 1.1, 1.1);
    p.drawEllipse(P(w * 0.26, -h * 0.3), 1.2, 1.2);
    p.restore();
}

// Open, showing two pages of hand-drawn star charts.
void paintOpenBook(QPainter &p, QPointF at, double w, double h, const Look &l)
{
    p.save();
    p.translate(at);
    QPainterPath cover;
    cover.addRoundedRect(QRectF(-w / 2 - 4, -h / 2 - 2, w + 8, h + 6), 3, 3);
    shape(p, cover, l.book, shade(l.book, 0.5), 1.2);
    for (double s : {-1.0, 1.0}) {
        QPainterPath page;
        page.moveTo(P(0, -h / 2 + 3));
        page.quadTo(P(s * w * 0.25, -h / 2 - 3), P(s * w / 2, -h / 2));
        page.lineTo(P(s * w / 2, h / 2));
        page.quadTo(P(s * w * 0.25, h / 2 - 3), P(0, h / 2 + 2));
        page.closeSubpath();
        QLinearGradient g(P(0, 0), P(s * w / 2, 0));
        g.setColorAt(0, QColor(214, 206, 186));
        g.setColorAt(0.25, QColor(248, 243, 228));
        g.setColorAt(1, QColor(252, 249, 238));
        shape(p, page, g, QColor(170, 160, 140), 1.0);
        // A constellation: dots joined by thin ink lines.
        const QPointF pts[] = {P(0.2, -0.25), P(0.42, -0.1), P(0.35, 0.15), P(0.7, 0.05),
                               P(0.8, -0.28), P(0.6, 0.3)};
        QPainterPath ink;
        for (int i = 0; i < 6; ++i) {
            const QPointF q(s * pts[i].x() * w / 2, pts[i].y() * h);
            if (i == 0 || i == 4)
                ink.moveTo(q);
            else
                ink.lineTo(q);
        }
        linePath(p, ink, QColor(70, 90, 150, 170), 0.8);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(50, 70, 140));
        for (const QPointF &d : pts)
            p.drawEllipse(P(s * d.x() * w / 2, d.y() * h), 1.5, 1.5);
    }
    p.restore();
}

void paintProp(QPainter &p, Prop prop, const Look &l)
{
    switch (prop) {
    case Prop::BookChest: paintClosedBook(p, P(kCx, 292), 62, 84, -8, l); break;
    case Prop::BookOpenUp: paintOpenBook(p, P(kCx, 246), 124, 72, l); break;
    case Prop::BookOpenDown: paintOpenBook(p, P(kCx, 322), 112, 50, l); break;
    case Prop::BookFace: paintClosedBook(p, P(kCx, 212), 80, 88, 3, l); break;
    case Prop::BookUnderArm: paintClosedBook(p, P(84, 330), 50, 72, 8, l); break;
    case Prop::Pencil:
    case Prop::None: break;
    }
}

// ---------------------------------------------------------------- light

void paintHalo(QPainter &p, const QColor &col)
{
    QPainterPath ring;
    ring.addEllipse(P(kCx, 106), 86, 86);
    linePath(p, ring, alpha(col, 50), 10);
    linePath(p, ring, alpha(col, 110), 5);
    linePath(p, ring, alpha(QColor(255, 255, 255), 220), 1.6);
}

// Motes of light drifting up from the figure's edges.
void paintParticles(QPainter &p, const QImage &body, const QColor &col, double amount,
                    unsigned seed)
{
    Rng rng(seedFor("figure-particles") + seed);
    const int n = int(14 + amount * 90);
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_Plus);
    for (int i = 0; i < n; ++i) {
        // More of them low down, where the dress dissolves.
        // Low down where the dress dissolves; only a farewell lifts them past the face.
        const double reach = 180 + amount * 170;
        const double y = 490 - std::pow(rng.next(), 1.6 - amount * 0.7) * reach;
        if (y < 200 && std::abs(rng.uniform(-1, 1)) < 0.8 && y > 60)
            continue;
        const double x = rng.uniform(20, 260);
        const double k = body.devicePixelRatio();
        const int yi = std::clamp(int(y * k), 0, body.height() - 1);
        const int xi = int(x * k);
        // Only near the silhouette: skip motes far out in the empty air.
        bool near = false;
        for (int dx = -14; dx <= 14 && !near; dx += 7)
            near = qAlpha(body.pixel(std::clamp(xi + int(dx * k), 0, body.width() - 1), yi)) > 0;
        if (!near && !rng.chance(amount * 0.5))
            continue;
        const double r = rng.uniform(1.0, 2.8);
        QRadialGradient g(P(x, y), r * 3);
        g.setColorAt(0, alpha(QColor(255, 255, 255), 230));
        g.setColorAt(0.3, alpha(col, 170));
        g.setColorAt(1, alpha(col, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawEllipse(P(x, y), r * 3, r * 3);
        if (r > 2.2) {
            QPainterPath d;
            d.moveTo(P(x, y - r * 2.4));
            d.lineTo(P(x + r * 0.7, y));
            d.lineTo(P(x, y + r * 2.4));
            d.lineTo(P(x - r * 0.7, y));
            d.closeSubpath();
            fillPath(p, d, alpha(QColor(255, 255, 255), 200));
        }
    }
    p.restore();
}

} // namespace

// Seen from behind, for illustrations looking the way the people look: arms
// at the sides, the garment's plain back, and hair all round the head.
void paintBackView(QPainter &p, const Look &l, const Palette &c, const HairShape &hair)
{
    for (double s : {-1.0, 1.0})
        paintArm(p, armGeom(Arm::Down, s, l.male, Prop::None), l, c, ArmPart::Whole, false, false,
                 false);
    paintNeck(p, c, l.male);
    const QPainterPath torso = torsoPath(l.male);
    QLinearGradient cloth(P(60, 0), P(220, 0));
    cloth.setColorAt(0, shade(l.cloth, 1.08));
    cloth.setColorAt(1, shade(l.cloth, 0.82));
    shape(p, torso, cloth, shade(l.cloth, 0.45), 1.6);
    if (l.scarf.isValid()) {
        QPainterPath scarf;
        scarf.addRoundedRect(QRectF(kCx - 42, 196, 84, 26), 12, 12);
        shape(p, scarf, l.scarf, shade(l.scarf, 0.5), 1.4);
    }
    QPainterPath head = hair.back.united(facePath(l.male)).united(hair.front).united(hair.locks);
    head = head.united(hair.extra);
    const QRectF r = head.boundingRect();
    QLinearGradient hg(P(0, r.top()), P(0, r.bottom()));
    hg.setColorAt(0, c.hair);
    hg.setColorAt(0.3, c.hairDark);
    hg.setColorAt(1, l.hairTip.isValid() ? mix(l.hairTip, c.hairDark, 0.25) : shade(c.hairDark, 0.8));
    shape(p, head, hg, c.hairLine, 1.5);
    strandLines(p, head, {P(110, 70), P(140, 64), P(170, 70)},
                {P(100, r.bottom() - 6), P(140, r.bottom() - 4), P(180, r.bottom() - 6)},
                alpha(c.hairLine, 110), 1.1);
}

QImage paintFigure(const Look &l, const Mood &m)
{
    QImage img = spriteCanvas(280, 490);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(m.shift, l.lift);

    const Palette c = makePalette(l);
    const HairShape hair = makeHair(l, m.flare);
    if (m.back) {
        paintBackView(p, l, c, hair);
        p.end();
        addRim(img, QColor(40, 28, 48, 150));
        return img;
    }
    const QPointF pivot(kCx, 196);
    auto headTransform = [&] {
        p.translate(pivot);
        p.rotate(m.tilt);
        p.translate(-pivot);
    };
    QColor light = l.trim.isValid() ? l.trim : QColor(94, 240, 255);
    if (m.protocol)
        light = QColor(235, 245, 255);
    else if (m.warm)
        light = mix(light, QColor(255, 230, 170), 0.45);
    Look look = l;
    if (l.hologram)
        look.trim = light;

    p.save();
    headTransform();
    if (l.hologram)
        paintHalo(p, light);
    paintBackHair(p, hair, c, look);
    p.restore();

    const ArmGeom gl = armGeom(m.left, -1, l.male, m.prop), gr = armGeom(m.right, 1, l.male, m.prop);
    auto finger = [](Arm a) { return a == Arm::Point || a == Arm::Hush || a == Arm::Glasses; };
    auto spread = [](Arm a) { return a == Arm::Wave || a == Arm::Up; };
    auto pencil = [&](Arm a) { return a == Arm::Hold && m.prop == Prop::Pencil; };
    auto armBehind = [&](const ArmGeom &g, Arm a) {
        const bool whole = a == Arm::Down || a == Arm::Behind;
        paintArm(p, g, look, c, whole ? ArmPart::Whole : ArmPart::Upper, finger(a), spread(a),
                 pencil(a));
    };
    auto armFront = [&](const ArmGeom &g, Arm a) {
        if (a != Arm::Down && a != Arm::Behind)
            paintArm(p, g, look, c, ArmPart::Fore, finger(a) && !pencil(a), spread(a), pencil(a));
    };
    armBehind(gr, m.right);
    armBehind(gl, m.left);
    paintNeck(p, c, l.male);
    paintClothes(p, look, c, torsoPath(l.male));
    p.save();
    headTransform();
    paintFrontTail(p, hair, c, look);
    p.restore();
    if (m.prop != Prop::BookFace)
        paintProp(p, m.prop, look);
    // Crossed arms: the viewer's left forearm lies on top.
    if (!nearFace(m.right, m.prop))
        armFront(gr, m.right);
    if (!nearFace(m.left, m.prop))
        armFront(gl, m.left);

    p.save();
    headTransform();
    paintFace(p, look, m, c, hair);
    if (l.glasses)
        paintGlasses(p, m.glassesSlip);
    paintFrontHair(p, hair, c, look);
    for (double s : {-1.0, 1.0})
        paintBrow(p, kCx + s * 24, s, look, m, c);
    if (m.sweat)
        paintSweat(p);
    if (m.vein)
        paintVein(p);
    p.restore();

    if (m.prop == Prop::BookFace)
        paintProp(p, m.prop, look);
    if (nearFace(m.right, m.prop))
        armFront(gr, m.right);
    if (nearFace(m.left, m.prop))
        armFront(gl, m.left);

    if (l.hologram) {
        // A body of light: slightly see-through, dissolving towards the feet.
        p.resetTransform();
        p.setCompositionMode(QPainter::CompositionMode_DestinationIn);
        QLinearGradient fade(P(0, 330), P(0, 480));
        fade.setColorAt(0, QColor(0, 0, 0, 228));
        fade.setColorAt(1, QColor(0, 0, 0, 0));
        p.fillRect(img.rect(), fade);
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
        const QImage body = img.copy();
        paintParticles(p, body, light, m.particles, m.seed);
    }
    p.end();

    if (l.hologram)
        addRim(img, alpha(light, 150));
    else
        addRim(img, QColor(40, 28, 48, 150));
    return img;
}

} // namespace fig
