#pragma once

#include <QObject>
#include <QString>
#include <QVariantList>

#include <functional>

namespace core {
class SettingValues;
}

// The one door from the pages to the game. Each invokable stores its argument
// and emits; the handler connected at start-up does the work inside the
// emission, so pulse fields are back at rest when the call returns.
// The signals' order is part of the pages' contract: do not reorder.
class MainWindow : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString currentPage READ getCurrentPage NOTIFY currentPageChanged)
    Q_PROPERTY(int suofang READ getSuofang NOTIFY suofangChanged)
    Q_PROPERTY(int exit READ getExit NOTIFY exitChanged)
    Q_PROPERTY(int next READ getNext NOTIFY nextChanged)
    Q_PROPERTY(int Auto READ getAuto NOTIFY AutoChanged)
    Q_PROPERTY(int skip READ getSkip NOTIFY skipChanged)
    Q_PROPERTY(int save READ getSave NOTIFY saveChanged)
    Q_PROPERTY(float vzi READ getVzi NOTIFY vziChanged)
    Q_PROPERTY(float vhang READ getVhang NOTIFY vhangChanged)
    Q_PROPERTY(float inliang READ getInliang NOTIFY inliangChanged)
    Q_PROPERTY(int saveCount READ getSaveCount NOTIFY saveCountChanged)
    Q_PROPERTY(int drop READ getDrop NOTIFY Drop)
    Q_PROPERTY(int wheelDelta READ getWheelDelta NOTIFY wheelChanged)
    Q_PROPERTY(int da READ getDa NOTIFY daChanged)
    Q_PROPERTY(QString shuru READ getShuru NOTIFY shuruChanged)
    Q_PROPERTY(float weizhix READ getWeizhix NOTIFY weizhiChanged)
    Q_PROPERTY(int ws READ getWs NOTIFY wsChanged)
    Q_PROPERTY(int ad READ getAd NOTIFY adChanged)
    Q_PROPERTY(QVariantList elementArray READ getElementArray NOTIFY elementArrayChanged)
    Q_PROPERTY(int fs READ getFs NOTIFY fsChanged)
    Q_PROPERTY(int inextra READ getInextra NOTIFY inextraChanged)
    Q_PROPERTY(int inbextra READ getInbextra NOTIFY inbextraChanged)

