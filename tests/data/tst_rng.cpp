// The generators' random numbers. Every picture and track is drawn from this
// sequence, so any change to it changes the game's data: the raw draws are
// pinned to the published SplitMix64 reference for seed 1234567, and the
// integer ranges to what the generators have always drawn from them.
#include "rng.h"

#include <QtTest>

#include <climits>

Q_DECLARE_METATYPE(QVector<int>)

namespace {

constexpr std::uint64_t kSeed = 1234567;
// 2^53: next() keeps the top 53 bits of a raw draw.
constexpr double kUnit = 9007199254740992.0;

} // namespace

class TestRng : public QObject
{
    Q_OBJECT

private slots:
    void followsTheReference_data()
    {
        QTest::addColumn<int>("draw");
        QTest::addColumn<quint64>("raw");
        QTest::newRow("1st") << 1 << Q_UINT64_C(6457827717110365317);
        QTest::newRow("2nd") << 2 << Q_UINT64_C(3203168211198807973);
        QTest::newRow("3rd") << 3 << Q_UINT64_C(9817491932198370423);
        QTest::newRow("4th") << 4 << Q_UINT64_C(4593380528125082431);
        QTest::newRow("5th") << 5 << Q_UINT64_C(16408922859458223821);
    }
    void followsTheReference()
    {
        QFETCH(int, draw);
        QFETCH(quint64, raw);
        Rng rng(kSeed);
        for (int i = 1; i < draw; ++i)
            rng.next();
        const double u = rng.next();
        QVERIFY(u >= 0.0 && u < 1.0);
        // Exact: the product only moves the exponent.
        QCOMPARE(quint64(u * kUnit), raw >> 11);
    }

    void integerDraws_data()
    {
        QTest::addColumn<int>("lo");
        QTest::addColumn<int>("hi");
        QTest::addColumn<bool>("closed");
        QTest::addColumn<QVector<int>>("expected");
        // range() reduces the raw draw modulo the span, both ends included.
        QTest::newRow("range 0..9") << 0 << 9 << true << QVector<int>{7, 3, 3};
        QTest::newRow("range -3..2") << -3 << 2 << true << QVector<int>{0, -2, 0};
        QTest::newRow("range 1..6") << 1 << 6 << true << QVector<int>{4, 2, 4};
        QTest::newRow("range of every int") << INT_MIN << INT_MAX << true
                                            << QVector<int>{2064186501, -665579611, 603094135};
        // below() scales next() instead, so it draws other numbers than range(0, n - 1).
        QTest::newRow("below 10") << 0 << 10 << false << QVector<int>{3, 1, 5};
        QTest::newRow("below 6") << 0 << 6 << false << QVector<int>{2, 1, 3};
        QTest::newRow("below 1000") << 0 << 1000 << false << QVector<int>{350, 173, 532};
    }
    void integerDraws()
    {
        QFETCH(int, lo);
        QFETCH(int, hi);
        QFETCH(bool, closed);
        QFETCH(QVector<int>, expected);
        Rng rng(kSeed);
        QVector<int> got;
        for (int i = 0; i < expected.size(); ++i)
            got << (closed ? rng.range(lo, hi) : rng.below(hi));
        QCOMPARE(got, expected);
    }

    // An empty or single-value range answers without drawing, so it does not
    // shift the numbers that follow it.
    void emptyRangeDrawsNothing_data()
    {
        QTest::addColumn<int>("lo");
        QTest::addColumn<int>("hi");
        QTest::newRow("single value") << 5 << 5;
        QTest::newRow("reversed") << 4 << 1;
    }
    void emptyRangeDrawsNothing()
    {
        QFETCH(int, lo);
        QFETCH(int, hi);
        Rng rng(kSeed);
        QCOMPARE(rng.range(lo, hi), lo);
        QCOMPARE(quint64(rng.next() * kUnit), Q_UINT64_C(6457827717110365317) >> 11);
    }

    void scaledDraws_data()
    {
        QTest::addColumn<int>("call");
        QTest::addColumn<double>("expected");
        // The seed's first draw is 0.3500795420214081.
        QTest::newRow("uniform(2, 6)") << int(Uniform2To6) << 3.4003181680856325;
        QTest::newRow("uniform(-0.3, 0.3)") << int(UniformPm03) << -0.08995227478715512;
        QTest::newRow("noise") << int(Noise) << -0.29984092712402344;
        QTest::newRow("chance(0.35) misses") << int(Chance035) << 0.0;
        QTest::newRow("chance(0.36) hits") << int(Chance036) << 1.0;
    }
    void scaledDraws()
    {
        QFETCH(int, call);
        QFETCH(double, expected);
        Rng rng(kSeed);
        double got = -1;
        switch (Call(call)) {
        case Uniform2To6: got = rng.uniform(2.0, 6.0); break;
        case UniformPm03: got = rng.uniform(-0.3, 0.3); break;
        case Noise: got = rng.noise(); break;
        case Chance035: got = rng.chance(0.35) ? 1.0 : 0.0; break;
        case Chance036: got = rng.chance(0.36) ? 1.0 : 0.0; break;
        }
        // Exact: the generators' bytes depend on the last bit.
        QVERIFY2(got == expected, qPrintable(QString::number(got, 'g', 17)));
    }

private:
    enum Call { Uniform2To6, UniformPm03, Noise, Chance035, Chance036 };
};

QTEST_GUILESS_MAIN(TestRng)
#include "tst_rng.moc"
