#pragma once

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// Runs a test body inside a scratch working directory, as the game runs in its own.
class ScratchDir
{
public:
    ScratchDir() : previous(QDir::currentPath())
    {
        QDir::setCurrent(dir.path());
    }
    ~ScratchDir() { QDir::setCurrent(previous); }

    QString path() const { return dir.path(); }

    void write(const QString &name, const QByteArray &content) const
    {
        QDir(dir.path()).mkpath(QFileInfo(name).path());
        QFile file(dir.filePath(name));
        QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(name));
        file.write(content);
    }

    QByteArray read(const QString &name) const
    {
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::ReadOnly))
            return QByteArray("<missing>");
        return file.readAll();
    }

    // A text file as its lines read, whatever their ends: Windows writes CR LF.
    QByteArray readText(const QString &name) const
    {
        QByteArray bytes = read(name);
        return bytes.replace("\r\n", "\n");
    }

private:
    QTemporaryDir dir;
    QString previous;
};
