// Writes the images of an .ico file as PNGs named after their size
// (16.png, 32.png, ...), so the desktop's icon theme gets the very pictures
// the window shows. Fails when a size asked for is not in the icon.
#include <QCoreApplication>
#include <QImage>
#include <QImageReader>
#include <QMap>
#include <QSaveFile>
#include <QTextStream>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = app.arguments();
    if (args.size() < 4) {
        err << "usage: iconsizes ICON OUTDIR SIZE...\n";
        return 2;
    }

    QImageReader reader(args.at(1));
    QMap<int, QImage> bySize;
    do {
        const QImage image = reader.read();
        if (image.isNull()) {
            err << args.at(1) << ": " << reader.errorString() << '\n';
            return 1;
        }
        if (image.width() == image.height())
            bySize.insert(image.width(), image);
    } while (reader.jumpToNextImage());

    for (int i = 3; i < args.size(); ++i) {
        bool ok = false;
        const int size = args.at(i).toInt(&ok);
        if (!ok || !bySize.contains(size)) {
            err << args.at(1) << ": no " << args.at(i) << "x" << args.at(i) << " image\n";
            return 1;
        }
        QSaveFile out(args.at(2) + '/' + QString::number(size) + ".png");
        if (!out.open(QIODevice::WriteOnly) || !bySize[size].save(&out, "PNG") || !out.commit()) {
            err << out.fileName() << ": " << out.errorString() << '\n';
            return 1;
        }
    }
    return 0;
}
