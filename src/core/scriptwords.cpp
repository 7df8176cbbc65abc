#include "core/scriptwords.h"

#include "core/settingvalues.h"
#include "core/textform.h"

namespace core {

ScriptWords::ScriptWords(QObject *parent) : QObject(parent) {}

void ScriptWords::followScript(SettingValues *values)
{
    disconnect(watch);
    settings = values;
    if (values)
        watch = connect(values, &SettingValues::textFormChanged, this, &ScriptWords::scriptChanged);
    emit scriptChanged();
}

QString ScriptWords::shown(const QString &simplified) const
{
    return core::shown(simplified, TextForm(SettingValues::of(settings).textForm));
}

QVariant ScriptWords::shown(const QVariant &simplified) const
{
    return core::shown(simplified, TextForm(SettingValues::of(settings).textForm));
}

} // namespace core
