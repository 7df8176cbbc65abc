#include "pagesupport.h"

#include "saves/savefiles.h"
#include "saves/savestore.h"
#include "story/storystate.h"

#include <QGuiApplication>
#include <QQmlEngine>
#include <QWheelEvent>

namespace {

const QColor kSlotColours[] = {Qt::black, Qt::red, Qt::green, Qt::blue, Qt::yellow};

// Slot k resumes at line 10 k, with k - 1 mistakes, and its picture is colour k.
void writeSlots(const ScratchDir &dir, int count)
{
    QByteArray lines, mistakes;
    for (int k = 1; k <= count; ++k) {
        lines += QByteArray::number(10 * k) + '\n';
        mistakes += QByteArray::number(k - 1) + '\n';
        QImage shot(72, 48, QImage::Format_RGB32);
        shot.fill(kSlotColours[k % 5]);
        QDir().mkpath(dir.path() + "/saves");
        QVERIFY(shot.save(dir.path() + QStringLiteral("/saves/%1.png").arg(k)));
    }
    dir.write("saves/save.txt", lines);
    dir.write("saves/cuowu.txt", mistakes);
}

} // namespace

// The load page from the resources, offscreen, with the real controller and
// the save store wired as start-up wires it.
class TestLoadPage : public QObject, protected PageFixture
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void rows();
    void loadRow();
    void refusedLoadStaysAndSaysWhy();
    void deleteAsksFirst_data();
    void deleteAsksFirst();
    void empty();
    void rowsFollowANewCount();
    void back_data();
    void back();
    void wheelScrollsTheList();
    void gamePageSaysSaved_data();
    void gamePageSaysSaved();

private:
    void openPage(const QString &source = QStringLiteral("index"));
    QQuickItem *item(const QString &name) const;
    QQuickItem *find(const QString &name) const;
    int rowCount() const;
    QColor shownColour(QQuickItem *thumb);
    void click(const QString &name) { QTest::mouseClick(view.get(), Qt::LeftButton, Qt::NoModifier, centreOf(item(name))); }
};

void TestLoadPage::initTestCase()
{
    Q_INIT_RESOURCE(qml);
}

void TestLoadPage::init()
{
    PageStart start;
    start.settings = false;
    start.freshState = true;
    for (int n = 1; n <= 200; ++n)
        start.script << "<1>line " + QByteArray::number(n);
    buildPage(start);
    wirePage(true);
}

void TestLoadPage::cleanup()
{
    tearDownPage();
}

void TestLoadPage::openPage(const QString &source)
{
    controller->navigateload(source);
    QVERIFY(showPage(view.get(), QStringLiteral("load")));
    // The count asked for on opening rebuilds the rows on the next turn.
    const int saved = saves::countSaveSlots();
    QTRY_COMPARE(rowCount(), saved);
    if (saved > 0)
        QTRY_VERIFY(find(QStringLiteral("saveRow0")));
}

// Rows belong to the list's model, not to the page: walk the visual tree.

QQuickItem *TestLoadPage::find(const QString &name) const
{
    return findItem(view->rootObject(), name);
}

QQuickItem *TestLoadPage::item(const QString &name) const
{
    return requireItem(view->rootObject(), name);
}

int TestLoadPage::rowCount() const
{
    return item("saveList")->property("count").toInt();
}

// The picture the thumbnail shows, read from the file its address names
// (offscreen, the software renderer cannot be grabbed).
QColor TestLoadPage::shownColour(QQuickItem *thumb)
{
    QUrl url(thumb->property("source").toString());
    url.setQuery(QString());
    const QImage image(url.toLocalFile());
    return image.isNull() ? QColor() : image.pixelColor(0, 0);
}

