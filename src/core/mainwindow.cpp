#include "core/mainwindow.h"

#include "core/log.h"
#include "core/paths.h"
#include "core/settingvalues.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTimer>
#include <QWheelEvent>
#include <QtDebug>

#include <utility>

MainWindow::MainWindow() : MainWindow(StartValues()) {}

MainWindow::MainWindow(const StartValues &start) : settings(start.settings)
{
    setSaveCount(start.saveCount);
    if (QCoreApplication::instance())
        QCoreApplication::instance()->installEventFilter(this);
}

MainWindow::~MainWindow() = default;

int MainWindow::getSuofang() const { return core::SettingValues::of(settings).displayMode; }
float MainWindow::getVzi() const { return core::SettingValues::of(settings).textSpeed; }
float MainWindow::getVhang() const { return core::SettingValues::of(settings).autoSpeed; }
float MainWindow::getInliang() const { return core::SettingValues::of(settings).volume; }

void MainWindow::setVzi(float value)
{
    if (settings)
        settings->holdTextSpeed(value);
}

void MainWindow::setVhang(float value)
{
    if (settings)
        settings->holdAutoSpeed(value);
}

void MainWindow::setInliang(float value)
{
    if (settings)
        settings->holdVolume(value);
}

void MainWindow::navigateindex()
{
    if (currentPage != QLatin1String("index")) {
        backlogOpen = false;
        dialogOpen = false;
        currentPage = QStringLiteral("index");
        emit currentPageChanged();
        Auto = 0;
        emit AutoChanged(0);
        skip = 0;
        emit skipChanged(0);
        emit Start(1);
    }
    emit toindex(1);
}

void MainWindow::navigateTo(const QString &page, const QString &source)
{
    lastSource = source;
    if (currentPage != page) {
        backlogOpen = false;
        dialogOpen = false;
        currentPage = page;
        emit currentPageChanged();
    }
}

void MainWindow::navigatesetting(QString source) { navigateTo(QStringLiteral("setting"), source); }
void MainWindow::navigategame(QString source) { navigateTo(QStringLiteral("game"), source); }
void MainWindow::navigateload(QString source) { navigateTo(QStringLiteral("load"), source); }
void MainWindow::navigateroute(QString source) { navigateTo(QStringLiteral("route"), source); }

void MainWindow::navigateextra()
{
    if (currentPage == QLatin1String("extra"))
        return;
    currentPage = QStringLiteral("extra");
    emit currentPageChanged();
    emit Extra(1);
}

void MainWindow::setLastSource(QString source) { lastSource = source; }
QString MainWindow::getLastSource() { return lastSource; }

void MainWindow::exit1()
{
    exit = 1;
    emit exitChanged(1);
    exit = 0;
}

void MainWindow::askDisplayMode(int mode)
{
    if (getSuofang() != mode)
        emit suofangChanged(mode);
}

void MainWindow::quanping() { askDisplayMode(1); }
void MainWindow::xiaochuang() { askDisplayMode(0); }
void MainWindow::fangda() { askDisplayMode(2); }

void MainWindow::next1()
{
    next = 1;
    emit nextChanged(1);
    next = 0;
}

void MainWindow::Auto1()
{
    Auto = ~Auto;
    emit AutoChanged(Auto);
}

void MainWindow::skip1()
{
    skip = ~skip;
    emit skipChanged(skip);
}

// The key's own repeats change nothing: the timer must not start again at each.
void MainWindow::skipHeld1(bool held)
{
    setSkipValue(held ? -1 : 0);
}

void MainWindow::skipEnded()
{
    setSkipValue(0);
}

void MainWindow::setSkipValue(int value)
{
    if (skip == value)
        return;
    skip = value;
    emit skipChanged(skip);
}

void MainWindow::save1()
{
    // Deferred so the page has closed its dialog before the window is grabbed.
    QTimer::singleShot(10, this, [this] {
        save = 1;
        emit saveChanged(save);
    });
}

// A NaN never equals the live value, so it always goes through.
void MainWindow::askSpeed(float live, float value, void (MainWindow::*changed)(float))
{
    if (value != live)
        emit (this->*changed)(value);
}

void MainWindow::vzi1(float value) { askSpeed(getVzi(), value, &MainWindow::vziChanged); }
void MainWindow::vhang1(float value) { askSpeed(getVhang(), value, &MainWindow::vhangChanged); }
void MainWindow::inliang1(float value) { askSpeed(getInliang(), value, &MainWindow::inliangChanged); }

void MainWindow::requestSaveCount()
{
    if (saveCounter)
        setSaveCount(saveCounter());
}

