#include "app/gamefolder.h"

#include "core/log.h"
#include "core/paths.h"
#include "settings/settinglines.h"

#include <QDir>
#include <QFileInfo>
#include <QtDebug>

#ifdef _WIN32
#include <windows.h>
#endif

namespace app {

QString enterGameFolder(const QString &exeDir, const QString &appDataDir)
{
    QString folder = exeDir;
    if (QFileInfo(QDir(exeDir).filePath(QString::fromLatin1(kInstalledMarker))).isFile() && !appDataDir.isEmpty()) {
        folder = QDir(appDataDir).filePath(QStringLiteral("Solvane"));
        if (QDir().mkpath(QDir(folder).filePath(QStringLiteral("saves")))) {
            core::setShippedDataDir(exeDir);
            settings::seedSettingsFile(folder, exeDir);
        } else {
            // Nowhere to keep saves: the game still plays, and says why a save fails.
            qCWarning(lcApp).noquote() << QStringLiteral("无法创建存档文件夹 %1").arg(QDir::toNativeSeparators(folder));
            folder = exeDir;
        }
    }
    QDir::setCurrent(folder);
    return folder;
}

void enterOwnGameFolder()
{
#ifdef _WIN32
    // Before the application object exists, so from Windows itself.
    std::wstring path(32768, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
    if (length == 0 || length >= path.size())
        return;
    const QString exe = QString::fromWCharArray(path.data(), int(length));
    enterGameFolder(QFileInfo(exe).absolutePath(), qEnvironmentVariable("APPDATA"));
#endif
}

} // namespace app
