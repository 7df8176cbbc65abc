#include "audiofixture.h"
#include "gameprocess.h"
#include "testsupport.h"

#include <QProcess>
#include <QStandardPaths>

#include <memory>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

const QString kGame = QStringLiteral(SOLVANE_GAME_DIR "/solvane");

// Reads the game's log until it says that (by default: the window is up), the
// game ends or 30 s pass (a start on a loaded machine with software rendering
// can take a while).
bool waitUntilUp(QProcess &game, QByteArray *log, const char *said = "主窗口已显示")
{
    QElapsedTimer clock;
    clock.start();
    while (!log->contains(said) && game.state() == QProcess::Running && clock.elapsed() < 30000) {
        game.waitForReadyRead(200);
        *log += game.readAll();
    }
    return log->contains(said);
}


} // namespace

// Starts the real game in a scratch working directory with a damaged settings
// file: it must come up, say what it repaired, and leave a clean file behind.
class TestExecutable : public QObject
{
    Q_OBJECT

private slots:
    void startsWithDamagedSettings_data();
    void startsWithDamagedSettings();
    void titleMusicFollowsTheFirstFrame();
    void startsWithUnwritableSettings_data();
    void startsWithUnwritableSettings();
    void quitsCleanlyWithUnwritableSettings();
    void fullScreenRestartsTheGame();
    void modeChangeComesBackToTheLine();
};

void TestExecutable::startsWithDamagedSettings_data()
{
    QTest::addColumn<QByteArray>("settings"); // "<none>": no file
    QTest::addColumn<QString>("warning");
    QTest::addColumn<QByteArray>("repaired");

    QTest::newRow("missing") << QByteArray("<none>") << "不存在"
                             << QByteArray("0\n0.500000\n0.500000\n0.500000\n");
    QTest::newRow("short") << QByteArray("2\n0.8\n") << "缺少第 3 行" << QByteArray("2\n0.8\n0.500000\n0.500000\n");
    QTest::newRow("words") << QByteArray("1\nslow\n0.5\n0.5\n") << "第 2 行内容无效 'slow'"
                           << QByteArray("1\n0.500000\n0.5\n0.5\n");
    QTest::newRow("nan and inf") << QByteArray("0\n0.5\nnan\ninf\n1\n") << "第 4 行内容无效 'inf'"
                                 << QByteArray("0\n0.5\n0.500000\n0.500000\n1\n");
    // Lines 5 to 11 take only their own values, repaired like lines 2 to 4.
    QTest::newRow("option line") << QByteArray("0\n0.5\n0.5\n0.5\n0\n0\n0\n0\n0.75\n0\nnan\n")
                                 << "第 11 行内容无效 'nan'"
                                 << QByteArray("0\n0.5\n0.5\n0.5\n0\n0\n0\n0\n0.75\n0\n0\n");
    QTest::newRow("out of range") << QByteArray("0\n7\n0.5\n0.5\n") << "第 2 行内容无效 '7'"
                                  << QByteArray("0\n0.500000\n0.5\n0.5\n");
}

void TestExecutable::startsWithDamagedSettings()
{
    QFETCH(QByteArray, settings);
    QFETCH(QString, warning);
    QFETCH(QByteArray, repaired);

    ScratchDir dir;
    if (settings != "<none>")
        dir.write("setting.txt", settings);

    QProcess game;
    game.setWorkingDirectory(dir.path());
    game.setProcessEnvironment(gameEnvironment());
    game.setProcessChannelMode(QProcess::MergedChannels);
    game.start(kGame, QStringList());
    QVERIFY2(game.waitForStarted(5000), qPrintable(game.errorString()));

    QByteArray log;
    const bool up = waitUntilUp(game, &log);
    game.kill();
    game.waitForFinished(5000);
    log += game.readAll();

    QVERIFY2(up, log.constData());
    QVERIFY2(QString::fromUtf8(log).contains(warning), log.constData());
    QCOMPARE(dir.read("setting.txt"), repaired);
}

