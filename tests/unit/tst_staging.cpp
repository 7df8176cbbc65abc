#include "core/game.h"
#include "core/interludeview.h"
#include "extras/unlockrecord.h"
#include "stage/interlude.h"
#include "stage/interludestate.h"
#include "stage/stagetable.h"
#include "stage/staging.h"
#include "music/music.h"
#include "settings/settings.h"
#include "story/storystate.h"
#include "audiofixture.h"
#include "testsupport.h"

#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QSet>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include <memory>

namespace {

const char *const kSlotNames[] = {"a1Path", "a2_1Path", "a2_2Path", "a3_1Path", "a3_2Path",
                                  "a3_3Path", "a1fPath", "a3_1fPath", "a3_2fPath", "a3_3fPath"};
const char *const kLayoutFlags[] = {"a1visible", "a2visible", "a3visible", "a1fvisible", "a3fvisible"};

// First slot of each layout in kSlotNames, and how many it has.
const int kLayoutFirstSlot[] = {0, 0, 1, 3, 6, 7};
const int kLayoutSlotCount[] = {0, 1, 2, 3, 1, 3};

QString *slotOf(stage::StagingState &s, int index)
{
    QString *all[] = {&s.a1Path, &s.a2_1Path, &s.a2_2Path, &s.a3_1Path, &s.a3_2Path,
                      &s.a3_3Path, &s.a1fPath, &s.a3_1fPath, &s.a3_2fPath, &s.a3_3fPath};
    return all[index];
}

// Every slot "before", except the named layout's, which hold the names.
QStringList slotsAfter(int layout, const QStringList &names)
{
    QStringList values;
    for (int i = 0; i < 10; ++i)
        values.append(QStringLiteral("before"));
    for (int i = 0; i < names.size(); ++i)
        values[kLayoutFirstSlot[layout] + i] = names.at(i);
    return values;
}

bool isNullObject(const QVariant &v)
{
    return v.isValid() && v.userType() == QMetaType::QObjectStar && !v.value<QObject *>();
}

} // namespace

class TestStaging : public QObject
{
    Q_OBJECT

public:
    // Called from QML each time a watched context property changes.
    Q_INVOKABLE void published(const QString &name) { publishedNames.append(name); }

private slots:
    void initTestCase();
    void init();

    void tableShape();
    void entry_data();
    void entry();
    void loadSearch_data();
    void loadSearch();
    void unlockRecord_data();
    void unlockRecord();
    void mistakeScene_data();
    void mistakeScene();
    void interludeVisibility();
    void interludeSetUp_data();
    void interludeSetUp();
    void spawnRecord();
    void locks_data();
    void locks();
    void scriptedShots();
    void delayedHide_data();
    void delayedHide();
    void quickStepsCancelDelayedHide_data();
    void quickStepsCancelDelayedHide();
    void returnToInterlude_data();
    void returnToInterlude();
    void publicationOrder_data();
    void publicationOrder();
    void musicAtTableLines();
    void namedPictureIsShown();
    void laterWordsFollowTheScript();

private:
    QVariant ctx(prop::Name name) const { return game.property(name); }
    // Names that come from a data table.
    QVariant ctx(const char *name) const { return game.property(prop::Name{name}); }
    void stage(int line, int loadFlag = 0)
    {
        story::state().currentLine = line;
        stage::stageLine(game, loadFlag);
    }
    void fillSlotsWithBefore()
    {
        stage::StagingState &s = stage::staging();
        s.bcPath = QStringLiteral("before");
        for (int i = 0; i < 10; ++i)
            *slotOf(s, i) = QStringLiteral("before");
    }
    QStringList publishedSlots() const
    {
        QStringList values;
        for (const char *name : kSlotNames)
            values.append(ctx(name).toString());
        return values;
    }
    int publishedLayout() const
    {
        int layout = 0;
        for (int i = 0; i < 5; ++i) {
            if (ctx(kLayoutFlags[i]).toInt() == 1) {
                if (layout != 0)
                    return -1; // two layouts at once
                layout = i + 1;
            }
        }
        return layout;
    }

    std::unique_ptr<ScratchDir> dir; // a rise of the record writes saves/extra.txt
    std::unique_ptr<QQmlEngine> engine;
    Game game;
    QStringList publishedNames;
};

