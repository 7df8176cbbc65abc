#pragma once

#include "core/scriptwords.h"

#include <QString>
#include <QStringList>
#include <QVariantList>

namespace story {

// How the story stands, for the pages beyond its line and pictures; QML knows
// it as Story.
class StoryView : public core::ScriptWords
{
    Q_OBJECT
    // Auto and skip running (the game page's marks), which follow the timers,
    // not the controller's toggles.
    Q_PROPERTY(bool autoRunning READ autoRunning NOTIFY autoRunningChanged)
    Q_PROPERTY(bool skipRunning READ skipRunning NOTIFY skipRunningChanged)
    // An earlier line paged back to is shown.
    Q_PROPERTY(bool readingBack READ readingBack NOTIFY readingBackChanged)
    // The line is shown whole: its end mark may show.
    Q_PROPERTY(bool lineComplete READ lineComplete NOTIFY lineCompleteChanged)
    // Why the story cannot start, or "".
    Q_PROPERTY(QString scriptProblem READ scriptProblem NOTIFY scriptProblemChanged)
    // The card's title after an ending; "" for no card.
    Q_PROPERTY(QString endingCard READ endingCard NOTIFY endingCardChanged)
    // Each ending of the tally in story order: its title once reached, else "？？？".
    Q_PROPERTY(QStringList endingsSeen READ endingsSeen NOTIFY endingsSeenChanged)
    Q_PROPERTY(int endingsSeenCount READ endingsSeenCount NOTIFY endingsSeenChanged)
    // The backlog as last opened: {name, text, back} per line shown, oldest first.
    Q_PROPERTY(QVariantList backlogRows READ backlogRows NOTIFY backlogRowsChanged)

public:
    explicit StoryView(QObject *parent = nullptr);

    bool autoRunning() const { return autoOn; }
    bool skipRunning() const { return skipOn; }
    bool readingBack() const { return back; }
    bool lineComplete() const { return complete; }
    QString scriptProblem() const { return shown(problem); }
    QString endingCard() const { return shown(card); }
    QStringList endingsSeen() const;
    int endingsSeenCount() const { return seenCount; }
    QVariantList backlogRows() const { return shown(QVariant(rows)).toList(); }

    void setRunning(bool autoRunning, bool skipRunning);
    void setReadingBack(bool on);
    void setLineComplete(bool on);
    void setEndingCard(const QString &title);
    void setEndingsSeen(const QStringList &titles, int count);
    void setBacklogRows(const QVariantList &simplified);
    // Nothing running, no card; words in the script of settings.
    void reset(core::SettingValues *settings, const QString &scriptProblem);

signals:
    void autoRunningChanged(bool on);
    void skipRunningChanged(bool on);
    void readingBackChanged(bool on);
    void lineCompleteChanged(bool on);
    void scriptProblemChanged();
    void endingCardChanged();
    void endingsSeenChanged();
    void backlogRowsChanged();

private:
    bool autoOn = false;
    bool skipOn = false;
    bool back = false;
    bool complete = false;
    QString problem;
    QString card;
    QStringList endingTitles;
    int seenCount = 0;
    QVariantList rows;
};

// The process's one, kept for the whole run.
StoryView &storyView();

} // namespace story