// The title track starts once the window has drawn, not before, and soon after.
void TestExecutable::titleMusicFollowsTheFirstFrame()
{
    ScratchDir dir;
    dir.write("mp3/Universe.mp3", shortMp3());
    QProcessEnvironment env = gameEnvironment();
    env.insert("QT_LOGGING_RULES", "solvane.*.debug=true");
    env.insert("QT_MESSAGE_PATTERN", "%{time process} %{message}");
    QProcess game;
    game.setWorkingDirectory(dir.path());
    game.setProcessEnvironment(env);
    game.setProcessChannelMode(QProcess::MergedChannels);
    game.start(kGame, QStringList());
    QVERIFY2(game.waitForStarted(5000), qPrintable(game.errorString()));
    QByteArray log;
    waitUntilUp(game, &log, "开始播放");
    game.kill();
    game.waitForFinished(5000);

    // "<seconds since start> <message>", in the order logged.
    double frame = -1, music = -1;
    for (const QString &line : QString::fromUtf8(log).split('\n')) {
        const double at = line.section(' ', 0, 0).toDouble();
        if (frame < 0 && line.contains("首帧已显示")) {
            frame = at;
        } else if (music < 0 && line.contains("开始播放")) {
            QVERIFY2(frame >= 0, log.constData());
            music = at;
        }
    }
    QVERIFY2(frame >= 0 && music >= 0, log.constData());
    QVERIFY2(music - frame < 1.5, log.constData());
}

// Start-up used to throw (status 134) when the repair could not be written. A
// directory named setting.txt cannot be replaced by anyone; a read-only
// directory stops only an ordinary user, so as root the game runs as nobody.
void TestExecutable::startsWithUnwritableSettings_data()
{
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QByteArray>("settings"); // "<none>": no file

    QTest::newRow("directory named setting.txt") << "directory" << QByteArray("<none>");
    QTest::newRow("read-only directory, no file") << "read-only" << QByteArray("<none>");
    QTest::newRow("read-only directory, short file") << "read-only" << QByteArray("2\n0.8\n");
    QTest::newRow("read-only directory, bad mode line") << "read-only" << QByteArray("x\n0.5\n0.5\n0.5\n");
}

void TestExecutable::startsWithUnwritableSettings()
{
    QFETCH(QString, damage);
    QFETCH(QByteArray, settings);

    ScratchDir dir;
    if (settings != "<none>")
        dir.write("setting.txt", settings);
    if (damage == "directory")
        QVERIFY(QDir(dir.path()).mkdir("setting.txt"));

    QString program = kGame;
    QStringList args;
    if (damage == "read-only") {
#ifdef Q_OS_UNIX
        QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup
                                                      | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther));
        if (geteuid() == 0) {
            program = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
            if (program.isEmpty())
                QSKIP("running as root and no setpriv to drop to an ordinary user");
            args = QStringList{"--reuid=65534", "--regid=65534", "--clear-groups", kGame};
        }
#else
        QSKIP("read-only directories are tried on Unix only");
#endif
    }

    QProcess game;
    game.setWorkingDirectory(dir.path());
    game.setProcessEnvironment(gameEnvironment());
    game.setProcessChannelMode(QProcess::MergedChannels);
    game.start(program, args);
    QVERIFY2(game.waitForStarted(5000), qPrintable(game.errorString()));
    QByteArray log;
    const bool up = waitUntilUp(game, &log);
    QTest::qWait(300); // anything logged right after the window came up
    log += game.readAll();
    game.kill();
    game.waitForFinished(5000);
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    QVERIFY2(up, log.constData());
    // A folder in the file's place is not read, so it is not replaced either.
    const QString said = damage == "read-only" ? QStringLiteral("无法写入设置文件 setting.txt")
                                               : QStringLiteral("设置文件 setting.txt 无法读取");
    QCOMPARE(QString::fromUtf8(log).count(said), 1);
    if (damage == "read-only")
        QCOMPARE(dir.read("setting.txt"), settings == "<none>" ? QByteArray("<missing>") : settings);
    else
        QVERIFY(QFileInfo(dir.path() + "/setting.txt").isDir());
}

