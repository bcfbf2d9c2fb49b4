#include "music/device_commands.h"

#include "text/cp932.h"

namespace kovaren::music {

void DeviceCommands::Send(std::string_view command) { lastResult_ = port_.SendString(command, {}); }

int32_t DeviceCommands::SendInto(std::string_view command, std::span<char> buffer) {
  lastResult_ = port_.SendString(command, buffer);
  return lastResult_;
}

int32_t DeviceCommands::Exchange(std::string_view command, std::string& reply) {
  if (command.empty()) {
    reply = kReplyNoCommand;
    return kNoCommand;
  }
  const int32_t result = port_.SendString(command, replyBuf_);
  lastResult_ = result;
  if (result != 0) {
    reply = port_.GetErrorString(result, errorBuf_) ? std::string(text::BufferText(errorBuf_))
                                                    : std::string(kReplyNoErrorText);
    return result;
  }
  reply = text::BufferText(replyBuf_);
  return 0;
}

std::string DeviceCommands::Query(std::string_view command) {
  const int32_t result = Exchange(command, reply_);
  lastResult_ = result;
  if (result != 0) return "Error:" + std::to_string(result);
  return reply_;
}

int32_t DeviceCommands::Play(std::string_view device, std::string_view from, std::string_view to) {
  std::string command = "play ";
  command += device;
  if (!from.empty()) (command += " from ") += from;
  if (!to.empty()) (command += " to ") += to;
  return Exchange(command, reply_);
}

}  // namespace kovaren::music
