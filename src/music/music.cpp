#include "music/music.h"

#include "core/log.h"
#include "core/game.h"
#include "core/mainwindow.h"
#include "core/paths.h"
#include "core/state.h"

#include <QtDebug>

namespace music {

const QVector<StoryTrack> &storyMusicTable()
{
    static const QVector<StoryTrack> rows = {
        {1, "mp3/Memories.mp3"},
        {38, "mp3/Playing_Together_With_You.mp3"},
        {83, "mp3/Playing_Around_The_World.mp3"},
        {143, "mp3/Universe.mp3"},
        {152, "mp3/The_Adventure.mp3"},
        {192, "mp3/Playing_Together_With_You.mp3"},
        {255, "mp3/Playing_Around_The_World.mp3"},
        {392, "mp3/Universe.mp3"},
        {403, "mp3/Playing_Around_The_World.mp3"},
        {424, "mp3/Universe.mp3"},
        {649, "mp3/The_Adventure.mp3"},
        {672, "mp3/Civilization.mp3"},
        {702, "mp3/Memories.mp3"},
        {710, "mp3/Civilization.mp3"},
        {761, "mp3/Farewell.mp3"},
        {832, "mp3/The_Stars_Shall_Never_Forget.mp3"},
        {856, "mp3/Farewell.mp3"},
        {867, "mp3/Farewell.mp3"},
        {876, "mp3/Farewell.mp3"},
        {898, "mp3/Farewell.mp3"},
        {913, "mp3/Farewell.mp3"},
        {938, "mp3/Farewell.mp3"},
        {941, "mp3/Farewell.mp3"},
        {973, "mp3/Farewell.mp3"},
    };
    return rows;
}

const QVector<GalleryTrack> &galleryTable()
{
    static const QVector<GalleryTrack> rows = {
        {"mp3/Universe.mp3", "宇宙"},
        {"mp3/Memories.mp3", "回忆"},
        {"mp3/Playing_Together_With_You.mp3", "一起玩"},
        {"mp3/Playing_Around_The_World.mp3", "游世界"},
        {"mp3/The_Adventure.mp3", "历险"},
        {"mp3/Civilization.mp3", "文明"},
        {"mp3/Farewell.mp3", "再见"},
        {"mp3/The_Stars_Shall_Never_Forget.mp3", "群星永不忘记"},
    };
    return rows;
}

QStringList musicFiles()
{
    QStringList files;
    for (const StoryTrack &row : storyMusicTable())
        files.append(QString::fromLatin1(row.file));
    for (const GalleryTrack &row : galleryTable())
        files.append(QString::fromLatin1(row.file));
    files.removeDuplicates();
    return files;
}

int volumePercent(float inliang)
{
    return int(inliang * 100);
}

MusicState &music()
{
    return core::process().music;
}

void startTrack(Game &game, const QString &file)
{
    Player *player = game.musicPlayer;
    if (!player)
        return;
    music().trackFailed = false;
    player->stop();
    player->setMedia(core::mediaUrl(file));
    player->play();
}

void playMusicForLine(Game &game)
{
    if (!game.musicPlayer)
        return;
    const int line = core::process().story.currentLine;
    if (line < 1) {
        // Only a save made before the first line gets here; keep what plays.
        qCWarning(lcMusic).noquote() << QStringLiteral("光标在第 %1 行，没有对应的配乐，继续播放当前曲目").arg(line);
        return;
    }
    const QVector<StoryTrack> &rows = storyMusicTable();
    for (auto it = rows.crbegin(); it != rows.crend(); ++it) {
        if (it->line <= line) {
            startTrack(game, QString::fromLatin1(it->file));
            return;
        }
    }
}

void playTitleMusic(Game &game, int value)
{
    if (game.musicPlayer && value == 1)
        startTrack(game, QStringLiteral("mp3/Universe.mp3"));
}

void playGalleryTrack(Game &game, int step)
{
    if (!game.musicPlayer)
        return;
    qCDebug(lcMusic) << "切换曲目" << step;
    const QVector<GalleryTrack> &rows = galleryTable();
    const int count = rows.size();
    int &index = music().musicIndex;
    index = ((index + step) % count + count) % count;
    startTrack(game, QString::fromLatin1(rows.at(index).file));
    game.publish(prop::texte, QString::fromUtf8(rows.at(index).title));
}

void holdMusic(Game &game, int value)
{
    Player *player = game.musicPlayer;
    if (!player)
        return;
    // Held where it is: ▷ goes on from there.
    if (value == 0) {
        music().musicStopped = true;
        player->pause();
        return;
    }
    music().musicStopped = false;
    // A track that failed once would only hang in loading; wait for another.
    if (!music().trackFailed)
        player->play();
}

void loopMusic(Game &game, music::Player::State state)
{
    Player *player = game.musicPlayer;
    if (!player || state != music::Player::StoppedState || music().musicStopped)
        return;
    // Only a track that played to its end comes round again: restarting one
    // that stopped on an error would retry it without end.
    if (music().trackFailed || player->mediaStatus() != music::Player::EndOfMedia)
        return;
    player->play();
}

void musicFailed(Game &game, music::Player::Error error)
{
    Player *player = game.musicPlayer;
    if (!player || error == music::Player::NoError || music().trackFailed)
        return;
    music().trackFailed = true;
    qCWarning(lcMusic).noquote() << QStringLiteral("无法播放音乐 %1：%2")
                                .arg(player->media().toLocalFile(), player->errorString());
    player->stop();
}

void connectMusic(Game &game)
{
    MainWindow *c = game.controller;
    Game *g = &game;
    QObject::connect(c, &MainWindow::toindex, c, [g](int value) { playTitleMusic(*g, value); });
    QObject::connect(c, &MainWindow::inbextraChanged, c, [g](int value) { holdMusic(*g, value); });
    g->publish(prop::texte, QStringLiteral("宇宙"));
    QObject::connect(c, &MainWindow::inextraChanged, c, [g](int step) { playGalleryTrack(*g, step); });
    if (Player *player = g->musicPlayer) {
        QObject::connect(player, &Player::stateChanged, player,
                         [g](music::Player::State state) { loopMusic(*g, state); });
        QObject::connect(player, &Player::error, player,
                         [g](music::Player::Error error) { musicFailed(*g, error); });
    }
}

} // namespace music
