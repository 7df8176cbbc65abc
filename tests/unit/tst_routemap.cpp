// The route record, the map drawn from the story graph, the jump to a
// question, and the page through the real QML.
#include "audiofixture.h"
#include "filekinds.h"
#include "pagesupport.h"
#include "saves/routemap.h"
#include "story/routerecord.h"
#include "story/routes.h"
#include "storyfixture.h"

#include <QtTest>

using story::routeRecord;

namespace {

QByteArray record(const QByteArray &body)
{
    return "solvane-routes 1\n" + body;
}

// The file as the lines it holds, whatever their ends.
QByteArrayList fileLines(const ScratchDir &dir)
{
    QByteArrayList lines = dir.readText(QStringLiteral("saves/routes.txt")).split('\n');
    lines.removeAll(QByteArray());
    return lines;
}

} // namespace

class TestRouteMap : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { Q_INIT_RESOURCE(qml); }
    void parse_data();
    void parse();
    void guarded_data();
    void guarded();
    void fullDisk();
    void everyWayOutIsTold_data();
    void everyWayOutIsTold();
    void layoutKeepsApart();
    void jump_data();
    void jump();
    void page();
};

void TestRouteMap::parse_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("nodes");
    QTest::addColumn<int>("ways");

    QTest::newRow("nodes and ways") << record("0\n261\n857\n0 1\n261 2\n") << true << 3 << 2;
    QTest::newRow("Windows line ends, blank lines") << record("261\r\n\r\n261 1\r\n") << true << 1 << 1;
    QTest::newRow("an interlude's last outcome") << record("687\n687 5\n") << true << 1 << 1;
    QTest::newRow("no header") << QByteArray("261\n") << false << 0 << 0;
    QTest::newRow("a line that is no node") << record("261\n262\n") << false << 0 << 0;
    QTest::newRow("a third way out of a question") << record("261 3\n") << false << 0 << 0;
}

void TestRouteMap::parse()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, ok);
    QFETCH(int, nodes);
    QFETCH(int, ways);

    core::RouteRecordState r;
    QCOMPARE(story::parseRouteRecord(content, &r), ok);
    QCOMPARE(r.nodes.size(), nodes);
    QCOMPARE(r.edges.size(), ways);
}

// What is there already is merged, never lost: another copy's finds stay, and
// a record that cannot be read, or is not a file, is left alone.
void TestRouteMap::guarded_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QByteArrayList>("after"); // the file's lines; empty: as it was

    const QByteArrayList ours{"solvane-routes 1", "0", "261", "0 1"};
    QTest::newRow("missing") << "missing" << ours;
    QTest::newRow("another copy found 406")
        << "regular" << QByteArrayList{"solvane-routes 1", "0", "261", "406", "0 1", "261 1"};
    QTest::newRow("damaged") << "damaged" << ours;
    QTest::newRow("link") << "link" << QByteArrayList();
    QTest::newRow("unreadable") << "unreadable" << QByteArrayList();
    QTest::newRow("directory") << "directory" << QByteArrayList();
}

void TestRouteMap::guarded()
{
    QFETCH(QString, kind);
    QFETCH(QByteArrayList, after);
    SKIP_IF_NO_SUCH_FILE_HERE(kind);

    StoryFixture f;
    const QByteArray theirs = kind == "damaged" ? QByteArray("solvane-routes 1\n999\n") : record("406\n261 1\n");
    QVERIFY(makeFileKind(f.dir, kind == "damaged" ? "regular" : kind, "saves/routes.txt", theirs));
    {
        DacOff dac(kind == "unreadable");
        story::loadRouteRecord();
        story::noteRouteLine(261, true);
    }
    const QFileInfo info(f.dir.path() + "/saves/routes.txt");
    if (after.isEmpty()) {
        QCOMPARE(info.isDir(), kind == "directory");
        QCOMPARE(info.isSymLink(), kind == "link");
        if (kind != "directory")
            QCOMPARE(f.dir.read("saves/routes.txt"), theirs);
    } else {
        QCOMPARE(fileLines(f.dir), after);
    }
    QVERIFY(story::nodeReached(story::routes().nodeAt(261))); // found all the same, for this run
}

