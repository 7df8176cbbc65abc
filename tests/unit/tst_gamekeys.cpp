
#include "pagesupport.h"

#include <QtTest>
#include <cmath>

namespace {

// WCAG relative luminance and contrast ratio.
double luminance(const QColor &c)
{
    auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

double contrast(const QColor &a, const QColor &b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

} // namespace

// The story page's keys, its auto and skip mark and its menu's labels, with
// the controller wired as start-up wires it.
class TestGameKeys : public QObject, protected PageFixture
{
    Q_OBJECT

private slots:
    void initTestCase() { Q_INIT_RESOURCE(qml); }
    void init() { makeScratch(); }
    void cleanup() { tearDownPage(); }

    void readingKeys_data();
    void readingKeys();
    void readingKeysLeaveTheInputBoxAlone_data();
    void readingKeysLeaveTheInputBoxAlone();
    void fullScreenKey_data();
    void fullScreenKey();
    void hiddenBoxComesBackBeforeTheStoryMoves_data();
    void hiddenBoxComesBackBeforeTheStoryMoves();
    void modeMark_data();
    void modeMark();
    void modeMarkGoesWhenSkipStopsByItself();
    void menuLabelsReadableOverAnyPicture_data();
    void menuLabelsReadableOverAnyPicture();
};

void TestGameKeys::readingKeys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("line");     // the cursor after the key
    QTest::addColumn<int>("view");     // the line shown after the key

    // From line 5, browsed back to 4 first.
    QTest::newRow("Space") << int(Qt::Key_Space) << 6 << 6;
    QTest::newRow("Return") << int(Qt::Key_Return) << 6 << 6;
    QTest::newRow("Enter") << int(Qt::Key_Enter) << 6 << 6;
    // Page Down and Down are the way back from Page Up: forward through the
    // history first, on to a new line only from the current one.
    QTest::newRow("Page Down") << int(Qt::Key_PageDown) << 5 << 5;
    QTest::newRow("Down") << int(Qt::Key_Down) << 5 << 5;
    QTest::newRow("Page Up") << int(Qt::Key_PageUp) << 5 << 3;
    QTest::newRow("Up") << int(Qt::Key_Up) << 5 << 3;
    QTest::newRow("unrelated key") << int(Qt::Key_Q) << 5 << 4;
}

void TestGameKeys::readingKeys()
{
    QFETCH(int, key);
    QFETCH(int, line);
    QFETCH(int, view);

    startStory();
    QVERIFY(openGame());
    standOn(5);
    controller->wheel1(1);
    QCOMPARE(viewLine(), 4);

    this->key(key);
    QCOMPARE(this->line(), line);
    QCOMPARE(viewLine(), view);
    QCOMPARE(text(), QStringLiteral("line %1").arg(view).left(text().size()));
    QVERIFY(!text().isEmpty());
}

void TestGameKeys::readingKeysLeaveTheInputBoxAlone_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("Space") << int(Qt::Key_Space);
    QTest::newRow("Page Down") << int(Qt::Key_PageDown);
    QTest::newRow("Down") << int(Qt::Key_Down);
    QTest::newRow("Page Up") << int(Qt::Key_PageUp);
    QTest::newRow("Up") << int(Qt::Key_Up);
}

void TestGameKeys::readingKeysLeaveTheInputBoxAlone()
{
    QFETCH(int, key);

    startStory();
    QVERIFY(openGame());
    standOn(550);
    controller->next1();
    finishTyping();
    QCOMPARE(line(), 551);
    QQuickItem *field = item("inputField");
    QTRY_VERIFY(field->hasActiveFocus());

    this->key(key);
    QCOMPARE(line(), 551);
    QCOMPARE(viewLine(), 551);
    QVERIFY(field->hasActiveFocus());
}

void TestGameKeys::fullScreenKey_data()
{
    QTest::addColumn<QByteArray>("mode");   // setting line 1 at start
    QTest::addColumn<int>("asked");         // the mode F11 asks for
    QTest::addColumn<QByteArray>("stored"); // setting line 1 afterwards

    QTest::newRow("windowed goes full screen") << QByteArray("0") << 1 << QByteArray("1");
    QTest::newRow("full screen goes windowed") << QByteArray("1") << 0 << QByteArray("0");
    QTest::newRow("maximised goes full screen") << QByteArray("2") << 1 << QByteArray("1");
}

void TestGameKeys::fullScreenKey()
{
    QFETCH(QByteArray, mode);
    QFETCH(int, asked);
    QFETCH(QByteArray, stored);

    startStory(mode + "\n0.5\n0.5\n0.5\n");
    QVERIFY(openGame());
    QSignalSpy spy(controller.get(), &MainWindow::suofangChanged);
    key(Qt::Key_F11);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.first().first().toInt(), asked);
    QCOMPARE(scratch->read(QStringLiteral("setting.txt")).split('\n').first(), stored);
    QTRY_COMPARE(restarts, 1);
    QCOMPARE(quits, 1);
}

void TestGameKeys::hiddenBoxComesBackBeforeTheStoryMoves_data()
{
    QTest::addColumn<bool>("byKey"); // hide with H and show with Space, or both by mouse
    QTest::newRow("mouse") << false;
    QTest::newRow("keyboard") << true;
}

