#include "extras/gallery.h"
#include "extras/unlockrecord.h"

#include "audiofixture.h"
#include "storyfixture.h"

#include <QSignalSpy>

using story::state;

// The unlock record: its file, its rises, and what the gallery makes of it.
class TestUnlockRecord : public QObject
{
    Q_OBJECT

private slots:
    void reads_data();
    void reads();
    void fileText_data();
    void fileText();
    void riseIsWrittenAtOnce_data();
    void riseIsWrittenAtOnce();
    void unwritableRecordStillRises();
    void galleryEntryNeverLowers_data();
    void galleryEntryNeverLowers();
    void galleryShownAgainReadsNothing();
    void illustrationSurvivesReturnToTitle();
};

void TestUnlockRecord::reads_data()
{
    QTest::addColumn<QByteArray>("content"); // "<none>": no file
    QTest::addColumn<float>("value");
    QTest::addColumn<bool>("warned");

    QTest::newRow("missing file") << QByteArray("<none>") << 0.0f << false;
    QTest::newRow("empty") << QByteArray("") << 0.0f << false;
    QTest::newRow("17.6") << QByteArray("17.6") << 17.6f << false;
    QTest::newRow("highest, 36.9") << QByteArray("36.9") << 36.9f << false;
    QTest::newRow("whole") << QByteArray("36") << 36.0f << false;
    QTest::newRow("zero") << QByteArray("0") << 0.0f << false;
    QTest::newRow("last line counts") << QByteArray("3\n17.6\n") << 17.6f << false;
    QTest::newRow("nan") << QByteArray("nan") << 0.0f << true;
    QTest::newRow("inf") << QByteArray("inf") << 0.0f << true;
    QTest::newRow("1e30") << QByteArray("1e30") << 0.0f << true;
    QTest::newRow("negative") << QByteArray("-1") << 0.0f << true;
    QTest::newRow("just past the last") << QByteArray("37") << 0.0f << true;
    QTest::newRow("not a number") << QByteArray("abc") << 0.0f << true;
    QTest::newRow("number and text") << QByteArray("12abc") << 0.0f << true;
}

void TestUnlockRecord::reads()
{
    QFETCH(QByteArray, content);
    QFETCH(float, value);
    QFETCH(bool, warned);

    ScratchDir dir;
    if (content != "<none>")
        dir.write("saves/extra.txt", content);
    MessageLog log;
    QCOMPARE(extras::readUnlockRecord(), value);
    QCOMPARE(log.count(QStringLiteral("解锁记录")), warned ? 1 : 0);
}

void TestUnlockRecord::fileText_data()
{
    QTest::addColumn<float>("value");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("1.1") << 1.1f << QByteArray("1.1");
    QTest::newRow("17.6") << 17.6f << QByteArray("17.6");
    QTest::newRow("32.3") << 32.3f << QByteArray("32.3");
    QTest::newRow("36") << 36.0f << QByteArray("36");
    QTest::newRow("0") << 0.0f << QByteArray("0");
}

// Written as a text stream writes a real, with no line end, and read back whole.
void TestUnlockRecord::fileText()
{
    QFETCH(float, value);
    QFETCH(QByteArray, text);
    ScratchDir dir;
    QVERIFY(extras::writeUnlockRecord(value));
    QCOMPARE(dir.read("saves/extra.txt"), text);
    QCOMPARE(extras::readUnlockRecord(), value);
}

void TestUnlockRecord::riseIsWrittenAtOnce_data()
{
    QTest::addColumn<float>("before");
    QTest::addColumn<int>("line");
    QTest::addColumn<QByteArray>("file"); // "<missing>": nothing written

    QTest::newRow("first illustration from nothing") << 0.0f << 44 << QByteArray("1.1");
    QTest::newRow("first illustration after a record") << 1.0f << 44 << QByteArray("<missing>");
    QTest::newRow("its second picture") << 1.1f << 45 << QByteArray("1.2");
    QTest::newRow("a later illustration") << 10.0f << 339 << QByteArray("17.1");
    QTest::newRow("lower than the record") << 17.6f << 166 << QByteArray("<missing>");
    QTest::newRow("same value") << 32.3f << 803 << QByteArray("<missing>");
    QTest::newRow("32.3 over 32.1") << 32.1f << 803 << QByteArray("32.3");
    QTest::newRow("the last") << 35.0f << 844 << QByteArray("36");
}