// Clicks in page pixels: without a window manager a windowed game sits at 0,0
// at scale 1.
void TestExecutable::quitsCleanlyWithUnwritableSettings()
{
    XServer x;
    if (const QString why = x.startForDriving(); !why.isEmpty())
        QSKIP(qPrintable(why));

    ScratchDir dir;
    QVERIFY(QDir(dir.path()).mkdir("setting.txt"));
    QProcess game;
    game.setWorkingDirectory(dir.path());
    game.setProcessEnvironment(x.gameEnvironment());
    game.setProcessChannelMode(QProcess::MergedChannels);
    game.start(kGame, QStringList());
    QVERIFY2(game.waitForStarted(5000), qPrintable(game.errorString()));
    QByteArray log;
    QVERIFY2(waitUntilUp(game, &log), log.constData());
    QTRY_VERIFY_WITH_TIMEOUT(!x.windows().isEmpty(), 5000);

    // "退出", then "确定" in the exit dialog; again while the page is not yet
    // answering (each click lands on nothing else).
    bool ended = false;
    for (int i = 0; i < 20 && !ended; ++i) {
        x.xdotool({"mousemove", "614", "426", "click", "1"});
        QTest::qWait(500);
        x.xdotool({"mousemove", "413", "286", "click", "1"});
        ended = game.waitForFinished(1000);
    }
    log += game.readAll();
    if (!ended)
        game.kill();
    QVERIFY2(ended, log.constData());
    QCOMPARE(game.exitStatus(), QProcess::NormalExit);
    QCOMPARE(game.exitCode(), 0);
}

// "设置" on the title page, then "全屏": this process ends with status 0 and a
// new one comes up covering the screen, with line 1 "1".
void TestExecutable::fullScreenRestartsTheGame()
{
    XServer x;
    if (const QString why = x.startForDriving(); !why.isEmpty())
        QSKIP(qPrintable(why));

    ScratchDir dir;
    dir.write("setting.txt", "0\n0.5\n0.5\n0.5\n");
    QProcess game;
    game.setWorkingDirectory(dir.path());
    game.setProcessEnvironment(x.gameEnvironment());
    game.setProcessChannelMode(QProcess::MergedChannels);
    // The new process is detached: keep its output away from our pipe.
    game.setStandardOutputFile(dir.path() + "/first.log");
    game.start(kGame, QStringList());
    QVERIFY2(game.waitForStarted(5000), qPrintable(game.errorString()));
    QTRY_VERIFY2_WITH_TIMEOUT(!x.windows().isEmpty(), dir.read("first.log").constData(), 30000);
    const QString first = x.windows().constLast();

    // "设置", then "全屏"; again while the pages are not yet answering (on the
    // other page each click lands on nothing).
    bool ended = false;
    for (int i = 0; i < 20 && !ended; ++i) {
        x.xdotool({"mousemove", "627", "386", "click", "1"});
        QTest::qWait(700);
        x.xdotool({"mousemove", "306", "162", "click", "1"});
        ended = game.waitForFinished(1000);
    }
    if (!ended)
        game.kill();
    QVERIFY2(ended, dir.read("first.log").constData());
    QCOMPARE(game.exitStatus(), QProcess::NormalExit);
    QCOMPARE(game.exitCode(), 0);
    QCOMPARE(dir.read("setting.txt"), QByteArray("1\n0.5\n0.5\n0.5\n"));

    // The new game's window: another id, the whole 1280 x 800 screen.
    QString second;
    QTRY_VERIFY_WITH_TIMEOUT(!(second = x.windows().value(0)).isEmpty() && second != first, 30000);
    QString geometry;
    QTRY_VERIFY_WITH_TIMEOUT((geometry = x.xdotool({"getwindowgeometry", second})).contains("Geometry: 128"), 10000);
    const QString pid = x.xdotool({"getwindowpid", second});
    QVERIFY2(pid.toLongLong() > 0, qPrintable(pid));
    QProcess::execute(QStringLiteral("kill"), {pid});

    const QRegularExpressionMatch m = QRegularExpression("Position: (-?\\d+),(-?\\d+).*Geometry: (\\d+)x(\\d+)",
                                                         QRegularExpression::DotMatchesEverythingOption)
                                          .match(geometry);
    QVERIFY2(m.hasMatch(), qPrintable(geometry));
    // Exactly the screen, not a pixel over.
    QVERIFY2(m.captured(1).toInt() == 0 && m.captured(2).toInt() == 0, qPrintable(geometry));
    QVERIFY2(m.captured(3).toInt() == 1280 && m.captured(4).toInt() == 800, qPrintable(geometry));
}