void TestStaging::initTestCase()
{
    if (!stage::interludeTimer())
        stage::interludeTimer() = new QTimer;
}

void TestStaging::init()
{
    engine.reset();
    dir = std::make_unique<ScratchDir>();
    engine = std::make_unique<QQmlEngine>();
    game = Game();
    game.engine = engine.get();
    stage::staging() = stage::StagingState();
    stage::interlude() = stage::InterludeState();
    story::state() = story::StoryState();
    music::music() = music::MusicState();
    extras::cgProgress() = 0;
    stage::interludeTimer()->stop();
    publishedNames.clear();
}

void TestStaging::tableShape()
{
    const QVector<stage::StageRow> &rows = stage::stageTable();
    QSet<int> lines;
    for (const stage::StageRow &row : rows) {
        QVERIFY(!row.lines.isEmpty());
        for (int line : row.lines) {
            QVERIFY2(line >= 1 && line <= 973, qPrintable(QString::number(line)));
            QVERIFY2(!lines.contains(line), qPrintable(QStringLiteral("line %1 twice").arg(line)));
            lines.insert(line);
            QCOMPARE(stage::stageEntry(line), &row);
        }
        const int layout = row.figures.layout;
        QVERIFY(layout >= -1 && layout <= 5);
        int named = 0;
        for (const char *name : row.figures.names)
            named += name ? 1 : 0;
        QCOMPARE(named, layout > 0 ? kLayoutSlotCount[layout] : 0);
    }
    QVERIFY(!stage::stageEntry(40));
    QVERIFY(!stage::stageEntry(974));

    const QStringList names = stage::stageImageNames();
    QVERIFY(names.contains("cg9 - 1"));
    QVERIFY(names.contains("a-13"));
    QVERIFY(names.contains("a2-2-3"));
    QVERIFY(!names.contains(QString()));
}

void TestStaging::entry_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("visibleBefore");
    QTest::addColumn<QString>("bcPath");
    QTest::addColumn<int>("bVisible");
    QTest::addColumn<int>("layout");
    QTest::addColumn<QStringList>("slotValues");
    const QStringList untouched = slotsAfter(0, {});
    // Before each row: every slot "before", layout 1.
    QTest::newRow("background named, so shown") << 83 << 0 << "b3" << 1 << 1 << untouched;
    QTest::newRow("background shown") << 847 << 0 << "b2" << 1 << 1 << untouched;
    QTest::newRow("hidden, figures kept") << 279 << 1 << "before" << 0 << 1 << untouched;
    QTest::newRow("hidden, no figures") << 1 << 1 << "before" << 0 << 0 << untouched;
    QTest::newRow("hidden, one figure: the dream's girl, nameless") << 2 << 1 << "before" << 0 << 1 << slotsAfter(1, {"a0-1"});
    QTest::newRow("awake: Lio at last") << 7 << 0 << "b1" << 1 << 1 << slotsAfter(1, {"a1-1"});
    QTest::newRow("darkness after the white light") << 191 << 1 << "before" << 0 << 0 << untouched;
    QTest::newRow("still in the attic") << 125 << 1 << "b4" << 1 << 2 << slotsAfter(2, {"a3-2-2", "a1-1"});
    QTest::newRow("the hall before its walls show memories") << 551 << 1 << "b15-1" << 1 << 2 << slotsAfter(2, {"a1-1", "a2-2-2"});
    QTest::newRow("a ring lights in the picture") << 525 << 1 << "b20-1" << 1 << 0 << untouched;
    QTest::newRow("the long talk at the gate has Lio") << 486 << 1 << "cg26" << 1 << 4 << slotsAfter(4, {"a1-4"});
    QTest::newRow("layout 2") << 42 << 1 << "b2" << 1 << 2 << slotsAfter(2, {"a1-1", "a3-1-1"});
    QTest::newRow("layout 2, later line of a row") << 610 << 1 << "b15-2" << 1 << 2 << slotsAfter(2, {"a1-1", "a2-2-2"});
    QTest::newRow("layout 2, shown") << 848 << 0 << "b2" << 1 << 2 << slotsAfter(2, {"a2-2-10", "a-13"});
    QTest::newRow("layout 3") << 230 << 1 << "b2" << 1 << 3 << slotsAfter(3, {"a1-1", "a2-1-5", "a3-1-1"});
    QTest::newRow("layout 4") << 378 << 1 << "b12" << 1 << 4 << slotsAfter(4, {"a1-4"});
    QTest::newRow("layout 5") << 385 << 1 << "b13" << 1 << 5 << slotsAfter(5, {"a1-6", "a2-2-1", "a3-2-1"});
    QTest::newRow("line 403 in layout 3") << 403 << 1 << "b14" << 1 << 3 << slotsAfter(3, {"a1-8", "a2-2-6", "a3-2-10"});
    QTest::newRow("name with spaces") << 161 << 1 << "cg9 - 1" << 1 << 1 << untouched;
    QTest::newRow("illustration clears figures") << 72 << 1 << "cg2" << 1 << 0 << untouched;
    QTest::newRow("illustration shown") << 677 << 0 << "cg29" << 1 << 1 << untouched;
    QTest::newRow("shown, no figures") << 876 << 0 << "bcg2" << 1 << 0 << untouched;
    QTest::newRow("line without entry") << 96 << 1 << "before" << 1 << 1 << untouched;
}

