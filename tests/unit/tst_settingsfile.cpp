#include "settings/displaymode.h"
#include "settings/settings.h"
#include "testsupport.h"

#include <clocale>
#include <cstdio>
#include <limits>
#include <stdexcept>

using settings::readSettingLine;
using settings::writeSettingLine;

class TestSettingsFile : public QObject
{
    Q_OBJECT

private slots:
    void readLine_data();
    void readLine();
    void writeLine_data();
    void writeLine();
    void parsePrefix_data();
    void parsePrefix();
    void repair_data();
    void repair();
    void writeNeverLeavesHalfAFile();
    void commaDecimalLocale();
};

void TestSettingsFile::readLine_data()
{
    QTest::addColumn<QByteArray>("content"); // "<none>": no file at all
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("expected");   // text, or the error message
    QTest::addColumn<bool>("throws");

    const QByteArray four = "0\n0.5\n0.5\n0.5\n";
    QTest::newRow("line 4") << four << 4 << "0.5" << false;
    QTest::newRow("line 5 of 4") << four << 5 << "行号 5 超出文件范围（文件共 4 行）" << true;
    QTest::newRow("missing file") << QByteArray("<none>") << 1 << "行号 1 超出文件范围（文件共 0 行）" << true;
    QTest::newRow("empty line is a line") << QByteArray("0\n0.5\n\n0.5\n") << 3 << "" << false;
    QTest::newRow("last line without LF") << QByteArray("0\n0.5\n0.5\n0.7") << 4 << "0.7" << false;
    QTest::newRow("CR LF endings") << QByteArray("1\r\n0.5\r\n") << 1 << "1" << false;
    QTest::newRow("final LF adds no line") << QByteArray("1\n") << 2 << "行号 2 超出文件范围（文件共 1 行）" << true;
}

void TestSettingsFile::readLine()
{
    QFETCH(QByteArray, content);
    QFETCH(int, line);
    QFETCH(QString, expected);
    QFETCH(bool, throws);

    ScratchDir dir;
    if (content != "<none>")
        dir.write("setting.txt", content);
    try {
        const std::string text = readSettingLine(line);
        QVERIFY2(!throws, "expected an out-of-range error");
        QCOMPARE(QString::fromStdString(text), expected);
    } catch (const std::out_of_range &e) {
        QVERIFY2(throws, e.what());
        QCOMPARE(QString::fromUtf8(e.what()), expected);
    }
}

void TestSettingsFile::writeLine_data()
{
    QTest::addColumn<QByteArray>("before"); // "<none>": no file
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("line");
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<bool>("throws");

    const QByteArray four = "0\n0.5\n0.5\n0.5\n";
    QTest::newRow("replace line 2") << four << "0.700000" << 2 << QByteArray("0\n0.700000\n0.5\n0.5\n") << false;
    QTest::newRow("lines 5 and 6 kept") << QByteArray("0\n0.5\n0.5\n0.5\nx\ny\n") << "1" << 1
                                        << QByteArray("1\n0.5\n0.5\n0.5\nx\ny\n") << false;
    QTest::newRow("missing file, line 1") << QByteArray("<none>") << "1" << 1 << QByteArray("1\n") << false;
    QTest::newRow("missing file, line 3") << QByteArray("<none>") << "z" << 3 << QByteArray("\n\nz\n") << false;
    QTest::newRow("one past the end appends") << four << "9" << 5 << QByteArray("0\n0.5\n0.5\n0.5\n9\n") << false;
    QTest::newRow("two past the end") << four << "x" << 7 << four << true;
    QTest::newRow("CR LF read back as LF") << QByteArray("0\r\n0.5\r\n0.5\r\n0.5\r\n") << "2" << 1
                                           << QByteArray("2\n0.5\n0.5\n0.5\n") << false;
}

void TestSettingsFile::writeLine()
{
    QFETCH(QByteArray, before);
    QFETCH(QString, text);
    QFETCH(int, line);
    QFETCH(QByteArray, after);
    QFETCH(bool, throws);

    ScratchDir dir;
    if (before != "<none>")
        dir.write("setting.txt", before);
    try {
        writeSettingLine(text.toStdString(), line);
        QVERIFY2(!throws, "expected an out-of-range error");
    } catch (const std::out_of_range &e) {
        QVERIFY2(throws, e.what());
        QCOMPARE(QString::fromUtf8(e.what()), QStringLiteral("行号超出文件范围"));
    }
    QCOMPARE(dir.readText("setting.txt"), after);
}

void TestSettingsFile::parsePrefix_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<float>("value");

    QTest::newRow("plain") << "0.5" << true << 0.5f;
    QTest::newRow("six decimals") << "0.250000" << true << 0.25f;
    QTest::newRow("leading blanks") << "  0.7" << true << 0.7f;
    QTest::newRow("trailing text") << "0.3abc" << true << 0.3f;
    QTest::newRow("word") << "fast" << false << 0.0f;
    QTest::newRow("empty") << "" << false << 0.0f;
    // The C library's rules, not the stream's: hex floats, a dangling exponent.
    QTest::newRow("hex") << "0x1p-1" << true << 0.5f;
    QTest::newRow("dangling exponent") << "1e" << true << 1.0f;
    QTest::newRow("sign") << "+0.25" << true << 0.25f;
    QTest::newRow("comma stops the number") << "0,5" << true << 0.0f;
    QTest::newRow("infinity") << "inf" << true << std::numeric_limits<float>::infinity();
    QTest::newRow("beyond float") << "1e999" << false << 0.0f;
}

