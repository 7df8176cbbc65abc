#pragma once

#include "testsupport.h"

#include <QProcess>

#ifdef Q_OS_LINUX
#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

// Windows has no pipes, devices or links in a player's folder, and its file
// modes do not stop the owner reading: those kinds are for systems that have them.
inline bool fileKindHere(const QString &kind)
{
#ifdef Q_OS_WIN
    return !QStringList{"pipe", "device", "link", "dangling", "unreadable"}.contains(kind);
#else
    Q_UNUSED(kind)
    return true;
#endif
}
#define SKIP_IF_NO_SUCH_FILE_HERE(kind)                                                                            \
    if (!fileKindHere(kind))                                                                                       \
    QSKIP("no such file on this system")

// What a player's folder can hold where the game expects one of its files.
// kind: missing, regular, dangling (link to nothing), directory, pipe, device
// (link to /dev/zero), unreadable (mode 0200), link (to target.txt, holding the
// content), bom (content after a UTF-8 byte-order mark), utf16 (as Notepad's
// "Unicode": UTF-16 with its byte-order mark), crlf (Windows line ends), huge
// (the content over and over, past 2 MB).
inline bool makeFileKind(const ScratchDir &dir, const QString &kind, const QString &name, const QByteArray &content)
{
    const QString path = dir.path() + "/" + name;
    QDir().mkpath(QFileInfo(path).path());
    if (kind == "missing")
        return true;
    if (kind == "dangling")
        return QFile::link(dir.path() + "/nowhere", path);
    if (kind == "directory")
        return QDir().mkdir(path);
    if (kind == "device")
        return QFile::link("/dev/zero", path);
    if (kind == "link") {
        dir.write("target.txt", content);
        return QFile::link(dir.path() + "/target.txt", path);
    }
#ifdef Q_OS_UNIX
    if (kind == "pipe")
        return ::mkfifo(QFile::encodeName(path).constData(), 0644) == 0;
#endif
    QByteArray bytes = content;
    if (kind == "bom")
        bytes.prepend("\xEF\xBB\xBF");
    if (kind == "crlf")
        bytes.replace("\n", "\r\n");
    if (kind == "utf16") {
        const QString text = QString::fromUtf8(content);
        bytes = QByteArray("\xFF\xFE") + QByteArray(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
    }
    if (kind == "huge")
        bytes = content.repeated(2 * 1024 * 1024 / qMax(1, content.size()) + 1);
    dir.write(name, bytes);
    if (kind == "unreadable")
        return QFile::setPermissions(path, QFileDevice::WriteOwner);
    return kind == "regular" || kind == "bom" || kind == "crlf" || kind == "utf16" || kind == "huge"
        || kind == "unreadable";
}

// Root reads any file whatever its mode: while this lives, the process obeys
// file modes like an ordinary user (it gives up the capabilities that override them).
class DacOff
{
public:
    explicit DacOff(bool on)
    {
#ifdef Q_OS_LINUX
        if (!on || ::geteuid() != 0)
            return;
        header.version = _LINUX_CAPABILITY_VERSION_3;
        if (::syscall(SYS_capget, &header, saved) != 0)
            return;
        __user_cap_data_struct data[2] = {saved[0], saved[1]};
        data[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
        dropped = ::syscall(SYS_capset, &header, data) == 0;
#else
        Q_UNUSED(on)
#endif
    }
    ~DacOff()
    {
#ifdef Q_OS_LINUX
        if (dropped)
            ::syscall(SYS_capset, &header, saved);
#endif
    }

private:
#ifdef Q_OS_LINUX
    __user_cap_header_struct header{};
    __user_cap_data_struct saved[2]{};
    bool dropped = false;
#endif
};

// A tiny file system of its own (root only), to fill up.
class SmallDisk
{
public:
    explicit SmallDisk(int bytes)
    {
        if (QProcess::execute("mount", {"-t", "tmpfs", "-o", QString("size=%1").arg(bytes), "tmpfs", dir.path()}) == 0)
            isMounted = true;
    }
    ~SmallDisk()
    {
        if (isMounted)
            QProcess::execute("umount", {dir.path()});
    }
    bool mounted() const { return isMounted; }
    QString path() const { return dir.path(); }
    // Writes a filler file until the disk is full.
    void fill() const
    {
        QFile filler(dir.path() + "/filler");
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return;
        const QByteArray block(4096, 'f');
        while (filler.write(block) > 0) {
        }
    }

private:
    QTemporaryDir dir;
    bool isMounted = false;
};