void TestGameKeys::hiddenBoxComesBackBeforeTheStoryMoves()
{
    QFETCH(bool, byKey);

    startStory();
    QVERIFY(openGame());
    standOn(5);
    QQuickItem *textArea = item("textArea");
    QVERIFY(textArea->isVisible());

    if (byKey)
        key(Qt::Key_H);
    else
        click(QPoint(360, 200), Qt::RightButton);
    QVERIFY(!textArea->isVisible());
    QCOMPARE(line(), 5);

    // The first step only shows the box again, on the line it hid.
    if (byKey)
        key(Qt::Key_Space);
    else
        click(QPoint(360, 200));
    QVERIFY(textArea->isVisible());
    QCOMPARE(line(), 5);
    QCOMPARE(text(), QStringLiteral("line 5"));

    if (byKey)
        key(Qt::Key_Space);
    else
        click(QPoint(360, 200));
    QCOMPARE(line(), 6);

    // H hides and shows like the right button, without moving the story.
    key(Qt::Key_H);
    QVERIFY(!textArea->isVisible());
    key(Qt::Key_H);
    QVERIFY(textArea->isVisible());
    QCOMPARE(line(), 6);
}

void TestGameKeys::modeMark_data()
{
    QTest::addColumn<bool>("autoOn");
    QTest::addColumn<bool>("skipOn");
    QTest::addColumn<QString>("mark"); // empty: hidden

    QTest::newRow("neither") << false << false << QString();
    QTest::newRow("auto") << true << false << QStringLiteral("自动");
    QTest::newRow("skip") << false << true << QStringLiteral("快进");
    QTest::newRow("both") << true << true << QStringLiteral("快进 · 自动");
}

void TestGameKeys::modeMark()
{
    QFETCH(bool, autoOn);
    QFETCH(bool, skipOn);
    QFETCH(QString, mark);

    startStory();
    QVERIFY(openGame());
    standOn(5);
    if (autoOn)
        controller->Auto1();
    if (skipOn)
        controller->skip1();
    QQuickItem *box = item("modeMark");
    QCOMPARE(box->isVisible(), !mark.isEmpty());
    if (!mark.isEmpty())
        QCOMPARE(item("modeMarkText")->property("text").toString(), mark);

    // Hidden with the text box, back with it.
    key(Qt::Key_H);
    QVERIFY(!box->isVisible());
    key(Qt::Key_H);
    QCOMPARE(box->isVisible(), !mark.isEmpty());

    // Switched off from the controller: the mark goes.
    if (autoOn)
        controller->Auto1();
    if (skipOn)
        controller->skip1();
    QVERIFY(!box->isVisible());
}

// Skip stopping by itself at a question is over, toggle and mark alike.
void TestGameKeys::modeMarkGoesWhenSkipStopsByItself()
{
    startStory();
    QVERIFY(openGame());
    standOn(259);
    controller->skip1();
    QVERIFY(item("modeMark")->isVisible());
    QTRY_COMPARE(line(), 261);
    QTRY_VERIFY(!item("modeMark")->isVisible());
    QCOMPARE(controller->getSkip(), 0);
}

void TestGameKeys::menuLabelsReadableOverAnyPicture_data()
{
    QTest::addColumn<QColor>("picture");
    QTest::newRow("white") << QColor(Qt::white);
    QTest::newRow("accent") << QColor(QStringLiteral("#6496fa"));
    QTest::newRow("yellow") << QColor(Qt::yellow);
    QTest::newRow("black") << QColor(Qt::black);
}

void TestGameKeys::menuLabelsReadableOverAnyPicture()
{
    QFETCH(QColor, picture);

    startStory();
    QImage image(720, 480, QImage::Format_RGB32);
    image.fill(picture);
    QVERIFY(image.save(QStringLiteral("png/plain.png")));
    game.publish(prop::bcPath, QStringLiteral("plain"));
    game.publish(prop::bVisible, 1);
    QVERIFY(openGame());
    QTRY_COMPARE(item("background")->property("status").toInt(), 1); // Image.Ready
    QTest::mouseMove(view.get(), QPoint(360, 200));
    QTest::mouseMove(view.get(), QPoint(360, 470));
    QVERIFY(item("menuBar")->isVisible());

    const QImage shot = grab();
    QVERIFY(!shot.isNull());
    // The strip where no label is drawn: what the letters stand on.
    const QColor backdrop = shot.pixelColor(712, 458);
    const QColor pictureSeen = shot.pixelColor(360, 200);
    QCOMPARE(pictureSeen.name(), picture.name());
    for (const char *name : {"menuSave", "menuLoad", "menuSkip", "menuAuto", "menuSetting", "menuReturn", "menuQuit"}) {
        auto *label = item(name)->property("contentItem").value<QQuickItem *>();
        const QColor ink = label->property("color").value<QColor>();
        const double ratio = contrast(ink, backdrop);
        QVERIFY2(ratio >= 4.5, qPrintable(QStringLiteral("%1: %2 on %3 is %4:1")
                                              .arg(QLatin1String(name), ink.name(), backdrop.name()).arg(ratio)));
    }
}

QTEST_MAIN(TestGameKeys)
#include "tst_gamekeys.moc"
