#include "app/startup.h"
#include "core/mainwindow.h"
#include "saves/savefiles.h"
#include "settings/settings.h"
#include "testsupport.h"

#include <QElapsedTimer>
#include <QMetaMethod>
#include <QQuickItem>
#include <QQuickView>
#include <QSignalSpy>
#include <QWheelEvent>

#include <cmath>
#include <memory>

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void signalsInContractOrder();
    void readsDisplayModeOnConstruction_data();
    void readsDisplayModeOnConstruction();
    void pulsesRestAfterEmission();
    void togglesFlipByComplement();
    void floatSettersDropEqualValues_data();
    void floatSettersDropEqualValues();
    void displayModeRequests();
    void navigation();
    void zeroAndEmptyNeverEmit();
    void saveIsDeferredTenMilliseconds();
    void fireSendsOneThenZeroAfter200ms();
    void wheelIsConsumed_data();
    void wheelIsConsumed();
    void wheelScrollsAListOffTheGamePage_data();
    void wheelScrollsAListOffTheGamePage();
    void saveCount();
    void elementArrayJoinsTexts();
    void dropAndPositionRules();

private:
    std::unique_ptr<ScratchDir> dir;
    std::unique_ptr<settings::Settings> gameSettings;
    std::unique_ptr<MainWindow> controller;
};

void TestMainWindow::init()
{
    dir.reset(new ScratchDir);
    dir->write("setting.txt", "0\n0.5\n0.5\n0.5\n");
    gameSettings.reset(new settings::Settings);
    gameSettings->load();
    controller.reset(new MainWindow(app::controllerStart(*gameSettings)));
}

void TestMainWindow::cleanup()
{
    controller.reset();
    gameSettings.reset();
    dir.reset();
}

// Pages and tests find signals by index: their order is part of the contract.
void TestMainWindow::signalsInContractOrder()
{
    const QStringList expected = {
        "currentPageChanged()", "suofangChanged(int)", "exitChanged(int)", "nextChanged(int)",
        "AutoChanged(int)", "skipChanged(int)", "saveChanged(int)", "vziChanged(float)",
        "vhangChanged(float)", "inliangChanged(float)", "saveCountChanged(int)", "Load(int)", "Drop(int)",
        "refreshImagesRequested()", "wheelChanged(int)", "daChanged(int)", "shuruChanged(QString)",
        "Start(int)", "Extra(int)", "toindex(int)", "weizhiChanged(float,float)", "wsChanged(int)",
        "adChanged(int)", "elementArrayChanged(QString)", "fsChanged(int)", "inextraChanged(int)",
        "inbextraChanged(int)", "wholeLineFirstChanged(bool)", "skipReadOnlyChanged(bool)",
        "Backlog(int)", "QuickSave(int)", "QuickLoad(int)", "TextSize(int)",
        "BoxOpacity(float)", "interludeModeChanged(int)", "textFormChanged(int)", "readAloudChanged(bool)", "Say(QString)"};
    const QMetaObject *meta = controller->metaObject();
    QCOMPARE(QString::fromLatin1(meta->className()), QStringLiteral("MainWindow"));
    QStringList found;
    for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
        const QMetaMethod m = meta->method(i);
        if (m.methodType() == QMetaMethod::Signal)
            found << QString::fromLatin1(m.methodSignature());
    }
    QCOMPARE(found, expected);
    QCOMPARE(meta->method(meta->methodOffset() + 26).name(), QByteArray("inbextraChanged"));
    QCOMPARE(meta->propertyCount() - meta->propertyOffset(), 22);
}

