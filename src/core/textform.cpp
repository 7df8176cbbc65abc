#include "core/textform.h"

#include "core/log.h"

#include <QCoreApplication>
#include <QHash>
#include <QMutex>
#include <QPointer>
#include <QVariantMap>
#include <QtDebug>

#include <algorithm>

#ifdef SOLVANE_HAVE_OPENCC
#include <opencc/opencc.h>

#include <QLibrary>
#endif

namespace core {

namespace {

TextForm &form()
{
    static TextForm f = TextForm::Simplified;
    return f;
}

#ifdef SOLVANE_HAVE_OPENCC
// Loaded on first use, with the dictionaries: a player who never picks 繁體
// does not start the game with OpenCC.
struct OpenccApi {
    decltype(&opencc_open) open = nullptr;
    decltype(&opencc_error) error = nullptr;
    decltype(&opencc_convert_utf8) convert = nullptr;
    decltype(&opencc_convert_utf8_free) free = nullptr;
    bool ok = false;

    OpenccApi()
    {
        QLibrary library(QStringLiteral("opencc"), QStringLiteral("1.1"));
        if (!library.load())
            library.setFileNameAndVersion(QStringLiteral("opencc"), QString());
        if (!library.isLoaded() && !library.load()) {
            qCWarning(lcCore).noquote() << QStringLiteral("找不到 OpenCC 的库（libopencc），文字保持原样");
            return;
        }
        open = reinterpret_cast<decltype(open)>(library.resolve("opencc_open"));
        error = reinterpret_cast<decltype(error)>(library.resolve("opencc_error"));
        convert = reinterpret_cast<decltype(convert)>(library.resolve("opencc_convert_utf8"));
        free = reinterpret_cast<decltype(free)>(library.resolve("opencc_convert_utf8_free"));
        ok = open && error && convert && free;
    }
};

const OpenccApi &api()
{
    static const OpenccApi loaded;
    return loaded;
}

opencc_t openSet(const char *set)
{
    if (!api().ok)
        return reinterpret_cast<opencc_t>(-1);
    const opencc_t h = api().open(set);
    if (h == reinterpret_cast<opencc_t>(-1))
        qCWarning(lcCore).noquote() << QStringLiteral("无法打开 OpenCC 的 %1 转换（%2），文字保持原样")
                                           .arg(QString::fromLatin1(set), QString::fromUtf8(api().error()));
    return h;
}

opencc_t converter()
{
    static const opencc_t handle = openSet("s2twp.json");
    return handle;
}

QString convert(const QString &text)
{
    const opencc_t handle = converter();
    if (handle == reinterpret_cast<opencc_t>(-1) || text.isEmpty())
        return text;
    const QByteArray utf8 = text.toUtf8();
    char *out = api().convert(handle, utf8.constData(), size_t(utf8.size()));
    if (!out)
        return text;
    const QString converted = QString::fromUtf8(out);
    api().free(out);
    return converted;
}

#else
// A build without OpenCC (possible on Windows) shows everything as written.
using opencc_t = int;
QString convert(const QString &text)
{
    static const bool warned = [] {
        qCWarning(lcCore).noquote() << QStringLiteral("此版本没有 OpenCC，文字保持简体");
        return true;
    }();
    Q_UNUSED(warned)
    return text;
}
#endif

// What each converted text was written as: the voice reads the page's words
// back in those, not in a conversion of the conversion (存檔 would come
// back as 存盘). Qt may ask the translator from any thread.
struct Originals {
    QMutex mutex;
    QHash<QString, QString> of;
    QStringList longestFirst; // rebuilt when empty
};

Originals &originals()
{
    static Originals o;
    return o;
}

void remember(const QString &simplified, const QString &traditional)
{
    Originals &o = originals();
    const QMutexLocker lock(&o.mutex);
    if (simplified == traditional || o.of.size() >= 8192 || o.of.contains(traditional))
        return;
    o.of.insert(traditional, simplified);
    o.longestFirst.clear();
}

} // namespace

TextForm textForm()
{
    return form();
}

void setTextForm(TextForm f)
{
    form() = f;
    QCoreApplication *app = QCoreApplication::instance();
    if (!app)
        return;
    static QPointer<TraditionalTranslator> translator;
    // Installed at most once: the application would keep a second copy.
    if (translator)
        QCoreApplication::removeTranslator(translator);
    if (f == TextForm::Traditional) {
        if (!translator)
            translator = new TraditionalTranslator(app);
        QCoreApplication::installTranslator(translator);
    }
}

QString toTraditional(const QString &text)
{
    // The pages ask for the same few words on every retranslation. Qt may ask
    // the translator from any thread.
    static QMutex mutex;
    static QHash<QString, QString> cache;
    const QMutexLocker lock(&mutex);
    auto found = cache.constFind(text);
    if (found != cache.constEnd())
        return *found;
    const QString converted = convert(text);
    if (cache.size() < 4096)
        cache.insert(text, converted);
    remember(text, converted);
    return converted;
}

QStringList toTraditional(const QStringList &lines)
{
    const QStringList converted = convert(lines.join(QLatin1Char('\n'))).split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size() && i < converted.size(); ++i)
        remember(lines.at(i), converted.at(i));
    return converted;
}

// A page says its words whole or strung together ("选项一，" and an answer,
// a question and its button): each converted piece goes back to its original.
QString spoken(const QString &text)
{
    if (form() != TextForm::Traditional)
        return text;
    Originals &o = originals();
    const QMutexLocker lock(&o.mutex);
    const auto whole = o.of.constFind(text);
    if (whole != o.of.constEnd())
        return *whole;
    if (o.longestFirst.isEmpty()) {
        o.longestFirst = o.of.keys();
        std::sort(o.longestFirst.begin(), o.longestFirst.end(),
                  [](const QString &a, const QString &b) { return a.size() > b.size(); });
    }
    QString result = text;
    for (const QString &piece : qAsConst(o.longestFirst)) {
        if (result.contains(piece))
            result.replace(piece, o.of.value(piece));
    }
    return result;
}

QString shown(const QString &text)
{
    return form() == TextForm::Traditional ? toTraditional(text) : text;
}

QVariant shown(const QVariant &value)
{
    if (form() == TextForm::Simplified)
        return value;
    switch (value.userType()) {
    case QMetaType::QString:
        return toTraditional(value.toString());
    case QMetaType::QVariantList: {
        QVariantList list = value.toList();
        for (QVariant &item : list)
            item = shown(item);
        return list;
    }
    case QMetaType::QVariantMap: {
        QVariantMap map = value.toMap();
        for (QVariant &item : map)
            item = shown(item);
        return map;
    }
    default:
        return value;
    }
}

QString TraditionalTranslator::translate(const char *, const char *sourceText, const char *, int) const
{
    return toTraditional(QString::fromUtf8(sourceText));
}

} // namespace core
