#include "figures.h"

#include "figure_painter.h"
#include "paint.h"

#include <QPainter>
#include <cmath>
#include <utility>
#include <vector>

// The cast: one Look per character and outfit, one Mood per figure number.
// Figure numbers follow the cast sheet in data/story/cast.md.

using namespace fig;

namespace {

const QColor kNavy(44, 54, 96);
const QColor kMagenta(255, 25, 252);
const QColor kCyan(94, 240, 255);
const QColor kSteel(74, 120, 200);

// Lio: small and quick, rose-pink bob with a side ponytail and a star clip,
// magenta hoodie open over the school blazer.
Look lio()
{
    Look l;
    l.lift = 12;
    l.hair = QColor(236, 146, 168);
    l.eyes = QColor(226, 150, 40);
    l.hairStyle = Hair::Bob;
    l.sideTail = true;
    l.starClip = true;
    l.ahoge = true;
    l.sweep = -0.6;
    l.freckles = true;
    l.outfit = Outfit::Layered;
    l.cloth = QColor(214, 52, 190);
    l.cloth2 = kNavy;
    l.innerSleeve = kNavy;
    l.accent = kMagenta;
    l.ribbon = QColor(210, 36, 56);
    return l;
}

// Lio in the epilogue: hair grown to the shoulders, the new white uniform.
Look lioGrown()
{
    Look l = lio();
    l.lift = 6;
    l.sideTail = false;
    l.hairLength = 22;
    l.ahoge = false;
    l.outfit = Outfit::Blazer;
    l.cloth = QColor(246, 247, 250);
    l.cloth2 = QColor(36, 150, 150);
    l.ribbon = QColor(40, 140, 170);
    l.emblem = true;
    l.innerSleeve = QColor();
    l.trim = QColor(60, 170, 180);
    return l;
}

// The ship AI in its transfer-student body: tall, white hair fading to cyan,
// the school blazer kept perfectly neat with a cyan line along the edges.
Look android()
{
    Look l;
    l.lift = -8;
    l.skin = QColor(255, 240, 236);
    l.hair = QColor(236, 240, 248);
    l.hairTip = QColor(150, 228, 244);
    l.eyes = QColor(96, 196, 220);
    l.irisRing = true;
    l.hairStyle = Hair::Long;
    l.fringe = Fringe::Straight;
    l.ringPin = true;
    l.outfit = Outfit::Blazer;
    l.cloth = kNavy;
    l.cloth2 = QColor(210, 222, 236);
    l.trim = kCyan;
    l.accent = kCyan;
    l.ribbon = QColor(210, 36, 56);
    return l;
}

// Her true form: the same face, floating hair, a dress of light.
Look hologram()
{
    Look l = android();
    l.hairStyle = Hair::Floating;
    l.hologram = true;
    l.outfit = Outfit::Light;
    l.cloth = QColor(244, 250, 255);
    l.cloth2 = QColor(200, 240, 250);
    l.shortSleeves = true;
    return l;
}

// Taviel: tall and slender, silver-blue hair in a low ponytail over the
// shoulder, round glasses, the star notebook.
Look taviel()
{
    Look l;
    l.lift = -12;
    l.hair = QColor(166, 184, 214);
    l.eyes = QColor(104, 124, 156);
    l.hairStyle = Hair::LowTail;
    l.fringe = Fringe::Swept;
    l.glasses = true;
    l.sharpEyes = true;
    l.outfit = Outfit::Blazer;
    l.buttoned = true;
    l.cloth = kNavy;
    l.cloth2 = QColor(206, 180, 104);
    l.accent = kSteel;
    l.ribbon = kSteel;
    l.book = QColor(34, 46, 98);
    return l;
}

Look tavielHome()
{
    Look l = taviel();
    l.outfit = Outfit::Cardigan;
    l.buttoned = false;
    l.cloth = QColor(240, 228, 204);
    l.cloth2 = QColor(226, 214, 190);
    l.scarf = QColor(164, 204, 236);
    return l;
}

// Sorin never stands as a figure, but illustrations show him: short black
// hair, blue eyes, the school's navy blazer and his blue scarf.
Look sorin()
{
    Look l;
    l.male = true;
    l.lift = -16;
    l.hair = QColor(38, 40, 52);
    l.eyes = QColor(70, 108, 240);
    l.hairStyle = Hair::Short;
    l.fringe = Fringe::Swept;
    l.sweep = 0.4;
    l.outfit = Outfit::Blazer;
    l.cloth = kNavy;
    l.cloth2 = QColor(210, 222, 236);
    l.accent = QColor(70, 108, 240);
    l.ribbon = QColor(70, 108, 240);
    l.scarf = QColor(70, 108, 240);
    return l;
}

// The first captain, in recordings and the ship's history: a woman in her
// fifties, grey bob, the grey long coat.
Look captain()
{
    Look l;
    l.lift = -6;
    l.skin = QColor(246, 222, 208);
    l.older = true;
    l.hair = QColor(176, 176, 184);
    l.eyes = QColor(96, 116, 140);
    l.hairStyle = Hair::Bob;
    l.hairLength = 10;
    l.fringe = Fringe::Swept;
    l.sweep = 0.8;
    l.outfit = Outfit::Coat;
    l.cloth = QColor(124, 126, 136);
    l.cloth2 = QColor(74, 76, 86);
    l.accent = QColor(220, 226, 236);
    l.ribbon = QColor(220, 226, 236);
    l.trim = QColor(200, 206, 216);
    return l;
}

struct MoodBuilder
{
    Mood m;
    MoodBuilder(Brow b, Eyes e, Mouth mo)
    {
        m.brow = b;
        m.eyes = e;
        m.mouth = mo;
    }
    MoodBuilder &arms(Arm left, Arm right)
    {
        m.left = left;
        m.right = right;
        return *this;
    }
    MoodBuilder &blush(double v)
    {
        m.blush = v;
        return *this;
    }
    MoodBuilder &tilt(double v)
    {
        m.tilt = v;
        return *this;
    }
    MoodBuilder &look(double v)
    {
        m.look = v;
        return *this;
    }
    MoodBuilder &prop(Prop p)
    {
        m.prop = p;
        return *this;
    }
    MoodBuilder &tears()
    {
        m.tears = true;
        return *this;
    }
    MoodBuilder &sweat()
    {
        m.sweat = true;
        return *this;
    }
    MoodBuilder &gloom()
    {
        m.gloom = true;
        return *this;
    }
    MoodBuilder &wink()
    {
        m.wink = true;
        return *this;
    }
    MoodBuilder &glow(const QColor &c)
    {
        m.glow = c;
        return *this;
    }
    MoodBuilder &particles(double v)
    {
        m.particles = v;
        return *this;
    }
    MoodBuilder &flare()
    {
        m.flare = true;
        return *this;
    }
    MoodBuilder &slip()
    {
        m.glassesSlip = true;
        return *this;
    }
    MoodBuilder &protocol()
    {
        m.protocol = true;
        return *this;
    }
    MoodBuilder &warm()
    {
        m.warm = true;
        return *this;
    }
    operator Mood() const { return m; }
};

using B = Brow;
using E = Eyes;
using M = Mouth;
using A = Arm;

struct Figure
{
    QString name;
    Look look;
    Mood mood;
};

std::vector<Figure> buildCast()
{
    std::vector<Figure> t;
    auto add = [&t](const QString &name, const Look &look, Mood mood) {
        mood.seed = unsigned(t.size() + 1);
        t.push_back({name, look, mood});
    };
    const Look li = lio();
    const QString a1 = QStringLiteral("a1-%1");
    add(a1.arg(1), li, MoodBuilder(B::Neutral, E::Open, M::Smile).arms(A::Behind, A::Behind));
    add(a1.arg(2), li,
        MoodBuilder(B::Raised, E::Open, M::Open).arms(A::Behind, A::Point).tilt(4).look(0.4));
    add(a1.arg(3), li, MoodBuilder(B::Raised, E::Wide, M::Open).arms(A::Up, A::Up));
    add(a1.arg(4), li,
        MoodBuilder(B::Worried, E::Wide, M::Wavy).arms(A::Hug, A::Hug).sweat().gloom());
    add(a1.arg(5), li,
        MoodBuilder(B::Angry, E::Half, M::Pout).arms(A::Cross, A::Cross).blush(0.7).look(-0.6));
    add(a1.arg(6), li, MoodBuilder(B::Worried, E::Open, M::Frown).arms(A::Chest, A::Down));
    add(a1.arg(7), li,
        MoodBuilder(B::Raised, E::Open, M::Grin).arms(A::Behind, A::Raise).wink().blush(0.5));
    add(a1.arg(8), li, MoodBuilder(B::Neutral, E::Open, M::Smile).arms(A::Pocket, A::Pocket));
    add(a1.arg(9), li, MoodBuilder(B::Angry, E::Open, M::Neutral).arms(A::Fist, A::Fist));
    add(a1.arg(10), li,
        MoodBuilder(B::Raised, E::Smile, M::Grin).arms(A::Behind, A::Behind).blush(0.5).tilt(-3));
    add(a1.arg(11), li,
        MoodBuilder(B::Worried, E::Down, M::Wavy).arms(A::Down, A::Lock).blush(1).look(-1));
    add(a1.arg(12), li,
        MoodBuilder(B::Sad, E::Smile, M::Smile).arms(A::Pray, A::Pray).tears().blush(0.4));

    const Look an = android();
    const QString a21 = QStringLiteral("a2-1-%1");
    add(a21.arg(1), an, MoodBuilder(B::Neutral, E::Open, M::Smile).arms(A::Clasp, A::Clasp));
    add(a21.arg(2), an,
        MoodBuilder(B::Neutral, E::Half, M::Smirk).arms(A::Down, A::Hush).tilt(-5).look(0.3));
    add(a21.arg(3), an, MoodBuilder(B::Raised, E::Wide, M::Small));
    add(a21.arg(4), an, MoodBuilder(B::Sad, E::Down, M::Frown).arms(A::Down, A::Touch));
    add(a21.arg(5), an,
        MoodBuilder(B::Neutral, E::Narrow, M::Neutral).glow(QColor(120, 240, 255)));

    const Look ho = hologram();
    const QColor glow(110, 236, 255);
    const QString a22 = QStringLiteral("a2-2-%1");
    add(a22.arg(1), ho, MoodBuilder(B::Neutral, E::Open, M::Smile).glow(glow).particles(0.2));
    add(a22.arg(2), ho,
        MoodBuilder(B::Neutral, E::Blank, M::Neutral).glow(QColor(255, 255, 255)).protocol());
    add(a22.arg(3), ho,
        MoodBuilder(B::Sad, E::Down, M::Frown).arms(A::Hug, A::Down).glow(glow).particles(0.3));
    add(a22.arg(4), ho,
        MoodBuilder(B::Raised, E::Open, M::Small).arms(A::Down, A::Think).tilt(6).glow(glow));
    add(a22.arg(5), ho,
        MoodBuilder(B::Raised, E::Wide, M::Open).flare().glow(glow).particles(0.5));
    add(a22.arg(6), ho,
        MoodBuilder(B::Neutral, E::Open, M::Neutral).arms(A::Clasp, A::Clasp).glow(glow));
    add(a22.arg(7), ho,
        MoodBuilder(B::Worried, E::Down, M::Smile).arms(A::Down, A::Chest).glow(glow));
    add(a22.arg(8), ho,
        MoodBuilder(B::Raised, E::Smile, M::Grin).arms(A::Down, A::Mouth).glow(glow).blush(0.4));
    add(a22.arg(9), ho,
        MoodBuilder(B::Sad, E::Smile, M::Smile).arms(A::Pray, A::Pray).tears().glow(glow)
            .particles(1));
    add(a22.arg(10), ho,
        MoodBuilder(B::Raised, E::Open, M::Grin).glow(QColor(255, 236, 190)).warm().blush(0.3));

    const Look tv = taviel();
    const QString a31 = QStringLiteral("a3-1-%1");
    add(a31.arg(1), tv,
        MoodBuilder(B::Neutral, E::Open, M::Neutral).arms(A::Hold, A::Down).prop(Prop::BookUnderArm));
    add(a31.arg(2), tv, MoodBuilder(B::Neutral, E::Half, M::Open).arms(A::Down, A::Glasses));
    add(a31.arg(3), tv,
        MoodBuilder(B::Neutral, E::Open, M::Smile).arms(A::Hold, A::Down).prop(Prop::BookUnderArm)
            .blush(0.35));
    add(a31.arg(4), tv,
        MoodBuilder(B::Worried, E::Down, M::Frown).arms(A::Hold, A::Hold).prop(Prop::BookOpenDown));

    const Look th = tavielHome();
    const QString a32 = QStringLiteral("a3-2-%1");
    add(a32.arg(1), th, MoodBuilder(B::Neutral, E::Open, M::Neutral));
    add(a32.arg(2), th,
        MoodBuilder(B::Raised, E::Open, M::Open).arms(A::Down, A::Hold).prop(Prop::Pencil));
    add(a32.arg(3), th, MoodBuilder(B::Raised, E::Wide, M::Open).slip().sweat());
    add(a32.arg(4), th, MoodBuilder(B::Worried, E::Half, M::Frown).arms(A::Down, A::Temple));
    add(a32.arg(5), th, MoodBuilder(B::Neutral, E::Open, M::Smile).blush(0.3));
    add(a32.arg(6), th,
        MoodBuilder(B::Raised, E::Smile, M::Smile).arms(A::Down, A::Offer).tilt(-3));
    add(a32.arg(7), th,
        MoodBuilder(B::Raised, E::Open, M::Grin).arms(A::Hold, A::Hold).prop(Prop::BookOpenUp));
    add(a32.arg(8), th,
        MoodBuilder(B::Worried, E::Down, M::Small).arms(A::Hold, A::Hold).prop(Prop::BookFace)
            .blush(1).look(0.8));
    add(a32.arg(9), th, MoodBuilder(B::Worried, E::Open, M::Frown).arms(A::Down, A::Chest));
    add(a32.arg(10), th,
        MoodBuilder(B::Neutral, E::Open, M::Neutral).arms(A::Hold, A::Hold).prop(Prop::BookChest));

    add(QStringLiteral("a-13"), lioGrown(),
        MoodBuilder(B::Neutral, E::Open, M::Smile).arms(A::Hold, A::Hold).prop(Prop::BookChest)
            .tilt(-3));

    // The three-figure layouts and the lone left slot stand a frame at x -60,
    // so only its right 220 pixels are on screen. The figures put there move
    // right until the body clears the edge (the hologram's floating hair
    // cannot: it is wider than 220); their neighbours in the middle slot move
    // as far so the pair keeps its distance, and Taviel on the right of the
    // second trio moves out of the middle figure's way as far as the right
    // edge allows. Each of these also stands in pairs or alone, where a shift
    // this small only puts her a little off centre.
    const std::pair<const char *, double> shifts[] = {
        {"a1-1", 16}, {"a1-2", 16}, {"a1-4", 12}, {"a1-6", 18}, {"a1-8", 22}, {"a1-9", 18},
        {"a1-10", 16}, {"a1-3", 28}, {"a1-5", 22}, {"a1-11", 20}, {"a2-1-1", 16}, {"a2-1-5", 16}, {"a2-2-1", 18}, {"a2-2-2", 18},
        {"a2-2-6", 18}, {"a2-2-7", 18}, {"a3-2-1", 34}, {"a3-2-2", 22}, {"a3-2-10", 16},
    };
    for (const auto &s : shifts)
        for (Figure &f : t)
            if (f.name == QLatin1String(s.first))
                f.mood.shift = s.second;
    return t;
}

const std::vector<Figure> &cast()
{
    static const std::vector<Figure> table = buildCast();
    return table;
}

} // namespace