void TestStaging::entry()
{
    QFETCH(int, line);
    QFETCH(int, visibleBefore);
    QFETCH(QString, bcPath);
    QFETCH(int, bVisible);
    QFETCH(int, layout);
    QFETCH(QStringList, slotValues);
    fillSlotsWithBefore();
    stage::staging().bVisible = visibleBefore;
    stage::staging().figureLayout = 1;

    stage(line);

    QCOMPARE(stage::staging().bcPath, bcPath);
    QCOMPARE(ctx(prop::bcPath).toString(), bcPath);
    QCOMPARE(stage::staging().bVisible, bVisible);
    QCOMPARE(ctx(prop::bVisible), QVariant(bVisible));
    QCOMPARE(stage::staging().figureLayout, layout);
    QCOMPARE(publishedLayout(), layout);
    QCOMPARE(publishedSlots(), slotValues);
}

void TestStaging::loadSearch_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("bcPath");
    QTest::addColumn<int>("bVisible");
    QTest::addColumn<int>("layout");
    QTest::addColumn<QStringList>("slotValues");
    // Before each row: every slot "before", background hidden, layout 2.
    QTest::newRow("40 takes 39's entry") << 40 << "b2" << 1 << 1 << slotsAfter(1, {"a1-1"});
    QTest::newRow("46 takes its own: the seam gone") << 46 << "cg1-1" << 1 << 0 << slotsAfter(0, {});
    QTest::newRow("973 takes its own") << 973 << "before" << 0 << 0 << slotsAfter(0, {});
    QTest::newRow("42 takes its own") << 42 << "b2" << 1 << 2 << slotsAfter(2, {"a1-1", "a3-1-1"});
    QTest::newRow("before the first line") << 0 << "before" << 1 << 0 << slotsAfter(0, {});
}

void TestStaging::loadSearch()
{
    QFETCH(int, line);
    QFETCH(QString, bcPath);
    QFETCH(int, bVisible);
    QFETCH(int, layout);
    QFETCH(QStringList, slotValues);
    fillSlotsWithBefore();
    stage::staging().bVisible = 0;
    stage::staging().figureLayout = 2;

    stage(line, 1);

    QCOMPARE(story::state().currentLine, line);
    QCOMPARE(ctx(prop::bcPath).toString(), bcPath);
    QCOMPARE(ctx(prop::bVisible), QVariant(bVisible));
    QCOMPARE(publishedLayout(), layout);
    QCOMPARE(publishedSlots(), slotValues);
}

