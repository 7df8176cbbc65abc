#include "core/fileio.h"

#include "filekinds.h"
#include "testsupport.h"

// Reading and rewriting the game's files when what is on disk is not what the
// game wrote: the kinds of file a player's folder can hold, and a full disk.
class TestFileIo : public QObject
{
    Q_OBJECT

private slots:
    void read_data();
    void read();
    void write_data();
    void write();
    void fullDiskKeepsTheOldFile();
};

void TestFileIo::read_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("state");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("truncated");
    const int read = int(core::FileState::Read);
    QTest::newRow("missing") << "missing" << int(core::FileState::Missing) << QByteArray() << false;
    QTest::newRow("dangling link") << "dangling" << int(core::FileState::Missing) << QByteArray() << false;
    QTest::newRow("directory") << "directory" << int(core::FileState::NotRegular) << QByteArray() << false;
    QTest::newRow("pipe") << "pipe" << int(core::FileState::NotRegular) << QByteArray() << false;
    QTest::newRow("link to a device") << "device" << int(core::FileState::NotRegular) << QByteArray() << false;
    QTest::newRow("unreadable") << "unreadable" << int(core::FileState::Unreadable) << QByteArray() << false;
    QTest::newRow("link to a file") << "link" << read << QByteArray("1\n2\n") << false;
    QTest::newRow("byte-order mark") << "bom" << read << QByteArray("1\n2\n") << false;
    QTest::newRow("huge") << "huge" << read << QByteArray("1\n2\n").repeated(4) << true;
}

void TestFileIo::read()
{
    QFETCH(QString, kind);
    QFETCH(int, state);
    ScratchDir dir;
    QVERIFY(makeFileKind(dir, kind, "f.txt", "1\n2\n"));
    const DacOff dac(kind == "unreadable");
    const core::FileRead got = core::readFile("f.txt", 16);
    QCOMPARE(int(got.state), state);
    QTEST(got.bytes, "bytes");
    QTEST(got.truncated, "truncated");
}

void TestFileIo::write_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("written");
    QTest::addColumn<QString>("reason");
    QTest::newRow("regular") << "regular" << true << QString();
    QTest::newRow("missing") << "missing" << true << QString();
    QTest::newRow("link") << "link" << false << "文件是链接";
    QTest::newRow("directory") << "directory" << false << "不是普通文件";
    QTest::newRow("unreadable") << "unreadable" << false << "文件无法读取";
}

void TestFileIo::write()
{
    QFETCH(QString, kind);
    QFETCH(bool, written);
    ScratchDir dir;
    QVERIFY(makeFileKind(dir, kind, "f.txt", "old\n"));
    const QByteArray targetBefore = dir.read("target.txt");
    QString reason;
    {
        const DacOff dac(kind == "unreadable");
        QCOMPARE(core::writeFile("f.txt", "new\n", &reason), written);
    }
    QTEST(reason, "reason");
    if (written)
        QCOMPARE(dir.read("f.txt"), QByteArray("new\n"));
    // What a link points at is never changed.
    QCOMPARE(dir.read("target.txt"), targetBefore);
    if (kind == "unreadable")
        QCOMPARE(dir.read("f.txt"), QByteArray("old\n"));
}

void TestFileIo::fullDiskKeepsTheOldFile()
{
    SmallDisk disk(64 * 1024);
    if (!disk.mounted())
        QSKIP("no small file system can be mounted here");
    const QString path = disk.path() + "/f.txt";
    QVERIFY(core::writeFile(path, "old\n"));
    disk.fill();
    QString reason;
    QVERIFY(!core::writeFile(path, QByteArray(8192, 'n'), &reason));
    QCOMPARE(reason, QStringLiteral("磁盘空间不足"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("old\n"));
    QCOMPARE(QDir(disk.path()).entryList(QDir::Files).size(), 2); // the file and the filler, no leftover
}

QTEST_GUILESS_MAIN(TestFileIo)
#include "tst_fileio.moc"