QStringList figureNames()
{
    QStringList names;
    for (const Figure &f : cast())
        names << f.name;
    return names;
}

QImage drawFigure(const QString &name)
{
    for (const Figure &f : cast())
        if (f.name == name)
            return paintFigure(f.look, f.mood);
    return QImage();
}

const char *const kDreamFigure = "a0-1";

QImage drawDreamFigure()
{
    // Lio underneath, with nothing of hers that would name her: a plain bob,
    // the plain blazer, her hands behind her.
    Look l = lio();
    l.hairLength = 16;
    l.sideTail = false;
    l.starClip = false;
    l.ahoge = false;
    l.freckles = false;
    l.outfit = Outfit::Blazer;
    Mood m;
    m.mouth = Mouth::Small;
    m.left = Arm::Behind;
    m.right = Arm::Behind;
    const QImage body = paintFigure(l, m);
    auto tinted = [&body](const QColor &c) {
        QImage out = body;
        QPainter p(&out);
        p.setCompositionMode(QPainter::CompositionMode_SourceIn);
        p.fillRect(out.rect(), c);
        return out;
    };
    QImage img = spriteCanvas(280, 490);
    QPainter p(&img);
    prepare(p);
    // Light from behind her: a haze round the head and shoulders, and her
    // outline spilling over with it.
    glow(p, QPointF(140, 170), 140, QColor(200, 214, 255, 150));
    const QImage rim = tinted(QColor(236, 240, 255));
    for (int k = 0; k < 16; ++k) {
        const double a = k * M_PI / 8;
        p.setOpacity(0.3);
        p.drawImage(QPointF(std::cos(a) * 3, std::sin(a) * 3), rim);
    }
    p.setOpacity(1);
    p.drawImage(0, 0, tinted(QColor(16, 18, 30)));
    return img;
}

QImage drawLioAsleep()
{
    Mood m;
    m.brow = Brow::Sad;
    m.eyes = Eyes::Closed;
    m.mouth = Mouth::Small;
    m.tilt = -6;
    m.left = Arm::Clasp;
    m.right = Arm::Clasp;
    return paintFigure(lio(), m);
}

QImage drawAndroidCarrying()
{
    Mood m;
    m.brow = Brow::Sad;
    m.eyes = Eyes::Down;
    m.mouth = Mouth::Small;
    m.left = Arm::Clasp;
    m.right = Arm::Clasp;
    return paintFigure(android(), m);
}

fig::Look castLook(CastLook who)
{
    switch (who) {
    case CastLook::Lio: return lio();
    case CastLook::LioGrown: return lioGrown();
    case CastLook::Android: return android();
    case CastLook::Hologram: return hologram();
    case CastLook::Taviel: return taviel();
    case CastLook::TavielHome: return tavielHome();
    case CastLook::Sorin: return sorin();
    case CastLook::Captain: return captain();
    }
    return Look();
}