public:
    // What start-up read before any page asked for anything.
    struct StartValues {
        // The settings (settings/settings.h) the display mode and the speeds
        // are read from; null: their defaults, for a controller on its own.
        core::SettingValues *settings = nullptr;
        int saveCount = 0;
    };

    MainWindow();
    explicit MainWindow(const StartValues &start);
    ~MainWindow() override;

    QString getCurrentPage() const { return currentPage; }
    int getSuofang() const; // 3 while the file names no mode
    int getExit() const { return exit; }
    int getNext() const { return next; }
    int getAuto() const { return Auto; }
    int getSkip() const { return skip; }
    int getSave() const { return save; }
    float getVzi() const;
    float getVhang() const;
    float getInliang() const;
    int getSaveCount() const { return saveCount; }
    int getDrop() const { return drop; }
    int getWheelDelta() const { return wheelDelta; }
    int getDa() const { return da; }
    QString getShuru() const { return shuru; }
    float getWeizhix() const { return weizhix; }
    int getWs() const { return ws; }
    int getAd() const { return ad; }
    QVariantList getElementArray() const { return elementArray; }
    int getFs() const { return fs; }
    int getInextra() const { return inextra; }
    int getInbextra() const { return inbextra; }

    Q_INVOKABLE void navigateindex();
    Q_INVOKABLE void navigatesetting(QString source);
    Q_INVOKABLE void navigategame(QString source);
    Q_INVOKABLE void navigateload(QString source);
    Q_INVOKABLE void navigateextra();
    Q_INVOKABLE void setLastSource(QString source);
    Q_INVOKABLE QString getLastSource();
    Q_INVOKABLE void exit1();
    // A display mode other than the settings' own is asked for by
    // suofangChanged; the settings keep it only once the file has it.
    Q_INVOKABLE void quanping();
    Q_INVOKABLE void xiaochuang();
    Q_INVOKABLE void fangda();
    Q_INVOKABLE void next1();
    Q_INVOKABLE void Auto1();
    Q_INVOKABLE void skip1();
    // Ctrl: skipping while the key is down, whatever ran before.
    Q_INVOKABLE void skipHeld1(bool held);
    // A skip that stopped by itself is over: the next 快进 starts one.
    void skipEnded();
    Q_INVOKABLE void save1();
    // A slider's value; one equal to the live value is dropped. The settings
    // handler decides what becomes live.
    Q_INVOKABLE void vzi1(float value);
    Q_INVOKABLE void vhang1(float value);
    Q_INVOKABLE void inliang1(float value);
    // Asks the counter the saves handler installed; without one the count stays.
    Q_INVOKABLE void requestSaveCount();
    Q_INVOKABLE void loadSave(int position);
    Q_INVOKABLE bool fileExists(QString filePath);
    Q_INVOKABLE void dropsaves(int dropn);
    Q_INVOKABLE void da1(int da);
    Q_INVOKABLE void shuru1(QString shuru);
    Q_INVOKABLE void weizhi1(float sx, float sy);
    Q_INVOKABLE void ws1(int ws);
    Q_INVOKABLE void ad1(int ad);
    Q_INVOKABLE void updateElementArray(QVariantList newArray);
    Q_INVOKABLE void fs1();
    Q_INVOKABLE void inextra1(int inextra1);
    Q_INVOKABLE void inbextra1(int inbextra1);
    // The keys that browse like the wheel: +1 back, -1 forward.
    Q_INVOKABLE void wheel1(int step);
    // The settings page's options; each call emits, the handler drops no-ops.
    Q_INVOKABLE void wholeLineFirst1(bool on);
    Q_INVOKABLE void skipReadOnly1(bool on);
    // The interludes' mode: 0 标准, 1 轻松, 2 跳过; the handler drops the rest.
    Q_INVOKABLE void interludeMode1(int mode);
    // 1: the backlog opens (its rows are published, the wheel is left to its
    // list); 0: it closed.
    Q_INVOKABLE void backlog1(int open);
    // A question is open: the wheel must not move the story under it.
    Q_INVOKABLE void dialog1(int open);
    // F5: the quick slot, without a question. F9 or the load page: load it;
    // confirmed 0 asks first when the story has moved since the quick save.
    Q_INVOKABLE void quickSave1();
    Q_INVOKABLE void quickLoad1(int confirmed);
    // The text box's look on the settings page: the text size (0 标准, 1 大,
    // 2 特大) and the box's opacity (0 to 1); each call emits, the handler
    // drops what changes nothing.
    Q_INVOKABLE void textSize1(int size);
    Q_INVOKABLE void boxOpacity1(float value);
    // The script the game writes in: 0 简体, 1 繁體; the handler drops the rest.
    Q_INVOKABLE void textForm1(int form);
    // 朗读 on or off (the settings page, V on the game page); and a page's
    // words to be read aloud (its name, a button focused by keyboard), which
    // the handler drops while 朗读 is off.
    Q_INVOKABLE void readAloud1(bool on);
    Q_INVOKABLE void say1(QString text);
    // The route map, from the title or the story; after the others, whose
    // order the pages were written against.
    Q_INVOKABLE void navigateroute(QString source);

    // The saves handler's side of the save count: how requestSaveCount counts,
    // and the count itself (a change emits saveCountChanged, then
    // refreshImagesRequested).
    void setSaveCounter(std::function<int()> counter);
    void setSaveCount(int count);

    // A speed for this run only, the file untouched (tools and tests); the
    // controller's own signals stay quiet.
    void setVzi(float value);
    void setVhang(float value);
    void setInliang(float value);

signals:
    void currentPageChanged();
    void suofangChanged(int suofang);
    void exitChanged(int exit);
    void nextChanged(int next);
    void AutoChanged(int Auto);
    void skipChanged(int skip);
    void saveChanged(int save);
    void vziChanged(float vzi);
    void vhangChanged(float vhang);
    void inliangChanged(float inliang);
    void saveCountChanged(int count);
    void Load(int loadn);
    void Drop(int dropn);
    void refreshImagesRequested();
    void wheelChanged(int udwheel);
    void daChanged(int da);
    void shuruChanged(QString shuru);
    void Start(int start);
    void Extra(int extrac);
    void toindex(int toindexc);
    void weizhiChanged(float sx, float sy);
    void wsChanged(int ws);
    void adChanged(int ad);
    void elementArrayChanged(QString newArray);
    void fsChanged(int fs);
    void inextraChanged(int inextra1);
    void inbextraChanged(int inbextra1);
    void wholeLineFirstChanged(bool on);
    void skipReadOnlyChanged(bool on);
    void Backlog(int open);
    void QuickSave(int quick);
    void QuickLoad(int confirmed);
    void TextSize(int size);
    void BoxOpacity(float value);
    void interludeModeChanged(int mode);
    void textFormChanged(int form);
    void readAloudChanged(bool on);
    void Say(QString text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void navigateTo(const QString &page, const QString &source);
    void askDisplayMode(int mode);
    void askSpeed(float live, float value, void (MainWindow::*changed)(float));

    QString currentPage = QStringLiteral("index");
    QString lastSource;
    core::SettingValues *settings = nullptr;
    int exit = 0;
    int next = 0;
    int Auto = 0;        // 0 off, -1 on
    int skip = 0;        // 0 off, -1 on
    int save = 0;
    int saveCount = 0;
    std::function<int()> saveCounter;
    int drop = 0;
    int wheelDelta = 0;
    int da = 0;
    QString shuru;
    float weizhix = 0;
    float weizhiy = 0;
    int ws = 0;
    int ad = 0;
    QVariantList elementArray;
    int fs = 0;
    int inextra = 0;
    int inbextra = 1;
    bool backlogOpen = false;
    bool dialogOpen = false;

    void setSkipValue(int value);
};