// A mode change at line 40 of a loaded save: the new process has the story at line 40.
void TestExecutable::modeChangeComesBackToTheLine()
{
    XServer x;
    if (const QString why = x.startForDriving(); !why.isEmpty())
        QSKIP(qPrintable(why));

    ScratchDir dir;
    dir.write("a.txt", gameScript());
    dir.write("setting.txt", "0\n0.5\n0.5\n0.5\n");
    dir.write("saves/save.txt", "40\n");
    dir.write("saves/cuowu.txt", "1\n");
    QProcess game;
    game.setWorkingDirectory(dir.path());
    game.setProcessEnvironment(x.gameEnvironment());
    game.setStandardOutputFile(dir.path() + "/game.log"); // the new process writes here too
    game.setProcessChannelMode(QProcess::MergedChannels);
    game.start(kGame, QStringList());
    QVERIFY2(game.waitForStarted(5000), qPrintable(game.errorString()));
    QTRY_VERIFY2_WITH_TIMEOUT(dir.read("game.log").contains("首帧已显示"), dir.read("game.log").constData(), 30000);
    const QString window = x.windows().constLast();
    x.xdotool({"mousemove", "--window", window, "652", "307", "click", "1"}); // 读取
    QTest::qWait(1000);
    x.xdotool({"mousemove", "--window", window, "300", "160", "click", "1"}); // the one save
    QTRY_VERIFY_WITH_TIMEOUT(dir.read("game.log").contains("发射 loadSave 信号，位置 1"), 10000);
    QTest::qWait(500);
    // The menu bar's 设置, then 全屏: the game restarts in the new mode.
    x.xdotool({"mousemove", "--window", window, "451", "466"});
    QTest::qWait(500);
    x.xdotool({"mousemove", "--window", window, "451", "466", "click", "1"});
    QTest::qWait(1000);
    x.xdotool({"mousemove", "--window", window, "306", "162", "click", "1"});
    QVERIFY2(game.waitForFinished(15000), dir.read("game.log").constData());
    // Back on the settings page it came from, the story behind it at line 40.
    QTRY_VERIFY2_WITH_TIMEOUT(dir.read("game.log").contains("已回到切换显示模式前的位置：setting 第 40 行"),
                              dir.read("game.log").constData(), 30000);
    // Read once: the record is gone.
    QVERIFY(!QFile::exists(dir.path() + "/saves/resume.txt"));
    QString second;
    QTRY_VERIFY_WITH_TIMEOUT(!(second = x.windows().value(0)).isEmpty() && second != window, 30000);
    QProcess::execute(QStringLiteral("kill"), {x.xdotool({"getwindowpid", second})});
}

QTEST_GUILESS_MAIN(TestExecutable)
#include "tst_executable.moc"