void TestRouteMap::fullDisk()
{
    SmallDisk disk(64 * 1024);
    if (!disk.mounted())
        QSKIP("needs root to mount a small disk");
    StoryFixture f;
    const QString path = disk.path() + "/routes.txt";
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write(record("261\n"));
    old.close();
    disk.fill();
    story::loadRouteRecord(path);
    MessageLog log;
    for (int line : {406, 521})
        routeRecord().nodes.insert(line);
    QVERIFY(!story::saveRouteRecord(path));
    QVERIFY(!story::saveRouteRecord(path));
    QCOMPARE(log.count(QStringLiteral("无法写入路线记录")), 1);
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), record("261\n"));
}

void TestRouteMap::everyWayOutIsTold_data()
{
    QTest::addColumn<int>("edge");
    QTest::addColumn<bool>("again"); // the shorter scene of a second capture
    const story::Routes &g = story::routes();
    for (int e = 0; e < g.edges().size(); ++e) {
        const story::RouteEdge &edge = g.edges().at(e);
        if (edge.from == 0 || edge.lines.isEmpty())
            continue;
        const QString name = QStringLiteral("%1, way %2").arg(g.nodes().at(edge.from).line)
                                 .arg(g.nodes().at(edge.from).edges.indexOf(e) + 1);
        QTest::newRow(qPrintable(name)) << e << false;
        if (!edge.linesAgain.isEmpty())
            QTest::newRow(qPrintable(name + ", again")) << e << true;
    }
}

// Each way out of a node is known by the first line it shows, and by no other.
void TestRouteMap::everyWayOutIsTold()
{
    QFETCH(int, edge);
    QFETCH(bool, again);

    StoryFixture f;
    const story::Routes &g = story::routes();
    const story::RouteEdge &way = g.edges().at(edge);
    story::noteRouteLine(g.nodes().at(way.from).line, true);
    story::noteRouteLine((again ? way.linesAgain : way.lines).constFirst(), false);
    for (int e : g.nodes().at(way.from).edges)
        QCOMPARE(story::edgeTaken(e), e == edge);
}

// Nothing drawn over anything else, every line from its node to the next.
void TestRouteMap::layoutKeepsApart()
{
    const story::Routes &g = story::routes();
    const saves::MapLayout &layout = saves::mapLayout();
    const auto rect = [](const saves::MapBox &b) { return QRect(b.x, b.y, b.width, b.height); };
    QRect content(0, 0, 680, layout.height);
    for (int i = 0; i < g.nodes().size(); ++i) {
        QVERIFY(content.contains(rect(layout.nodes.at(i))));
        for (int j = 0; j < i; ++j)
            QVERIFY(!rect(layout.nodes.at(i)).intersects(rect(layout.nodes.at(j))));
    }
    for (int e = 0; e < g.edges().size(); ++e) {
        const story::RouteEdge &edge = g.edges().at(e);
        const QVector<saves::MapBox> &line = layout.segments.at(e);
        if (edge.to >= 0)
            QVERIFY(content.contains(rect(layout.labels.at(e))));
        if (edge.to < 0 || edge.to == edge.from) {
            QVERIFY(line.isEmpty());
            continue;
        }
        QVERIFY(!line.isEmpty());
        const QRect from = rect(layout.nodes.at(edge.from)).adjusted(-2, -2, 2, 2);
        const QRect to = rect(layout.nodes.at(edge.to)).adjusted(-2, -2, 2, 2);
        QVERIFY(from.intersects(rect(line.constFirst())));
        QVERIFY(to.intersects(rect(line.constLast())));
        for (int k = 1; k < line.size(); ++k)
            QVERIFY(rect(line.at(k - 1)).adjusted(-1, -1, 1, 1).intersects(rect(line.at(k))));
    }
}

void TestRouteMap::jump_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("jumps");
    QTest::addColumn<int>("tries");

    const QByteArray early = record("0\n261\n406\n0 1\n261 1\n261 2\n");
    QTest::newRow("a question reached") << early << 406 << 0 << true << 3;
    QTest::newRow("not reached") << early << 521 << 0 << false << 0;
    QTest::newRow("an ending") << record("857\n") << 857 << 0 << false << 0;
    // Reached, its way not recorded: the graph's way, without a wrong answer.
    QTest::newRow("past both maps, kinder") << record("841\n") << 841 << 1 << true << 5;
}

