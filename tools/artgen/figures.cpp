#include "figures.h"

#include "figure_painter.h"

#include <QHash>

using namespace fig;

namespace {

struct Figure
{
    const char *name;
    Look (*look)();
    Mood mood;
};

Look lookA1()
{
    Look l;
    l.hair = QColor(86, 62, 58);
    l.eyes = QColor(150, 90, 60);
    l.hairStyle = Hair::Long;
    l.sweep = -1;
    l.ahoge = true;
    l.outfit = Outfit::Sailor;
    l.cloth = QColor(246, 246, 250);
    l.cloth2 = QColor(46, 58, 104);
    l.accent = QColor(214, 64, 84);
    return l;
}

Look lookA21()
{
    Look l;
    l.male = true;
    l.lift = -6;
    l.hair = QColor(50, 52, 66);
    l.eyes = QColor(70, 110, 170);
    l.hairStyle = Hair::Short;
    l.sweep = 1;
    l.outfit = Outfit::Blazer;
    l.cloth = QColor(52, 60, 88);
    l.cloth2 = QColor(210, 180, 90);
    l.accent = QColor(150, 40, 60);
    l.sharpEyes = true;
    return l;
}

Look lookA22()
{
    Look l;
    l.hair = QColor(236, 196, 120);
    l.eyes = QColor(60, 150, 120);
    l.hairStyle = Hair::TwinTails;
    l.hairTie = true;
    l.outfit = Outfit::Hoodie;
    l.cloth = QColor(240, 170, 190);
    l.cloth2 = QColor(90, 70, 90);
    l.accent = QColor(110, 170, 230);
    l.lift = 8;
    return l;
}

Look lookA31()
{
    Look l;
    l.hair = QColor(60, 70, 120);
    l.eyes = QColor(120, 80, 170);
    l.hairStyle = Hair::Ponytail;
    l.hairTie = true;
    l.outfit = Outfit::Blazer;
    l.cloth = QColor(120, 70, 60);
    l.cloth2 = QColor(220, 190, 110);
    l.accent = QColor(60, 130, 110);
    l.sharpEyes = true;
    l.glasses = true;
    return l;
}

Look lookA32()
{
    Look l;
    l.male = true;
    l.lift = -10;
    l.hair = QColor(150, 70, 50);
    l.eyes = QColor(200, 140, 50);
    l.hairStyle = Hair::Messy;
    l.outfit = Outfit::Jacket;
    l.cloth = QColor(60, 90, 70);
    l.cloth2 = QColor(235, 230, 220);
    l.accent = QColor(230, 120, 40);
    return l;
}

Look lookA13()
{
    Look l;
    l.hair = QColor(225, 230, 240);
    l.eyes = QColor(200, 60, 80);
    l.hairStyle = Hair::Bob;
    l.hairpin = true;
    l.outfit = Outfit::Robe;
    l.cloth = QColor(30, 30, 44);
    l.cloth2 = QColor(220, 220, 235);
    l.accent = QColor(170, 40, 70);
    return l;
}

Mood mood(Brow b, Eyes e, Mouth m, Arm left = Arm::Down, Arm right = Arm::Down)
{
    Mood x;
    x.brow = b;
    x.eyes = e;
    x.mouth = m;
    x.left = left;
    x.right = right;
    return x;
}

Mood with(Mood m, void (*f)(Mood &))
{
    f(m);
    return m;
}

const std::vector<Figure> &cast()
{
    static const std::vector<Figure> table = [] {
        std::vector<Figure> t;
        const Mood base[] = {
            mood(Brow::Neutral, Eyes::Open, Mouth::Smile),
            mood(Brow::Raised, Eyes::Smile, Mouth::Grin, Arm::Down, Arm::Wave),
            mood(Brow::Raised, Eyes::Wide, Mouth::Open, Arm::Mouth, Arm::Down),
            mood(Brow::Worried, Eyes::Open, Mouth::Wavy, Arm::Clasp, Arm::Clasp),
            mood(Brow::Angry, Eyes::Narrow, Mouth::Shout, Arm::Fist, Arm::Down),
            with(mood(Brow::Sad, Eyes::Down, Mouth::Frown, Arm::Chest, Arm::Down),
                 [](Mood &m) { m.tears = true; }),
            mood(Brow::Skeptic, Eyes::Half, Mouth::Neutral, Arm::Down, Arm::Think),
            with(mood(Brow::Worried, Eyes::Open, Mouth::Small, Arm::Head, Arm::Down),
                 [](Mood &m) { m.sweat = true; m.blush = 0.8; }),
            mood(Brow::Angry, Eyes::Half, Mouth::Frown, Arm::Cross, Arm::Cross),
            with(mood(Brow::Worried, Eyes::Wide, Mouth::Open),
                 [](Mood &m) { m.gloom = true; }),
            mood(Brow::Neutral, Eyes::Closed, Mouth::Smile, Arm::Down, Arm::Hips),
            mood(Brow::Raised, Eyes::Open, Mouth::Grin, Arm::Down, Arm::Point),
        };
        auto add = [&t](const char *prefix, int n, Look (*look)()) {
            for (int i = 0; i < n; ++i) {
                static std::vector<QByteArray> keep;
                keep.push_back(QByteArray(prefix) + QByteArray::number(i + 1));
                t.push_back({keep.back().constData(), look, Mood()});
            }
        };
        add("a1-", 12, lookA1);
        add("a2-1-", 5, lookA21);
        add("a2-2-", 10, lookA22);
        add("a3-1-", 4, lookA31);
        add("a3-2-", 10, lookA32);
        t.push_back({"a-13", lookA13, Mood()});
        for (size_t i = 0; i < t.size(); ++i)
            t[i].mood = base[i % 12];
        return t;
    }();
    return table;
}

} // namespace

QStringList figureNames()
{
    QStringList names;
    for (const Figure &f : cast())
        names << QLatin1String(f.name);
    return names;
}

QImage drawFigure(const QString &name)
{
    for (const Figure &f : cast())
        if (name == QLatin1String(f.name))
            return paintFigure(f.look(), f.mood);
    return QImage();
}
