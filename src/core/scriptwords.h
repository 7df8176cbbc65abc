#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

namespace core {

class SettingValues;

// An object the pages bind to whose words are kept in Simplified characters
// and read in the script the settings choose (none: Simplified).
class ScriptWords : public QObject
{
    Q_OBJECT

public:
    explicit ScriptWords(QObject *parent = nullptr);

    void followScript(SettingValues *settings);

signals:
    // Every word reads anew.
    void scriptChanged();

protected:
    QString shown(const QString &simplified) const;
    QVariant shown(const QVariant &simplified) const; // every string within converted

private:
    QPointer<SettingValues> settings;
    QMetaObject::Connection watch;
};

} // namespace core
