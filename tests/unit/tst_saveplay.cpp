#include "gameprocess.h"
#include "testsupport.h"

#include <QImage>
#include <QProcess>
#include <QStandardPaths>

// The real game under a virtual X server, driven by pointer clicks as a
// player would: two saves from the menu bar, then the older one loaded from
// the title page. Without a display server to start, the test is skipped.
class TestSavePlay : public QObject
{
    Q_OBJECT

private slots:
    void saveTwiceThenLoadTheOlder();
};

namespace {

// Page coordinates of a 720 x 480 window at scale 1.
const char *const kDrive = R"(
exe="$1"
"$exe" > log.txt 2>&1 &
pid=$!
w=
for i in $(seq 100); do
    w=$(xdotool search --onlyvisible --name Solvane 2>/dev/null | head -1)
    [ -n "$w" ] && grep -q "首帧已显示" log.txt && break
    sleep 0.1
done
[ -n "$w" ] || { kill $pid; echo "no window"; exit 1; }
sleep 0.5
click() { xdotool mousemove --window $w $1 $2 click 1; sleep ${3:-0.3}; }
save() {
    xdotool mousemove --window $w 87 466; sleep 0.3
    click 87 466        # 存档
    click 420 281 1     # 确定
}
click 665 267 1         # 开始
click 360 200; click 360 200; click 360 200 0.6
save
click 360 200; click 360 200; click 360 200; click 360 200 0.6
save
xdotool mousemove --window $w 542 466; sleep 0.3
click 542 466           # 返回
click 418 279 1         # 确定: the title page
click 652 307 1.5       # 读取
click 300 240 1         # the lower row: the older save
save                    # where the story stands now
kill $pid
wait $pid
exit 0
)";

} // namespace

void TestSavePlay::saveTwiceThenLoadTheOlder()
{
    // A display of our own: two servers started at once by xvfb-run -a may pick the same number.
    XServer x;
    if (const QString why = x.startForDriving(); !why.isEmpty())
        QSKIP(qPrintable(why));

    ScratchDir dir;
    dir.write("a.txt", gameScript());
    dir.write("setting.txt", "0\n1\n0.5\n0.5\n");
    dir.write("drive.sh", kDrive);
    QVERIFY(!QDir("saves").exists());

    QProcess run;
    run.setWorkingDirectory(dir.path());
    run.setProcessEnvironment(x.gameEnvironment());
    run.setProcessChannelMode(QProcess::MergedChannels);
    run.start("bash", {"drive.sh", SOLVANE_GAME_DIR "/solvane"});
    QVERIFY(run.waitForFinished(90000));
    const QByteArray log = run.readAll() + dir.read("log.txt");
    QVERIFY2(run.exitCode() == 0, log.constData());

    const QList<QByteArray> lines = dir.read("saves/save.txt").split('\n');
    QVERIFY2(lines.size() == 4 && lines.last().isEmpty(), log.constData());
    QVERIFY2(lines.at(0).toInt() > 0 && lines.at(0).toInt() < lines.at(1).toInt(), lines.join(',').constData());
    // The third save was made right after loading the first: the story stood at its line.
    QCOMPARE(lines.at(2), lines.at(0));
    QCOMPARE(dir.read("saves/cuowu.txt"), QByteArray("0\n0\n0\n"));
    QVERIFY(log.contains("发射 loadSave 信号，位置 1"));
    for (int slot = 1; slot <= 3; ++slot) {
        const QImage shot(QStringLiteral("saves/%1.png").arg(slot));
        QCOMPARE(shot.size(), QSize(720, 480));
    }
}

QTEST_GUILESS_MAIN(TestSavePlay)
#include "tst_saveplay.moc"
