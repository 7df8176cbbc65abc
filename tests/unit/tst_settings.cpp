#include "settings/settings.h"
#include "audiofixture.h"
#include "testsupport.h"

#include <QMetaProperty>
#include <QSignalSpy>

#include <functional>

using settings::Change;

namespace {

const QByteArray kFile = "0\n0.5\n0.5\n0.5\n";

// Each line's setter, by the name the pages bind to.
Change set(settings::Settings &s, const QByteArray &name, const QVariant &value)
{
    using Setter = std::function<Change(settings::Settings &, const QVariant &)>;
    static const QHash<QByteArray, Setter> setters = {
        {"displayMode", [](auto &s, auto &v) { return s.setDisplayMode(v.toInt()); }},
        {"textSpeed", [](auto &s, auto &v) { return s.setTextSpeed(v.toFloat()); }},
        {"autoSpeed", [](auto &s, auto &v) { return s.setAutoSpeed(v.toFloat()); }},
        {"volume", [](auto &s, auto &v) { return s.setVolume(v.toFloat()); }},
        {"wholeLineFirst", [](auto &s, auto &v) { return s.setWholeLineFirst(v.toBool()); }},
        {"skipReadOnly", [](auto &s, auto &v) { return s.setSkipReadOnly(v.toBool()); }},
        {"interludeMode", [](auto &s, auto &v) { return s.setInterludeMode(v.toInt()); }},
        {"textSize", [](auto &s, auto &v) { return s.setTextSize(v.toInt()); }},
        {"boxOpacity", [](auto &s, auto &v) { return s.setBoxOpacity(v.toFloat()); }},
        {"readAloud", [](auto &s, auto &v) { return s.setReadAloud(v.toBool()); }},
        {"textForm", [](auto &s, auto &v) { return s.setTextForm(v.toInt()); }},
    };
    return setters.value(name)(s, value);
}

// Counts the property's change signal.
std::unique_ptr<QSignalSpy> spyOn(settings::Settings &s, const QByteArray &name)
{
    const QMetaProperty property = s.metaObject()->property(s.metaObject()->indexOfProperty(name));
    return std::make_unique<QSignalSpy>(&s, QByteArray("2" + property.notifySignal().methodSignature()).constData());
}

} // namespace

// The owner of setting.txt: a change lands in memory, in the file and in the
// pages' binding once each; a change the file misses holds or not by its line.
class TestSettings : public QObject
{
    Q_OBJECT

private slots:
    void eachLine_data();
    void eachLine();
    void unwritableFile_data();
    void unwritableFile();
};

void TestSettings::eachLine_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QVariant>("held");   // after clamping
    QTest::addColumn<QByteArray>("file"); // afterwards, missing option lines padded

    QTest::newRow("1 display mode") << QByteArray("displayMode") << QVariant(2) << QVariant(2) << QByteArray("2\n0.5\n0.5\n0.5\n");
    QTest::newRow("2 text speed") << QByteArray("textSpeed") << QVariant(0.25f) << QVariant(0.25f)
                                  << QByteArray("0\n0.250000\n0.5\n0.5\n");
    QTest::newRow("3 auto speed clamped") << QByteArray("autoSpeed") << QVariant(1.5f) << QVariant(1.0f)
                                          << QByteArray("0\n0.5\n1.000000\n0.5\n");
    QTest::newRow("4 volume") << QByteArray("volume") << QVariant(0.0f) << QVariant(0.0f) << QByteArray("0\n0.5\n0.5\n0.000000\n");
    QTest::newRow("5 whole line") << QByteArray("wholeLineFirst") << QVariant(true) << QVariant(true) << kFile + "1\n";
    QTest::newRow("6 read only") << QByteArray("skipReadOnly") << QVariant(true) << QVariant(true) << kFile + "0\n1\n";
    QTest::newRow("7 interludes") << QByteArray("interludeMode") << QVariant(1) << QVariant(1) << kFile + "0\n0\n1\n";
    QTest::newRow("8 text size") << QByteArray("textSize") << QVariant(2) << QVariant(2) << kFile + "0\n0\n0\n2\n";
    QTest::newRow("9 opacity clamped") << QByteArray("boxOpacity") << QVariant(0.05f) << QVariant(0.2f)
                                       << kFile + "0\n0\n0\n0\n0.200000\n";
    QTest::newRow("10 朗读") << QByteArray("readAloud") << QVariant(true) << QVariant(true) << kFile + "0\n0\n0\n0\n0.750000\n1\n";
    QTest::newRow("11 繁體") << QByteArray("textForm") << QVariant(1) << QVariant(1) << kFile + "0\n0\n0\n0\n0.750000\n0\n1\n";
}

void TestSettings::eachLine()
{
    QFETCH(QByteArray, name);
    QFETCH(QVariant, value);
    QFETCH(QVariant, held);
    QFETCH(QByteArray, file);

    ScratchDir dir;
    dir.write("setting.txt", kFile);
    settings::Settings s;
    s.load();
    const auto changed = spyOn(s, name);
    QCOMPARE(set(s, name, value), Change::Saved);
    QCOMPARE(changed->count(), 1);
    QCOMPARE(changed->at(0).at(0), held);
    QCOMPARE(s.property(name), held);
    QCOMPARE(dir.readText("setting.txt"), file);

    // The same value again is no change: no signal, no write.
    QVERIFY(QFile::remove("setting.txt"));
    QCOMPARE(set(s, name, value), Change::None);
    QCOMPARE(changed->count(), 1);
    QVERIFY(!QFile::exists("setting.txt"));
}

void TestSettings::unwritableFile_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<int>("change");
    QTest::addColumn<bool>("held"); // for this run

    // A new process would read the old mode from the file: the mode stays.
    QTest::newRow("display mode") << QByteArray("displayMode") << QVariant(1) << int(Change::NotSaved) << false;
    QTest::newRow("speed") << QByteArray("textSpeed") << QVariant(0.3f) << int(Change::NotSaved) << true;
    QTest::newRow("option") << QByteArray("readAloud") << QVariant(true) << int(Change::Incomplete) << true;
}

void TestSettings::unwritableFile()
{
    QFETCH(QByteArray, name);
    QFETCH(QVariant, value);
    QFETCH(int, change);
    QFETCH(bool, held);

    ScratchDir dir;
    dir.write("setting.txt", kFile);
    settings::Settings s;
    s.load();
    const QVariant before = s.property(name);
    QVERIFY(QFile::remove("setting.txt"));
    QVERIFY(QDir().mkdir("setting.txt"));
    const auto changed = spyOn(s, name);
    MessageLog log;
    QCOMPARE(int(set(s, name, value)), change);
    QCOMPARE(changed->count(), held ? 1 : 0);
    QCOMPARE(s.property(name), held ? value : before);
    QCOMPARE(log.count(QStringLiteral("setting.txt")), 1);
}

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
