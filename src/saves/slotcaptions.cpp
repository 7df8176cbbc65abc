#include "saves/slotcaptions.h"

#include "core/paths.h"
#include "saves/quickslot.h"
#include "saves/savefiles.h"
#include "story/storystate.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>

namespace saves {

namespace {

// The first words of a line, as a row shows them.
QString openingWords(int line)
{
    static const QRegularExpression markup(QStringLiteral("<[^>]*>"));
    QString text = story::splitSpeaker(story::lineText(line)).text;
    text.remove(markup);
    text = text.simplified();
    constexpr int kShown = 18;
    if (text.size() > kShown)
        text = text.left(kShown) + QStringLiteral("…");
    return text;
}

QString captionOf(const SlotDetails &details)
{
    QStringList parts;
    if (details.savedAt.isValid())
        parts << details.savedAt.toString(QStringLiteral("yyyy-MM-dd HH:mm"));
    if (details.line == 0)
        parts << QStringLiteral("存档已损坏");
    else if (!details.opening.isEmpty())
        parts << QStringLiteral("「%1」").arg(details.opening);
    return parts.join(QStringLiteral("  "));
}

} // namespace

SlotDetails slotDetails(int position)
{
    SlotDetails details;
    const QFileInfo shot(screenshotPath(position));
    if (shot.exists())
        details.savedAt = shot.lastModified();
    const QList<QByteArray> lines = readSaveLists().lines;
    if (position < 1 || position > lines.size())
        return details;
    bool ok = false;
    const int line = lines.at(position - 1).trimmed().toInt(&ok, 10);
    if (!ok || line < 1 || line > story::scriptLines().size())
        return details;
    details.line = line;
    details.opening = openingWords(line);
    return details;
}

QString slotCaption(int position)
{
    return captionOf(slotDetails(position));
}

QString quickCaption()
{
    SlotDetails details;
    const QuickRecord quick = readQuickRecord();
    const QFileInfo record(core::resolvePath(QString::fromLatin1(kQuickFile)));
    if (record.exists())
        details.savedAt = record.lastModified();
    if (quick.ok) {
        details.line = quick.line;
        details.opening = openingWords(quick.line);
    }
    return captionOf(details);
}

} // namespace saves
