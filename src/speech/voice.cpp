#include "speech/voice.h"

#include "core/log.h"
#include "music/audiooutput.h"

#ifdef SOLVANE_HAVE_ESPEAK
#include <espeak-ng/speak_lib.h>

#include <QLibrary>
#endif

#include <QByteArray>
#include <QtDebug>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#include <initguid.h>
#include <sapi.h>
#endif

#ifndef SOLVANE_QT_MEDIA_PLAYER
#include <gst/gst.h>
#endif

namespace speech {

namespace {

#ifdef SOLVANE_HAVE_ESPEAK
// Loaded on the first words to read: a player who never turns 朗读 on does not
// start the game with eSpeak and the sound libraries it pulls in.
struct EspeakApi {
    decltype(&espeak_Initialize) initialize = nullptr;
    decltype(&espeak_SetSynthCallback) setSynthCallback = nullptr;
    decltype(&espeak_SetVoiceByName) setVoiceByName = nullptr;
    decltype(&espeak_SetParameter) setParameter = nullptr;
    decltype(&espeak_Synth) synth = nullptr;
    decltype(&espeak_Terminate) terminate = nullptr;

    bool load()
    {
        QLibrary library(QStringLiteral("espeak-ng"), QStringLiteral("1"));
        if (!library.load()) {
            library.setFileNameAndVersion(QStringLiteral("espeak-ng"), QString());
            if (!library.load())
                return false;
        }
        initialize = reinterpret_cast<decltype(initialize)>(library.resolve("espeak_Initialize"));
        setSynthCallback = reinterpret_cast<decltype(setSynthCallback)>(library.resolve("espeak_SetSynthCallback"));
        setVoiceByName = reinterpret_cast<decltype(setVoiceByName)>(library.resolve("espeak_SetVoiceByName"));
        setParameter = reinterpret_cast<decltype(setParameter)>(library.resolve("espeak_SetParameter"));
        synth = reinterpret_cast<decltype(synth)>(library.resolve("espeak_Synth"));
        terminate = reinterpret_cast<decltype(terminate)>(library.resolve("espeak_Terminate"));
        return initialize && setSynthCallback && setVoiceByName && setParameter && synth && terminate;
    }
};

// eSpeak keeps one state for the whole process: every call goes through here.
struct Espeak {
    EspeakApi api;
    std::mutex lock;
    bool tried = false;
    int rate = 0; // samples a second; 0 when eSpeak could not start
    const std::function<bool(const short *, int)> *sink = nullptr;

    ~Espeak()
    {
        if (rate > 0)
            api.terminate();
    }

    // With the lock held.
    bool ready()
    {
        if (tried)
            return rate > 0;
        tried = true;
        if (!api.load()) {
            qCWarning(lcSpeech).noquote() << QStringLiteral("找不到 eSpeak NG 的库（libespeak-ng），朗读没有声音");
            return false;
        }
        // Without DONT_EXIT a missing voice file would end the game.
        const int r = api.initialize(AUDIO_OUTPUT_SYNCHRONOUS, 100, nullptr, espeakINITIALIZE_DONT_EXIT);
        if (r <= 0) {
            qCWarning(lcSpeech).noquote() << QStringLiteral("eSpeak NG 无法启动（缺少 espeak-ng-data？），朗读没有声音");
            return false;
        }
        api.setSynthCallback(&Espeak::chunk);
        // The plain "cmn" voice spells each character's pinyin as English
        // words; this one reads the characters, and Latin names as pinyin.
        if (api.setVoiceByName("cmn-latn-pinyin") != EE_OK && api.setVoiceByName("cmn") != EE_OK) {
            qCWarning(lcSpeech).noquote() << QStringLiteral("eSpeak NG 没有普通话语音，朗读没有声音");
            api.terminate();
            return false;
        }
        rate = r;
        return true;
    }