void TestStaging::unlockRecord_data()
{
    QTest::addColumn<float>("before");
    QTest::addColumn<int>("line");
    QTest::addColumn<float>("after");
    QTest::addColumn<bool>("logged");
    QTest::newRow("44 from nothing") << 0.0f << 44 << 1.1f << false;
    QTest::newRow("44 leaves any record alone") << 1.0f << 44 << 1.0f << false;
    QTest::newRow("44 after a later one") << 20.0f << 44 << 20.0f << false;
    QTest::newRow("45 raises and logs") << 1.1f << 45 << 1.2f << true;
    QTest::newRow("45 from nothing") << 0.0f << 45 << 1.2f << true;
    QTest::newRow("45 below the record, no log") << 3.0f << 45 << 3.0f << false;
    QTest::newRow("a sub-image") << 7.1f << 152 << 7.2f << false;
    QTest::newRow("a later illustration") << 10.0f << 339 << 17.1f << false;
    QTest::newRow("never lowered") << 17.6f << 166 << 17.6f << false;
    QTest::newRow("same value") << 32.3f << 803 << 32.3f << false;
    QTest::newRow("skips 32.2") << 32.1f << 803 << 32.3f << false;
    QTest::newRow("last illustration") << 35.0f << 844 << 36.0f << false;
    QTest::newRow("line without a raise") << 5.0f << 42 << 5.0f << false;
}

void TestStaging::unlockRecord()
{
    QFETCH(float, before);
    QFETCH(int, line);
    QFETCH(float, after);
    QFETCH(bool, logged);
    // The record on disk is merged in: each row starts from its own value only.
    QFile::remove("saves/extra.txt");
    extras::cgProgress() = before;
    MessageLog log;
    stage(line);
    QCOMPARE(extras::cgProgress(), after);
    QCOMPARE(log.messages.contains("111111111111"), logged);
}

void TestStaging::mistakeScene_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("layout");
    QTest::newRow("entry with figures") << 42 << 2;
    QTest::newRow("entry without figures") << 72 << 2;
    QTest::newRow("line without entry") << 96 << 2;
    QTest::newRow("first map") << 690 << 0;
    QTest::newRow("second map") << 715 << 0;
    QTest::newRow("just after the first map") << 703 << 2;
}

void TestStaging::mistakeScene()
{
    QFETCH(int, line);
    QFETCH(int, layout);
    stage::staging().figureLayout = 3;
    story::state().mistakePending = true;
    stage(line);
    QCOMPARE(publishedLayout(), layout);
    QCOMPARE(ctx(prop::a2_1Path).toString(), QString("a1-6"));
    QCOMPARE(ctx(prop::a2_2Path).toString(), QString("a2-2-3"));
}

void TestStaging::interludeVisibility()
{
    const stage::InterludeState &in = stage::interlude();
    // A flag still reading "unset" was not published by the last run.
    auto unset = [this]() {
        for (const char *name : {"sjvisible", "ditu1visible", "ditu2visible"})
            engine->rootContext()->setContextProperty(QString::fromLatin1(name), QStringLiteral("unset"));
    };
    auto flags = [&in]() { return QList<int>{in.containerShown, in.map1Shown, in.map2Shown}; };

    unset();
    stage(686);
    QCOMPARE(in.interludeMap, 0);
    QCOMPARE(ctx(prop::sjvisible).toString(), QString("unset"));

    stage::staging().figureLayout = 2;
    stage(687);
    QCOMPARE(in.interludeMap, 1);
    QCOMPARE(ctx(prop::sjvisible), QVariant(1));
    QCOMPARE(ctx(prop::ditu1visible), QVariant(1));
    QCOMPARE(ctx(prop::ditu2visible), QVariant(0));
    QCOMPARE(flags(), (QList<int>{1, 1, 0}));
    QCOMPARE(publishedLayout(), 0);
    QCOMPARE(in.enemyMotion.size(), 20);

    unset();
    stage::staging().figureLayout = 2;
    stage(688);
    QCOMPARE(ctx(prop::sjvisible).toString(), QString("unset"));
    QCOMPARE(publishedLayout(), 0);
    // Every run keeps one entry per position entry, new enemies at rest.
    QCOMPARE(in.enemyMotion.size(), 20);
    QCOMPARE(in.enemyMotion.count(QVariant(0)), 20);

    unset();
    stage(702);
    QCOMPARE(in.interludeMap, 0);
    QCOMPARE(flags(), (QList<int>{0, 0, 0}));
    QCOMPARE(ctx(prop::sjvisible), QVariant(0));
    QCOMPARE(ctx(prop::ditu1visible), QVariant(0));
    QCOMPARE(ctx(prop::ditu2visible), QVariant(0));
    QCOMPARE(in.enemyMotion.size(), 20);

    unset();
    stage(703);
    QCOMPARE(ctx(prop::sjvisible).toString(), QString("unset"));

    stage(710);
    QCOMPARE(in.interludeMap, 2);
    QCOMPARE(ctx(prop::sjvisible), QVariant(1));
    QCOMPARE(ctx(prop::ditu1visible), QVariant(0));
    QCOMPARE(ctx(prop::ditu2visible), QVariant(1));
    QCOMPARE(flags(), (QList<int>{1, 0, 1}));

    // Leaving by a load: the container flag stays 1, so every later line hides again.
    unset();
    stage(500, 1);
    QCOMPARE(in.interludeMap, 0);
    QVERIFY(isNullObject(ctx(prop::sjvisible)));
    QCOMPARE(ctx(prop::ditu1visible), QVariant(0));
    QCOMPARE(ctx(prop::ditu2visible), QVariant(0));
    QCOMPARE(flags(), (QList<int>{1, 0, 0}));
    unset();
    stage(501);
    QVERIFY(isNullObject(ctx(prop::sjvisible)));
    QCOMPARE(ctx(prop::ditu2visible), QVariant(0));
    QCOMPARE(in.containerShown, 1);

    // With the container flag still set, a map whose own flag is 0 is shown again.
    unset();
    stage(690);
    QCOMPARE(ctx(prop::sjvisible), QVariant(1));
    QCOMPARE(ctx(prop::ditu1visible), QVariant(1));
    QCOMPARE(flags(), (QList<int>{1, 1, 0}));
}