void TestLoadPage::rows()
{
    writeSlots(*scratch, 3);
    openPage();

    QCOMPARE(rowCount(), 3);
    for (int row = 0; row < 3; ++row) {
        const int slot = 3 - row;
        QCOMPARE(item(QStringLiteral("saveLabel%1").arg(row))->property("text").toString(),
                 QStringLiteral("存档 %1").arg(row + 1));
        QQuickItem *thumb = item(QStringLiteral("saveThumb%1").arg(row));
        QVERIFY(thumb->property("source").toString().endsWith(QStringLiteral("/saves/%1.png").arg(slot)));
        QTRY_COMPARE(thumb->property("status").toInt(), 1); // Image.Ready
        QCOMPARE(thumb->property("sourceSize").toSize(), QSize(75, 50));
        QCOMPARE(shownColour(thumb), kSlotColours[slot]);
        const QString caption = item(QStringLiteral("saveCaption%1").arg(row))->property("text").toString();
        QVERIFY2(caption.contains(QStringLiteral("「line %1」").arg(10 * slot)), qPrintable(caption));
        QVERIFY2(caption.contains(QDate::currentDate().toString(Qt::ISODate)), qPrintable(caption));
    }
    QVERIFY(!item("noSaves")->isVisible());
    QVERIFY(!item("saveNoPicture0")->isVisible());

    // A slot whose screenshot failed still loads; its picture is a word, not a warning.
    QFile::remove("saves/2.png");
    controller->dropsaves(3);
    QTRY_COMPARE(rowCount(), 2);
    QTRY_VERIFY(find("saveNoPicture0") && find("saveNoPicture0")->isVisible());
    QCOMPARE(item("saveThumb0")->property("source").toString(), QString());
    QVERIFY(!item("saveNoPicture1")->isVisible());
}

void TestLoadPage::loadRow()
{
    writeSlots(*scratch, 3);
    openPage();

    click("saveLoad1");

    QCOMPARE(story::state().currentLine, 20);
    QCOMPARE(story::state().mistakeCount, 1);
    QCOMPARE(controller->getCurrentPage(), QStringLiteral("game"));
    QCOMPARE(controller->getLastSource(), QStringLiteral("load"));
}

void TestLoadPage::refusedLoadStaysAndSaysWhy()
{
    writeSlots(*scratch, 2);
    scratch->write("saves/save.txt", "10\nbroken\n");
    story::state().currentLine = 7;
    openPage();

    click("saveLoad0");

    QCOMPARE(controller->getCurrentPage(), QStringLiteral("load"));
    QCOMPARE(story::state().currentLine, 7);
    QVERIFY(item("saveNotice")->isVisible());
    QCOMPARE(item("saveNoticeText")->property("text").toString(), QStringLiteral("读取失败：存档已损坏"));
}

void TestLoadPage::deleteAsksFirst_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QByteArray>("linesAfter");
    QTest::addColumn<QList<int>>("coloursAfter"); // colour index shown by each row, top first

    QTest::newRow("top") << 0 << QByteArray("10\n20\n") << QList<int>{2, 1};
    QTest::newRow("middle") << 1 << QByteArray("10\n30\n") << QList<int>{3, 1};
    QTest::newRow("bottom") << 2 << QByteArray("20\n30\n") << QList<int>{3, 2};
}

void TestLoadPage::deleteAsksFirst()
{
    QFETCH(int, row);
    QFETCH(QByteArray, linesAfter);
    QFETCH(QList<int>, coloursAfter);

    writeSlots(*scratch, 3);
    openPage();
    const QByteArray before = scratch->read("saves/save.txt");
    QSignalSpy drops(controller.get(), &MainWindow::Drop);

    const QString drop = QStringLiteral("saveDrop%1").arg(row);
    click(drop);
    QVERIFY(item("dropDialog")->isVisible());
    QCOMPARE(item("dropDialog")->property("message").toString(), QStringLiteral("确定要删除存档 %1 吗？").arg(row + 1));
    click("dropCancel");
    QVERIFY(!item("dropDialog")->isVisible());
    QCOMPARE(drops.size(), 0);
    QCOMPARE(scratch->read("saves/save.txt"), before);

    click(drop);
    click("dropConfirm");
    QCOMPARE(drops.size(), 1);
    QCOMPARE(scratch->read("saves/save.txt"), linesAfter);
    QTRY_COMPARE(rowCount(), 2);
    for (int i = 0; i < 2; ++i) {
        QQuickItem *thumb = nullptr;
        QTRY_VERIFY((thumb = find(QStringLiteral("saveThumb%1").arg(i))));
        QTRY_COMPARE(thumb->property("status").toInt(), 1);
        QCOMPARE(shownColour(thumb), kSlotColours[coloursAfter.at(i)]);
    }
}

