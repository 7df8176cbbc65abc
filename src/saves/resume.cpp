#include "saves/resume.h"

#include "core/fileio.h"
#include "core/game.h"
#include "core/interludeview.h"
#include "core/log.h"
#include "core/mainwindow.h"
#include "core/paths.h"
#include "core/state.h"
#include "core/textlines.h"
#include "music/player.h"
#include "saves/savepoint.h"
#include "story/storystate.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>

namespace saves {

namespace {

const QByteArray kHeader = "solvane-resume 1";
// A record this old was not written by the process that just handed over.
constexpr qint64 kFreshMs = 2 * 60 * 1000;
// The backlog carried over: the newest lines, enough to read back a long way.
constexpr int kMostShown = 500;

QByteArray placeText(const core::LinePlace &at)
{
    QByteArrayList fields;
    for (int v : {at.cursor, at.mistakes, at.returnLine, at.triesLeft, at.playerCaught, at.companionCaught})
        fields << QByteArray::number(v);
    return fields.join('/');
}

bool parsePlace(const QByteArray &text, core::LinePlace *at)
{
    const QList<QByteArray> fields = text.split('/');
    if (fields.size() != 6)
        return false;
    int v[6];
    for (int i = 0; i < 6; ++i) {
        bool ok = false;
        v[i] = fields.at(i).toInt(&ok);
        if (!ok || v[i] < 0 || v[i] > 100000)
            return false;
    }
    *at = core::LinePlace{v[0], v[1], v[2], v[3], v[4], v[5]};
    return true;
}

QString path()
{
    return core::resolvePath(QString::fromLatin1(kResumeFile));
}

} // namespace

bool writeResumeRecord(const Game &game)
{
    const core::ProcessState &p = core::process();
    const core::InterludeState &in = p.interlude;
    QByteArray text = kHeader + core::kLineEnd;
    const auto add = [&text](const char *key, const QByteArray &value) { text += key + QByteArray(" ") + value + core::kLineEnd; };
    add("written", QByteArray::number(QDateTime::currentMSecsSinceEpoch()));
    add("page", game.controller ? game.controller->getCurrentPage().toUtf8() : QByteArray("index"));
    add("source", game.controller ? game.controller->getLastSource().toUtf8() : QByteArray("index"));
    add("line", QByteArray::number(p.story.currentLine));
    add("mistakes", QByteArray::number(p.story.mistakeCount));
    add("pending", QByteArray::number(p.story.mistakePending ? 1 : 0));
    add("returnLine", QByteArray::number(in.interludeReturnLine));
    add("tries", QByteArray::number(in.triesLeft));
    add("playerCaught", QByteArray::number(in.playerCaught));
    add("companionCaught", QByteArray::number(in.companionCaught));
    QByteArrayList shown;
    for (int line : p.shownLines.mid(qMax(0, p.shownLines.size() - kMostShown)))
        shown << QByteArray::number(line);
    add("shown", shown.join(','));
    // Beside them, where the story stood at each: the backlog can go back there.
    if (p.shownPlaces.size() == p.shownLines.size()) {
        QByteArrayList places;
        for (const core::LinePlace &at : p.shownPlaces.mid(qMax(0, p.shownPlaces.size() - kMostShown)))
            places << placeText(at);
        add("places", places.join(','));
    }
    // The track goes on where it was, not from its start.
    const music::Player *player = game.musicPlayer;
    if (player && player->state() == music::Player::PlayingState) {
        add("track", player->media().toLocalFile().toUtf8());
        add("at", QByteArray::number(player->position()));
    }
    QDir().mkpath(QFileInfo(path()).path());
    QString reason;
    if (core::writeFile(path(), text, &reason))
        return true;
    qCWarning(lcSaves).noquote() << QStringLiteral("无法写入续玩记录 %1：%2").arg(QString::fromLatin1(kResumeFile), reason);
    return false;
}

bool resumeFromRecord(Game &game)
{
    const core::FileRead file = core::readFile(path());
    if (file.state == core::FileState::Missing)
        return false;
    // Read once: whatever it holds, the next start must not find it again.
    if (file.ok())
        QFile::remove(path());
    QMap<QByteArray, QByteArray> fields;
    const QList<QByteArray> lines = core::splitTextLines(file.bytes);
    for (const QByteArray &line : lines.mid(1)) {
        const int space = line.indexOf(' ');
        if (space > 0)
            fields.insert(line.left(space), line.mid(space + 1));
    }
    const auto number = [&fields](const char *key, int low, int high, bool *ok) {
        bool valid = false;
        const int v = fields.value(key).toInt(&valid);
        if (!valid || v < low || v > high)
            *ok = false;
        return v;
    };
    bool ok = file.ok() && !lines.isEmpty() && lines.first() == kHeader;
    const qint64 written = fields.value("written").toLongLong();
    const int line = number("line", 0, story::scriptLines().size(), &ok);
    const int mistakes = number("mistakes", 0, 999, &ok);
    const int pending = number("pending", 0, 1, &ok);
    const int returnLine = number("returnLine", 0, 100000, &ok);
    const int tries = number("tries", 0, 99, &ok);
    const int playerCaught = number("playerCaught", 0, 1, &ok);
    const int companionCaught = number("companionCaught", 0, 1, &ok);
    const QString page = QString::fromUtf8(fields.value("page"));
    const QString source = QString::fromUtf8(fields.value("source"));
    static const QStringList pages{"index", "game", "setting", "load", "extra", "route"};
    ok = ok && pages.contains(page);
    // The line that will be shown, as a load checks it: a capture scene
    // resumes where its interlude returns to, which must be in the script too.
    const int shown = storedLine(line, returnLine);
    ok = ok && (line == 0 || (shown >= 1 && shown <= story::scriptLines().size()));
    if (!ok) {
        qCWarning(lcSaves).noquote() << QStringLiteral("续玩记录 %1 已损坏，从标题页开始").arg(QString::fromLatin1(kResumeFile));
        return false;
    }
    const qint64 age = QDateTime::currentMSecsSinceEpoch() - written;
    if (age < 0 || age > kFreshMs) {
        qCWarning(lcSaves).noquote() << QStringLiteral("续玩记录 %1 已过期，从标题页开始").arg(QString::fromLatin1(kResumeFile));
        return false;
    }

    if (line > 0) {
        // As a load would: the line staged afresh, its music chosen again; an
        // interlude starts its map again, with the tries the player had.
        startFrom(game, shown, mistakes);
        core::ProcessState &p = core::process();
        p.story.mistakePending = pending == 1;
        p.interlude.triesLeft = tries;
        p.interlude.playerCaught = playerCaught;
        p.interlude.companionCaught = companionCaught;
        core::interludeView().setTriesLeft(tries);
        // What was read before the change, then the line the story stands on.
        QVector<int> shown;
        for (const QByteArray &n : fields.value("shown").split(',')) {
            const int shownLine = n.toInt();
            if (shownLine >= 1 && shownLine <= story::scriptLines().size() && shown.size() < kMostShown)
                shown << shownLine;
        }
        // Each with its place, or none has one: the rows cannot go back then.
        QVector<core::LinePlace> places;
        for (const QByteArray &text : fields.value("places").split(',')) {
            core::LinePlace at;
            if (!parsePlace(text, &at))
                break;
            places << at;
        }
        if (places.size() != shown.size())
            places.clear();
        for (int i = 0; i < p.shownLines.size(); ++i) {
            if (!shown.isEmpty() && shown.constLast() == p.shownLines.at(i))
                continue;
            shown << p.shownLines.at(i);
            if (!places.isEmpty() && i < p.shownPlaces.size())
                places << p.shownPlaces.at(i);
        }
        p.shownLines = shown;
        p.shownPlaces = places.size() == shown.size() ? places : QVector<core::LinePlace>();
    }
    music::Player *player = game.musicPlayer;
    const qint64 at = fields.value("at").toLongLong();
    if (player && at > 0 && player->media().toLocalFile().toUtf8() == fields.value("track"))
        player->setPosition(at);
    if (MainWindow *c = game.controller) {
        // The game page under its own source: not the opening cover of a new story.
        if (page == QLatin1String("game"))
            c->navigategame(source == QLatin1String("index") ? QStringLiteral("resume") : source);
        else if (page == QLatin1String("setting"))
            c->navigatesetting(source);
        else if (page == QLatin1String("load"))
            c->navigateload(source);
        else if (page == QLatin1String("extra"))
            c->navigateextra();
        else if (page == QLatin1String("route"))
            c->navigateroute(source);
    }
    qCInfo(lcSaves).noquote() << QStringLiteral("已回到切换显示模式前的位置：%1 第 %2 行").arg(page).arg(line);
    return true;
}

} // namespace saves