void TestMainWindow::readsDisplayModeOnConstruction_data()
{
    QTest::addColumn<QByteArray>("content"); // "<none>": no file
    QTest::addColumn<int>("suofang");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("message");

    QTest::newRow("no file") << QByteArray("<none>") << 3 << int(QtDebugMsg) << "状态文件不存在，使用默认缩放状态 3";
    QTest::newRow("empty file") << QByteArray("") << 3 << int(QtWarningMsg) << "状态文件为空，使用默认缩放状态 3";
    QTest::newRow("two") << QByteArray("2\n") << 2 << int(QtDebugMsg) << "成功从文件加载缩放状态 2";
    QTest::newRow("ten") << QByteArray("10\n") << 10 << int(QtDebugMsg) << "成功从文件加载缩放状态 10";
    QTest::newRow("blank and trailing text") << QByteArray("  7abc\n") << 7 << int(QtDebugMsg)
                                             << "成功从文件加载缩放状态 7";
    QTest::newRow("windowed zero") << QByteArray("0\n") << 0 << int(QtDebugMsg) << "成功从文件加载缩放状态 0";
    QTest::newRow("below zero") << QByteArray("-1\n") << 3 << int(QtWarningMsg)
                                << "缩放值超出范围(0-10)，使用默认值。文件值 -1";
    QTest::newRow("eleven") << QByteArray("11\n") << 3 << int(QtWarningMsg)
                            << "缩放值超出范围(0-10)，使用默认值。文件值 11";
    QTest::newRow("no digits") << QByteArray("x1\n") << 3 << int(QtWarningMsg)
                               << "文件第一行内容无效，使用默认缩放状态。内容'x1'";
    QTest::newRow("beyond int") << QByteArray("99999999999\n") << 3 << int(QtWarningMsg)
                                << "文件缩放值超出整数范围，使用默认缩放状态。内容'99999999999'";
}

void TestMainWindow::readsDisplayModeOnConstruction()
{
    QFETCH(QByteArray, content);
    QFETCH(int, suofang);
    QFETCH(int, type);
    QFETCH(QString, message);

    ScratchDir other;
    if (content != "<none>")
        other.write("setting.txt", content);
    QTest::ignoreMessage(QtMsgType(type), QRegularExpression(QRegularExpression::escape(message)));
    settings::Settings read;
    read.readDisplayMode();
    MainWindow fresh(app::controllerStart(read));
    QCOMPARE(fresh.getSuofang(), suofang);
}

void TestMainWindow::pulsesRestAfterEmission()
{
    QSignalSpy next(controller.get(), &MainWindow::nextChanged);
    QList<int> seenInside;
    connect(controller.get(), &MainWindow::nextChanged, this, [&] { seenInside << controller->getNext(); });
    controller->next1();
    QCOMPARE(controller->getNext(), 0);
    controller->next1();
    QCOMPARE(next.count(), 2);
    QCOMPARE(next.at(1).at(0).toInt(), 1);
    QCOMPARE(seenInside, (QList<int>{1, 1}));
    QCOMPARE(controller->getNext(), 0);

    QSignalSpy exit(controller.get(), &MainWindow::exitChanged);
    controller->exit1();
    QCOMPARE(exit.count(), 1);
    QCOMPARE(exit.at(0).at(0).toInt(), 1);
    QCOMPARE(controller->getExit(), 0);

    QSignalSpy da(controller.get(), &MainWindow::daChanged);
    controller->da1(2);
    controller->da1(2);
    QCOMPARE(da.count(), 2);
    QCOMPARE(controller->getDa(), 0);

    QSignalSpy shuru(controller.get(), &MainWindow::shuruChanged);
    controller->shuru1("语言");
    controller->shuru1("语言");
    QCOMPARE(shuru.count(), 2);
    QCOMPARE(controller->getShuru(), QString());
}

void TestMainWindow::togglesFlipByComplement()
{
    QSignalSpy autoSpy(controller.get(), &MainWindow::AutoChanged);
    QSignalSpy skipSpy(controller.get(), &MainWindow::skipChanged);
    controller->Auto1();
    controller->Auto1();
    controller->skip1();
    controller->skip1();
    controller->skip1();
    QCOMPARE(autoSpy.count(), 2);
    QCOMPARE(autoSpy.at(0).at(0).toInt(), -1);
    QCOMPARE(autoSpy.at(1).at(0).toInt(), 0);
    QCOMPARE(skipSpy.count(), 3);
    QCOMPARE(skipSpy.at(2).at(0).toInt(), -1);
    QCOMPARE(controller->getSkip(), -1);
}

