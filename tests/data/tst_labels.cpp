// Words painted into pictures: the label face must hold every character, and a
// label it cannot draw is refused, never drawn as boxes or in a borrowed face.
#include "paint.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QtTest>

class TestLabels : public QObject
{
    Q_OBJECT

private slots:
    void faceIsInstalled();
    void glyphs_data();
    void glyphs();
    void refusedLabelDrawsNothing();
    void acceptedLabelDraws();
};

void TestLabels::faceIsInstalled()
{
    QVERIFY2(QFontDatabase().families().contains(QString::fromLatin1(kLabelFamily), Qt::CaseInsensitive),
             "WenQuanYi Micro Hei is missing: tools/setup.sh installs it");
}

void TestLabels::glyphs_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("missing");

    // The words the pictures carry, then characters no Chinese face is expected to have.
    QTest::newRow("hatch sign") << QStringLiteral("SOLVANE 维护通道 07") << QString();
    QTest::newRow("wall map") << QStringLiteral("无尽之海 澄湾镇") << QString();
    QTest::newRow("orbit counter") << QStringLiteral("停泊 · 11年") << QString();
    QTest::newRow("rocket") << QStringLiteral("维护\U0001F680") << QStringLiteral("\U0001F680");
    QTest::newRow("private use") << QStringLiteral("A\U000F0001B") << QStringLiteral("\U000F0001");
}

void TestLabels::glyphs()
{
    QFETCH(QString, text);
    QFETCH(QString, missing);
    QCOMPARE(missingGlyphs(text), missing);
}

void TestLabels::refusedLabelDrawsNothing()
{
    QImage image(120, 40, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::black);
    const QImage before = image;
    const int refusedBefore = refusedLabels().size();
    {
        QPainter p(&image);
        QVERIFY(!drawLabel(p, QRectF(0, 0, 120, 40), QStringLiteral("通道\U0001F680"), 20, Qt::white));
    }
    QCOMPARE(image, before);
    QCOMPARE(refusedLabels().size(), refusedBefore + 1);
    QVERIFY(refusedLabels().constLast().contains(QStringLiteral("\U0001F680")));
}

void TestLabels::acceptedLabelDraws()
{
    QImage image(120, 40, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::black);
    const QImage before = image;
    const int refusedBefore = refusedLabels().size();
    {
        QPainter p(&image);
        QVERIFY(drawLabel(p, QRectF(0, 0, 120, 40), QStringLiteral("维护通道"), 20, Qt::white));
    }
    QVERIFY(image != before);
    QCOMPARE(refusedLabels().size(), refusedBefore);
}

QTEST_MAIN(TestLabels)
#include "tst_labels.moc"
