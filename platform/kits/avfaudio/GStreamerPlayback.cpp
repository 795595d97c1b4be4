#include "platform/kits/avfaudio/GStreamerPlayback.hpp"

#include "platform/kits/avfaudio/AudioPlayerError.hpp"

#include <gst/gst.h>

#include <mutex>
#include <string>
#include <system_error>

namespace avfaudio {
namespace {

// How long decoding the start of a file may take before the file counts as undecodable; a short sound
// effect prerolls in milliseconds.
constexpr GstClockTime prerollBound = 10 * GST_SECOND;

void initialiseGStreamer() {
    static std::once_flag once;
    std::call_once(once, [] { gst_init(nullptr, nullptr); });
}

struct ElementDeleter {
    void operator()(GstElement* element) const {
        gst_element_set_state(element, GST_STATE_NULL);
        gst_object_unref(element);
    }
};
using ElementPointer = std::unique_ptr<GstElement, ElementDeleter>;

struct BusDeleter {
    void operator()(GstBus* bus) const { gst_object_unref(bus); }
};
using BusPointer = std::unique_ptr<GstBus, BusDeleter>;

struct MessageDeleter {
    void operator()(GstMessage* message) const { gst_message_unref(message); }
};
using MessagePointer = std::unique_ptr<GstMessage, MessageDeleter>;

std::string errorText(GstMessage* message) {
    GError* error = nullptr;
    gchar* debug = nullptr;
    gst_message_parse_error(message, &error, &debug);
    std::string text = error != nullptr ? error->message : "unknown decoding error";
    g_clear_error(&error);
    g_free(debug);
    return text;
}

std::string fileURI(const std::filesystem::path& file) {
    GError* error = nullptr;
    gchar* uri = g_filename_to_uri(file.c_str(), nullptr, &error);
    if (uri == nullptr) {
        const std::string reason = error != nullptr ? error->message : "not a file name";
        g_clear_error(&error);
        throw AudioPlayerError("cannot play " + file.string() + ": " + reason);
    }
    std::string text(uri);
    g_free(uri);
    return text;
}

ElementPointer makeElement(const char* factory) {
    GstElement* element = gst_element_factory_make(factory, nullptr);
    if (element == nullptr) {
        throw AudioPlayerError(std::string("GStreamer has no \"") + factory +
                               "\" element: gstreamer1.0-plugins-base is not installed");
    }
    return ElementPointer(GST_ELEMENT(gst_object_ref_sink(element)));
}

// A playbin of the file whose sinks take the samples and drop them.
ElementPointer discardingPlaybin(const std::string& uri, bool atTheSoundsPace) {
    ElementPointer playbin = makeElement("playbin");
    GstElement* audioSink = gst_element_factory_make("fakesink", nullptr);
    GstElement* videoSink = gst_element_factory_make("fakesink", nullptr);
    g_object_set(audioSink, "sync", atTheSoundsPace ? TRUE : FALSE, nullptr);
    g_object_set(videoSink, "sync", FALSE, nullptr);
    g_object_set(playbin.get(), "uri", uri.c_str(), "audio-sink", audioSink, "video-sink", videoSink, nullptr);
    return playbin;
}

// Decodes the start of the file into nothing: it is media, and it has sound in it.
void checkDecodes(const std::filesystem::path& file, const std::string& uri) {
    const ElementPointer playbin = discardingPlaybin(uri, false);
    const BusPointer bus(gst_element_get_bus(playbin.get()));
    const GstStateChangeReturn change = gst_element_set_state(playbin.get(), GST_STATE_PAUSED);
    if (change != GST_STATE_CHANGE_SUCCESS) {
        const MessagePointer message(gst_bus_timed_pop_filtered(
            bus.get(), change == GST_STATE_CHANGE_FAILURE ? 0 : prerollBound,
            static_cast<GstMessageType>(GST_MESSAGE_ASYNC_DONE | GST_MESSAGE_ERROR)));
        if (message == nullptr) {
            throw AudioPlayerError("cannot play " + file.string() +
                                   (change == GST_STATE_CHANGE_FAILURE ? ": it cannot be decoded"
                                                                       : ": decoding it did not start in time"));
        }
        if (GST_MESSAGE_TYPE(message.get()) == GST_MESSAGE_ERROR) {
            throw AudioPlayerError("cannot play " + file.string() + ": " + errorText(message.get()));
        }
    }
    gint audioStreams = 0;
    g_object_get(playbin.get(), "n-audio", &audioStreams, nullptr);
    if (audioStreams <= 0) {
        throw AudioPlayerError("cannot play " + file.string() + ": it holds no sound");
    }
}

}  // namespace

struct GStreamerPlayback::Pipeline {
    explicit Pipeline(ElementPointer element) : playbin(std::move(element)) {}

