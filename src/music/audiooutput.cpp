#include "music/audiooutput.h"

#include "core/log.h"

#ifndef SOLVANE_QT_MEDIA_PLAYER

#include <gst/gst.h>

#include <QByteArray>
#include <QString>
#include <QtDebug>

namespace music {

bool gstreamerReady()
{
    static const bool ready = [] {
        GError *err = nullptr;
        if (gst_init_check(nullptr, nullptr, &err))
            return true;
        qCWarning(lcMusic).noquote() << QStringLiteral("GStreamer 无法初始化：%1").arg(QString::fromUtf8(err ? err->message : ""));
        g_clear_error(&err);
        return false;
    }();
    return ready;
}

// As an automatic sink would choose one, but among these only: probing every
// output in the registry would load whatever sound plugins the machine has.
// The fake sink keeps time, so tracks and speech still end at their own pace.
GstElement *openAudioSink()
{
    // Tests ask for a sink that does not keep time, the same knob Qt's player read.
    const QByteArray asked = qgetenv("QT_GSTREAMER_PLAYBIN_AUDIOSINK");
    if (!asked.isEmpty()) {
        if (GstElement *sink = gst_element_factory_make(asked.constData(), nullptr))
            return GST_ELEMENT(gst_object_ref_sink(sink));
    }
    for (const char *name : {"pulsesink", "alsasink"}) {
        GstElement *sink = gst_element_factory_make(name, nullptr);
        if (!sink)
            continue;
        gst_object_ref_sink(sink);
        if (gst_element_set_state(sink, GST_STATE_READY) == GST_STATE_CHANGE_SUCCESS) {
            qCDebug(lcMusic) << "音频输出" << name;
            return sink;
        }
        gst_element_set_state(sink, GST_STATE_NULL);
        gst_object_unref(sink);
    }
    qCDebug(lcMusic) << "没有可用的音频输出，静音播放";
    GstElement *sink = gst_element_factory_make("fakesink", nullptr);
    if (sink) {
        gst_object_ref_sink(sink);
        g_object_set(sink, "sync", TRUE, nullptr);
    }
    return sink;
}

namespace {

// The fake sink chosen for want of a sound output, not one a test asked for.
bool silentOutput(GstElement *sink)
{
    GstElementFactory *factory = sink ? gst_element_get_factory(sink) : nullptr;
    return factory && qEnvironmentVariableIsEmpty("QT_GSTREAMER_PLAYBIN_AUDIOSINK")
        && qstrcmp(gst_plugin_feature_get_name(GST_PLUGIN_FEATURE(factory)), "fakesink") == 0;
}

} // namespace

Chain buildChain(const char *name, std::initializer_list<const char *> names, std::size_t keepSilent)
{
    Chain chain;
    for (const char *element : names) {
        GstElement *part = gst_element_factory_make(element, nullptr);
        if (!part) {
            chain.missing = element;
            break;
        }
        chain.parts.push_back(part);
    }
    GstElement *sink = chain.missing ? nullptr : openAudioSink();
    if (!chain.missing && !sink)
        chain.missing = "fakesink";
    if (keepSilent && keepSilent < chain.parts.size() && silentOutput(sink)) {
        qCDebug(lcMusic) << "没有音频输出：只计时，不解码";
        for (std::size_t i = keepSilent; i < chain.parts.size(); ++i) {
            gst_object_ref_sink(chain.parts[i]);
            gst_object_unref(chain.parts[i]);
        }
        chain.parts.resize(keepSilent);
    }
    GstElement *bin = gst_pipeline_new(name);
    gst_object_ref_sink(bin);
    for (GstElement *part : chain.parts)
        gst_bin_add(GST_BIN(bin), part);
    bool linked = !chain.missing;
    if (sink) {
        gst_bin_add(GST_BIN(bin), sink);
        gst_object_unref(sink); // the bin holds it now
        chain.parts.push_back(sink);
    }
    for (std::size_t i = 1; linked && i < chain.parts.size(); ++i)
        linked = gst_element_link(chain.parts[i - 1], chain.parts[i]);
    if (!linked) {
        gst_element_set_state(bin, GST_STATE_NULL);
        gst_object_unref(bin);
        chain.parts.clear();
        return chain;
    }
    chain.pipeline = bin;
    return chain;
}

} // namespace music

#endif
