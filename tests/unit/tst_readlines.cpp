#include "story/readlines.h"
#include "pagesupport.h"

#include <QtTest>

namespace {

QBitArray linesRead(std::initializer_list<int> lines, int size = 976)
{
    QBitArray b(size);
    for (int n : lines)
        b.setBit(n);
    return b;
}

QByteArray readFileOf(std::initializer_list<int> lines)
{
    return story::readLinesFileContent(linesRead(lines));
}

} // namespace

// The lines this player has read: their file, kept across runs, and skip
// stopping at the first one never read.
class TestReadLines : public QObject, protected PageFixture
{
    Q_OBJECT

private slots:
    void initTestCase() { Q_INIT_RESOURCE(qml); }
    void init() { makeScratch(); }
    void cleanup() { tearDownPage(); }

    void readLinesFile_data();
    void readLinesFile();
    void readLinesWrittenAndReadBack();
    void skipStopsAtFirstUnreadLine_data();
    void skipStopsAtFirstUnreadLine();
};

void TestReadLines::readLinesFile_data()
{
    QTest::addColumn<QByteArray>("content"); // "<none>": no file
    QTest::addColumn<QList<int>>("read");
    QTest::addColumn<bool>("warned");

    const QByteArray good = readFileOf({1, 2, 3, 500, 975});
    QByteArray flipped = good;
    flipped[flipped.size() - 3] = char(flipped[flipped.size() - 3] ^ 0x10);
    QByteArray otherHeader = good;
    otherHeader.replace("solvane-read 1", "solvane-read 2");

    QTest::newRow("no file") << QByteArray("<none>") << QList<int>{} << false;
    QTest::newRow("written by the game") << good << QList<int>{1, 2, 3, 500, 975} << false;
    QTest::newRow("nothing read yet") << readFileOf({}) << QList<int>{} << false;
    QTest::newRow("empty file") << QByteArray() << QList<int>{} << true;
    QTest::newRow("cut short") << good.left(good.size() - 5) << QList<int>{} << true;
    QTest::newRow("a bit flipped") << flipped << QList<int>{} << true;
    QTest::newRow("bytes added") << good + "x" << QList<int>{} << true;
    QTest::newRow("another version") << otherHeader << QList<int>{} << true;
    QTest::newRow("text") << QByteArray("1\n2\n3\n") << QList<int>{} << true;
    QTest::newRow("absurd size") << QByteArray("solvane-read 1 999999999 0\n") << QList<int>{} << true;
}

void TestReadLines::readLinesFile()
{
    QFETCH(QByteArray, content);
    QFETCH(QList<int>, read);
    QFETCH(bool, warned);

    if (content != "<none>")
        scratch->write(QStringLiteral("saves/read.dat"), content);
    if (warned)
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("已读记录 .* 已损坏")));
    startStory();
    for (int n = 0; n <= 975; ++n)
        QCOMPARE(story::isLineRead(n), read.contains(n));
}

void TestReadLines::readLinesWrittenAndReadBack()
{
    startStory();
    controller->navigategame(QStringLiteral("index"));
    for (int i = 0; i < 3; ++i)
        controller->next1();
    QCOMPARE(line(), 3);
    // Written within a second of the last line, not per line.
    QCOMPARE(scratch->read(QStringLiteral("saves/read.dat")), QByteArray("<missing>"));
    QTRY_COMPARE_WITH_TIMEOUT(scratch->read(QStringLiteral("saves/read.dat")),
                              story::readLinesFileContent(linesRead({1, 2, 3}, 4)), 3000);

    // The title writes at once what the timer has not yet.
    controller->next1();
    controller->navigateindex();
    QBitArray back;
    QVERIFY(story::parseReadLinesFile(scratch->read(QStringLiteral("saves/read.dat")), &back));
    QCOMPARE(back, linesRead({1, 2, 3, 4}, 5));

    // A new run of the game knows them.
    view.reset();
    controller.reset();
    startStory();
    for (int n : {1, 2, 3, 4})
        QVERIFY(story::isLineRead(n));
    QVERIFY(!story::isLineRead(5));
}

void TestReadLines::skipStopsAtFirstUnreadLine_data()
{
    QTest::addColumn<bool>("option");
    QTest::addColumn<bool>("byCtrl");

    QTest::newRow("option on, skip button") << true << false;
    QTest::newRow("option on, Ctrl held") << true << true;
    QTest::newRow("option off skips on") << false << false;
}

void TestReadLines::skipStopsAtFirstUnreadLine()
{
    QFETCH(bool, option);
    QFETCH(bool, byCtrl);

    QBitArray read(976);
    for (int n = 1; n <= 12; ++n)
        read.setBit(n);
    read.setBit(14); // read in another branch; 13 never was
    scratch->write(QStringLiteral("saves/read.dat"), story::readLinesFileContent(read));
    startStory(QByteArray("0\n0.5\n0.5\n0.5\n0\n") + (option ? "1\n" : "0\n"));
    QVERIFY(openGame());
    standOn(5);

    if (byCtrl)
        QTest::keyPress(view.get(), Qt::Key_Control);
    else
        controller->skip1();
    QVERIFY(item("modeMark")->isVisible());
    if (option) {
        QTRY_COMPARE(line(), 13);
        QTRY_VERIFY(!item("modeMark")->isVisible());
        // The new line is typed for reading, not flashed past.
        QCOMPARE(text(), QStringLiteral("l"));
        QTest::qWait(250);
        QCOMPARE(line(), 13);
        QVERIFY(story::isLineRead(13));
    } else {
        QTRY_VERIFY(line() > 15);
    }
    if (byCtrl)
        QTest::keyRelease(view.get(), Qt::Key_Control);
    else if (!option)
        controller->skip1();
    QCOMPARE(controller->getSkip(), 0);
}

QTEST_MAIN(TestReadLines)
#include "tst_readlines.moc"
