#include "story/readlines.h"

#include "core/log.h"
#include "core/fileio.h"

#include "core/game.h"
#include "core/mainwindow.h"
#include "core/paths.h"
#include "core/state.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QTimer>
#include <QtDebug>

namespace story {

namespace {

// Far beyond any script; a line number past it is a fault, not text.
constexpr int kMostLines = 1 << 16;
constexpr int kWriteDelayMs = 1000;

QBitArray &bits()
{
    return core::process().readLines.lines;
}

bool &dirty()
{
    return core::process().readLines.dirty;
}

QByteArray packed(const QBitArray &b)
{
    QByteArray bytes((b.size() + 7) / 8, '\0');
    for (int i = 0; i < b.size(); ++i) {
        if (b.testBit(i))
            bytes[i / 8] = char(uchar(bytes[i / 8]) | (1u << (i % 8)));
    }
    return bytes;
}

} // namespace

QByteArray readLinesFileContent(const QBitArray &b)
{
    const QByteArray body = packed(b);
    const quint16 crc = qChecksum(body.constData(), uint(body.size()));
    return "solvane-read 1 " + QByteArray::number(b.size()) + ' ' + QByteArray::number(crc) + '\n' + body;
}

bool parseReadLinesFile(const QByteArray &content, QBitArray *out)
{
    *out = QBitArray();
    const int end = content.indexOf('\n');
    if (end < 0)
        return false;
    const QList<QByteArray> header = content.left(end).split(' ');
    if (header.size() != 4 || header[0] != "solvane-read" || header[1] != "1")
        return false;
    bool sizeOk = false, crcOk = false;
    const int size = header[2].toInt(&sizeOk);
    const uint crc = header[3].toUInt(&crcOk);
    if (!sizeOk || !crcOk || size < 0 || size > kMostLines)
        return false;
    const QByteArray body = content.mid(end + 1);
    if (body.size() != (size + 7) / 8 || qChecksum(body.constData(), uint(body.size())) != crc)
        return false;
    QBitArray b(size);
    for (int i = 0; i < size; ++i)
        b.setBit(i, uchar(body[i / 8]) & (1u << (i % 8)));
    *out = b;
    return true;
}

void loadReadLines(const QString &path)
{
    bits() = QBitArray();
    dirty() = false;
    const core::FileRead file = core::readFile(core::resolvePath(path));
    if (file.state == core::FileState::Read && !parseReadLinesFile(file.bytes, &bits())) {
        qCWarning(lcStory).noquote() << QStringLiteral("已读记录 %1 已损坏或无法读取，从空记录开始").arg(path);
        bits() = QBitArray();
    }
}

bool saveReadLines(const QString &path)
{
    if (!dirty())
        return true;
    const QString resolved = core::resolvePath(path);
    // Another copy of the game may have written lines since: the record only grows.
    // Nor is one that could not be read, or only in part, written over.
    const core::FileRead now = core::readFile(resolved);
    if (!now.writable())
        return false;
    QBitArray onDisk;
    if (now.ok() && parseReadLinesFile(now.bytes, &onDisk)) {
        if (onDisk.size() > bits().size())
            bits().resize(onDisk.size());
        onDisk.resize(bits().size());
        bits() |= onDisk;
    }
    QDir().mkpath(QFileInfo(resolved).path());
    QString reason;
    QString &lastFailure = core::process().readLines.lastWriteFailure;
    if (core::writeFile(resolved, readLinesFileContent(bits()), &reason)) {
        dirty() = false;
        lastFailure.clear();
        return true;
    }
    // Written again after every few lines: a full disk is told once, not every time.
    if (reason != lastFailure)
        qCWarning(lcStory).noquote() << QStringLiteral("无法写入已读记录 %1：%2").arg(path, reason);
    lastFailure = reason;
    return false;
}

bool isLineRead(int line)
{
    return line >= 0 && line < bits().size() && bits().testBit(line);
}

void markLineRead(Game &game, int line)
{
    if (line < 1 || line >= kMostLines || isLineRead(line))
        return;
    if (line >= bits().size())
        bits().resize(line + 1);
    bits().setBit(line);
    dirty() = true;
    // One write for a run of lines, not one per line while skipping.
    QPointer<QTimer> &timer = core::process().readLines.writeTimer;
    if (!timer || timer->parent() != game.lifetime()) {
        delete timer.data();
        timer = new QTimer(game.lifetime());
        timer->setSingleShot(true);
        timer->setInterval(kWriteDelayMs);
        QObject::connect(timer, &QTimer::timeout, timer, [] { saveReadLines(); });
    }
    if (!timer->isActive())
        timer->start();
}

void connectReadLines(Game &game)
{
    MainWindow *c = game.controller;
    QObject::connect(c, &MainWindow::Start, c, [] { saveReadLines(); });
    QObject::connect(c, &MainWindow::exitChanged, c, [] { saveReadLines(); });
    if (QCoreApplication *app = QCoreApplication::instance())
        QObject::connect(app, &QCoreApplication::aboutToQuit, game.lifetime(), [] { saveReadLines(); });
}

} // namespace story