void TestMainWindow::floatSettersDropEqualValues_data()
{
    QTest::addColumn<QList<float>>("values");
    QTest::addColumn<int>("emissions");

    const float nan = std::nanf("");
    QTest::newRow("start value 0.5") << QList<float>{0.5f} << 0;
    QTest::newRow("0.7 twice") << QList<float>{0.7f, 0.7f} << 1;
    QTest::newRow("back and forth") << QList<float>{0.7f, 0.5f, 0.7f} << 3;
    QTest::newRow("NaN always differs") << QList<float>{nan, nan} << 2;
}

void TestMainWindow::floatSettersDropEqualValues()
{
    QFETCH(QList<float>, values);
    QFETCH(int, emissions);

    // Stands in for the settings handler, which stores what it accepts.
    MainWindow *c = controller.get();
    connect(c, &MainWindow::vziChanged, c, &MainWindow::setVzi);
    connect(c, &MainWindow::vhangChanged, c, &MainWindow::setVhang);
    connect(c, &MainWindow::inliangChanged, c, &MainWindow::setInliang);
    QSignalSpy vzi(controller.get(), &MainWindow::vziChanged);
    QSignalSpy vhang(controller.get(), &MainWindow::vhangChanged);
    QSignalSpy inliang(controller.get(), &MainWindow::inliangChanged);
    for (float v : values) {
        controller->vzi1(v);
        controller->vhang1(v);
        controller->inliang1(v);
    }
    QCOMPARE(vzi.count(), emissions);
    QCOMPARE(vhang.count(), emissions);
    QCOMPARE(inliang.count(), emissions);
}

void TestMainWindow::displayModeRequests()
{
    // Stands in for the settings handler, which keeps what the file takes.
    connect(controller.get(), &MainWindow::suofangChanged, gameSettings.get(), &settings::Settings::setDisplayMode);
    QSignalSpy spy(controller.get(), &MainWindow::suofangChanged);
    QCOMPARE(controller->getSuofang(), 0); // a windowed start
    controller->xiaochuang();
    controller->quanping();
    controller->quanping();
    controller->fangda();
    controller->xiaochuang();
    QCOMPARE(spy.count(), 3);
    QCOMPARE(spy.at(0).at(0).toInt(), 1);
    QCOMPARE(spy.at(1).at(0).toInt(), 2);
    QCOMPARE(spy.at(2).at(0).toInt(), 0);
}

void TestMainWindow::navigation()
{
    QSignalSpy page(controller.get(), &MainWindow::currentPageChanged);
    QSignalSpy start(controller.get(), &MainWindow::Start);
    QSignalSpy toindex(controller.get(), &MainWindow::toindex);
    QSignalSpy extra(controller.get(), &MainWindow::Extra);
    QSignalSpy autoSpy(controller.get(), &MainWindow::AutoChanged);
    QSignalSpy skipSpy(controller.get(), &MainWindow::skipChanged);

    // On the title page already: only the title music is asked for.
    controller->navigateindex();
    QCOMPARE(page.count(), 0);
    QCOMPARE(start.count(), 0);
    QCOMPARE(toindex.count(), 1);

    controller->navigategame("index");
    QCOMPARE(controller->getCurrentPage(), QStringLiteral("game"));
    QCOMPARE(controller->getLastSource(), QStringLiteral("index"));
    controller->navigatesetting("game");
    controller->navigatesetting("load"); // same page: only the source changes
    QCOMPARE(page.count(), 2);
    QCOMPARE(controller->getLastSource(), QStringLiteral("load"));

    controller->navigateextra();
    controller->navigateextra();
    QCOMPARE(extra.count(), 1);
    QCOMPARE(page.count(), 3);
    QCOMPARE(controller->getLastSource(), QStringLiteral("load"));

    controller->Auto1();
    controller->skip1();
    controller->navigateindex();
    QCOMPARE(controller->getCurrentPage(), QStringLiteral("index"));
    QCOMPARE(start.count(), 1);
    QCOMPARE(toindex.count(), 2);
    QCOMPARE(autoSpy.last().at(0).toInt(), 0);
    QCOMPARE(skipSpy.last().at(0).toInt(), 0);
    QCOMPARE(controller->getAuto(), 0);

    controller->setLastSource("x");
    QCOMPARE(controller->getLastSource(), QStringLiteral("x"));
}