void TestSettingsFile::parsePrefix()
{
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(float, value);

    float parsed = -1;
    QCOMPARE(settings::parseFloatPrefix(text.toStdString(), &parsed), ok);
    if (ok)
        QCOMPARE(parsed, value);
}

void TestSettingsFile::repair_data()
{
    QTest::addColumn<QByteArray>("before"); // "<none>": no file
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<QString>("warning"); // part of the expected warning, "" for none

    QTest::newRow("good file untouched") << QByteArray("2\n0.3\n0.25\n1\n1\n0\n2\n1\n0.4\n1\n0\n")
                                         << QByteArray("2\n0.3\n0.25\n1\n1\n0\n2\n1\n0.4\n1\n0\n") << "";
    QTest::newRow("missing file") << QByteArray("<none>") << QByteArray("0\n0.500000\n0.500000\n0.500000\n")
                                  << "不存在";
    QTest::newRow("empty file") << QByteArray("") << QByteArray("0\n0.500000\n0.500000\n0.500000\n") << "第 2 行";
    QTest::newRow("two lines") << QByteArray("1\n0.2\n") << QByteArray("1\n0.2\n0.500000\n0.500000\n") << "第 3 行";
    QTest::newRow("not a number") << QByteArray("0\nfast\n0.5\n0.5\n") << QByteArray("0\n0.500000\n0.5\n0.5\n")
                                  << "第 2 行内容无效 'fast'";
    QTest::newRow("nan") << QByteArray("0\n0.5\nnan\n0.5\n") << QByteArray("0\n0.5\n0.500000\n0.5\n") << "'nan'";
    QTest::newRow("infinite") << QByteArray("0\n0.5\n0.5\ninf\n") << QByteArray("0\n0.5\n0.5\n0.500000\n") << "'inf'";
    QTest::newRow("huge") << QByteArray("0\n0.5\n0.5\n1e999\n") << QByteArray("0\n0.5\n0.5\n0.500000\n") << "'1e999'";
    QTest::newRow("above 1") << QByteArray("0\n2.5\n0.5\n0.5\n") << QByteArray("0\n0.500000\n0.5\n0.5\n") << "'2.5'";
    QTest::newRow("negative") << QByteArray("0\n0.5\n-0.1\n0.5\n") << QByteArray("0\n0.5\n0.500000\n0.5\n") << "'-0.1'";
    // Lines 5 to 11 are the options (tst_badfiles); what follows them is nobody's.
    QTest::newRow("lines after 11 kept") << QByteArray("0\nx\n0.5\n0.5\n0\n0\n0\n0\n0.75\n0\n0\nkeep me\n")
                                         << QByteArray("0\n0.500000\n0.5\n0.5\n0\n0\n0\n0\n0.75\n0\n0\nkeep me\n") << "'x'";
}

void TestSettingsFile::repair()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    QFETCH(QString, warning);

    ScratchDir dir;
    if (before != "<none>")
        dir.write("setting.txt", before);
    if (!warning.isEmpty())
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QRegularExpression::escape(warning)));
    settings::repairSettingsFile();
    QCOMPARE(dir.readText("setting.txt"), after);
    // A repaired file reads back cleanly.
    QCOMPARE(QString::fromStdString(readSettingLine(4)).isEmpty(), false);
}

// The rewrite goes through a temporary file that replaces the old one whole;
// none is left behind.
void TestSettingsFile::writeNeverLeavesHalfAFile()
{
    ScratchDir dir;
    dir.write("setting.txt", "0\n0.5\n0.5\n0.5\n");
    writeSettingLine("0.900000", 4);
    QCOMPARE(dir.readText("setting.txt"), QByteArray("0\n0.5\n0.5\n0.900000\n"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"setting.txt"});

}

// Qt takes the C library's locale from the environment; under a comma-decimal
// one "%f" wrote "0,500000", which the next start read as 0.
void TestSettingsFile::commaDecimalLocale()
{
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    const char *found = nullptr;
    for (const char *name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8", "de_DE", "fr_FR"}) {
        if (std::setlocale(LC_ALL, name)) {
            found = name;
            break;
        }
    }
    char probe[32];
    if (found)
        std::snprintf(probe, sizeof probe, "%f", 0.5);
    if (!found || std::string(probe) != "0,500000") {
        std::setlocale(LC_ALL, previous.c_str());
        QSKIP("no comma-decimal locale installed (see locale -a): generate de_DE.UTF-8 to run this test");
    }

    ScratchDir dir;
    dir.write("setting.txt", "0\n0.8\n0.3\n1\n");
    settings::Settings owner;
    owner.load();
    owner.setTextSpeed(0.5f);
    const QByteArray written = dir.readText("setting.txt");
    const float parsedHalf = [] { float v = 0; settings::parseFloatPrefix("0.500000", &v); return v; }();
    const settings::StartSettings start = settings::repairSettingsFile();
    const QByteArray scale = settings::formatScaleFactor(2.25);
    std::setlocale(LC_ALL, previous.c_str());

    QCOMPARE(written, QByteArray("0\n0.500000\n0.3\n1\n"));
    QCOMPARE(parsedHalf, 0.5f);
    QCOMPARE(settings::settingValue(start, 2), 0.5f);
    QCOMPARE(dir.readText("setting.txt"), written); // nothing taken for damage
    QCOMPARE(scale, QByteArray("2.25"));
}

QTEST_GUILESS_MAIN(TestSettingsFile)
#include "tst_settingsfile.moc"
