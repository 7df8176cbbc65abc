#pragma once

#include "core/scriptwords.h"

#include <QString>

namespace saves {

// What the pages are told about the saves; QML knows it as Saves.
class SaveState : public core::ScriptWords
{
    Q_OBJECT
    // The last word after a save, load or delete: "已保存", or why it did not work.
    Q_PROPERTY(QString notice READ notice NOTIFY noticeChanged)
    // The quick slot's line; 0 when there is none.
    Q_PROPERTY(int quickSaveLine READ quickSaveLine NOTIFY quickSaveLineChanged)
    // Why the load page lists nothing, or "".
    Q_PROPERTY(QString listProblem READ listProblem NOTIFY listProblemChanged)

public:
    explicit SaveState(QObject *parent = nullptr);

    QString notice() const;
    int quickSaveLine() const { return quickLine; }
    QString listProblem() const;

    // A save's date and time and the first words of its line, read afresh.
    Q_INVOKABLE QString caption(int slot) const;
    Q_INVOKABLE QString quickCaption() const;

    // Back to nothing told, reading words in the script of settings (none: Simplified).
    void reset(core::SettingValues *settings);
    // Every notice is told, the same word twice too; an empty one is none.
    void tell(const QString &text);
    void setQuickSaveLine(int line);
    void setListProblem(const QString &text);
    // F9 found the story moved on since the quick save: the page asks first.
    void askQuickLoad() { emit quickLoadAsked(); }

signals:
    void noticed(const QString &text);
    void noticeChanged();
    void quickSaveLineChanged(int line);
    void listProblemChanged();
    void quickLoadAsked();

private:
    QString lastNotice;
    QString problem;
    int quickLine = 0;
};

// The process's one, kept for the whole run.
SaveState &saveState();

} // namespace saves