void MainWindow::setSaveCounter(std::function<int()> counter)
{
    saveCounter = std::move(counter);
}

void MainWindow::setSaveCount(int count)
{
    if (count != saveCount) {
        saveCount = count;
        emit saveCountChanged(count);
        qCDebug(lcCore) << "存档数量更新:" << count;
        emit refreshImagesRequested();
    }
}

void MainWindow::loadSave(int position)
{
    qCDebug(lcCore) << "发射 loadSave 信号，位置" << position;
    emit Load(position);
}

bool MainWindow::fileExists(QString filePath)
{
    return QFileInfo(core::resolvePath(filePath)).isFile();
}

void MainWindow::dropsaves(int dropn)
{
    drop = dropn;
    emit Drop(dropn);
}

void MainWindow::da1(int value)
{
    if (value != da) {
        da = value;
        emit daChanged(value);
        da = 0;
    }
}

void MainWindow::shuru1(QString text)
{
    if (text != shuru) {
        shuru = text;
        emit shuruChanged(text);
        shuru.clear();
    }
}

void MainWindow::weizhi1(float sx, float sy)
{
    if (sx != weizhix || sy != weizhiy) {
        weizhix = sx;
        weizhiy = sy;
        emit weizhiChanged(sx, sy);
    }
}

void MainWindow::ws1(int value)
{
    if (value != 0) {
        ws = value;
        emit wsChanged(value);
        ws = 0;
    }
}

void MainWindow::ad1(int value)
{
    if (value != 0) {
        ad = value;
        emit adChanged(value);
        ad = 0;
    }
}

void MainWindow::updateElementArray(QVariantList newArray)
{
    elementArray = newArray;
    QStringList texts;
    texts.reserve(newArray.size());
    for (const QVariant &v : qAsConst(elementArray))
        texts.append(v.toString());
    emit elementArrayChanged(texts.join(QStringLiteral(", ")));
}

void MainWindow::fs1()
{
    fs = 1;
    emit fsChanged(1);
    fs = 0;
    QTimer::singleShot(200, this, [this] { emit fsChanged(fs); });
}

void MainWindow::inextra1(int value)
{
    inextra = value;
    emit inextraChanged(value);
}

void MainWindow::inbextra1(int value)
{
    inbextra = value;
    emit inbextraChanged(value);
}

void MainWindow::wheel1(int step)
{
    if (currentPage != QLatin1String("game"))
        return;
    wheelDelta = step > 0 ? 120 : step < 0 ? -120 : 0;
    emit wheelChanged(step > 0 ? 1 : step < 0 ? -1 : 0);
}

void MainWindow::wholeLineFirst1(bool on)
{
    emit wholeLineFirstChanged(on);
}

void MainWindow::skipReadOnly1(bool on)
{
    emit skipReadOnlyChanged(on);
}

void MainWindow::interludeMode1(int mode)
{
    emit interludeModeChanged(mode);
}

void MainWindow::dialog1(int open)
{
    dialogOpen = open != 0;
}

void MainWindow::backlog1(int open)
{
    backlogOpen = open != 0;
    emit Backlog(open);
}

void MainWindow::quickSave1()
{
    // Deferred like save1, so a key's own repaint is not what the grab shows.
    QTimer::singleShot(10, this, [this] { emit QuickSave(1); });
}

void MainWindow::quickLoad1(int confirmed)
{
    emit QuickLoad(confirmed);
}

void MainWindow::textSize1(int size)
{
    emit TextSize(size);
}

void MainWindow::boxOpacity1(float value)
{
    emit BoxOpacity(value);
}

void MainWindow::textForm1(int form)
{
    emit textFormChanged(form);
}

void MainWindow::readAloud1(bool on)
{
    emit readAloudChanged(on);
}

void MainWindow::say1(QString text)
{
    emit Say(text);
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    // Only the story reads the wheel; elsewhere it belongs to the page's own
    // items (the load page's list scrolls with it).
    if (event->type() == QEvent::Wheel && currentPage == QLatin1String("game") && !backlogOpen && !dialogOpen) {
        wheelDelta = static_cast<QWheelEvent *>(event)->angleDelta().y();
        if (wheelDelta > 0) {
            qCDebug(lcCore) << "鼠标滚轮向上滚动";
            emit wheelChanged(1);
        } else if (wheelDelta < 0) {
            qCDebug(lcCore) << "鼠标滚轮向下滚动";
            emit wheelChanged(-1);
        } else {
            emit wheelChanged(0);
        }
        return true;
    }
    return QObject::eventFilter(watched, event);
}
