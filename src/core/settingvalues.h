#pragma once

#include <QObject>

namespace core {

// The values of setting.txt as the game runs with them: what every module
// reads and the pages bind to. settings::Settings holds them and changes them,
// keeping the file in step; so only it can be made.
class SettingValues : public QObject
{
    Q_OBJECT
    // Line 1: 0 windowed, 1 full screen, 2 maximised; 3 when the file names none.
    Q_PROPERTY(int displayMode READ displayMode NOTIFY displayModeChanged)
    // Lines 2 to 4, each 0 to 1.
    Q_PROPERTY(float textSpeed READ textSpeed NOTIFY textSpeedChanged)
    Q_PROPERTY(float autoSpeed READ autoSpeed NOTIFY autoSpeedChanged)
    Q_PROPERTY(float volume READ volume NOTIFY volumeChanged)
    // Lines 5 to 11.
    Q_PROPERTY(bool wholeLineFirst READ wholeLineFirst NOTIFY wholeLineFirstChanged)
    Q_PROPERTY(bool skipReadOnly READ skipReadOnly NOTIFY skipReadOnlyChanged)
    Q_PROPERTY(int interludeMode READ interludeMode NOTIFY interludeModeChanged) // 0 标准, 1 轻松, 2 跳过
    Q_PROPERTY(int textSize READ textSize NOTIFY textSizeChanged)             // 0 标准, 1 大, 2 特大
    Q_PROPERTY(float boxOpacity READ boxOpacity NOTIFY boxOpacityChanged)     // 0.2 to 1
    Q_PROPERTY(bool readAloud READ readAloud NOTIFY readAloudChanged)         // 朗读
    Q_PROPERTY(int textForm READ textForm NOTIFY textFormChanged)             // 0 简体, 1 繁體

public:
    // Before the file is read, and where a line is missing.
    struct Values {
        int displayMode = 3;
        float textSpeed = 0.5f;
        float autoSpeed = 0.5f;
        float volume = 0.5f;
        bool wholeLineFirst = false;
        bool skipReadOnly = false;
        int interludeMode = 0;
        int textSize = 0;
        float boxOpacity = 0.75f;
        bool readAloud = false;
        int textForm = 0;
    };

    const Values &values() const { return v; }
    // Those of settings, or the defaults where there are none.
    static Values of(const SettingValues *settings) { return settings ? settings->v : Values(); }
    int displayMode() const { return v.displayMode; }
    float textSpeed() const { return v.textSpeed; }
    float autoSpeed() const { return v.autoSpeed; }
    float volume() const { return v.volume; }
    bool wholeLineFirst() const { return v.wholeLineFirst; }
    bool skipReadOnly() const { return v.skipReadOnly; }
    int interludeMode() const { return v.interludeMode; }
    int textSize() const { return v.textSize; }
    float boxOpacity() const { return v.boxOpacity; }
    bool readAloud() const { return v.readAloud; }
    int textForm() const { return v.textForm; }

    // For this run only, taken as given and the file untouched: the speed a
    // tool or a test plays at.
    void holdTextSpeed(float value);
    void holdAutoSpeed(float value);
    void holdVolume(float value);

signals:
    void displayModeChanged(int mode);
    void textSpeedChanged(float value);
    void autoSpeedChanged(float value);
    void volumeChanged(float value);
    void wholeLineFirstChanged(bool on);
    void skipReadOnlyChanged(bool on);
    void interludeModeChanged(int mode);
    void textSizeChanged(int size);
    void boxOpacityChanged(float value);
    void readAloudChanged(bool on);
    void textFormChanged(int form);

protected:
    explicit SettingValues(QObject *parent = nullptr);

    // The field takes the value; its signal says so when that is news.
    template <typename T, typename Signal>
    void assign(T &field, T value, Signal changed)
    {
        if (field == value)
            return;
        field = value;
        emit(this->*changed)(value);
    }

    Values v;
};

} // namespace core
