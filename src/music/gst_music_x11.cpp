#include "music/gst_music_x11.h"

#include <gst/gst.h>

#include <cstdio>

#include "music/loop_watch.h"

namespace kovaren::x11 {
namespace {

// playbin's flags: audio only, so a cover picture in an MP3 never opens a video window.
constexpr guint kPlayAudioOnly = 0x00000002;
constexpr gint64 kMicrosecondsPerMillisecond = 1000;

}  // namespace

struct GstMusic::Player {
  GstElement* playbin = nullptr;
  GstBus* bus = nullptr;
  GPollFD pollFd{-1, 0, 0};
  music::LoopWatch loops;
  gint64 loopStartedUs = 0;  // GLib's monotonic clock when the current loop began
};

std::unique_ptr<GstMusic> GstMusic::Start(const std::string& file) {
  GError* error = nullptr;
  if (!gst_init_check(nullptr, nullptr, &error)) {
    std::fprintf(stderr, "kovaren: no music: %s\n", error ? error->message : "GStreamer did not start");
    if (error) g_error_free(error);
    return nullptr;
  }
  gchar* uri = gst_filename_to_uri(file.c_str(), &error);
  if (!uri) {
    std::fprintf(stderr, "kovaren: no music: %s\n", error ? error->message : file.c_str());
    if (error) g_error_free(error);
    return nullptr;
  }
  auto player = std::make_unique<Player>();
  player->playbin = gst_element_factory_make("playbin", nullptr);
  if (!player->playbin) {
    std::fprintf(stderr, "kovaren: no music: GStreamer's playbin is missing\n");
    g_free(uri);
    return nullptr;
  }
  g_object_set(player->playbin, "uri", uri, "flags", kPlayAudioOnly, nullptr);
  g_free(uri);
  player->bus = gst_element_get_bus(player->playbin);
  gst_bus_get_pollfd(player->bus, &player->pollFd);
  // A file that cannot play says so on the bus (Serve then silences it); the saver goes on.
  gst_element_set_state(player->playbin, GST_STATE_PLAYING);
  player->loopStartedUs = g_get_monotonic_time();
  return std::unique_ptr<GstMusic>(new GstMusic(std::move(player)));
}

GstMusic::GstMusic(std::unique_ptr<Player> player) : player_(std::move(player)) {}

GstMusic::~GstMusic() { Stop(); }

int GstMusic::pollDescriptor() const { return player_ ? player_->pollFd.fd : -1; }

void GstMusic::Serve() {
  if (!player_) return;
  while (GstMessage* message = gst_bus_pop_filtered(
             player_->bus, static_cast<GstMessageType>(GST_MESSAGE_EOS | GST_MESSAGE_ERROR))) {
    if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_ERROR) {
      GError* error = nullptr;
      gst_message_parse_error(message, &error, nullptr);
      std::fprintf(stderr, "kovaren: the music stopped: %s\n", error ? error->message : "unknown error");
      if (error) g_error_free(error);
      gst_message_unref(message);
      Stop();
      return;
    }
    gst_message_unref(message);  // the file's end
    if (!StartOver()) return;
  }
}

// Over and over: back to the start, still playing; unless the loops end as they start (the file
// became unplayable), when it falls silent instead of spinning.
bool GstMusic::StartOver() {
  const gint64 now = g_get_monotonic_time();
  if (!player_->loops.KeepLooping((now - player_->loopStartedUs) / kMicrosecondsPerMillisecond)) {
    std::fprintf(stderr, "kovaren: the music stopped: the file no longer plays\n");
    Stop();
    return false;
  }
  gst_element_seek_simple(player_->playbin, GST_FORMAT_TIME,
                          static_cast<GstSeekFlags>(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_KEY_UNIT), 0);
  player_->loopStartedUs = now;
  return true;
}

void GstMusic::Stop() {
  if (!player_) return;
  gst_element_set_state(player_->playbin, GST_STATE_NULL);
  gst_object_unref(player_->bus);
  gst_object_unref(player_->playbin);
  player_.reset();
}

}  // namespace kovaren::x11
