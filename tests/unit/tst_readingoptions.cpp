#include "settings/settingsfile.h"
#include "pagesupport.h"

#include <QtTest>

// The reading options of setting.txt: read at start, toggled on the settings
// page, and what showing the line whole first does to a step.
class TestReadingOptions : public QObject, protected PageFixture
{
    Q_OBJECT

private slots:
    void initTestCase() { Q_INIT_RESOURCE(qml); }
    void init() { makeScratch(); }
    void cleanup() { tearDownPage(); }

    void optionsReadAtStart_data();
    void optionsReadAtStart();
    void optionsToggledOnTheSettingsPage_data();
    void optionsToggledOnTheSettingsPage();
    void wholeLineFirst_data();
    void wholeLineFirst();
};

void TestReadingOptions::optionsReadAtStart_data()
{
    QTest::addColumn<QByteArray>("tail"); // setting lines after the four numbers
    QTest::addColumn<bool>("wholeLine");
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("warning");

    QTest::newRow("older file: defaults") << QByteArray() << false << false << 0 << QString();
    QTest::newRow("line 5 on") << QByteArray("1\n") << true << false << 0 << QString();
    QTest::newRow("line 6 on") << QByteArray("0\n1\n") << false << true << 0 << QString();
    QTest::newRow("both, written as floats") << QByteArray("1.0\n 1e0\n") << true << true << 0 << QString();
    QTest::newRow("not a number is off") << QByteArray("on\n1\n") << false << true << 0 << "第 5 行内容无效 'on'";
    QTest::newRow("empty line is off") << QByteArray("\n1\n") << false << true << 0 << "第 5 行内容无效 ''";
    QTest::newRow("line 7: 轻松") << QByteArray("0\n0\n1\n") << false << false << 1 << QString();
    QTest::newRow("line 7: 跳过") << QByteArray("0\n0\n2\n") << false << false << 2 << QString();
    QTest::newRow("line 7 out of range is 标准") << QByteArray("0\n0\n3\n") << false << false << 0 << "第 7 行内容无效 '3'";
}

void TestReadingOptions::optionsReadAtStart()
{
    QFETCH(QByteArray, tail);
    QFETCH(bool, wholeLine);
    QFETCH(bool, readOnly);
    QFETCH(int, mode);
    QFETCH(QString, warning);

    if (!warning.isEmpty())
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QRegularExpression::escape(warning)));
    // As start-up does: the repair first, which says what is wrong.
    scratch->write(QStringLiteral("setting.txt"), "0\n0.5\n0.5\n0.5\n" + tail);
    settings::repairSettingsFile();
    startStory(scratch->read(QStringLiteral("setting.txt")));
    QCOMPARE(game.wholeLineFirst(), wholeLine);
    QCOMPARE(game.skipReadOnly(), readOnly);
    QCOMPARE(int(game.interludeMode()), mode);
    QCOMPARE(gameSettings->property("wholeLineFirst").toBool(), wholeLine);
    QCOMPARE(gameSettings->property("skipReadOnly").toBool(), readOnly);
    QCOMPARE(gameSettings->property("interludeMode"), QVariant(mode));
}

