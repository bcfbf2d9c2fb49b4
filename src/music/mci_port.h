// The music module's view of the platform's multimedia services: command strings to devices, their
// error texts, the wave-output device count and the sound player. winmm_port_win32.cpp binds it to
// winmm; the tests bind it to a scripted fake device.
#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace kovaren::music {

class MciPort {
 public:
  virtual ~MciPort() = default;
  // mciSendString: sends `command` (code page 932) and writes the NUL-terminated reply into `reply`
  // (an empty span: no reply buffer). Returns 0 on success, an error code otherwise. A failing call may
  // leave the buffer as it was.
  virtual int32_t SendString(std::string_view command, std::span<char> reply) = 0;
  // mciGetErrorString: the text of `code` into `buffer`; false when the call fails.
  virtual bool GetErrorString(int32_t code, std::span<char> buffer) = 0;
  // waveOutGetNumDevs.
  virtual uint32_t WaveOutDeviceCount() = 0;
  // PlaySound(name, no module, flags); nothing for `name` stops any sound. Returns the call's result.
  virtual int32_t PlaySound(std::optional<std::string_view> name, uint32_t flags) = 0;
};

}  // namespace kovaren::music
