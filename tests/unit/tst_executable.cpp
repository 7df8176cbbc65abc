#include "testsupport.h"

#include <QProcess>

// Starts the real game in a scratch working directory with a damaged settings
// file: it must come up, say what it repaired, and leave a clean file behind.
class TestExecutable : public QObject
{
    Q_OBJECT

private slots:
    void startsWithDamagedSettings_data();
    void startsWithDamagedSettings();
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
    QTest::newRow("nan and inf") << QByteArray("0\n0.5\nnan\ninf\nkept\n") << "第 4 行内容无效 'inf'"
                                 << QByteArray("0\n0.5\n0.500000\n0.500000\nkept\n");
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
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("QT_QUICK_BACKEND", "software");
    env.remove("QT_SCALE_FACTOR");
    game.setProcessEnvironment(env);
    game.setProcessChannelMode(QProcess::MergedChannels);
    game.start(QStringLiteral(SOLVANE_GAME_DIR "/solvane"), QStringList());
    QVERIFY2(game.waitForStarted(5000), qPrintable(game.errorString()));

    QByteArray log;
    QElapsedTimer clock;
    clock.start();
    while (!log.contains("主窗口已显示") && game.state() == QProcess::Running && clock.elapsed() < 15000) {
        game.waitForReadyRead(200);
        log += game.readAll();
    }
    const bool up = log.contains("主窗口已显示");
    game.kill();
    game.waitForFinished(5000);
    log += game.readAll();

    QVERIFY2(up, log.constData());
    QVERIFY2(QString::fromUtf8(log).contains(warning), log.constData());
    QCOMPARE(dir.read("setting.txt"), repaired);
}

QTEST_GUILESS_MAIN(TestExecutable)
#include "tst_executable.moc"
