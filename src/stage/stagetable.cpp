#include "stage/stagetable.h"

#include <QHash>

namespace stage {

namespace {

// The columns of the sheet: background, figures, other.

constexpr Background bg(const char *name) { return {name, -1}; }
constexpr Background shown(const char *name) { return {name, 1}; }
constexpr Background hidden() { return {nullptr, 0}; }

constexpr Figures keep{};
constexpr Figures none{0, {}};
constexpr Figures fig1(const char *a) { return {1, {a, nullptr, nullptr}}; }
constexpr Figures figs2(const char *a, const char *b) { return {2, {a, b, nullptr}}; }
constexpr Figures figs3(const char *a, const char *b, const char *c) { return {3, {a, b, c}}; }
constexpr Figures fig4(const char *a) { return {4, {a, nullptr, nullptr}}; }
constexpr Figures figs5(const char *a, const char *b, const char *c) { return {5, {a, b, c}}; }

constexpr StageAction cg(float v) { return {v, CgRule::Raise, false, Special::None}; }
constexpr StageAction cgFromZero(float v) { return {v, CgRule::FromZero, false, Special::None}; }
constexpr StageAction cgLogged(float v) { return {v, CgRule::RaiseLogged, false, Special::None}; }
constexpr StageAction music{0, CgRule::None, true, Special::None};
constexpr StageAction special(Special s) { return {0, CgRule::None, false, s}; }
constexpr StageAction setUpMap1 = special(Special::SetUpMap1);
constexpr StageAction setUpMap2 = special(Special::SetUpMap2);
constexpr StageAction lockStory = special(Special::LockStory);
constexpr StageAction endInterlude = special(Special::EndInterlude);
constexpr StageAction scriptedShots = special(Special::ScriptedShots);
constexpr StageAction hideBgLater = special(Special::HideBackgroundLater);
constexpr StageAction returnToInterlude = special(Special::ReturnToInterlude);

constexpr StageAction operator+(StageAction a, const StageAction &b)
{
    if (b.cgRule != CgRule::None) {
        a.cg = b.cg;
        a.cgRule = b.cgRule;
    }
    a.music = a.music || b.music;
    if (b.special != Special::None)
        a.special = b.special;
    return a;
}

} // namespace

const QVector<StageRow> &stageTable()
{
    static const QVector<StageRow> rows = {
        // lines, background, figures, other
        {{1, 898, 941, 973}, hidden(), none, music},
        // The girl of the dream stays a backlit shape until the reveal; the
        // room shows when Sorin opens his eyes.
        {{2}, hidden(), fig1("a0-1"), {}},
        {{6}, hidden(), none, {}},
        {{7}, shown("b1"), fig1("a1-1"), {}},
        {{38}, bg("b1"), fig1("a1-6"), music},
        {{39, 195}, bg("b2"), fig1("a1-1"), {}},
        {{42, 50, 52}, bg("b2"), figs2("a1-1", "a3-1-1"), {}},
        {{43, 67, 69}, bg("b2"), figs2("a1-1", "a3-1-2"), {}},
        {{44}, bg("cg1-1"), none, cgFromZero(1.1f)},
        {{45}, bg("cg1-2"), keep, cgLogged(1.2f)},
        {{46}, bg("cg1-1"), none, {}},
        {{47}, bg("b2"), figs2("a1-5", "a3-1-2"), {}},
        {{48}, bg("b2"), figs2("a1-5", "a3-1-1"), {}},
        {{51}, bg("b2"), figs2("a1-2", "a3-1-2"), {}},
        {{53, 68, 70}, bg("b2"), figs2("a1-2", "a3-1-1"), {}},
        {{71}, bg("b2"), figs2("a1-5", "a3-1-4"), {}},
        {{72}, bg("cg2"), none, cg(2)},
        {{73}, bg("cg3"), keep, cg(3)},
        {{83}, bg("b3"), keep, music},
        {{85}, bg("b3"), figs2("a1-2", "a3-1-1"), {}},
        {{87}, bg("b3"), figs2("a1-5", "a3-1-1"), {}},
        {{88}, bg("b3"), figs2("a1-5", "a3-1-2"), {}},
        {{89}, bg("b3"), figs2("a1-1", "a3-1-1"), {}},
        {{90}, bg("b3"), figs2("a1-2", "a3-1-1"), {}},
        {{92}, bg("b3"), figs2("a1-5", "a3-1-1"), {}},
        {{94}, bg("b3"), figs2("a1-6", "a3-1-4"), {}},
        {{95}, bg("b4"), figs2("a3-2-6", "a1-8"), {}},
        {{98}, bg("b4"), figs2("a3-2-6", "a1-10"), {}},
        {{99}, bg("b4"), figs2("a3-2-7", "a1-8"), {}},
        {{100}, bg("b4"), figs2("a3-2-6", "a1-9"), {}},
        {{101}, bg("b4"), figs2("a3-2-8", "a1-8"), {}},
        {{102}, bg("b4"), figs2("a3-2-8", "a1-9"), {}},
        {{103, 119}, bg("b4"), figs2("a3-2-10", "a1-10"), {}},
        {{104}, bg("b4"), figs2("a3-2-10", "a1-11"), {}},
        {{105}, bg("b4"), figs2("a3-2-8", "a1-11"), {}},
        {{106}, bg("cg4"), none, cg(4)},
        {{118, 120}, bg("b4"), figs2("a3-2-9", "a1-8"), {}},
        {{121}, bg("cg5"), none, cg(5)},
        // Still in the attic until 126 walks them down to the embankment.
        {{122, 124}, bg("b4"), figs2("a3-2-1", "a1-2"), {}},
        {{123, 125}, bg("b4"), figs2("a3-2-2", "a1-1"), {}},
        {{131, 134}, bg("b5"), figs2("a3-2-1", "a1-2"), {}},
        {{132}, bg("b5"), figs2("a3-2-2", "a1-1"), {}},
        {{126, 135}, bg("b5"), figs2("a3-2-1", "a1-1"), {}},
        {{138}, bg("b5"), figs2("a3-2-1", "a1-4"), {}},
        {{140}, bg("b5"), figs2("a3-2-5", "a1-4"), {}},
        {{141}, bg("b5"), figs2("a3-2-5", "a1-5"), {}},
        {{143}, bg("cg6"), none, cg(6) + music},
        {{151}, bg("cg7-1"), keep, cg(7.1f)},
        {{152}, bg("cg7-2"), keep, cg(7.2f) + music},
        {{157}, bg("cg8"), keep, cg(8)},
        {{161}, bg("cg9 - 1"), keep, cg(9.1f)},
        {{163}, bg("cg9 - 2"), keep, cg(9.2f)},
        {{164}, bg("cg9 - 1"), keep, {}},
        {{166}, bg("cg10"), keep, cg(10)},
        {{190}, bg("cg11"), keep, cg(11)},
        {{191}, hidden(), none, {}},
        {{192}, bg("b14"), keep, music},
        {{203}, bg("b6"), fig1("a1-1"), {}},
        {{215}, bg("b7"), none, {}},
        {{217}, bg("b7"), fig1("a2-1-2"), {}},
        {{223, 227}, bg("b2"), figs2("a1-1", "a2-1-1"), {}},
        {{224}, bg("b2"), figs2("a1-2", "a2-1-1"), {}},
        {{225}, bg("b2"), figs2("a1-1", "a2-1-2"), {}},
        {{229}, bg("b2"), figs3("a1-1", "a2-1-1", "a3-1-2"), {}},
        {{230}, bg("b2"), figs3("a1-1", "a2-1-5", "a3-1-1"), {}},
        {{231, 235}, bg("b2"), figs2("a3-1-1", "a2-1-1"), {}},
        {{238}, bg("b2"), figs2("a3-1-2", "a2-1-2"), {}},
        {{240}, bg("cg12"), none, cg(12)},
        {{246}, bg("b2"), figs2("a2-1-3", "a3-1-1"), {}},
        {{247}, bg("b2"), figs2("a2-1-1", "a3-1-4"), {}},
        {{248}, bg("b2"), figs2("a2-1-4", "a3-1-4"), {}},
        {{250}, bg("b2"), figs2("a2-1-1", "a3-1-2"), {}},
        {{251}, bg("b2"), figs2("a2-1-1", "a3-1-1"), {}},
        {{253}, bg("b2"), figs2("a2-1-2", "a3-1-1"), {}},
        {{254}, bg("b2"), figs2("a2-1-5", "a3-1-4"), {}},
        {{255}, bg("b8"), none, music},
        {{257}, bg("b8"), fig1("a1-1"), {}},
        {{260, 263}, bg("b9"), figs3("a2-2-6", "a3-2-10", "a1-9"), {}},
        {{262}, bg("b9"), figs3("a2-2-6", "a3-2-10", "a1-10"), {}},
        {{264}, bg("cg13-1"), none, cg(13.1f)},
        {{265}, bg("cg13-2"), keep, cg(13.2f)},
        {{267}, bg("cg14-1"), keep, cg(14.1f)},
        {{274}, bg("cg14-2"), keep, cg(14.2f)},
        {{279, 676, 804, 812, 846, 889, 936, 939}, hidden(), keep, {}},
        {{282}, hidden(), figs2("a2-2-7", "a3-2-9"), {}},
        {{283, 285}, bg("b9"), figs2("a2-2-7", "a3-2-9"), {}},
        {{284}, bg("b9"), figs2("a2-2-6", "a3-2-10"), {}},
        {{288, 296, 299, 301}, bg("b11"), figs2("a2-2-6", "a3-2-10"), {}},
        {{291, 293, 295, 298, 302}, bg("b11"), figs2("a2-2-7", "a3-2-10"), {}},
        {{292, 294, 297, 300}, bg("b11"), figs2("a2-2-6", "a3-2-9"), {}},
        {{303}, bg("cg15"), none, cg(15)},
        {{326, 327}, bg("b10"), figs3("a1-8", "a2-2-6", "a3-2-10"), {}},
        {{328}, bg("b10"), figs3("a1-8", "a2-2-6", "a3-2-9"), {}},
        {{329}, bg("b10"), figs3("a1-9", "a2-2-6", "a3-2-10"), {}},
        {{330}, bg("b10"), figs3("a1-8", "a2-2-7", "a3-2-10"), {}},
        {{335}, bg("cg16"), none, cg(16)},
        {{339}, bg("cg17-1"), keep, cg(17.1f)},
        {{340}, bg("cg17-2"), keep, cg(17.2f)},
        {{341}, bg("cg17-3"), keep, cg(17.3f)},
        {{346}, bg("cg17-4"), keep, cg(17.4f)},
        {{348}, bg("cg17-5"), keep, cg(17.5f)},
        {{350}, bg("cg17-6"), keep, cg(17.6f)},
        {{354}, bg("b11"), figs3("a2-2-1", "a1-1", "a3-2-3"), {}},
        {{355}, bg("b11"), figs3("a2-2-2", "a1-2", "a3-2-1"), {}},
        {{356}, bg("b11"), figs3("a2-2-1", "a1-1", "a3-2-4"), {}},
        {{357}, bg("b11"), figs3("a2-2-2", "a1-2", "a3-2-4"), {}},
        {{358, 362}, bg("b11"), none, {}},
        {{359}, bg("b11"), figs3("a2-2-6", "a1-8", "a3-2-10"), {}},
        {{360}, bg("b11"), figs3("a2-2-6", "a1-10", "a3-2-10"), {}},
        {{361}, bg("b11"), figs3("a2-2-7", "a1-8", "a3-2-9"), {}},
        {{363}, bg("cg18-1"), keep, cg(18.1f)},
        {{365}, bg("cg18-2"), keep, cg(18.2f)},
        {{378}, bg("b12"), fig4("a1-4"), {}},
        {{380}, bg("b12"), fig4("a1-6"), {}},
        {{382}, bg("b13"), figs5("a1-1", "a2-2-1", "a3-2-1"), {}},
        {{383, 386}, bg("b13"), figs5("a1-2", "a2-2-1", "a3-2-1"), {}},
        {{384}, bg("b13"), figs5("a1-1", "a2-2-2", "a3-2-2"), {}},
        {{385}, bg("b13"), figs5("a1-6", "a2-2-1", "a3-2-1"), {}},
        {{387}, bg("cg19-1"), none, cg(19.1f)},
        {{389}, bg("cg19-2"), keep, cg(19.2f)},
        {{390}, bg("cg19-3"), keep, cg(19.3f)},
        {{391}, bg("cg19-4"), keep, cg(19.4f)},
        {{392}, bg("cg20"), keep, cg(20) + music},
        // The sheet names no layout here; the three stand in layout 3 (left, middle, right).
        {{403}, bg("b14"), figs3("a1-8", "a2-2-6", "a3-2-10"), music},
        {{409}, bg("b8"), fig4("a1-1"), {}},
        {{412}, bg("cg21"), none, cg(21)},
        {{419}, bg("cg22"), keep, cg(22)},
        {{424}, bg("cg23"), keep, cg(23) + music},
        {{438}, bg("cg24"), keep, cg(24)},
        {{458}, bg("cg25"), keep, cg(25)},
        {{463}, bg("cg26"), keep, cg(26)},
        // The talk at the gate: she beside Lio, then Lio alone on the steps
        // (the left slot keeps the gate in sight).
        {{464, 466, 469}, bg("cg26"), figs2("a1-1", "a2-2-6"), {}},
        {{467}, bg("cg26"), figs2("a1-1", "a2-2-7"), {}},
        {{468, 470}, bg("cg26"), figs2("a1-6", "a2-2-7"), {}},
        {{472}, bg("cg26"), figs2("a1-1", "a2-2-1"), {}},
        {{473, 510}, bg("cg26"), none, {}},
        {{475, 478, 484}, bg("cg26"), fig4("a1-2"), {}},
        {{477, 490}, bg("cg26"), fig4("a1-10"), {}},
        {{480, 492}, bg("cg26"), fig4("a1-6"), {}},
        {{486}, bg("cg26"), fig4("a1-4"), {}},
        {{488}, bg("cg26"), fig4("a1-8"), {}},
        {{494}, bg("cg26"), fig4("a1-11"), {}},
        {{498}, bg("cg27"), none, cg(27)},
        {{499}, bg("b17"), none, {}},
        {{502}, bg("b17"), fig4("a1-3"), {}},
        {{506}, bg("b17"), fig4("a1-6"), {}},
        {{508}, bg("b17"), fig4("a1-11"), {}},
        {{513}, bg("cg26"), fig4("a1-4"), {}},
        {{518}, bg("cg26"), fig4("a1-9"), {}},
        // Each ring lights in the picture when the words say so.
        {{525}, bg("b20-1"), none, {}},
        {{526}, bg("b20-1"), fig4("a1-6"), {}},
        {{527}, bg("b20-1"), keep, {}},
        {{529}, bg("b20-1"), fig4("a1-8"), {}},
        {{531}, bg("b17"), keep, {}},
        {{536}, bg("b20-2"), keep, {}},
        {{537}, bg("b20-2"), fig4("a1-2"), {}},
        {{543, 549}, bg("b20-3"), none, {}},
        {{544}, bg("b20-3"), fig4("a1-6"), {}},
        {{546}, bg("b20-3"), fig4("a1-5"), {}},
        {{548}, bg("b20-3"), fig4("a1-8"), {}},
        {{550}, bg("b15-1"), figs2("a1-1", "a2-2-1"), {}},
        // The hall until its walls light up with memories at 556.
        {{551}, bg("b15-1"), figs2("a1-1", "a2-2-2"), {}},
        {{552}, bg("b15-1"), figs2("a1-7", "a2-2-1"), {}},
        {{553}, bg("b15-1"), figs2("a1-2", "a2-2-1"), {}},
        {{556}, bg("b15-2"), keep, {}},
        {{559, 566, 569, 571, 573, 576, 588, 590, 595, 610}, bg("b15-2"), figs2("a1-1", "a2-2-2"), {}},
        {{564, 565, 574, 578, 579, 586, 587, 591}, bg("b15-2"), figs2("a1-7", "a2-2-1"), {}},
        {{562, 567, 570, 572, 575, 580, 599, 601, 604, 608}, bg("b15-2"), figs2("a1-2", "a2-2-1"), {}},
        {{568, 589, 593, 600, 603}, bg("b15-2"), figs2("a1-1", "a2-2-3"), {}},
        {{606}, bg("b15-2"), figs2("a1-1", "a2-2-1"), {}},
        {{607}, bg("b15-2"), figs2("a1-6", "a2-2-3"), {}},
        {{613, 620, 624, 633}, bg("b15-3"), figs2("a1-1", "a2-2-2"), {}},
        {{614, 615, 623}, bg("b15-3"), figs2("a1-3", "a2-2-1"), {}},
        {{616, 626, 635}, bg("b15-3"), figs2("a1-2", "a2-2-1"), {}},
        {{638}, bg("b15-3"), figs2("a1-1", "a2-2-3"), {}},
        {{640, 647, 652}, bg("b15-4"), figs2("a1-2", "a2-2-1"), {}},
        {{641, 654, 657}, bg("b15-4"), figs2("a1-1", "a2-2-3"), {}},
        {{642, 646}, bg("b15-4"), figs2("a1-1", "a2-2-2"), {}},
        {{645, 651}, bg("b15-4"), figs2("a1-3", "a2-2-1"), {}},
        {{649}, bg("b15-4"), figs2("a1-2", "a2-2-1"), music},
        {{653}, bg("b15-4"), figs2("a1-2", "a2-2-3"), {}},
        {{655}, bg("b15-4"), figs2("a1-3", "a2-2-2"), {}},
        {{658}, bg("b15-4"), figs2("a1-2", "a2-2-2"), {}},
        {{660}, bg("cg22"), none, {}},
        {{666}, bg("cg28-1"), keep, cg(28.1f)},
        {{669}, bg("cg28-2"), keep, cg(28.2f)},
        {{672}, bg("cg28-1"), keep, music},
        {{677}, shown("cg29"), keep, cg(29)},
        {{678}, bg("cg30-1"), keep, cg(30.1f)},
        {{684}, bg("cg30-2"), keep, cg(30.2f)},
        {{685}, bg("cg30-3"), keep, cg(30.3f)},
        {{687}, hidden(), keep, setUpMap1},
        {{692, 722, 756}, hidden(), keep, lockStory},
        {{693}, shown("b18"), none, {}},
        {{702}, shown("cg31"), keep, cg(31) + music + endInterlude},
        {{710}, hidden(), keep, music + setUpMap2},
        {{755}, hidden(), keep, scriptedShots},
        {{757}, shown("b19"), none, {}},
        {{761}, shown("cg32-1"), keep, cg(32.1f) + music + endInterlude},
        {{798}, bg("cg32-2"), keep, {}},
        {{803}, bg("cg32-3"), keep, cg(32.3f) + hideBgLater},
        {{805}, shown("cg33-1"), keep, cg(33.1f)},
        {{807}, bg("cg33-2"), keep, cg(33.2f)},
        {{808}, bg("cg34"), keep, cg(34)},
        {{815, 817}, shown("b15-1"), figs2("a1-1", "a2-2-1"), {}},
        {{816}, bg("b15-1"), figs2("a1-1", "a2-2-2"), {}},
        {{818}, shown("b15-1"), figs2("a1-12", "a2-2-9"), {}},
        {{819, 853, 864}, hidden(), none, {}},
        {{832}, shown("cg35"), keep, cg(35) + music},
        {{844}, bg("cg36"), keep, cg(36)},
        {{847}, shown("b2"), keep, {}},
        {{848, 970}, shown("b2"), figs2("a2-2-10", "a-13"), {}},
        {{856, 867}, shown("bcg1"), keep, music},
        {{876}, shown("bcg2"), none, music},
        {{891, 906}, shown("bcg3"), keep, {}},
        {{913}, shown("bcg4"), none, music},
        {{927}, bg("bcg5"), keep, {}},
        {{928}, bg("bcg6"), keep, {}},
        {{929}, bg("bcg7"), keep, {}},
        {{930}, bg("bcg8"), keep, {}},
        {{932}, bg("b15-1"), keep, {}},
        {{935}, bg("bcg9"), keep, hideBgLater},
        {{938}, shown("bcg9"), none, music + hideBgLater},
        {{944}, shown("b15-1"), none, {}},
        {{949}, shown("bcg9"), keep, {}},
        {{950, 952}, shown("b16"), fig4("a1-2"), {}},
        {{951, 953}, shown("b16"), fig4("a1-1"), {}},
        {{955}, shown("b16"), figs2("a1-1", "a2-1-2"), {}},
        {{956}, shown("b16"), figs2("a1-1", "a2-1-1"), returnToInterlude},
        {{958}, shown("b16"), figs2("a2-1-1", "a1-1"), {}},
        {{961}, shown("b16"), figs2("a2-1-1", "a1-2"), {}},
        {{962}, shown("b16"), figs2("a2-1-2", "a1-1"), returnToInterlude},
        {{964, 966}, shown("b2"), none, returnToInterlude},
        {{968}, shown("b2"), none, {}},
    };
    return rows;
}

const StageRow *stageEntry(int line)
{
    static const QHash<int, const StageRow *> byLine = [] {
        QHash<int, const StageRow *> h;
        for (const StageRow &row : stageTable()) {
            for (int l : row.lines)
                h.insert(l, &row);
        }
        return h;
    }();
    return byLine.value(line, nullptr);
}

QStringList stageImageNames()
{
    QStringList names;
    for (const StageRow &row : stageTable()) {
        if (row.background.name)
            names.append(QString::fromUtf8(row.background.name));
        for (const char *figure : row.figures.names) {
            if (figure)
                names.append(QString::fromUtf8(figure));
        }
    }
    names.append(QString::fromUtf8(kMistakeLeftFigure));
    names.append(QString::fromUtf8(kMistakeRightFigure));
    names.removeDuplicates();
    return names;
}

} // namespace stage
