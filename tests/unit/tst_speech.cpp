#include "speech/voice.h"
#include "story/autoskip.h"
#include "story/linecursor.h"
#include "story/readaloud.h"

#include "storyfixture.h"

#include <QElapsedTimer>
#include <QSignalSpy>

using story::state;

// Played into a fake sink that keeps time (the tests' environment), so an
// utterance lasts as long as it would through a speaker.
class TestSpeech : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void synthesisLength_data();
    void synthesisLength();
    void lineSpeech_data();
    void lineSpeech();
    void playsToItsEndOrStops();
    void steppingOnStopsTheSpeech();
    void autoWaitsForTheSpeech();
    void skipStoppedByAQuestionReadsIt_data();
    void skipStoppedByAQuestionReadsIt();
    void optionSurvivesInItsLine();
};

void TestSpeech::cleanup()
{
    Game none;
    story::setAuto(none, 0);
}

void TestSpeech::synthesisLength_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("wpm");
    QTest::addColumn<double>("atLeast");
    QTest::addColumn<double>("atMost");

    const QString twenty = QStringLiteral("梦里的天空黑得发亮。一个女孩站在我面前，");
    QTest::newRow("twenty characters") << twenty << speech::rateFor(0.5f) << 1.0 << 12.0;
    QTest::newRow("at the fastest text speed") << twenty << speech::rateFor(1.0f) << 1.0 << 8.0;
    QTest::newRow("one character") << QStringLiteral("开") << speech::rateFor(0.5f) << 0.1 << 1.5;
}

void TestSpeech::synthesisLength()
{
    QFETCH(QString, text);
    QFETCH(int, wpm);
    QFETCH(double, atLeast);
    QFETCH(double, atMost);

    const QVector<qint16> samples = speech::synthesize(text, wpm);
    QVERIFY(speech::sampleRate() > 0);
    const double seconds = double(samples.size()) / speech::sampleRate();
    QVERIFY2(seconds >= atLeast && seconds <= atMost, qPrintable(QString::number(seconds)));
    // Speech, not silence.
    QVERIFY(*std::max_element(samples.cbegin(), samples.cend()) > 1000);
}

void TestSpeech::lineSpeech_data()
{
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("speech");

    QTest::newRow("name first, every tag gone") << 1 << QStringLiteral("Sorin，你好 Lio");
    QTest::newRow("two names") << 2 << QStringLiteral("Sorin和Lio，走吧");
    QTest::newRow("unknown speaker unnamed") << 3 << QStringLiteral("……是谁");
    QTest::newRow("question names both answers")
        << 261 << QStringLiteral("line 261。选项一，line 262。选项二，line 263。");
    QTest::newRow("typed question asks for typing") << 551 << QStringLiteral("line 551。请输入答案，按回车提交。");
    // One pause where the script has its own ends.
    QTest::newRow("question ending in its own marks") << 406 << QStringLiteral("要吗？选项一，要！选项二，不要……");
}

void TestSpeech::lineSpeech()
{
    QFETCH(int, line);
    QFETCH(QString, speech);

    QList<QByteArray> script = StoryFixture::numberedScript();
    script[0] = "<1>你好 <3>Lio";
    script[1] = "<5>走吧";
    script[2] = "<0>……是谁";
    script[262 - 1] = "line <2>262";
    script[406 - 1] = "<0>要吗？";
    script[407 - 1] = "<1>要！";
    script[408 - 1] = "不要……";
    StoryFixture f(script);
    QCOMPARE(story::lineSpeech(line), speech);
}

