#include "core/textform.h"

#include "core/log.h"

#include <QHash>
#include <QMutex>
#include <QVariantMap>
#include <QtDebug>

#include <algorithm>
#include <atomic>
#include <memory>

#ifdef SOLVANE_HAVE_OPENCC
#include <opencc/opencc.h>

#include <QLibrary>

#ifdef _WIN32
#include <QCoreApplication>
#include <QDir>

#include <windows.h>
#endif
#endif

namespace core {

namespace {

#ifdef SOLVANE_HAVE_OPENCC
QString &libraryName()
{
    static QString name;
    return name;
}

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
        const QString name = libraryName().isEmpty() ? QStringLiteral("opencc") : libraryName();
        QLibrary library(name, QStringLiteral("1.1"));
        if (!library.load())
            library.setFileNameAndVersion(name, QString());
        if (!library.isLoaded() && !library.load()) {
            qCWarning(lcCore).noquote() << QStringLiteral("找不到 OpenCC 的库（lib%1），文字保持简体").arg(name);
            return;
        }
        open = reinterpret_cast<decltype(open)>(library.resolve("opencc_open"));
        error = reinterpret_cast<decltype(error)>(library.resolve("opencc_error"));
        convert = reinterpret_cast<decltype(convert)>(library.resolve("opencc_convert_utf8"));
        free = reinterpret_cast<decltype(free)>(library.resolve("opencc_convert_utf8_free"));
        ok = open && error && convert && free;
    }
};

const opencc_t kNoHandle = reinterpret_cast<opencc_t>(-1);

// Opened once, on first use, with no lock held and nothing waited for: while
// it opens, whatever asks for it (on another thread, or on this one: QLibrary
// builds its error text through tr(), which reaches the game's translator) is
// told it is not there yet, and shows its words as written.
template <typename T>
class OpenOnce
{
public:
    // Null while opening.
    template <typename Open>
    const T *get(Open open)
    {
        int now = state.load(std::memory_order_acquire);
        if (now == kClosed && state.compare_exchange_strong(now, kOpening, std::memory_order_acq_rel)) {
            value.reset(new T(open()));
            state.store(kOpen, std::memory_order_release);
            return value.get();
        }
        return now == kOpen ? value.get() : nullptr;
    }
    // Tests only, with nothing converting meanwhile.
    void close()
    {
        value.reset();
        state.store(kClosed);
    }

private:
    enum { kClosed, kOpening, kOpen };
    std::atomic<int> state{kClosed};
    std::unique_ptr<T> value;
};

OpenOnce<OpenccApi> &api()
{
    static OpenOnce<OpenccApi> loaded;
    return loaded;
}

// The library, or null while it is being loaded or when it is not there.
const OpenccApi *library()
{
    const OpenccApi *a = api().get([] { return OpenccApi(); });
    return a && a->ok ? a : nullptr;
}

// Where the library finds the set. Windows has no shared data folder: the sets
// travel in an opencc folder beside the executable and the library. OpenCC
// opens files by narrow names, which cannot hold every character a player's
// folder may have: from the game's own folder the name is relative (and so
// are the dictionaries' beside it); elsewhere it is the short form of the
// path, where the volume keeps short names.
QByteArray configPath(const char *set)
{
#ifdef _WIN32
    const QString relative = QStringLiteral("opencc/") + QLatin1String(set);
    const QDir exeDir(QCoreApplication::applicationDirPath());
    if (QDir::current().canonicalPath().compare(exeDir.canonicalPath(), Qt::CaseInsensitive) == 0)
        return relative.toLatin1();
    const QString path = exeDir.filePath(relative);
    const std::wstring wide = QDir::toNativeSeparators(path).toStdWString();
    std::wstring shortPath(wide.size() + 1, L'\0');
    const DWORD length = GetShortPathNameW(wide.c_str(), shortPath.data(), DWORD(shortPath.size()));
    if (length > 0 && length < shortPath.size())
        return QString::fromWCharArray(shortPath.data(), int(length)).toLocal8Bit();
    return path.toLocal8Bit();
#else
    return QByteArray(set);
#endif
}

