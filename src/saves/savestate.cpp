#include "saves/savestate.h"

#include "saves/slotcaptions.h"

namespace saves {

SaveState::SaveState(QObject *parent) : ScriptWords(parent)
{
    connect(this, &ScriptWords::scriptChanged, this, &SaveState::noticeChanged);
    connect(this, &ScriptWords::scriptChanged, this, &SaveState::listProblemChanged);
}

QString SaveState::notice() const
{
    return shown(lastNotice);
}

QString SaveState::listProblem() const
{
    return shown(problem);
}

QString SaveState::caption(int slot) const
{
    return shown(slotCaption(slot));
}

QString SaveState::quickCaption() const
{
    return shown(saves::quickCaption());
}

void SaveState::reset(core::SettingValues *values)
{
    lastNotice.clear();
    problem.clear();
    followScript(values);
}

void SaveState::tell(const QString &text)
{
    if (text.isEmpty())
        return;
    if (text != lastNotice) {
        lastNotice = text;
        emit noticeChanged();
    }
    emit noticed(shown(text));
}

void SaveState::setQuickSaveLine(int line)
{
    if (line == quickLine)
        return;
    quickLine = line;
    emit quickSaveLineChanged(line);
}

void SaveState::setListProblem(const QString &text)
{
    if (text == problem)
        return;
    problem = text;
    emit listProblemChanged();
}

SaveState &saveState()
{
    // Never destroyed: every engine of the run may hold it.
    static SaveState *const instance = new SaveState;
    return *instance;
}

} // namespace saves