void TestMainWindow::zeroAndEmptyNeverEmit()
{
    QSignalSpy ws(controller.get(), &MainWindow::wsChanged);
    QSignalSpy ad(controller.get(), &MainWindow::adChanged);
    QSignalSpy da(controller.get(), &MainWindow::daChanged);
    QSignalSpy shuru(controller.get(), &MainWindow::shuruChanged);
    controller->ws1(0);
    controller->ad1(0);
    controller->da1(0);
    controller->shuru1(QString());
    QCOMPARE(ws.count() + ad.count() + da.count() + shuru.count(), 0);
    controller->ws1(2);
    controller->ad1(1);
    QCOMPARE(ws.at(0).at(0).toInt(), 2);
    QCOMPARE(ad.at(0).at(0).toInt(), 1);
    QCOMPARE(controller->getWs(), 0);
}

void TestMainWindow::saveIsDeferredTenMilliseconds()
{
    QSignalSpy save(controller.get(), &MainWindow::saveChanged);
    QElapsedTimer clock;
    clock.start();
    controller->save1();
    controller->save1();
    QCOMPARE(save.count(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(save.count(), 2, 1000);
    QVERIFY(clock.elapsed() >= 10);
    QCOMPARE(save.at(0).at(0).toInt(), 1);
    QCOMPARE(controller->getSave(), 1);
}

void TestMainWindow::fireSendsOneThenZeroAfter200ms()
{
    QSignalSpy fs(controller.get(), &MainWindow::fsChanged);
    QElapsedTimer clock;
    clock.start();
    controller->fs1();
    QCOMPARE(fs.count(), 1);
    QCOMPARE(fs.at(0).at(0).toInt(), 1);
    QCOMPARE(controller->getFs(), 0);
    QVERIFY(fs.wait(1000));
    QVERIFY(clock.elapsed() >= 195);
    QCOMPARE(fs.at(1).at(0).toInt(), 0);
}

void TestMainWindow::wheelIsConsumed_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QPoint>("angle");
    QTest::addColumn<int>("step"); // -2: no signal, the event goes on to its target

    QTest::newRow("game, away from the user") << "game" << QPoint(0, 120) << 1;
    QTest::newRow("game, towards the user") << "game" << QPoint(0, -120) << -1;
    QTest::newRow("game, horizontal only") << "game" << QPoint(120, 0) << 0;
    QTest::newRow("title page") << "index" << QPoint(0, 120) << -2;
    QTest::newRow("load page") << "load" << QPoint(0, -120) << -2;
    QTest::newRow("extras page") << "extra" << QPoint(0, 120) << -2;
    QTest::newRow("settings page") << "setting" << QPoint(0, -120) << -2;
}

// Receives wheel events only if the application-wide filter lets them through.
class WheelCounter : public QObject
{
public:
    int wheels = 0;
    bool event(QEvent *e) override
    {
        if (e->type() == QEvent::Wheel)
            ++wheels;
        return QObject::event(e);
    }
};

// The story owns the wheel only on the game page; elsewhere the page's own
// items (the load page's list) must get it.
void TestMainWindow::wheelIsConsumed()
{
    QFETCH(QString, page);
    QFETCH(QPoint, angle);
    QFETCH(int, step);

    if (page == QLatin1String("game"))
        controller->navigategame("index");
    else if (page == QLatin1String("load"))
        controller->navigateload("index");
    else if (page == QLatin1String("extra"))
        controller->navigateextra();
    else if (page == QLatin1String("setting"))
        controller->navigatesetting("index");
    QCOMPARE(controller->getCurrentPage(), page);

    QSignalSpy wheel(controller.get(), &MainWindow::wheelChanged);
    WheelCounter target;
    QWheelEvent event(QPointF(10, 10), QPointF(10, 10), QPoint(), angle, Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&target, &event);
    if (step == -2) {
        QCOMPARE(wheel.count(), 0);
        QCOMPARE(target.wheels, 1);
        return;
    }
    QCOMPARE(wheel.count(), 1);
    QCOMPARE(wheel.at(0).at(0).toInt(), step);
    QCOMPARE(target.wheels, 0);
    QCOMPARE(controller->getWheelDelta(), angle.y());
}

void TestMainWindow::wheelScrollsAListOffTheGamePage_data()
{
    QTest::addColumn<bool>("onGamePage");
    QTest::newRow("load page: the list scrolls") << false;
    QTest::newRow("game page: the story has it") << true;
}

// Through a real window: the page's list sees the turn unless the story owns it.
void TestMainWindow::wheelScrollsAListOffTheGamePage()
{
    QFETCH(bool, onGamePage);
    dir->write("list.qml", "import QtQuick 2.9\n"
                           "Flickable { width: 200; height: 200; contentHeight: 2000;\n"
                           "  Column { Repeater { model: 40; Rectangle { width: 200; height: 50 } } } }\n");
    if (onGamePage)
        controller->navigategame("index");
    else
        controller->navigateload("index");
    QQuickView view;
    view.setSource(QUrl::fromLocalFile(QDir::current().filePath("list.qml")));
    QCOMPARE(view.status(), QQuickView::Ready);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QSignalSpy wheel(controller.get(), &MainWindow::wheelChanged);
    for (int i = 0; i < 3; ++i) {
        QWheelEvent turn(QPointF(100, 100), view.mapToGlobal(QPoint(100, 100)), QPoint(), QPoint(0, -120),
                         Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(&view, &turn);
    }
    QQuickItem *list = view.rootObject();
    if (onGamePage) {
        QCOMPARE(wheel.count(), 3);
        QTest::qWait(200);
        QCOMPARE(list->property("contentY").toReal(), 0.0);
    } else {
        QCOMPARE(wheel.count(), 0);
        QTRY_VERIFY(list->property("contentY").toReal() > 0);
    }
}

void TestMainWindow::saveCount()
{
    QSignalSpy count(controller.get(), &MainWindow::saveCountChanged);
    QSignalSpy refresh(controller.get(), &MainWindow::refreshImagesRequested);
    dir->write("saves/save.txt", "12\n40\n700\n");
    controller->requestSaveCount(); // nobody counts yet: the count stays
    QCOMPARE(controller->getSaveCount(), 0);
    controller->setSaveCounter(saves::countSaveSlots);
    controller->requestSaveCount();
    QCOMPARE(controller->getSaveCount(), 3);
    QCOMPARE(count.count(), 1);
    QCOMPARE(refresh.count(), 1);
    controller->requestSaveCount(); // unchanged: silent
    QCOMPARE(count.count(), 1);
    QCOMPARE(refresh.count(), 1);
    QVERIFY(controller->fileExists("saves/save.txt"));
    QVERIFY(!controller->fileExists("saves/none.txt"));
}

void TestMainWindow::elementArrayJoinsTexts()
{
    QSignalSpy spy(controller.get(), &MainWindow::elementArrayChanged);
    controller->updateElementArray({720, 330, 870, 330});
    controller->updateElementArray({});
    QCOMPARE(spy.at(0).at(0).toString(), QStringLiteral("720, 330, 870, 330"));
    QCOMPARE(spy.at(1).at(0).toString(), QString());
}

void TestMainWindow::dropAndPositionRules()
{
    QSignalSpy drop(controller.get(), &MainWindow::Drop);
    controller->dropsaves(2);
    controller->dropsaves(2);
    QCOMPARE(drop.count(), 2);
    QCOMPARE(controller->getDrop(), 2);

    QSignalSpy load(controller.get(), &MainWindow::Load);
    controller->loadSave(3);
    QCOMPARE(load.at(0).at(0).toInt(), 3);

    QSignalSpy pos(controller.get(), &MainWindow::weizhiChanged);
    controller->weizhi1(10, 20);
    controller->weizhi1(10, 20);
    controller->weizhi1(10, 21);
    QCOMPARE(pos.count(), 2);

    QSignalSpy inextra(controller.get(), &MainWindow::inextraChanged);
    QSignalSpy inbextra(controller.get(), &MainWindow::inbextraChanged);
    QCOMPARE(controller->getInbextra(), 1);
    controller->inextra1(1);
    controller->inextra1(1);
    controller->inbextra1(0);
    controller->inbextra1(0);
    QCOMPARE(inextra.count(), 2);
    QCOMPARE(inbextra.count(), 2);
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
