// The X11 program's music: one MP3 or WAV file played over and over by a GStreamer playbin inside
// the process (a child player would outlive the SIGTERM that ends a hack). A file that cannot be
// played leaves the program silent, never stopped. The caller polls the bus's descriptor with the
// X connection and calls Serve when it is readable.
#pragma once
#include <memory>
#include <optional>
#include <string>

namespace kovaren::x11 {

class GstMusic {
 public:
  // Nothing when GStreamer or its player is missing or the file's name makes no URI.
  static std::unique_ptr<GstMusic> Start(const std::string& file);
  ~GstMusic();  // stops the music
  GstMusic(const GstMusic&) = delete;
  GstMusic& operator=(const GstMusic&) = delete;

  // Readable when the player has news (the file's end, an error); -1 once it has fallen silent.
  int pollDescriptor() const;
  // Starts the file again at its end; falls silent for good on an error, or when its loops end as
  // soon as they start (the file became unplayable while it played).
  void Serve();
  void Stop();

 private:
  struct Player;
  explicit GstMusic(std::unique_ptr<Player> player);
  bool StartOver();  // false when the music fell silent instead
  std::unique_ptr<Player> player_;
};

}  // namespace kovaren::x11