void TestLoadPage::empty()
{
    openPage();
    QCOMPARE(rowCount(), 0);
    QQuickItem *none = item("noSaves");
    QVERIFY(none->isVisible());
    QCOMPARE(none->property("text").toString(), QStringLiteral("暂无存档"));

    // A count that arrives later still fills the list and hides the text.
    writeSlots(*scratch, 1);
    controller->requestSaveCount();
    QTRY_COMPARE(rowCount(), 1);
    QVERIFY(!none->isVisible());
}

void TestLoadPage::rowsFollowANewCount()
{
    writeSlots(*scratch, 2);
    openPage();
    // Scrolled rows are reused, so a row must follow its slot, not keep its picture.
    writeSlots(*scratch, 4);
    controller->requestSaveCount();
    QTRY_COMPARE(rowCount(), 4);
    for (int row = 0; row < 4; ++row) {
        QQuickItem *thumb = nullptr;
        QTRY_VERIFY((thumb = find(QStringLiteral("saveThumb%1").arg(row))));
        QTRY_COMPARE(thumb->property("status").toInt(), 1);
        QCOMPARE(shownColour(thumb), kSlotColours[4 - row]);
    }
}

void TestLoadPage::back_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("page");
    QTest::newRow("from the title") << "index" << "index";
    QTest::newRow("from the game") << "game" << "game";
}

void TestLoadPage::back()
{
    QFETCH(QString, source);
    QFETCH(QString, page);
    openPage(source);
    click("backButton");
    QCOMPARE(controller->getCurrentPage(), page);
}

void TestLoadPage::wheelScrollsTheList()
{
    writeSlots(*scratch, 12);
    openPage();
    // The controller's filter turns the wheel into story browsing wherever the
    // game page is not shown only once the filter learns the pages; here the
    // list alone is under test.
    QGuiApplication::instance()->removeEventFilter(controller.get());
    QQuickItem *list = item("saveList");
    QCOMPARE(list->property("contentY").toReal(), list->property("originY").toReal());

    const QPointF at = centreOf(list);
    QWheelEvent wheel(at, view->mapToGlobal(at.toPoint()), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QGuiApplication::sendEvent(view.get(), &wheel);
    QTRY_VERIFY(list->property("contentY").toReal() > list->property("originY").toReal());
}

void TestLoadPage::gamePageSaysSaved_data()
{
    QTest::addColumn<bool>("picture");
    QTest::addColumn<QString>("word");
    QTest::newRow("saved") << true << "已保存";
    QTest::newRow("no picture") << false << "已保存，但截图失败";
}

void TestLoadPage::gamePageSaysSaved()
{
    QFETCH(bool, picture);
    QFETCH(QString, word);

    game.hooks.grabWindow = [picture] {
        QImage image(720, 480, QImage::Format_RGB32);
        image.fill(Qt::gray);
        return picture ? image : QImage();
    };
    // A word from before the page was opened is not news.
    saves::tellPlayer(QStringLiteral("已保存"));
    controller->navigategame("load");
    QVERIFY(showPage(view.get(), QStringLiteral("game")));
    QQuickItem *notice = item("saveNotice");
    QVERIFY(!notice->isVisible());

    story::state().currentLine = 12;
    controller->save1();
    QTRY_VERIFY(notice->isVisible());
    QCOMPARE(item("saveNoticeText")->property("text").toString(), word);
    QCOMPARE(scratch->read("saves/save.txt"), QByteArray("12\n"));
    QTRY_VERIFY_WITH_TIMEOUT(!notice->isVisible(), 6000);
}

QTEST_MAIN(TestLoadPage)
#include "tst_loadpage.moc"
