#include "core/textform.h"
#include "story/storyview.h"
#include "audiofixture.h"
#include "storyfixture.h"

#include <QCoreApplication>
#include <QRegularExpression>

#include <atomic>
#include <memory>
#include <thread>

using core::TextForm;

// 繁體: OpenCC's Taiwan phrase set over the script and everything the game
// shows, switched at once, stored in setting line 11.
class TestTextForm : public QObject
{
    Q_OBJECT

private slots:
    void sampleLines_data();
    void sampleLines();
    void wholeScriptKeepsItsLines();
    void switchShowsAtOnce();
    void pagesWordsReadAsWritten();
    void storedChoice_data();
    void storedChoice();
    // Last: it leaves its thread behind when the converter waits on itself.
    void missingLibraryShowsSimplified();
};

void TestTextForm::sampleLines_data()
{
    QTest::addColumn<QString>("simplified");
    QTest::addColumn<QString>("traditional");

    QTest::newRow("我们") << "我们" << "我們";
    QTest::newRow("后来") << "后来" << "後來";
    QTest::newRow("里 in 这里") << "这里" << "這裡";
    QTest::newRow("发 as hair and as setting out") << "头发出发" << "頭髮出發";
    QTest::newRow("Taiwan phrase") << "已保存" << "已儲存";
    QTest::newRow("tag and Latin kept") << "<3>Sorin，我们走吧。" << "<3>Sorin，我們走吧。";
    // Converted back by phrase, 存檔 would be read as 存盘.
    QTest::newRow("a menu label") << "存档" << "存檔";
}

void TestTextForm::sampleLines()
{
    QFETCH(QString, simplified);
    QFETCH(QString, traditional);
    QCOMPARE(core::toTraditional(simplified), traditional);
    QCOMPARE(core::shown(simplified, TextForm::Simplified), simplified);
    QCOMPARE(core::shown(simplified, TextForm::Traditional), traditional);
    // The pages' qsTr() words go the same way.
    core::TraditionalTranslator translator;
    QCoreApplication::installTranslator(&translator);
    QCOMPARE(QCoreApplication::translate("setting", simplified.toUtf8().constData()), traditional);
    // And back for the voice, which reads Simplified.
    QCOMPARE(core::spoken(traditional, TextForm::Traditional), simplified);
}

