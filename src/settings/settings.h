#pragma once

#include "core/settingvalues.h"
#include "core/textform.h"
#include "settings/settingsfile.h"

namespace settings {

// What asking for a value came to.
enum class Change {
    None,       // the value held already, or is none its line takes
    Saved,      // held, and in the file
    NotSaved,   // held for this run: the file could not be written (warned)
    Incomplete, // held for this run: the file lacks the four lines start-up leaves (warned)
};

// The one owner of the settings: it holds every line's value (see
// core::SettingValues) and is the only code that reads and writes
// setting.txt. A value changes in the file before the pages hear of it.
class Settings : public core::SettingValues
{
    Q_OBJECT
    // What went wrong with the last change the settings page asked for, in
    // the chosen script; "" when nothing did.
    Q_PROPERTY(QString notice READ notice NOTIFY noticeChanged)

public:
    explicit Settings(QObject *parent = nullptr);

    QString notice() const;
    void tell(const QString &text);

    // Start-up, before the application exists: the file repaired, line 1
    // rewritten as the window mode it names (displayModeFromText) when the
    // file takes it, then every value read. Returns what the repair left.
    StartSettings load();

    // Line 1 as the pages mark the mode, read from the file as it stands: an
    // integer from 0 to 10 (blanks before it and text after it ignored), else
    // 3, with a line in the log saying why.
    void readDisplayMode();

    // Line 1: a mode from 0 to 2, kept only once the file has it, since the
    // new process reads it from there.
    Change setDisplayMode(int mode);
    // Lines 2 to 4: not a number is dropped with a warning, the rest clamped
    // to 0 to 1.
    Change setTextSpeed(float value);
    Change setAutoSpeed(float value);
    Change setVolume(float value);
    // Lines 5 to 11, each taking only its own values (settingsfile.h); missing
    // option lines before the one written are written as "0".
    Change setWholeLineFirst(bool on);
    Change setSkipReadOnly(bool on);
    Change setInterludeMode(int mode);
    Change setTextSize(int size);
    Change setBoxOpacity(float value); // not a number dropped, the rest clamped to 0.2 to 1
    Change setReadAloud(bool on);
    Change setTextForm(int form);

    // The pages' own words in the chosen script: the Traditional translator
    // installed while 繁體 is chosen. Start-up reads the file before there is
    // an application to install it in, and so calls this again after.
    void translatePages();

signals:
    void noticeChanged();

private:
    Change storeSpeed(float &field, float value, int line, const char *name, void (SettingValues::*changed)(float));
    template <typename T>
    Change storeOption(T &field, T value, int line, const std::string &text, void (SettingValues::*changed)(T));

    core::TraditionalTranslator translator;
    QString lastNotice; // Simplified
};

} // namespace settings
