// The command strings underneath the background music: each goes to a device through the port, its
// answer or error text lands in a fixed buffer that keeps its last content between calls. Internal to
// src/music: BackgroundMusic speaks through it; only its own tests include this header.
#pragma once
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "music/mci_port.h"

namespace kovaren::music {

// Result of a send of an empty command (nothing is sent).
constexpr int32_t kNoCommand = -1;

// The module's two fixed reply texts, code page 932.
// "コマンド文字列が指定されていません": no command string given.
inline constexpr std::string_view kReplyNoCommand =
    "\x83\x52\x83\x7d\x83\x93\x83\x68\x95\xb6\x8e\x9a\x97\xf1\x82\xaa\x8e\x77\x92\xe8\x82\xb3\x82\xea"
    "\x82\xc4\x82\xa2\x82\xdc\x82\xb9\x82\xf1";
// "Error (文字列が取れません)": the error's text could not be obtained.
inline constexpr std::string_view kReplyNoErrorText =
    "Error (\x95\xb6\x8e\x9a\x97\xf1\x82\xaa\x8e\xe6\x82\xea\x82\xdc\x82\xb9\x82\xf1)";

class DeviceCommands {
 public:
  explicit DeviceCommands(MciPort& port) : port_(port) {}

  // Sends `command` without a reply buffer.
  void Send(std::string_view command);
  // Sends `command` with `buffer` as its reply buffer (the mode queries keep buffers of their own).
  int32_t SendInto(std::string_view command, std::span<char> buffer);
  // Sends `command`; `reply` receives the device's answer or the error's text. 0 on success.
  int32_t Exchange(std::string_view command, std::string& reply);
  // The reply, or "Error:" and the code: callers spot failure by "ERR" in the upper-cased text.
  std::string Query(std::string_view command);
  // "play DEVICE[ from FROM][ to TO]".
  int32_t Play(std::string_view device, std::string_view from, std::string_view to);

  // The text the last Query or Play received.
  const std::string& Reply() const { return reply_; }
  // The result of the last command sent.
  int32_t LastResult() const { return lastResult_; }

 private:
  MciPort& port_;
  std::string reply_;
  int32_t lastResult_ = 0;
  std::array<char, 512> replyBuf_{};
  std::array<char, 256> errorBuf_{};
};

}  // namespace kovaren::music
