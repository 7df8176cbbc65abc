#include "story/storyview.h"

namespace story {

namespace {

template <typename Signal>
void assign(StoryView *view, bool &field, bool value, Signal changed)
{
    if (field == value)
        return;
    field = value;
    emit(view->*changed)(value);
}

} // namespace

StoryView::StoryView(QObject *parent) : ScriptWords(parent)
{
    connect(this, &ScriptWords::scriptChanged, this, &StoryView::scriptProblemChanged);
    connect(this, &ScriptWords::scriptChanged, this, &StoryView::endingCardChanged);
    connect(this, &ScriptWords::scriptChanged, this, &StoryView::endingsSeenChanged);
    connect(this, &ScriptWords::scriptChanged, this, &StoryView::backlogRowsChanged);
}

QStringList StoryView::endingsSeen() const
{
    QStringList titles;
    titles.reserve(endingTitles.size());
    for (const QString &title : endingTitles)
        titles << shown(title);
    return titles;
}

void StoryView::setEndingsSeen(const QStringList &titles, int count)
{
    if (titles == endingTitles && count == seenCount)
        return;
    endingTitles = titles;
    seenCount = count;
    emit endingsSeenChanged();
}

void StoryView::setBacklogRows(const QVariantList &simplified)
{
    if (simplified == rows)
        return;
    rows = simplified;
    emit backlogRowsChanged();
}

void StoryView::setRunning(bool autoRunning, bool skipRunning)
{
    assign(this, autoOn, autoRunning, &StoryView::autoRunningChanged);
    assign(this, skipOn, skipRunning, &StoryView::skipRunningChanged);
}

void StoryView::setReadingBack(bool on)
{
    assign(this, back, on, &StoryView::readingBackChanged);
}

void StoryView::setLineComplete(bool on)
{
    assign(this, complete, on, &StoryView::lineCompleteChanged);
}

void StoryView::setEndingCard(const QString &title)
{
    if (title == card)
        return;
    card = title;
    emit endingCardChanged();
}

void StoryView::reset(core::SettingValues *settings, const QString &scriptProblem)
{
    setRunning(false, false);
    setReadingBack(false);
    setLineComplete(false);
    card.clear();
    rows.clear();
    problem = scriptProblem;
    followScript(settings);
}

StoryView &storyView()
{
    // Never destroyed: every engine of the run may hold it.
    static StoryView *const instance = new StoryView;
    return *instance;
}

} // namespace story
