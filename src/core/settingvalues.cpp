#include "core/settingvalues.h"

namespace core {

SettingValues::SettingValues(QObject *parent) : QObject(parent) {}

void SettingValues::holdTextSpeed(float value)
{
    assign(v.textSpeed, value, &SettingValues::textSpeedChanged);
}

void SettingValues::holdAutoSpeed(float value)
{
    assign(v.autoSpeed, value, &SettingValues::autoSpeedChanged);
}

void SettingValues::holdVolume(float value)
{
    assign(v.volume, value, &SettingValues::volumeChanged);
}

} // namespace core
