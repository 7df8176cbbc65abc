#include "core/fileio.h"

#include "core/log.h"
#include "core/state.h"

#include <QFileInfo>
#include <QSaveFile>
#include <QStorageInfo>
#include <QTextCodec>
#include <QtDebug>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace core {

namespace {

const QByteArray kByteOrderMark("\xEF\xBB\xBF");

// The reason a write that got as far as the disk failed, as a player reads it.
QString failureReason(const QString &path, qint64 needed)
{
    const QFileInfo info(path);
    const QStorageInfo storage(info.absolutePath());
    if (storage.isValid() && storage.bytesAvailable() < needed + 64 * 1024)
        return QStringLiteral("磁盘空间不足");
    if (!QFileInfo(info.absolutePath()).isWritable())
        return QStringLiteral("没有写入权限");
    return QStringLiteral("写入出错");
}

bool refuse(const QString &why, QString *reason)
{
    if (reason)
        *reason = why;
    return false;
}

} // namespace

void warnOnce(const QString &path, const QString &message)
{
    QString &last = process().fileWarnings[path];
    if (last == message)
        return;
    last = message;
    qCWarning(lcCore).noquote() << message;
}

FileRead readFile(const QString &path, qint64 cap, bool quiet)
{
    const auto warn = [quiet](const QString &file, const QString &message) {
        if (!quiet)
            warnOnce(file, message);
    };
    FileRead result;
    const QFileInfo info(path);
    if (!info.exists())
        return result;
    if (!info.isFile()) {
        result.state = FileState::NotRegular;
        warn(path, QStringLiteral("%1 不是普通文件，不读取").arg(path));
        return result;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.state = FileState::Unreadable;
        warn(path, QStringLiteral("文件 %1 无法读取：%2").arg(path, file.errorString()));
        return result;
    }
    const qint64 size = file.size();
    result.bytes = file.read(size > 0 ? qMin(size, cap) : cap);
    if (file.error() != QFileDevice::NoError) {
        result.state = FileState::Unreadable;
        result.bytes.clear();
        warn(path, QStringLiteral("文件 %1 无法读取：%2").arg(path, file.errorString()));
        return result;
    }
    result.state = FileState::Read;
    result.truncated = size > cap || (result.bytes.size() == cap && !file.atEnd());
    if (result.truncated)
        warn(path, QStringLiteral("文件 %1 过大，只读取前 %2 字节，不会改写它").arg(path).arg(cap));
    else
        process().fileWarnings.remove(path);
    if (result.bytes.startsWith(kByteOrderMark))
        result.bytes.remove(0, kByteOrderMark.size());
    // Notepad's "Unicode": read as the UTF-8 it stands for, not as bytes.
    else if (result.bytes.startsWith("\xFF\xFE") || result.bytes.startsWith("\xFE\xFF"))
        result.bytes = QTextCodec::codecForName("UTF-16")->toUnicode(result.bytes).toUtf8();
    return result;
}

bool writeFileWith(const QString &path, const std::function<bool(QIODevice &)> &fill, QString *reason)
{
    const QFileInfo info(path);
    if (info.isSymLink())
        return refuse(QStringLiteral("文件是链接"), reason);
    if (info.exists() && !info.isFile())
        return refuse(QStringLiteral("不是普通文件"), reason);
    // Tried, not asked: permission bits do not tell what root or an ACL may read.
    if (info.exists() && !QFile(path).open(QIODevice::ReadOnly))
        return refuse(QStringLiteral("文件无法读取"), reason);

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return refuse(failureReason(path, 0), reason);
    // Qt's save file renames even when the buffer it flushes at commit could not
    // be written (a full disk): every byte must be on the disk before commit.
    bool written = fill(file) && file.flush() && file.error() == QFileDevice::NoError;
#ifdef Q_OS_UNIX
    written = written && ::fsync(file.handle()) == 0;
#endif
    const qint64 size = file.size();
    if (!written) {
        file.cancelWriting();
        file.commit();
        return refuse(failureReason(path, size), reason);
    }
    if (!file.commit())
        return refuse(failureReason(path, size), reason);
    return true;
}

bool writeFile(const QString &path, const QByteArray &bytes, QString *reason)
{
    return writeFileWith(path, [&bytes](QIODevice &device) { return device.write(bytes) == bytes.size(); }, reason);
}

} // namespace core
