#include "story/endings.h"
#include "story/storyview.h"
#include "pagesupport.h"

#include <QtTest>

// The endings reached: the card on the title page, the file that remembers
// them, and their list on the extras page.
class TestEndings : public QObject, protected PageFixture
{
    Q_OBJECT

private slots:
    void initTestCase() { Q_INIT_RESOURCE(qml); }
    void init() { makeScratch(); }
    void cleanup() { tearDownPage(); }

    void endingCard_data();
    void endingCard();
    void endingsFile_data();
    void endingsFile();
    void endingsRememberedOnceEach();
    void extrasPageListsEndings();
};

void TestEndings::endingCard_data()
{
    QTest::addColumn<int>("ending");
    QTest::addColumn<QString>("how"); // what steps past the ending's last line

    QTest::newRow("849 by click") << 849 << "click";
    QTest::newRow("975 by Space") << 975 << "space";
    QTest::newRow("862 by skip") << 862 << "skip";
    QTest::newRow("911 by auto") << 911 << "auto";
}

void TestEndings::endingCard()
{
    QFETCH(int, ending);
    QFETCH(QString, how);

    startStory();
    QVERIFY(openGame());
    standOn(ending);
    QVERIFY(text().startsWith(QStringLiteral("line %1").arg(ending)));
    if (how == QLatin1String("click"))
        click(QPoint(360, 200));
    else if (how == QLatin1String("space"))
        key(Qt::Key_Space);
    else if (how == QLatin1String("skip"))
        controller->skip1();
    else
        controller->Auto1();
    QTRY_COMPARE(controller->getCurrentPage(), QStringLiteral("index"));
    QCOMPARE(story::storyView().endingCard(), endingName(ending));
    QCOMPARE(scratch->read(QStringLiteral("saves/endings.txt")), QByteArray::number(ending) + '\n');

    // The title page opens under the card; a click takes the card away.
    QVERIFY(openPage(QStringLiteral("index"), true));
    QQuickItem *card = item("endingCardView");
    QVERIFY(card->isVisible());
    QCOMPARE(item("endingCardTitle")->property("text").toString(), endingName(ending));
    QSignalSpy toGame(controller.get(), &MainWindow::currentPageChanged);
    click(centreOf(item("startButton")));
    QVERIFY(!card->isVisible());
    QCOMPARE(toGame.count(), 0); // the click was the card's, not the button's

    // The next return to the title shows no card.
    controller->navigategame(QStringLiteral("index"));
    controller->navigateindex();
    QCOMPARE(story::storyView().endingCard(), QString());
}

void TestEndings::endingsFile_data()
{
    QTest::addColumn<QByteArray>("content"); // "<none>": no file
    QTest::addColumn<QList<int>>("seen");
    QTest::addColumn<bool>("warned");

    QTest::newRow("no file") << QByteArray("<none>") << QList<int>{} << false;
    QTest::newRow("empty") << QByteArray("") << QList<int>{} << false;
    QTest::newRow("one") << QByteArray("849\n") << QList<int>{849} << false;
    QTest::newRow("two, CR LF, no last line end") << QByteArray("849\r\n975") << QList<int>{849, 975} << false;
    QTest::newRow("a line that is no ending") << QByteArray("849\n850\n") << QList<int>{} << true;
    QTest::newRow("garbage") << QByteArray("849\n\xff\x00zz\n") << QList<int>{} << true;
    QTest::newRow("cut in a number") << QByteArray("849\n97") << QList<int>{} << true;
    // No answer leads there; a loaded save can.
    QTest::newRow("the ending no answer reaches") << QByteArray("862\n") << QList<int>{862} << false;
}

void TestEndings::endingsFile()
{
    QFETCH(QByteArray, content);
    QFETCH(QList<int>, seen);
    QFETCH(bool, warned);

    if (content != "<none>")
        scratch->write(QStringLiteral("saves/endings.txt"), content);
    if (warned)
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("结局记录 .* 已损坏")));
    startStory();
    QCOMPARE(core::process().endingsSeen, seen);
    QCOMPARE(story::storyView().endingsSeenCount(), seen.size());
    const QStringList titles = story::storyView().endingsSeen();
    // Ten endings, less the one no answer reaches unless it was reached.
    QCOMPARE(titles.size(), seen.contains(862) ? 10 : 9);
    QCOMPARE(titles.size(), story::tallyEndingLines().size());
    for (int i = 0; i < titles.size(); ++i) {
        const int line = story::tallyEndingLines().at(i);
        QCOMPARE(titles.at(i), seen.contains(line) ? endingName(line) : QStringLiteral("？？？"));
    }

    // Reaching an ending after a damaged file writes a sound file again.
    standOn(857);
    controller->next1();
    QList<int> expected = seen;
    expected << 857;
    std::sort(expected.begin(), expected.end());
    QCOMPARE(story::readEndingsSeen(), expected);
}

void TestEndings::endingsRememberedOnceEach()
{
    startStory();
    for (int ending : {975, 849, 975}) {
        standOn(ending);
        controller->next1();
        QCOMPARE(controller->getCurrentPage(), QStringLiteral("index"));
        controller->navigategame(QStringLiteral("index"));
    }
    QCOMPARE(scratch->read(QStringLiteral("saves/endings.txt")), QByteArray("849\n975\n"));
    QCOMPARE(story::storyView().endingsSeenCount(), 2);
}

void TestEndings::extrasPageListsEndings()
{
    scratch->write(QStringLiteral("saves/endings.txt"), "975\n849\n");
    startStory();
    controller->navigateextra();
    QVERIFY(openPage(QStringLiteral("extra"), true));
    QQuickItem *button = item("endingsButton");
    QCOMPARE(button->property("label").toString(), QStringLiteral("已见结局 2 / 9"));
    QQuickItem *list = item("endingsView");
    QVERIFY(!list->isVisible());
    click(centreOf(button));
    QVERIFY(list->isVisible());
    QCOMPARE(item("endingRow0")->property("text").toString(), QStringLiteral("1.  ") + endingName(849));
    QCOMPARE(item("endingRow1")->property("text").toString(), QStringLiteral("2.  ？？？"));
    QCOMPARE(item("endingRow8")->property("text").toString(), QStringLiteral("9.  ") + endingName(975));
    QCOMPARE(item("endingRows")->property("count").toInt(), 9);
    click(QPoint(360, 300));
    QVERIFY(!list->isVisible());
}

QTEST_MAIN(TestEndings)
#include "tst_endings.moc"