// Converted in one piece, the script must keep every line where it was:
// saves, branches and records count lines.
void TestTextForm::wholeScriptKeepsItsLines()
{
    QFile file(QStringLiteral(SOLVANE_SOURCE_DIR "/data/story/a.txt"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QStringList source = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    const QStringList converted = core::toTraditional(source);
    QCOMPARE(converted.size(), source.size());
    QVERIFY(converted != source);
    static const QRegularExpression tag(QStringLiteral("^<\\d+>"));
    for (int i = 0; i < source.size(); ++i)
        QCOMPARE(tag.match(converted.at(i)).captured(), tag.match(source.at(i)).captured());
}

// The pages string shown words together: each is read as it was written.
void TestTextForm::pagesWordsReadAsWritten()
{
    core::TraditionalTranslator translator;
    QCoreApplication::installTranslator(&translator);
    const QStringList script = core::toTraditional(QStringList{"<3>这里是存档的地方", "后来"});
    const QString said = QStringLiteral("选项一，") + script.at(0).mid(3) + QStringLiteral("。")
                         + QCoreApplication::translate("game", "确定要保存吗？")
                         + core::shown(QStringLiteral("存档"), TextForm::Traditional);
    QCOMPARE(core::spoken(said, TextForm::Traditional), QStringLiteral("选项一，这里是存档的地方。确定要保存吗？存档"));
}

void TestTextForm::switchShowsAtOnce()
{
    QList<QByteArray> script = StoryFixture::numberedScript();
    script[2] = "<4>我们后来在这里。";
    StoryFixture f(script);
    f.at(3);
    story::typeLine(f.game, 3);
    story::typeTick(f.game);
    story::storyView().setEndingCard(QStringLiteral("结局"));
    f.game.publish(prop::bcPath, QStringLiteral("png/后来.png"));

    f.controller->textForm1(1);
    QCOMPARE(f.settings.textForm(), 1);
    QCOMPARE(f.name(), QStringLiteral("其他同學"));
    QCOMPARE(f.text(), QStringLiteral("我們")); // typing goes on where it was
    f.finishTyping();
    QCOMPARE(f.text(), QStringLiteral("我們後來在這裡。"));
    QCOMPARE(story::storyView().endingCard(), QStringLiteral("結局"));
    QCOMPARE(f.property(prop::bcPath).toString(), QStringLiteral("png/后来.png"));
    // The source stays Simplified for what reads it.
    QCOMPARE(story::lineText(3), QString::fromUtf8(script[2]));
    QCOMPARE(f.dir.readText("setting.txt"), QByteArray("1\n0.5\n0.5\n0.5\n0\n0\n0\n0\n0.750000\n0\n1\n"));

    f.controller->textForm1(0);
    QCOMPARE(f.text() + story::storyView().endingCard(), QStringLiteral("我们后来在这里。结局"));
    QCOMPARE(f.dir.readText("setting.txt").split('\n').at(10), QByteArray("0"));
}

// What the next start reads: a missing or odd line is 简体.
void TestTextForm::storedChoice_data()
{
    QTest::addColumn<QByteArray>("options"); // lines 5 and on
    QTest::addColumn<int>("form");

    QTest::newRow("no option lines") << QByteArray() << 0;
    QTest::newRow("only line 10") << QByteArray("0\n0\n0\n0\n0.75\n1\n") << 0;
    QTest::newRow("繁體") << QByteArray("0\n0\n0\n0\n0.75\n0\n1\n") << 1;
    // Past the size cap only the game's own lines are kept: all eleven.
    QTest::newRow("繁體, file oversized") << QByteArray("0\n0\n0\n0\n0.75\n0\n1\n" + QByteArray(1 << 20, 'x')) << 1;
}

void TestTextForm::storedChoice()
{
    QFETCH(QByteArray, options);
    QFETCH(int, form);
    StoryFixture f;
    f.dir.write("setting.txt", "1\n0.5\n0.5\n0.5\n" + options);
    f.settings.load();
    QCOMPARE(int(f.game.textForm()), form);
    QCOMPARE(f.settings.property("textForm").toInt(), form);
    QCOMPARE(QCoreApplication::translate("index", "开始"), form ? QStringLiteral("開始") : QStringLiteral("开始"));
}

// Without the library the words show as written, with one warning, and
// nothing waits on itself: QLibrary builds its error text through tr(), which
// reaches the game's translator while the converter is being opened.
void TestTextForm::missingLibraryShowsSimplified()
{
    core::TraditionalTranslator translator; // the pages' translator is installed
    QCoreApplication::installTranslator(&translator);
    core::useOpenccLibrary(QStringLiteral("solvane-no-such-opencc"));
    MessageLog log;
    // On a thread of its own: a converter that waits on itself fails the test
    // instead of hanging it.
    struct Result {
        QString shown;
        std::atomic<bool> done{false};
    };
    const auto result = std::make_shared<Result>();
    std::thread([result] {
        result->shown = core::shown(QStringLiteral("我们后来"), TextForm::Traditional);
        result->done = true;
    }).detach();
    QTRY_VERIFY_WITH_TIMEOUT(result->done, 10000);
    QCOMPARE(result->shown, QStringLiteral("我们后来"));
    QCOMPARE(core::shown(QStringLiteral("已保存"), TextForm::Traditional), QStringLiteral("已保存"));
    QCOMPARE(QCoreApplication::translate("setting", "已保存"), QStringLiteral("已保存"));
    QCOMPARE(core::spoken(QStringLiteral("Solvane，"), TextForm::Traditional), QStringLiteral("Solvane，"));
    QCOMPARE(log.count(QStringLiteral("找不到 OpenCC 的库")), 1);

    // With the library back, the words convert again.
    core::useOpenccLibrary(QString());
    QCOMPARE(core::shown(QStringLiteral("我们后来"), TextForm::Traditional), QStringLiteral("我們後來"));
}

QTEST_MAIN(TestTextForm)
#include "tst_textform.moc"