void TestStaging::interludeSetUp_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("mistakes");
    QTest::addColumn<int>("enemies");
    QTest::addColumn<int>("spacing"); // 1500 / enemies, whole pixels
    QTest::newRow("first map") << 687 << 0 << 10 << 150;
    QTest::newRow("first map, two mistakes") << 687 << 2 << 30 << 50;
    QTest::newRow("first map, six mistakes: 1500 / 70 is not whole") << 687 << 6 << 70 << 21;
    QTest::newRow("second map") << 710 << 0 << 30 << 50;
    QTest::newRow("second map, two mistakes") << 710 << 2 << 70 << 21;
}

void TestStaging::interludeSetUp()
{
    QFETCH(int, line);
    QFETCH(int, mistakes);
    QFETCH(int, enemies);
    QFETCH(int, spacing);
    stage::InterludeState &in = stage::interlude();
    in.sja1x = 700;
    in.sja1y = 200;
    in.sja2x = 650;
    in.sja2y = 320;
    in.scrollX = -300;
    stage::staging().bVisible = 1;
    story::state().mistakeCount = mistakes;

    stage(line);

    QCOMPARE(in.enemyCount, enemies);
    QCOMPARE(ctx(prop::blockCount), QVariant(enemies));
    QCOMPARE((QList<int>{in.sja1x, in.sja1y, in.sja2x, in.sja2y}), (QList<int>{90, 310, 20, 310}));
    QCOMPARE(ctx(prop::sja1x), QVariant(90));
    QCOMPARE(ctx(prop::sja1y), QVariant(310));
    QCOMPARE(ctx(prop::sja2x), QVariant(20));
    QCOMPARE(ctx(prop::sja2y), QVariant(310));
    QVERIFY(isNullObject(ctx(prop::sjx)));
    QCOMPARE(in.scrollX, 0);
    QCOMPARE(ctx(prop::bVisible), QVariant(0));
    QCOMPARE(in.enemyPositions.size(), 2 * enemies);
    QCOMPARE(in.enemyPositions, in.enemySpawns);
    QCOMPARE(in.enemyMotion.size(), 2 * enemies);
    const int base = line == 687 ? 720 : 3000;
    for (int i = 0; i < enemies; ++i) {
        QCOMPARE(in.enemyPositions.at(2 * i), base + spacing * i);
        QCOMPARE(in.enemyPositions.at(2 * i + 1), 330);
    }
}