opencc_t openSet(const char *set)
{
    const OpenccApi *a = library();
    if (!a)
        return kNoHandle;
    const opencc_t h = a->open(configPath(set).constData());
    if (h == kNoHandle)
        qCWarning(lcCore).noquote() << QStringLiteral("无法打开 OpenCC 的 %1 转换（%2），文字保持原样")
                                           .arg(QString::fromLatin1(set), QString::fromUtf8(a->error()));
    return h;
}

OpenOnce<opencc_t> &toTraditionalSet()
{
    static OpenOnce<opencc_t> handle;
    return handle;
}

opencc_t converter()
{
    const opencc_t *h = toTraditionalSet().get([] { return openSet("s2twp.json"); });
    return h ? *h : kNoHandle;
}

// converted (when given): whether OpenCC did the work, so that a word shown
// as written while the converter opens is not kept as its conversion.
QString convert(const QString &text, bool *converted = nullptr)
{
    const opencc_t handle = converter();
    if (handle == kNoHandle || text.isEmpty())
        return text;
    const OpenccApi *a = library();
    const QByteArray utf8 = text.toUtf8();
    QString result;
    {
        // One conversion at a time, as before; OpenCC calls nothing of ours.
        static QMutex converting;
        const QMutexLocker lock(&converting);
        char *out = a->convert(handle, utf8.constData(), size_t(utf8.size()));
        if (!out)
            return text;
        result = QString::fromUtf8(out);
        a->free(out);
    }
    if (converted)
        *converted = true;
    return result;
}

#else
// A build without OpenCC (possible on Windows) shows everything as written.
using opencc_t = int;
QString convert(const QString &text, bool * = nullptr)
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

namespace {

// The pages ask for the same few words on every retranslation. Qt may ask the
// translator from any thread. The lock guards the cache alone, never a call
// out: the conversion may open the converter, whose messages come back here.
struct Converted {
    QMutex mutex;
    QHash<QString, QString> words;
};

Converted &converted()
{
    static Converted cache;
    return cache;
}

} // namespace

QString toTraditional(const QString &text)
{
    Converted &cache = converted();
    {
        const QMutexLocker lock(&cache.mutex);
        auto found = cache.words.constFind(text);
        if (found != cache.words.constEnd())
            return *found;
    }
    bool done = false;
    const QString result = convert(text, &done);
    if (done) {
        const QMutexLocker lock(&cache.mutex);
        if (cache.words.size() < 4096)
            cache.words.insert(text, result);
        remember(text, result);
    }
    return result;
}

QStringList toTraditional(const QStringList &lines)
{
    const QStringList converted = convert(lines.join(QLatin1Char('\n'))).split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size() && i < converted.size(); ++i)
        remember(lines.at(i), converted.at(i));
    return converted;
}

void useOpenccLibrary(const QString &name)
{
    {
        const QMutexLocker lock(&converted().mutex);
        converted().words.clear();
    }
#ifdef SOLVANE_HAVE_OPENCC
    libraryName() = name;
    api().close();
    toTraditionalSet().close();
#else
    Q_UNUSED(name)
#endif
}

// A page says its words whole or strung together ("选项一，" and an answer,
// a question and its button): each converted piece goes back to its original.
QString spoken(const QString &text, TextForm form)
{
    if (form != TextForm::Traditional)
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

QString shown(const QString &text, TextForm form)
{
    return form == TextForm::Traditional ? toTraditional(text) : text;
}

QVariant shown(const QVariant &value, TextForm form)
{
    if (form == TextForm::Simplified)
        return value;
    switch (value.userType()) {
    case QMetaType::QString:
        return toTraditional(value.toString());
    case QMetaType::QVariantList: {
        QVariantList list = value.toList();
        for (QVariant &item : list)
            item = shown(item, form);
        return list;
    }
    case QMetaType::QVariantMap: {
        QVariantMap map = value.toMap();
        for (QVariant &item : map)
            item = shown(item, form);
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