    ~Pipeline() {
        if (watch != nullptr) {
            g_source_destroy(watch);
            g_source_unref(watch);
        }
    }

    // The end of the sound, or a failure of the output, makes the player playable again from the start.
    static gboolean onMessage(GstBus*, GstMessage* message, gpointer data) {
        const auto pipeline = static_cast<std::weak_ptr<Pipeline>*>(data)->lock();
        if (pipeline == nullptr) {
            return G_SOURCE_REMOVE;
        }
        const GstMessageType type = GST_MESSAGE_TYPE(message);
        if (type == GST_MESSAGE_EOS || type == GST_MESSAGE_ERROR) {
            {
                const std::lock_guard lock(pipeline->mutex);
                pipeline->playing = false;
            }
            gst_element_set_state(pipeline->playbin.get(), GST_STATE_READY);
        }
        return G_SOURCE_CONTINUE;
    }

    static void forget(gpointer data) { delete static_cast<std::weak_ptr<Pipeline>*>(data); }

    ElementPointer playbin;
    GSource* watch = nullptr;
    mutable std::mutex mutex;
    bool playing = false;
};

GStreamerPlayback::GStreamerPlayback(const std::filesystem::path& file, Output output) {
    std::error_code ignored;
    if (!std::filesystem::is_regular_file(file, ignored)) {
        throw AudioPlayerError("cannot play " + file.string() + ": there is no such file");
    }
    initialiseGStreamer();
    const std::string uri = fileURI(file);
    checkDecodes(file, uri);

    ElementPointer playbin;
    if (output == Output::discard) {
        playbin = discardingPlaybin(uri, true);
    } else {
        // playbin picks the desktop's audio output itself.
        playbin = makeElement("playbin");
        g_object_set(playbin.get(), "uri", uri.c_str(), nullptr);
    }
    pipeline_ = std::make_shared<Pipeline>(std::move(playbin));

    const BusPointer bus(gst_element_get_bus(pipeline_->playbin.get()));
    pipeline_->watch = gst_bus_create_watch(bus.get());
    g_source_set_callback(pipeline_->watch, G_SOURCE_FUNC(&Pipeline::onMessage),
                          new std::weak_ptr<Pipeline>(pipeline_), &Pipeline::forget);
    g_source_attach(pipeline_->watch, g_main_context_default());
}

GStreamerPlayback::~GStreamerPlayback() = default;

bool GStreamerPlayback::play() {
    {
        const std::lock_guard lock(pipeline_->mutex);
        if (pipeline_->playing) {
            return false;
        }
        pipeline_->playing = true;
    }
    if (gst_element_set_state(pipeline_->playbin.get(), GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE) {
        const std::lock_guard lock(pipeline_->mutex);
        pipeline_->playing = false;
        return false;
    }
    return true;
}

bool GStreamerPlayback::isPlaying() const {
    const std::lock_guard lock(pipeline_->mutex);
    return pipeline_->playing;
}

}  // namespace avfaudio