// Seen is kept: a rise reaches the file before the next line, save or not.
void TestUnlockRecord::riseIsWrittenAtOnce()
{
    QFETCH(float, before);
    QFETCH(int, line);
    QFETCH(QByteArray, file);

    StoryFixture f;
    f.controller->navigategame("index");
    extras::cgProgress() = before;
    f.at(line - 1);
    f.controller->next1();
    QCOMPARE(state().currentLine, line);
    QCOMPARE(f.dir.read("saves/extra.txt"), file);
}

void TestUnlockRecord::unwritableRecordStillRises()
{
    StoryFixture f;
    f.dir.write("saves", "a file where the directory should be");
    f.at(43);
    MessageLog log;
    f.controller->next1();
    QCOMPARE(extras::cgProgress(), 1.1f);
    QCOMPARE(log.count(QStringLiteral("无法写入解锁记录")), 1);
}

void TestUnlockRecord::galleryEntryNeverLowers_data()
{
    QTest::addColumn<QByteArray>("file"); // "<none>": no file
    QTest::addColumn<float>("memory");
    QTest::addColumn<float>("shown");
    QTest::addColumn<QByteArray>("fileAfter");

    QTest::newRow("file ahead") << QByteArray("17.6") << 3.0f << 17.6f << QByteArray("17.6");
    QTest::newRow("memory ahead") << QByteArray("3") << 17.6f << 17.6f << QByteArray("17.6");
    QTest::newRow("equal") << QByteArray("1.2") << 1.2f << 1.2f << QByteArray("1.2");
    QTest::newRow("no file") << QByteArray("<none>") << 5.0f << 5.0f << QByteArray("5");
    QTest::newRow("nothing anywhere") << QByteArray("<none>") << 0.0f << 0.0f << QByteArray("<missing>");
    QTest::newRow("damaged file, memory kept") << QByteArray("nan") << 7.2f << 7.2f << QByteArray("7.2");
    QTest::newRow("damaged file, nothing seen") << QByteArray("1e30") << 0.0f << 0.0f << QByteArray("1e30");
}

// Opening the gallery used to replace the record by the file's, dropping what
// had been seen since the last save.
void TestUnlockRecord::galleryEntryNeverLowers()
{
    QFETCH(QByteArray, file);
    QFETCH(float, memory);
    QFETCH(float, shown);
    QFETCH(QByteArray, fileAfter);

    StoryFixture f;
    if (file != "<none>")
        f.dir.write("saves/extra.txt", file);
    extras::cgProgress() = memory;
    f.controller->navigateextra();
    QCOMPARE(f.property(prop::extra), QVariant(shown));
    QCOMPARE(extras::cgProgress(), shown);
    QCOMPARE(f.dir.read("saves/extra.txt"), fileAfter);
}

void TestUnlockRecord::galleryShownAgainReadsNothing()
{
    StoryFixture f;
    f.dir.write("saves/extra.txt", "3");
    f.controller->navigateextra();
    QCOMPARE(f.property(prop::extra), QVariant(3.0f));
    f.dir.write("saves/extra.txt", "20");
    f.controller->navigateextra();
    QCOMPARE(f.property(prop::extra), QVariant(3.0f));
    QCOMPARE(extras::cgProgress(), 3.0f);
    extras::refreshExtra(f.game, 0);
    QCOMPARE(f.property(prop::extra), QVariant(3.0f));
}

// As a player: read to the first illustration, back to the title without
// saving, open the gallery: it is there.
void TestUnlockRecord::illustrationSurvivesReturnToTitle()
{
    StoryFixture f;
    f.controller->navigategame("index");
    f.at(42);
    for (int i = 0; i < 3; ++i)
        f.controller->next1();
    QCOMPARE(state().currentLine, 45);
    f.controller->navigateindex();
    f.controller->navigateextra();
    QCOMPARE(f.property(prop::extra), QVariant(1.2f));
    QCOMPARE(f.dir.read("saves/extra.txt"), QByteArray("1.2"));
}

QTEST_MAIN(TestUnlockRecord)
#include "tst_unlockrecord.moc"