    static int chunk(short *samples, int count, espeak_EVENT *);
};

Espeak &espeak()
{
    static Espeak instance;
    return instance;
}

int Espeak::chunk(short *samples, int count, espeak_EVENT *)
{
    const auto *sink = espeak().sink;
    if (!samples || count <= 0 || !sink)
        return 0;
    return (*sink)(samples, count) ? 0 : 1; // 1 stops the synthesis
}

// Feeds the samples to sink as they come; sink returns false to stop early.
// False when nothing could be synthesised.
bool synthesizeInto(const QString &text, int wordsPerMinute, const std::function<bool(const short *, int)> &sink)
{
    Espeak &e = espeak();
    std::lock_guard<std::mutex> hold(e.lock);
    if (!e.ready())
        return false;
    const QByteArray utf8 = text.toUtf8();
    e.api.setParameter(espeakRATE, std::clamp(wordsPerMinute, espeakRATE_MINIMUM, espeakRATE_MAXIMUM), 0);
    e.sink = &sink;
    const espeak_ERROR result = e.api.synth(utf8.constData(), size_t(utf8.size()) + 1, 0, POS_CHARACTER, 0,
                                             espeakCHARS_UTF8, nullptr, nullptr);
    e.sink = nullptr;
    return result == EE_OK;
}

#else
// A build without eSpeak NG (possible on Windows) reads nothing aloud.
bool synthesizeInto(const QString &, int, const std::function<bool(const short *, int)> &)
{
    static const bool warned = [] {
        qCWarning(lcSpeech).noquote() << QStringLiteral("此版本没有 eSpeak NG，朗读没有声音");
        return true;
    }();
    Q_UNUSED(warned)
    return false;
}
#endif

} // namespace

int rateFor(float textSpeed)
{
    // eSpeak's own 175 a little below the middle; the fastest still clear.
    const float speed = std::isfinite(textSpeed) ? std::clamp(textSpeed, 0.0f, 1.0f) : 0.5f;
    return 120 + int(std::lround(200.0f * speed));
}

QVector<qint16> synthesize(const QString &text, int wordsPerMinute)
{
    QVector<qint16> all;
    synthesizeInto(text, wordsPerMinute, [&all](const short *samples, int count) {
        const int had = all.size();
        all.resize(had + count);
        std::copy(samples, samples + count, all.begin() + had);
        return true;
    });
    return all;
}

int sampleRate()
{
#ifdef SOLVANE_HAVE_ESPEAK
    Espeak &e = espeak();
    std::lock_guard<std::mutex> hold(e.lock);
    return e.ready() ? e.rate : 0;
#else
    return 0;
#endif
}

// The thread synthesises and pushes the samples into
// appsrc ! convert ! resample ! volume ! output, built on first use. Each
// utterance has a number; a stop or a new one raises the number asked for,
// and whatever belongs to a lower one (samples still coming, an end of
// stream) is dropped.
struct Voice::Engine {
    Voice *owner = nullptr;
    std::mutex lock; // the fields below, and every state change of the chain
    std::condition_variable wake;
    bool pending = false;
    bool quitting = false;
    QString text;
    int rate = 220;
    double volume = 1.0;
    std::atomic<int> asked{0};   // the utterance the game wants
    std::atomic<int> playing{0}; // the one the chain plays
    std::thread worker;
#ifndef SOLVANE_QT_MEDIA_PLAYER
    GstElement *pipeline = nullptr;
    GstElement *source = nullptr;
    GstElement *level = nullptr;
    bool built = false;
#endif

    void run()
    {
        std::unique_lock<std::mutex> held(lock);
        for (;;) {
            wake.wait(held, [this] { return pending || quitting; });
            if (quitting)
                break;
            pending = false;
            const int number = asked.load();
            const QString words = text;
            const int wpm = rate;
            held.unlock();
            speak(number, words, wpm);
            held.lock();
        }
        held.unlock();
        release();
    }

    void doneLater(int number)
    {
        QMetaObject::invokeMethod(owner, [o = owner, number] { o->finish(number); }, Qt::QueuedConnection);
    }

#if defined(_WIN32)
    // Windows speaks through its own voices (SAPI): a Chinese one is on every
    // Chinese Windows. On this thread only, as COM objects are used where made.
    ISpVoice *sapi = nullptr;
    bool sapiTried = false;