void TestStaging::spawnRecord()
{
    const stage::InterludeState &in = stage::interlude();
    QList<int> firstMap;
    for (int x = 720; x <= 2070; x += 150)
        firstMap << x << 330;
    QList<int> secondMap;
    for (int x = 3000; x <= 3950; x += 50)
        secondMap << x << 330;

    stage(687);
    QCOMPARE(in.enemyPositions, firstMap);
    stage(710);
    QCOMPARE(in.enemyPositions, firstMap + secondMap);

    // A later story starts a fresh record: no enemies of the last one come back.
    story::state() = story::StoryState();
    core::resetRun(game);
    stage(687);
    QCOMPARE(in.enemyCount, 10);
    QCOMPARE(in.enemyPositions, firstMap);
    QCOMPARE(in.enemySpawns, firstMap);

    // The second map on its own, first in the run.
    stage::interlude() = stage::InterludeState();
    QList<int> alone;
    for (int x = 3000; x <= 4450; x += 50)
        alone << x << 330;
    QCOMPARE(stage::spawnEnemies(game, 2), QList<int>());
    stage(710);
    QCOMPARE(in.enemyPositions, alone);
}

void TestStaging::locks_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<bool>("locked");
    QTest::newRow("692") << 692 << true;
    QTest::newRow("722") << 722 << true;
    QTest::newRow("756") << 756 << true;
    QTest::newRow("691 does not lock") << 691 << false;
}

void TestStaging::locks()
{
    QFETCH(int, line);
    QFETCH(bool, locked);
    stage::staging().bVisible = 1;
    stage(line);
    QCOMPARE(story::state().interludeActive, locked);
    if (locked)
        QCOMPARE(ctx(prop::bVisible), QVariant(0));
}

void TestStaging::scriptedShots()
{
    // On the second map the great Watcher is in view, in the player's ray.
    stage::InterludeState &in = stage::interlude();
    in.interludeMap = 2;
    in.sja1x = 1500;
    in.scrollX = -300;
    stage(755);
    const int watcherX = core::interludeView().greatWatcherX();
    const int view = -ctx(prop::sjx).toInt();
    QVERIFY(in.sja1x + 40 < watcherX && watcherX < in.sja1x + 600);
    QVERIFY(view <= in.sja1x && watcherX + 92 <= view + 720);
    QCOMPARE(ctx(prop::fsa1visible), QVariant(1));
    QCOMPARE(ctx(prop::fsa2visible), QVariant(1));
    QVERIFY(isNullObject(ctx(prop::sja1theta)));
    QCOMPARE(ctx(prop::sja2theta), QVariant(3.1415));
    QVERIFY(core::interludeView().greatWatcherDown());
    QCOMPARE(ctx(prop::bVisible), QVariant(0));
    QTest::qWait(100);
    QCOMPARE(ctx(prop::fsa1visible), QVariant(1));
    QTRY_VERIFY_WITH_TIMEOUT(isNullObject(ctx(prop::fsa1visible)), 1000);
    QVERIFY(isNullObject(ctx(prop::fsa2visible)));

    // The map set up again, in a later story or a load: the Watcher whole, at its gate.
    stage(710);
    QVERIFY(!core::interludeView().greatWatcherDown());
    QCOMPARE(core::interludeView().greatWatcherX(), core::kGreatWatcherHome);
}

void TestStaging::delayedHide_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<bool>("hides");
    QTest::newRow("803") << 803 << true;
    QTest::newRow("935") << 935 << true;
    QTest::newRow("938") << 938 << true;
    QTest::newRow("805 stays") << 805 << false;
}

void TestStaging::delayedHide()
{
    QFETCH(int, line);
    QFETCH(bool, hides);
    stage::staging().bVisible = 1;
    stage(line);
    QCOMPARE(ctx(prop::bVisible), QVariant(1));
    QTest::qWait(100);
    QCOMPARE(ctx(prop::bVisible), QVariant(1));
    if (hides) {
        QTRY_VERIFY_WITH_TIMEOUT(isNullObject(ctx(prop::bVisible)), 1000);
    } else {
        QTest::qWait(300);
        QCOMPARE(ctx(prop::bVisible), QVariant(1));
    }
    // Only the page loses it: a save made now still has the background.
    QCOMPARE(stage::staging().bVisible, 1);
}

