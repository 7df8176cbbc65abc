// The enemy list as the game page reads it from the controller: random,
// mutated and well-formed strings; the page must keep drawing what the next
// good list says. SOLVANE_FUZZ_CASES raises the number of cases.
#include "pagesupport.h"

#include <QRandomGenerator>

namespace {

int caseCount()
{
    bool ok = false;
    const int n = qEnvironmentVariableIntValue("SOLVANE_FUZZ_CASES", &ok);
    return ok && n > 0 ? n : 2000;
}

void quiet(QtMsgType, const QMessageLogContext &, const QString &) {}

} // namespace

class FuzzPageTest : public QObject, protected PageFixture
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void enemyList();

private:
    QQuickItem *item(const char *name) const
    {
        return view->rootObject()->findChild<QQuickItem *>(QString::fromLatin1(name));
    }
    QList<QPointF> drawn() const
    {
        QList<QPointF> points;
        for (QQuickItem *it : descendants(item("sj")))
            if (it->objectName() == QLatin1String("enemy") && it->isVisible())
                points << it->position();
        return points;
    }

};

void FuzzPageTest::initTestCase()
{
    Q_INIT_RESOURCE(qml);
    makeScratch();
    QVERIFY(writeEnemyPicture());
    buildPage();
    wirePage(false);
    app::publishInterludeProperties(game);
    controller->navigategame(QStringLiteral("load"));
    view->setSource(QUrl(QStringLiteral("qrc:/qt/qml/solvaneui/game.qml")));
    QVERIFY(view->status() == QQuickView::Ready);
    game.publish(prop::sjvisible, 1);
    game.publish(prop::ditu1visible, 1);
}

void FuzzPageTest::cleanupTestCase()
{
    tearDownPage();
}

void FuzzPageTest::enemyList()
{
    static const QStringList pieces = {
        "720", "330", "-5", "0", "1e400", "-1e400", "NaN", "Infinity", "0x10", "1.5", ".5", "1e", "--1",
        "abc", "", " ", "\t", "\n", ",", ",,", "语", "\u00a0", "\u2028", "null", "undefined", "[]", "{}",
        "99999999999999999999", "-0", "+7", "1,2", "\\", "\"", "'", "\u0000",
    };
    QRandomGenerator rng(19);
    const QtMessageHandler previous = qInstallMessageHandler(&quiet);
    QStringList faults;
    for (int i = 0; i < caseCount() && faults.size() < 10; ++i) {
        QString text;
        QList<QPointF> expected;
        bool exact = false;
        switch (rng.bounded(3)) {
        case 0: { // a good list with odd spacing: drawn exactly
            const int n = int(rng.bounded(40u));
            QStringList numbers;
            for (int k = 0; k < n; ++k) {
                const QPoint p(int(rng.bounded(5000u)) - 1000, int(rng.bounded(500u)));
                expected << p;
                numbers << QString::number(p.x()) << QString::number(p.y());
            }
            text = numbers.join(rng.bounded(2) ? QStringLiteral(", ") : QStringLiteral(" ,\t"));
            exact = true;
            break;
        }
        case 1: { // pieces that the parser has to refuse or take
            const int n = int(rng.bounded(60u));
            for (int k = 0; k < n; ++k)
                text += pieces.at(int(rng.bounded(quint32(pieces.size()))));
            break;
        }
        default: { // any characters at all
            const int n = int(rng.bounded(80u));
            for (int k = 0; k < n; ++k)
                text += QChar(ushort(rng.bounded(0x10000u)));
            break;
        }
        }
        emit controller->elementArrayChanged(text);
        const int count = item("interlude")->property("blockCount").toInt();
        const QList<QPointF> points = drawn();
        if (points.size() != count)
            faults << QStringLiteral("%1 drawn for %2 enemies: %3").arg(points.size()).arg(count).arg(text.left(60));
        for (const QPointF &p : points)
            if (!qIsFinite(p.x()) || !qIsFinite(p.y()))
                faults << QStringLiteral("an enemy drawn at no place (%1, %2): %3").arg(p.x()).arg(p.y()).arg(text.left(60));
        if (exact && points != expected)
            faults << QStringLiteral("a good list drawn wrong: %1").arg(text.left(60));
        // Whatever came before, the next good list is drawn as it says.
        if (i % 10 == 0) {
            emit controller->elementArrayChanged(QStringLiteral("720, 330, 870, 330"));
            if (drawn() != QList<QPointF>{{720, 330}, {870, 330}})
                faults << QStringLiteral("after %1 the page no longer draws a good list").arg(text.left(60));
        }
    }
    qInstallMessageHandler(previous);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
}

QTEST_MAIN(FuzzPageTest)
#include "tst_fuzzpage.moc"