    bool sapiReady()
    {
        if (sapiTried)
            return sapi;
        sapiTried = true;
        CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        if (FAILED(CoCreateInstance(CLSID_SpVoice, nullptr, CLSCTX_ALL, IID_ISpVoice, reinterpret_cast<void **>(&sapi)))) {
            sapi = nullptr;
            qCWarning(lcSpeech).noquote() << QStringLiteral("Windows 的语音服务无法启动，朗读没有声音");
            return false;
        }
        ISpObjectTokenCategory *category = nullptr;
        IEnumSpObjectTokens *tokens = nullptr;
        ISpObjectToken *chinese = nullptr;
        if (SUCCEEDED(CoCreateInstance(CLSID_SpObjectTokenCategory, nullptr, CLSCTX_ALL, IID_ISpObjectTokenCategory,
                                       reinterpret_cast<void **>(&category)))
            && SUCCEEDED(category->SetId(L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Speech\\Voices", FALSE))
            && SUCCEEDED(category->EnumTokens(L"Language=804", nullptr, &tokens)) && tokens)
            tokens->Next(1, &chinese, nullptr);
        const bool found = chinese && SUCCEEDED(sapi->SetVoice(chinese));
        for (IUnknown *object : std::initializer_list<IUnknown *>{chinese, tokens, category}) {
            if (object)
                object->Release();
        }
        if (!found) {
            qCWarning(lcSpeech).noquote() << QStringLiteral("Windows 没有中文语音，朗读没有声音");
            sapi->Release();
            sapi = nullptr;
        }
        return sapi;
    }

    void speak(int number, const QString &words, int wpm)
    {
        if (words.isEmpty() || !sapiReady()) {
            if (sapi)
                sapi->Speak(nullptr, SPF_PURGEBEFORESPEAK, nullptr);
            if (!words.isEmpty())
                doneLater(number);
            return;
        }
        double level = 1.0;
        {
            std::lock_guard<std::mutex> hold(lock);
            level = volume;
        }
        // SAPI's rate is -10 to 10, each step about an eighth faster; 0 is near eSpeak's 175.
        sapi->SetRate(std::clamp(long(std::lround(std::log(wpm / 175.0) / std::log(1.116))), -10L, 10L));
        sapi->SetVolume(USHORT(std::lround(level * 100)));
        const std::wstring text = words.toStdWString();
        sapi->Speak(text.c_str(), SPF_ASYNC | SPF_PURGEBEFORESPEAK | SPF_IS_NOT_XML, nullptr);
        // Cut off as soon as something newer is asked for, or the game goes.
        while (sapi->WaitUntilDone(50) == S_FALSE) {
            if (asked.load() != number) {
                sapi->Speak(nullptr, SPF_PURGEBEFORESPEAK, nullptr);
                return;
            }
        }
        doneLater(number);
    }
    void release()
    {
        if (sapi) {
            sapi->Speak(nullptr, SPF_PURGEBEFORESPEAK, nullptr);
            sapi->Release();
            sapi = nullptr;
        }
        if (sapiTried)
            CoUninitialize();
    }
#elif defined(SOLVANE_QT_MEDIA_PLAYER)
    // No chain of our own to play into with Qt's player.
    void speak(int number, const QString &words, int)
    {
        if (!words.isEmpty())
            doneLater(number);
    }
    void release() {}
#else
    void speak(int number, const QString &words, int wpm)
    {
        const int samplesPerSecond = words.isEmpty() ? 0 : sampleRate();
        {
            std::lock_guard<std::mutex> hold(lock);
            if (!built) {
                built = true;
                if (music::gstreamerReady() && !build())
                    qCWarning(lcSpeech).noquote() << QStringLiteral("缺少 GStreamer 插件 appsrc（gstreamer1.0-plugins-base），朗读没有声音");
            }
            // Whatever an earlier utterance left in the chain goes.
            if (pipeline)
                gst_element_set_state(pipeline, GST_STATE_READY);
            playing = number;
            if (words.isEmpty())
                return;
            if (!pipeline || samplesPerSecond <= 0) {
                doneLater(number);
                return;
            }
            g_object_set(level, "volume", volume, nullptr);
            gst_element_set_state(pipeline, GST_STATE_PLAYING);
        }
        GstCaps *caps = gst_caps_new_simple("audio/x-raw", "format", G_TYPE_STRING, "S16LE", "rate", G_TYPE_INT,
                                            samplesPerSecond, "channels", G_TYPE_INT, 1, "layout", G_TYPE_STRING,
                                            "interleaved", nullptr);
        g_object_set(source, "caps", caps, nullptr);
        gst_caps_unref(caps);
        guint64 pushed = 0;
        // Stamped, or a sink that keeps time would play it all at once.
        const bool synthesised = synthesizeInto(words, wpm, [&](const short *samples, int count) {
            if (asked.load() != number)
                return false;
            const gsize bytes = gsize(count) * sizeof(short);
            GstBuffer *buffer = gst_buffer_new_allocate(nullptr, bytes, nullptr);
            gst_buffer_fill(buffer, 0, samples, bytes);
            GST_BUFFER_PTS(buffer) = gst_util_uint64_scale(pushed, GST_SECOND, guint64(samplesPerSecond));
            pushed += guint64(count);
            GST_BUFFER_DURATION(buffer) = gst_util_uint64_scale(pushed, GST_SECOND, guint64(samplesPerSecond))
                                          - GST_BUFFER_PTS(buffer);
            GstFlowReturn flow = GST_FLOW_OK;
            g_signal_emit_by_name(source, "push-buffer", buffer, &flow);
            gst_buffer_unref(buffer);
            return flow == GST_FLOW_OK;
        });
        if (asked.load() != number)
            return;
        if (!synthesised || pushed == 0) {
            doneLater(number);
            return;
        }
        GstFlowReturn flow = GST_FLOW_OK;
        g_signal_emit_by_name(source, "end-of-stream", &flow);
        qCDebug(lcSpeech).noquote() << QStringLiteral("朗读 %1 秒").arg(double(pushed) / samplesPerSecond, 0, 'f', 1);
    }

    bool build()
    {
        const music::Chain chain = music::buildChain("speech", {"appsrc", "audioconvert", "audioresample", "volume"});
        if (!chain.pipeline)
            return false;
        pipeline = chain.pipeline;
        source = chain.parts[0];
        level = chain.parts[3];
        // Speech keeps time even in a fake sink: auto waits for it to end.
        g_object_set(chain.parts[4], "sync", TRUE, nullptr);
        g_object_set(source, "format", GST_FORMAT_TIME, nullptr);
        GstBus *bus = gst_element_get_bus(pipeline);
        gst_bus_set_sync_handler(bus, &Engine::onMessage, this, nullptr);
        gst_object_unref(bus);
        return true;
    }

    // On a streaming thread. The utterance's end, or an output that failed
    // (said once), ends the speaking on the GUI thread.
    static GstBusSyncReply onMessage(GstBus *, GstMessage *msg, gpointer data)
    {
        auto *self = static_cast<Engine *>(data);
        const GstMessageType type = GST_MESSAGE_TYPE(msg);
        if (type == GST_MESSAGE_ERROR) {
            static std::once_flag told;
            GError *err = nullptr;
            gst_message_parse_error(msg, &err, nullptr);
            const QString why = QString::fromUtf8(err ? err->message : "");
            g_clear_error(&err);
            std::call_once(told, [&why] { qCWarning(lcSpeech).noquote() << QStringLiteral("朗读无法播放：%1").arg(why); });
        }
        if (type == GST_MESSAGE_EOS || type == GST_MESSAGE_ERROR)
            self->doneLater(self->playing.load());
        gst_message_unref(msg);
        return GST_BUS_DROP;
    }

    void release()
    {
        if (!pipeline)
            return;
        gst_element_set_state(pipeline, GST_STATE_NULL);
        GstBus *bus = gst_element_get_bus(pipeline);
        gst_bus_set_sync_handler(bus, nullptr, nullptr, nullptr);
        gst_object_unref(bus);
        gst_object_unref(pipeline);
        pipeline = nullptr;
    }
#endif
};

Voice::Voice(QObject *parent) : QObject(parent), engine(std::make_unique<Engine>())
{
    engine->owner = this;
    engine->worker = std::thread([e = engine.get()] { e->run(); });
}

Voice::~Voice()
{
    {
        std::lock_guard<std::mutex> hold(engine->lock);
        engine->quitting = true;
        ++engine->asked; // a synthesis under way stops at its next chunk
    }
    engine->wake.notify_one();
    engine->worker.join();
}

void Voice::say(const QString &text)
{
    // Asked again while it is being said (a focus that comes twice): it goes on.
    if (busy && text == current)
        return;
    if (!text.isEmpty())
        qCDebug(lcSpeech).noquote() << QStringLiteral("朗读：") << text;
    {
        std::lock_guard<std::mutex> hold(engine->lock);
        ++engine->asked;
        engine->text = text;
        engine->pending = true;
    }
    engine->wake.notify_one();
    current = text;
    const bool was = busy;
    busy = !text.isEmpty();
    if (was && !busy)
        emit idle();
}

void Voice::stop()
{
    say(QString());
}

void Voice::setRate(int wordsPerMinute)
{
    std::lock_guard<std::mutex> hold(engine->lock);
    engine->rate = wordsPerMinute;
}

void Voice::setVolume(int volume)
{
    std::lock_guard<std::mutex> hold(engine->lock);
    engine->volume = std::clamp(volume, 0, 100) / 100.0;
}

void Voice::finish(int generation)
{
    if (generation != engine->asked.load() || !busy)
        return;
    busy = false;
    current.clear();
    emit idle();
}

} // namespace speech