void TestStaging::quickStepsCancelDelayedHide_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("steps");
    QTest::newRow("three clicks from 802") << 802 << 3;
    QTest::newRow("one past 803 (hidden there)") << 802 << 2;
    QTest::newRow("one past 935") << 934 << 2;
    QTest::newRow("one past 938") << 937 << 2;
}

// Steps faster than 200 ms: the hide meant for the illustration line must not
// take the background of the line shown by then.
void TestStaging::quickStepsCancelDelayedHide()
{
    QFETCH(int, from);
    QFETCH(int, steps);
    stage::staging().bVisible = 1;
    for (int i = 1; i <= steps; ++i)
        stage(from + i);
    const QVariant shown = ctx(prop::bVisible);
    QCOMPARE(shown, QVariant(stage::staging().bVisible));
    QTest::qWait(400);
    QCOMPARE(ctx(prop::bVisible), shown);
}

void TestStaging::returnToInterlude_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("caughtAt");
    QTest::addColumn<QString>("bcPath");
    QTest::addColumn<QStringList>("slotValues");
    QTest::addColumn<int>("map");
    QTest::newRow("956") << 956 << 690 << "b16" << slotsAfter(2, {"a1-1", "a2-1-1"}) << 1;
    QTest::newRow("962") << 962 << 692 << "b16" << slotsAfter(2, {"a2-1-2", "a1-1"}) << 1;
    QTest::newRow("964") << 964 << 730 << "b2" << slotsAfter(0, {}) << 2;
    QTest::newRow("966") << 966 << 691 << "b2" << slotsAfter(0, {}) << 1;
}

void TestStaging::returnToInterlude()
{
    QFETCH(int, line);
    QFETCH(int, caughtAt);
    QFETCH(QString, bcPath);
    QFETCH(QStringList, slotValues);
    QFETCH(int, map);
    fillSlotsWithBefore();
    stage::interlude().interludeReturnLine = caughtAt;

    stage(line);

    // The line shows as the scene it belongs to; the step waits for the map.
    QCOMPARE(story::state().currentLine, caughtAt - 1);
    QVERIFY(!stage::interludeTimer()->isActive());
    QCOMPARE(ctx(prop::bcPath).toString(), bcPath);
    QCOMPARE(ctx(prop::bVisible), QVariant(1));
    QCOMPARE(publishedSlots(), slotValues);
    QCOMPARE(stage::interlude().interludeMap, 0);
    QVERIFY(!ctx(prop::sjvisible).toBool());

    // The next forward step shows the line of the capture in its map, running.
    stage(story::state().currentLine + 1);
    QCOMPARE(story::state().currentLine, caughtAt);
    QCOMPARE(ctx(map == 1 ? "ditu1visible" : "ditu2visible"), QVariant(1));
    QCOMPARE(ctx(prop::sjvisible), QVariant(1));
    QVERIFY(stage::interludeTimer()->isActive());
    QCOMPARE(stage::interludeTimer()->interval(), 10);
}

void TestStaging::publicationOrder_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<QStringList>("first");
    QTest::newRow("first map set-up") << 687
        << QStringList{"sja1x", "sja1y", "sja2x", "sja2y", "sjx", "blockCount", "ditu1visible", "ditu2visible", "sjvisible"};
    QTest::newRow("end of the first map") << 702 << QStringList{"sjvisible", "ditu1visible", "ditu2visible"};
    QTest::newRow("scripted shots") << 755
        << QStringList{"fsa1visible", "fsa2visible", "sja1theta", "sja2theta", "ditu1visible", "ditu2visible", "sjvisible"};
    QTest::newRow("plain line") << 42 << QStringList();
}