void TestReadingOptions::optionsToggledOnTheSettingsPage_data()
{
    QTest::addColumn<QByteArray>("option");
    QTest::addColumn<QByteArray>("tail");     // lines after the four numbers before
    QTest::addColumn<QByteArray>("onTail");   // ... after switching the option on
    QTest::addColumn<QByteArray>("offTail");  // ... and off again

    QTest::newRow("whole line, older file") << QByteArray("wholeLineFirstOption") << QByteArray()
                                            << QByteArray("1\n") << QByteArray("0\n");
    QTest::newRow("read only, older file") << QByteArray("skipReadOnlyOption") << QByteArray()
                                           << QByteArray("0\n1\n") << QByteArray("0\n0\n");
    // Line 7 holds a value the start leaves alone (跳过).
    QTest::newRow("read only keeps later lines") << QByteArray("skipReadOnlyOption") << QByteArray("1\n0\n2\n")
                                                 << QByteArray("1\n1\n2\n") << QByteArray("1\n0\n2\n");
    // The interludes' mode: 轻松 on a file of four lines, back to 标准.
    QTest::newRow("互动难度") << QByteArray("interludeMode1") << QByteArray() << QByteArray("0\n0\n1\n")
                          << QByteArray("0\n0\n0\n");
    // 朗读 on line 10, the option lines before it padded off.
    QTest::newRow("朗读") << QByteArray("readAloud1") << QByteArray() << QByteArray("0\n0\n0\n0\n0.750000\n1\n")
                        << QByteArray("0\n0\n0\n0\n0.750000\n0\n");
}

void TestReadingOptions::optionsToggledOnTheSettingsPage()
{
    QFETCH(QByteArray, option);
    QFETCH(QByteArray, tail);
    QFETCH(QByteArray, onTail);
    QFETCH(QByteArray, offTail);

    const QByteArray head = "0\n0.250000\n0.5\n0.5\n";
    startStory(head + tail);
    controller->navigatesetting(QStringLiteral("index"));
    QVERIFY(openPage(QStringLiteral("setting"), true));
    if (option.endsWith('1')) { // a row of buttons, its first the setting off
        const QByteArray off = option.left(option.size() - 1) + '0';
        click(centreOf(item(option.constData())));
        QVERIFY(item(option.constData())->property("chosen").toBool());
        QVERIFY(!item(off.constData())->property("chosen").toBool());
        QCOMPARE(scratch->read(QStringLiteral("setting.txt")), head + onTail);
        click(centreOf(item(off.constData())));
        QCOMPARE(scratch->read(QStringLiteral("setting.txt")), head + offTail);
        return;
    }
    QQuickItem *toggle = item(option.constData());
    const bool before = toggle->property("on").toBool();

    click(centreOf(toggle));
    QCOMPARE(toggle->property("on").toBool(), !before);
    QCOMPARE(scratch->read(QStringLiteral("setting.txt")), head + onTail);
    click(centreOf(toggle));
    QCOMPARE(toggle->property("on").toBool(), before);
    QCOMPARE(scratch->read(QStringLiteral("setting.txt")), head + offTail);
}

void TestReadingOptions::wholeLineFirst_data()
{
    QTest::addColumn<bool>("option");
    QTest::addColumn<QString>("how");

    QTest::newRow("off, click") << false << "click";
    QTest::newRow("on, click") << true << "click";
    QTest::newRow("on, Space") << true << "space";
    QTest::newRow("on, wheel at the newest line") << true << "wheel";
}

void TestReadingOptions::wholeLineFirst()
{
    QFETCH(bool, option);
    QFETCH(QString, how);

    startStory(QByteArray("0\n0.5\n0.5\n0.5\n") + (option ? "1\n" : "0\n"));
    QVERIFY(openGame());
    standOn(4);
    controller->setVzi(0.0f); // a tick a second: the line is still typing when the step comes
    controller->next1();
    QCOMPARE(line(), 5);
    QCOMPARE(text(), QStringLiteral("l"));

    auto step = [&] {
        if (how == QLatin1String("click"))
            click(QPoint(360, 200));
        else if (how == QLatin1String("space"))
            key(Qt::Key_Space);
        else
            controller->wheel1(-1);
    };
    step();
    if (option) {
        QCOMPARE(line(), 5);
        QCOMPARE(text(), QStringLiteral("line 5"));
        QVERIFY(core::process().typing.typingDone);
        step();
    }
    QCOMPARE(line(), 6);
    QCOMPARE(text(), QStringLiteral("l"));
}

QTEST_MAIN(TestReadingOptions)
#include "tst_readingoptions.moc"