void TestSpeech::playsToItsEndOrStops()
{
    speech::Voice voice;
    QSignalSpy idle(&voice, &speech::Voice::idle);
    QElapsedTimer clock;
    clock.start();
    voice.setRate(speech::rateFor(1.0f));
    voice.say(QStringLiteral("星星一颗都没有动"));
    QVERIFY(voice.speaking());
    QTRY_COMPARE_WITH_TIMEOUT(idle.count(), 1, 10000);
    QVERIFY2(clock.elapsed() > 500, "played at its own pace");
    QVERIFY(!voice.speaking());

    voice.say(QStringLiteral("梦里的天空黑得发亮。一个女孩站在我面前，身后是一整面星星。"));
    voice.stop();
    QCOMPARE(idle.count(), 2);
    QTest::qWait(800); // the stopped utterance's end never comes
    QCOMPARE(idle.count(), 2);
}

void TestSpeech::steppingOnStopsTheSpeech()
{
    StoryFixture f;
    speech::Voice voice;
    f.game.voice = &voice;
    f.controller->readAloud1(true);
    QVERIFY(f.game.readAloud());
    f.controller->next1();
    QCOMPARE(voice.text(), story::lineSpeech(1));
    f.controller->next1();
    QCOMPARE(voice.text(), story::lineSpeech(2));
    QVERIFY(voice.speaking());
    // Skipping shows lines whole and reads none.
    story::stepForward(f.game, story::ShowLine::Whole);
    QVERIFY(!voice.speaking());
    // The step after an ending's last line goes to the title, in silence.
    f.at(848);
    f.controller->next1();
    QCOMPARE(voice.text(), story::lineSpeech(849));
    f.controller->next1();
    QVERIFY(!voice.speaking());
    f.at(10);
    f.controller->next1();
    QVERIFY(voice.speaking());
    f.controller->readAloud1(false);
    QVERIFY(!voice.speaking());
    f.controller->next1();
    QVERIFY(!voice.speaking());
}

void TestSpeech::skipStoppedByAQuestionReadsIt_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("question");
    QTest::newRow("two answers") << 611 << 613;
    QTest::newRow("a typed answer") << 549 << 551;
}

void TestSpeech::skipStoppedByAQuestionReadsIt()
{
    QFETCH(int, from);
    QFETCH(int, question);
    StoryFixture f;
    speech::Voice voice;
    f.game.voice = &voice;
    f.controller->readAloud1(true);
    f.at(from);
    f.controller->skip1();
    for (int i = 0; i < 3; ++i)
        story::skipTick(f.game);
    QVERIFY(!story::skipTimer());
    QCOMPARE(voice.text(), story::lineSpeech(question));
}

void TestSpeech::autoWaitsForTheSpeech()
{
    QList<QByteArray> script = StoryFixture::numberedScript();
    script[0] = "一个女孩站在我面前，身后是一整面星星。";
    StoryFixture f(script);
    speech::Voice voice;
    f.game.voice = &voice;
    f.controller->setVhang(1.0f); // a step every 499 ms
    f.controller->readAloud1(true);
    QSignalSpy idle(&voice, &speech::Voice::idle);
    f.controller->next1();
    f.controller->Auto1();
    f.finishTyping();
    QTest::qWait(1200);
    QCOMPARE(state().currentLine, 1);
    QVERIFY(voice.speaking());
    QTRY_COMPARE_WITH_TIMEOUT(idle.count(), 1, 15000);
    QElapsedTimer sinceEnd;
    sinceEnd.start();
    QTRY_COMPARE_WITH_TIMEOUT(state().currentLine, 2, 3000);
    QVERIFY2(sinceEnd.elapsed() >= 400, "its full interval after the speech");
}

void TestSpeech::optionSurvivesInItsLine()
{
    StoryFixture f;
    f.controller->readAloud1(true);
    QCOMPARE(QByteArray(f.dir.readText("setting.txt")), QByteArray("1\n0.5\n0.5\n0.5\n0\n0\n0\n0\n0.750000\n1\n"));
    f.settings.load();
    QVERIFY(f.game.readAloud());
    QCOMPARE(f.settings.property("readAloud").toBool(), true);
    f.dir.write("setting.txt", "1\n0.5\n0.5\n0.5\n");
    f.settings.load();
    QVERIFY(!f.game.readAloud());
}

QTEST_MAIN(TestSpeech)
#include "tst_speech.moc"
