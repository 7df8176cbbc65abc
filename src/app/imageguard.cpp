#include "app/imageguard.h"

#include "core/log.h"
#include "core/fileio.h"
#include "core/paths.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QQmlAbstractUrlInterceptor>
#include <QQmlEngine>
#include <QQuickImageProvider>
#include <QUrl>
#include <QtDebug>

namespace app {

namespace {

const QString kProvider = QStringLiteral("game");

class GuardedImages : public QQuickImageProvider
{
public:
    GuardedImages() : QQuickImageProvider(QQuickImageProvider::Image) {}

    QImage requestImage(const QString &id, QSize *size, const QSize &requestedSize) override
    {
        // The id is the file's path without its leading slash (a drive on Windows).
        const QString path = id.contains(QLatin1String(":/")) ? id : QLatin1Char('/') + id;
        const QFileInfo info(path);
        if (!info.exists())
            return QImage(); // the page itself says a picture is missing
        // A pipe or a device in a picture's place would block the window.
        if (!info.isFile()) {
            core::warnOnce(path, QStringLiteral("图片 %1 不是普通文件，不显示").arg(path));
            return QImage();
        }
        QImageReader reader(path);
        const QSize full = reader.size();
        if (!full.isValid()) {
            core::warnOnce(path, QStringLiteral("图片 %1 无法读取：%2").arg(path, reader.errorString()));
            return QImage();
        }
        if (full.width() > kLargestImageSide || full.height() > kLargestImageSide) {
            core::warnOnce(path, QStringLiteral("图片 %1 过大（%2×%3），不显示").arg(path).arg(full.width()).arg(full.height()));
            return QImage();
        }
        if (requestedSize.isValid() && requestedSize.width() > 0 && requestedSize.height() > 0
            && (requestedSize.width() < full.width() || requestedSize.height() < full.height()))
            reader.setScaledSize(full.scaled(requestedSize, Qt::KeepAspectRatio));
        const QImage image = reader.read();
        if (image.isNull())
            core::warnOnce(path, QStringLiteral("图片 %1 无法读取：%2").arg(path, reader.errorString()));
        if (size)
            *size = full;
        return image;
    }

};

class ImageUrls : public QQmlAbstractUrlInterceptor
{
public:
    QUrl intercept(const QUrl &url, DataType type) override
    {
        if (type != UrlString || !url.isLocalFile() || !url.path().endsWith(QLatin1String(".png"), Qt::CaseInsensitive))
            return url;
        QUrl guarded;
        guarded.setScheme(QStringLiteral("image"));
        guarded.setHost(kProvider);
        QString file = url.toLocalFile();
        // An installed game's pictures are beside the executable, not in the player's folder.
        const QString here = QDir::currentPath() + QLatin1Char('/');
        if (file.startsWith(here, Qt::CaseInsensitive))
            file = QFileInfo(core::resolvePath(file.mid(here.size()))).absoluteFilePath();
        guarded.setPath(file.startsWith(QLatin1Char('/')) ? file : QLatin1Char('/') + file);
        return guarded;
    }
};

} // namespace

void guardImages(QQmlEngine &engine)
{
    engine.addImageProvider(kProvider, new GuardedImages);
    // The engine keeps the interceptor but does not own it; it lives as long as
    // the engine, parented to nothing, so it goes with the engine's destruction.
    auto *interceptor = new ImageUrls;
    engine.setUrlInterceptor(interceptor);
    QObject::connect(&engine, &QObject::destroyed, [interceptor] { delete interceptor; });
}

} // namespace app