void TestRouteMap::jump()
{
    QFETCH(QByteArray, file);
    QFETCH(int, line);
    QFETCH(int, mode);
    QFETCH(bool, jumps);
    QFETCH(int, tries);

    StoryFixture f;
    f.settings.setInterludeMode(mode);
    f.dir.write("saves/routes.txt", file);
    story::loadRouteRecord();
    f.at(600);
    story::state().mistakeCount = 4;
    RouteMap map(f.game, nullptr);
    QCOMPARE(map.jump(story::routes().nodeAt(line)), jumps);
    if (!jumps) {
        QCOMPARE(story::state().currentLine, 600);
        return;
    }
    QCOMPARE(f.controller->getCurrentPage(), QStringLiteral("game"));
    QCOMPARE(story::state().currentLine, line);
    QCOMPARE(story::state().mistakeCount, 0);
    QCOMPARE(core::process().interlude.triesLeft, tries);
    QCOMPARE(core::process().shownLines, QVector<int>{line});
    f.finishTyping();
    QVERIFY(f.shown(prop::daanvisible));
}

void TestRouteMap::page()
{
    StoryFixture f;
    f.dir.write("saves/routes.txt", record("0\n261\n406\n857\n0 1\n261 1\n261 2\n"));
    story::loadRouteRecord();
    MainWindow &controller = *f.controller;
    QQuickView view(f.engine.get(), nullptr);
    view.resize(720, 480);
    const auto item = [&view](const QString &name) { return requireItem(view.rootObject(), name); };
    const auto click = [&view](QQuickItem *target) {
        QTest::mouseClick(&view, Qt::LeftButton, Qt::NoModifier,
                          target->mapToScene(QPointF(target->width() / 2, target->height() / 2)).toPoint());
    };

    // Beside 鉴赏 on the title page, the other buttons where they were.
    QVERIFY(showPage(&view, QStringLiteral("index")));
    QCOMPARE(item("routeButton")->y(), item("extraButton")->y());
    QVERIFY(item("routeButton")->x() + item("routeButton")->width() <= item("extraButton")->x());
    QCOMPARE(item("startButton")->x() + 50, 360.0 + 305);
    QVERIFY(item("routeButton")->isVisible());
    click(item("routeButton"));
    QCOMPARE(controller.getCurrentPage(), QStringLiteral("route"));

    QVERIFY(showPage(&view, QStringLiteral("route")));
    view.requestActivate();
    QVERIFY(QTest::qWaitForWindowActive(&view));
    const int n406 = story::routes().nodeAt(406), n521 = story::routes().nodeAt(521);
    QCOMPARE(item(QStringLiteral("routeNode%1").arg(n406))->property("text").toString(), QStringLiteral("line 406"));
    QCOMPARE(item(QStringLiteral("routeNode%1").arg(n521))->property("text").toString(), QStringLiteral("？？？"));
    // A locked node asks nothing; a reached question asks, and 取消 leaves all as it was.
    click(item(QStringLiteral("routeNode%1").arg(n521)));
    QVERIFY(!item("jumpDialog")->property("open").toBool());
    click(item(QStringLiteral("routeNode%1").arg(n406)));
    QVERIFY(item("jumpDialog")->property("open").toBool());
    QTest::keyClick(&view, Qt::Key_Escape);
    QVERIFY(!item("jumpDialog")->property("open").toBool());
    QCOMPARE(controller.getCurrentPage(), QStringLiteral("route"));
    click(item(QStringLiteral("routeNode%1").arg(n406)));
    click(item("jumpConfirm"));
    QCOMPARE(controller.getCurrentPage(), QStringLiteral("game"));
    QCOMPARE(story::state().currentLine, 406);

    // From the story the place is marked, and 返回 goes back to it.
    controller.navigateroute(QStringLiteral("game"));
    QVERIFY(showPage(&view, QStringLiteral("route")));
    QVERIFY(item(QStringLiteral("routeNode%1").arg(n406))->findChild<QQuickItem *>("currentMark")->isVisible());
    QTest::keyClick(&view, Qt::Key_Escape);
    QCOMPARE(controller.getCurrentPage(), QStringLiteral("game"));
    QCOMPARE(controller.getLastSource(), QStringLiteral("route"));
}

QTEST_MAIN(TestRouteMap)
#include "tst_routemap.moc"