void TestStaging::publicationOrder()
{
    QFETCH(int, line);
    QFETCH(QStringList, first);
    if (line == 702) {
        stage::interlude().containerShown = 1;
        stage::interlude().map1Shown = 1;
    }
    const QStringList scene = {"bVisible", "bcPath", "a1visible", "a2visible", "a3visible", "a1fvisible",
                               "a3fvisible", "a1Path", "a2_1Path", "a2_2Path", "a3_1Path", "a3_2Path",
                               "a3_3Path", "a1fPath", "a3_1fPath", "a3_2fPath", "a3_3fPath"};
    const QStringList watched = QStringList{"sja1x", "sja1y", "sja2x", "sja2y", "sjx", "blockCount", "ditu1visible",
                                            "ditu2visible", "sjvisible", "fsa1visible", "fsa2visible", "sja1theta",
                                            "sja2theta"} + scene;
    // Each watched property starts as a value no run publishes, so every publication shows.
    QString qml = QStringLiteral("import QtQuick 2.9\nQtObject {\n");
    for (const QString &name : watched) {
        engine->rootContext()->setContextProperty(name, QStringLiteral("unset"));
        qml += QStringLiteral("    property var w_%1: %1\n    onW_%1Changed: recorder.published(\"%1\")\n").arg(name);
    }
    qml += QStringLiteral("}\n");
    engine->rootContext()->setContextProperty("recorder", this);
    QQmlComponent component(engine.get());
    component.setData(qml.toUtf8(), QUrl());
    std::unique_ptr<QObject> watcher(component.create());
    QVERIFY2(watcher, qPrintable(component.errorString()));
    publishedNames.clear();

    stage(line);

    QCOMPARE(publishedNames, first + scene);
}

void TestStaging::musicAtTableLines()
{
    ScratchDir dir;
    for (const QString &file : music::musicFiles())
        dir.write(file, shortMp3());
    music::Player player;
    game.musicPlayer = &player;
    QSignalSpy started(&player, &music::Player::stateChanged);

    QMap<int, QString> expected;
    for (const music::StoryTrack &row : music::storyMusicTable())
        expected.insert(row.line, QString::fromLatin1(row.file));
    QMap<int, QString> startedAt;
    for (int line = 1; line <= 975; ++line) {
        started.clear();
        stage(line);
        for (const QList<QVariant> &args : started) {
            if (args.at(0).value<music::Player::State>() == music::Player::PlayingState) {
                startedAt.insert(line, QDir::current().relativeFilePath(player.media().toLocalFile()));
                break;
            }
        }
    }
    QCOMPARE(startedAt, expected);

    // A loaded save plays the track of its line even where the line has no entry.
    stage(200, 1);
    QCOMPARE(QDir::current().relativeFilePath(player.media().toLocalFile()),
             QString("mp3/Playing_Together_With_You.mp3"));
    player.stop();
    game.musicPlayer = nullptr;
}

// A word the staging publishes later goes through the game itself, not a copy
// of it: the 繁體 switch re-sends it with every other word.
void TestStaging::laterWordsFollowTheScript()
{
    QPointer<QTimer> slot;
    stage::publishLater(slot, game, 1, [](const Game &g) { g.publish(prop::nameText, QStringLiteral("我们")); });
    QTRY_COMPARE(ctx(prop::nameText).toString(), QStringLiteral("我们"));
    dir->write("setting.txt", "0\n0.5\n0.5\n0.5\n");
    settings::Settings owner;
    game.settings = &owner;
    owner.setTextForm(1);
    game.republishWords();
    const QString shown = ctx(prop::nameText).toString();
    game.settings = nullptr;
    QCOMPARE(shown, QStringLiteral("我們"));
}

QTEST_MAIN(TestStaging)
// Reading forward through the whole script, the picture an entry named stays
// on screen until an entry hides it: the story never talks over black by accident.
void TestStaging::namedPictureIsShown()
{
    bool named = false;
    QList<int> hiddenWhileNamed;
    for (int line = 1; line <= 975; ++line) {
        stage(line);
        if (const stage::StageRow *row = stage::stageEntry(line)) {
            if (row->background.visible == 0)
                named = false;
            else if (row->background.name)
                named = true;
            switch (row->other.special) {
            case stage::Special::SetUpMap1:
            case stage::Special::SetUpMap2:
            case stage::Special::LockStory:
            case stage::Special::ScriptedShots:
                named = false;
                break;
            default:
                break;
            }
        }
        if (named && stage::staging().bVisible != 1)
            hiddenWhileNamed.append(line);
    }
    QCOMPARE(hiddenWhileNamed, QList<int>());
    // The ship's history and the planet are told over their pictures.
    for (int line : {283, 335, 392, 672}) {
        stage(line);
        QVERIFY2(stage::staging().bVisible == 1, qPrintable(QString::number(line)));
    }
}

#include "tst_staging.moc"
