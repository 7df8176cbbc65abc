// Storyboard: what each script line puts on screen, drawn without a window by
// the game's own page, controller and staging, into contact sheets of twelve
// labelled frames. Steps through the story as a player would: a forward step
// per line, typing finished, answers given where the story asks.
//
//   build/tools/storyboard/storyboard --all --out /tmp/board
#include "app/startup.h"
#include "core/game.h"
#include "core/mainwindow.h"
#include "core/state.h"
#include "settings/settings.h"
#include "stage/interludestate.h"
#include "stage/stagetable.h"
#include "stage/staging.h"
#include "story/linetables.h"
#include "story/presentation.h"
#include "story/linecursor.h"
#include "story/routes.h"
#include "story/storystate.h"

#include <QBuffer>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickView>
#include <QSaveFile>
#include <QScreen>
#include <QSet>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <map>

namespace {

// The route named main ends here, past every question and both interludes.
constexpr int kMainEnding = 849;
const char *const kRightTypedAnswer = "话";

using NodeKind = story::RouteNode::Kind;

// What a route answers at each question unless told otherwise: the answer on
// the way to the main ending, which goes on towards the last chapter.
std::map<int, int> onwardAnswers()
{
    const story::Routes &routes = story::routes();
    std::map<int, int> answers;
    for (int e : routes.routeTo(routes.nodeAt(kMainEnding)).edges) {
        const story::RouteEdge &edge = routes.edges().at(e);
        const story::RouteNode &question = routes.nodes().at(edge.from);
        if (edge.kind == story::RouteEdge::Kind::Answer && !question.typed)
            answers[question.line] = edge.answer;
    }
    return answers;
}

struct Route {
    QString name;
    std::map<int, int> answers; // question line -> answer, over the onward answers
    QStringList typed;          // typed answers in order; the last is repeated
    bool everyWrongOnce = false; // each question answered wrong, or "not yet", first
};

QVector<Route> namedRoutes()
{
    auto route = [](const char *name, std::map<int, int> answers, QStringList typed = {}, bool wrong = false) {
        Route r;
        r.name = QString::fromLatin1(name);
        r.answers = answers;
        r.typed = typed.isEmpty() ? QStringList{QString::fromUtf8(kRightTypedAnswer)} : typed;
        r.everyWrongOnce = wrong;
        return r;
    };
    return {
        route("main", {}),
        route("mistakes", {}, {QStringLiteral("对方"), QString::fromUtf8(kRightTypedAnswer)}, true),
        route("stay-261", {{261, 2}}),
        route("stay-406", {{406, 2}}),
        route("end-667", {{667, 1}}),
        route("end-673", {{673, 2}}),
        route("end-695", {{695, 2}}),
        route("end-841", {{841, 2}}),
    };
}

struct Frame {
    int line;
    QString label;
    QByteArray png; // kept encoded: a whole route's frames would otherwise take hundreds of MB
    QString scene;  // the same frame in words, for reading beside the sheets
};

class Storyboard
{
public:
    Storyboard(const QString &scriptPath, int from, int to, double scale)
        : scriptPath(scriptPath), from(from), to(to), scale(scale)
    {
        gameSettings.load();
        controller.reset(new MainWindow(app::controllerStart(gameSettings)));
        view.reset(new QQuickView);
        view->setResizeMode(QQuickView::SizeRootObjectToView);
        view->resize(720, 480);
        game.engine = view->engine();
        game.controller = controller.get();
        game.settings = &gameSettings;
        controller->setVzi(1.0f);
        core::resetProcessState();
        story::loadScript(scriptPath);
        app::publishStartupProperties(game);
        app::publishInterludeProperties(game);
        app::connectHandlers(game);
        controller->navigategame(QStringLiteral("load"));
        view->setSource(QUrl(QStringLiteral("qrc:/qt/qml/solvaneui/game.qml")));
        QObject::connect(view.get(), &QQuickWindow::frameSwapped, [this] { ++framesDrawn; });
        view->show();
        QElapsedTimer clock;
        clock.start();
        while (!view->isExposed() && clock.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }

    bool ready() const { return view->status() == QQuickView::Ready; }
    QString errors() const
    {
        QStringList out;
        for (const QQmlError &e : view->errors())
            out << e.toString();
        return out.join(QLatin1Char('\n'));
    }
    int scriptSize() const { return story::scriptLines().size(); }
    // In script order; a line met several ways keeps the order it was met in.
    QVector<Frame> frames() const
    {
        QVector<Frame> sorted = shot;
        std::stable_sort(sorted.begin(), sorted.end(), [](const Frame &a, const Frame &b) { return a.line < b.line; });
        return sorted;
    }
    const QSet<int> &linesDrawn() const { return drawnLines; }

    // Plays from the first line to an ending, answering as the route says.
    void play(const Route &route)
    {
        startStory();
        QSet<int> answeredWrong;
        int typedIndex = 0;
        story::StoryState &s = story::state();
        const story::Routes &routes = story::routes();
        static const story::RouteNode elsewhere;
        for (int guard = 0; guard < 20000; ++guard) {
            const int line = s.currentLine;
            const int at = routes.nodeAt(line);
            const story::RouteNode &node = at < 0 ? elsewhere : routes.nodes().at(at);
            if (node.kind == NodeKind::Question && !node.typed && !s.mistakePending) {
                int answer = onward.count(line) ? onward.at(line) : 1;
                if (route.answers.count(line))
                    answer = route.answers.at(line);
                const story::RouteEdge &other = routes.edges().at(node.edges.at(2 - answer));
                // Once each: the wrong answer, or the one that asks again.
                if (route.everyWrongOnce && (other.mistake || other.to == other.from) && !answeredWrong.contains(line)) {
                    answeredWrong.insert(line);
                    answer = 3 - answer;
                }
                controller->da1(answer);
                settle();
                const int shownLine = routes.edges().at(node.edges.at(answer - 1)).answerLine;
                capture(shownLine, QStringLiteral("%1 (answer %2 at %3)").arg(shownLine).arg(answer).arg(line));
                continue;
            }
            if (node.kind == NodeKind::Question && node.typed && !s.mistakePending) {
                const QString text = route.typed.value(qMin(typedIndex, route.typed.size() - 1));
                ++typedIndex;
                controller->shuru1(text);
                settle();
                // A wrong answer puts the cursor before the question; the frame is still the question's.
                const int shownLine = s.mistakePending ? line : s.currentLine;
                capture(shownLine, QStringLiteral("%1 (typed %2)").arg(shownLine).arg(text));
                continue;
            }
            if (node.kind == NodeKind::Ending && !s.mistakePending)
                return;
            // The interlude is not played here: its goal is taken as reached.
            if (s.interludeActive)
                s.interludeActive = false;
            const bool mistake = s.mistakePending;
            const int before = line;
            controller->next1();
            settle();
            if (mistake)
                capture(story::kMistakeLine, QStringLiteral("%1 (wrong answer at %2)").arg(story::kMistakeLine).arg(before + 1));
            else
                capture(s.currentLine, QString::number(s.currentLine));
            if (s.currentLine > scriptSize())
                return;
        }
        std::fprintf(stderr, "route %s: no ending after 20000 steps (stuck at line %d)\n", qPrintable(route.name),
                     story::state().currentLine);
    }

    // Shows each line of the range not drawn yet as loading a save there would.
    void loadEachUndrawn()
    {
        for (int n = qMax(1, from); n <= qMin(to, scriptSize()); ++n) {
            if (drawnLines.contains(n))
                continue;
            startStory();
            story::StoryState &s = story::state();
            s.currentLine = n;
            s.viewLine = n;
            story::typeLine(game, n);
            stage::stageLine(game, 1);
            s.interludeActive = false;
            settle();
            capture(n, QStringLiteral("%1 (loaded)").arg(n));
        }
    }

private:
    void startStory()
    {
        story::typeTimer()->stop();
        core::resetProcessState();
        story::loadScript(scriptPath);
        story::resetStory(game);
        game.publish(prop::currentText, QString());
        game.publishNull(prop::daanvisible);
        game.publishNull(prop::shuruvisible);
        for (prop::Name flag : {prop::sjvisible, prop::ditu1visible, prop::ditu2visible})
            game.publishNull(flag);
    }

    // Finishes the line's typing and lets the page and its short timers catch up.
    void settle()
    {
        for (int i = 0; i < 20000 && !story::typing().typingDone; ++i)
            story::typeTick(game);
        const stage::StageRow *row = stage::stageEntry(story::state().currentLine);
        const bool delayed = row && (row->other.special == stage::Special::HideBackgroundLater
                                     || row->other.special == stage::Special::ScriptedShots);
        QElapsedTimer clock;
        clock.start();
        do {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        } while (delayed && wanted() && clock.elapsed() < 260);
    }

    // Whether the line now shown falls in the range asked for.
    bool wanted() const
    {
        const int line = story::state().currentLine;
        return line >= from && line <= to;
    }

    void capture(int line, const QString &label)
    {
        // A line met again with the same scene is drawn once; another scene, again.
        const QString scene = describe(label);
        const QString key = scene.mid(scene.indexOf(QLatin1Char('\t')));
        if (line < from || line > to || drawn.contains(QString::number(line) + key))
            return;
        drawn.insert(QString::number(line) + key);
        drawnLines.insert(line);
        // The grab returns the last frame drawn: wait for one drawn after the change.
        const int before = framesDrawn;
        view->update();
        QElapsedTimer clock;
        clock.start();
        while (framesDrawn == before && clock.elapsed() < 1000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        // Without a window system only the screen's grab of the window draws the scene.
        QScreen *screen = view->screen() ? view->screen() : QGuiApplication::primaryScreen();
        QImage image = screen ? screen->grabWindow(view->winId()).toImage() : QImage();
        if (image.isNull())
            image = view->grabWindow();
        if (image.isNull()) {
            std::fprintf(stderr, "line %d: nothing drawn\n", line);
            return;
        }
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        image.scaled(image.size() * scale, Qt::IgnoreAspectRatio, Qt::SmoothTransformation).save(&buffer, "PNG");
        shot.append({line, label, png, scene});
    }

    QString describe(const QString &label) const
    {
        const stage::StagingState &s = stage::staging();
        const QVariant shown = game.property(prop::bVisible);
        const bool background = shown.isValid() && !shown.isNull() && shown.toInt() != 0;
        QStringList figures;
        switch (s.figureLayout) {
        case 1: figures << s.a1Path; break;
        case 2: figures << s.a2_1Path << s.a2_2Path; break;
        case 3: figures << s.a3_1Path << s.a3_2Path << s.a3_3Path; break;
        case 4: figures << QStringLiteral("left:") + s.a1fPath; break;
        case 5: figures << s.a3_1fPath << s.a3_2fPath << s.a3_3fPath; break;
        default: break;
        }
        QStringList offered;
        if (game.property(prop::daanvisible).toBool())
            offered << QStringLiteral("answers [%1 | %2]").arg(game.property(prop::ida1).toString(), game.property(prop::ida2).toString());
        if (game.property(prop::shuruvisible).toBool())
            offered << QStringLiteral("input box");
        if (game.property(prop::sjvisible).toBool())
            offered << QStringLiteral("interlude map");
        return QStringLiteral("%1\t%2\t%3\t%4\t%5%6")
            .arg(label, background ? s.bcPath : QStringLiteral("(black)"), figures.join(QLatin1Char(' ')),
                 game.property(prop::nameText).toString(), game.property(prop::currentText).toString(),
                 offered.isEmpty() ? QString() : QStringLiteral("\t") + offered.join(QLatin1Char(' ')));
    }

    QString scriptPath;
    int from;
    int to;
    double scale;
    settings::Settings gameSettings;
    Game game;
    std::unique_ptr<MainWindow> controller;
    std::unique_ptr<QQuickView> view;
    QSet<QString> drawn;
    int framesDrawn = 0;
    QSet<int> drawnLines;
    QVector<Frame> shot;
    const std::map<int, int> onward = onwardAnswers();
};

bool writeSheets(const QVector<Frame> &frames, const QString &outDir, int perPage)
{
    // One line per frame: label, background, figures, name, text, what is offered.
    QSaveFile index(QDir(outDir).filePath(QStringLiteral("storyboard.txt")));
    if (index.open(QIODevice::WriteOnly)) {
        for (const Frame &f : frames)
            index.write(f.scene.toUtf8() + '\n');
    }
    if (!index.commit()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(index.fileName()));
        return false;
    }
    if (frames.isEmpty())
        return true;
    const int columns = 3;
    const QSize cell = QImage::fromData(frames.first().png).size();
    const int labelHeight = 22;
    const int rows = (perPage + columns - 1) / columns;
    QFont font(QStringLiteral("Microsoft Yahei"));
    font.setPixelSize(15);
    font.setBold(true);
    for (int page = 0; page * perPage < frames.size(); ++page) {
        QImage sheet(columns * (cell.width() + 8) + 8, rows * (cell.height() + labelHeight + 8) + 8, QImage::Format_RGB32);
        sheet.fill(QColor(60, 60, 60));
        QPainter p(&sheet);
        p.setFont(font);
        for (int i = 0; i < perPage && page * perPage + i < frames.size(); ++i) {
            const Frame &f = frames.at(page * perPage + i);
            const int x = 8 + (i % columns) * (cell.width() + 8);
            const int y = 8 + (i / columns) * (cell.height() + labelHeight + 8);
            p.setPen(Qt::white);
            p.drawText(QRect(x, y, cell.width(), labelHeight), Qt::AlignLeft | Qt::AlignVCenter, f.label);
            p.drawImage(x, y + labelHeight, QImage::fromData(f.png));
        }
        p.end();
        const QString file = QDir(outDir).filePath(QStringLiteral("sheet-%1.png").arg(page + 1, 3, 10, QLatin1Char('0')));
        if (!sheet.save(file)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            return false;
        }
    }
    return true;
}

QVector<int> parseRange(const QString &text, bool *ok)
{
    *ok = true;
    if (text.isEmpty())
        return {1, 100000};
    const QStringList parts = text.split(QLatin1Char('-'));
    bool a = false, b = true;
    const int first = parts.value(0).toInt(&a);
    const int last = parts.size() > 1 ? parts.value(1).toInt(&b) : first;
    *ok = a && b && parts.size() <= 2 && first <= last;
    return {first, last};
}

} // namespace

int main(int argc, char **argv)
{
    Q_INIT_RESOURCE(qml);
    qputenv("QT_GSTREAMER_PLAYBIN_AUDIOSINK", "fakesink");
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (!qEnvironmentVariableIsSet("QT_QUICK_BACKEND"))
        qputenv("QT_QUICK_BACKEND", "software");
    QGuiApplication app(argc, argv);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Contact sheets of what each script line shows."));
    parser.addHelpOption();
    const QCommandLineOption gameOpt(QStringLiteral("game"), QStringLiteral("Ready-to-play directory (png/)."), QStringLiteral("dir"),
                                     QStringLiteral(SOLVANE_GAME_DIR));
    const QCommandLineOption scriptOpt(QStringLiteral("script"), QStringLiteral("Script file (default: <game>/a.txt)."), QStringLiteral("file"));
    const QCommandLineOption outOpt(QStringLiteral("out"), QStringLiteral("Directory for the sheets."), QStringLiteral("dir"),
                                    QStringLiteral("storyboard"));
    const QCommandLineOption linesOpt(QStringLiteral("lines"), QStringLiteral("Only lines A-B (or one line)."), QStringLiteral("A-B"));
    const QCommandLineOption routeOpt(QStringLiteral("route"),
                                      QStringLiteral("Named route: main, mistakes, stay-261, stay-406, end-667, end-673, end-695, end-841."),
                                      QStringLiteral("name"), QStringLiteral("main"));
    const QCommandLineOption answersOpt(QStringLiteral("answers"),
                                        QStringLiteral("One answer (1 or 2) per question in story order, e.g. 1,1,2; words are typed answers, tried in turn. Unnamed questions get the onward answer."),
                                        QStringLiteral("list"));
    const QCommandLineOption allOpt(QStringLiteral("all"),
                                    QStringLiteral("Every named route, then each line none of them reached, as a loaded save shows it."));
    const QCommandLineOption scaleOpt(QStringLiteral("scale"), QStringLiteral("Frame scale (default 0.5)."), QStringLiteral("factor"),
                                      QStringLiteral("0.5"));
    const QCommandLineOption perPageOpt(QStringLiteral("per-page"), QStringLiteral("Frames per sheet (default 12)."), QStringLiteral("n"),
                                        QStringLiteral("12"));
    parser.addOptions({gameOpt, scriptOpt, outOpt, linesOpt, routeOpt, answersOpt, allOpt, scaleOpt, perPageOpt});
    parser.process(app);

    bool ok = false;
    const QVector<int> range = parseRange(parser.value(linesOpt), &ok);
    const double scale = parser.value(scaleOpt).toDouble();
    const int perPage = parser.value(perPageOpt).toInt();
    if (!ok || scale <= 0 || scale > 1 || perPage < 1) {
        std::fprintf(stderr, "bad --lines, --scale or --per-page\n");
        return 2;
    }
    const QString gameDir = QDir(parser.value(gameOpt)).absolutePath();
    const QString script = QFileInfo(parser.isSet(scriptOpt) ? parser.value(scriptOpt) : gameDir + QStringLiteral("/a.txt")).absoluteFilePath();
    if (!QFile::exists(script) || !QDir(gameDir + QStringLiteral("/png")).exists()) {
        std::fprintf(stderr, "no script at %s or no png/ in %s\n", qPrintable(script), qPrintable(gameDir));
        return 2;
    }
    const QString outDir = QDir(parser.value(outOpt)).absolutePath();
    QDir().mkpath(outDir);

    QVector<Route> routes;
    if (parser.isSet(answersOpt)) {
        // Numbers go to the questions in story order; words to the typed question, in turn.
        Route r;
        r.name = QStringLiteral("answers");
        r.typed.clear();
        int question = 0;
        QVector<int> asked;
        for (const story::RouteNode &node : story::routes().nodes()) {
            if (node.kind == NodeKind::Question && !node.typed)
                asked << node.line;
        }
        for (const QString &item : parser.value(answersOpt).split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            bool number = false;
            const int answer = item.toInt(&number);
            if (number && (answer == 1 || answer == 2)) {
                if (question < asked.size())
                    r.answers[asked.at(question++)] = answer;
            } else {
                r.typed << item;
            }
        }
        if (r.typed.isEmpty())
            r.typed << QString::fromUtf8(kRightTypedAnswer);
        routes << r;
    } else if (parser.isSet(allOpt)) {
        routes = namedRoutes();
    } else {
        for (const Route &r : namedRoutes()) {
            if (r.name == parser.value(routeOpt))
                routes << r;
        }
        if (routes.isEmpty()) {
            std::fprintf(stderr, "no route named %s\n", qPrintable(parser.value(routeOpt)));
            return 2;
        }
    }

    // The page reads pictures beside the working directory and the staging writes
    // the unlock record there: a scratch directory keeps the player's own safe.
    QTemporaryDir scratch;
    QDir::setCurrent(scratch.path());
    QFile::link(gameDir + QStringLiteral("/png"), QStringLiteral("png"));
    QDir().mkpath(QStringLiteral("saves"));
    QFile settings(QStringLiteral("setting.txt"));
    if (settings.open(QIODevice::WriteOnly))
        settings.write("1\n1\n0.5\n0\n");
    settings.close();

    app::substituteGameFont();
    QGuiApplication::setFont(QFont(QStringLiteral("Microsoft Yahei"), 9));

    Storyboard board(script, range.at(0), range.at(1), scale);
    if (!board.ready()) {
        std::fprintf(stderr, "the game page did not load:\n%s\n", qPrintable(board.errors()));
        return 1;
    }
    for (const Route &r : routes) {
        board.play(r);
        std::printf("route %s: %d frames so far\n", qPrintable(r.name), int(board.frames().size()));
    }
    if (parser.isSet(allOpt))
        board.loadEachUndrawn();
    if (!writeSheets(board.frames(), outDir, perPage))
        return 1;
    std::printf("%d frames on %d sheets in %s\n", int(board.frames().size()),
                int((board.frames().size() + perPage - 1) / perPage), qPrintable(outDir));
    return 0;
}
