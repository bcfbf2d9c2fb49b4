#include "music/winmm_port_win32.h"

namespace kovaren::music {
namespace {

// Not built yet: every device is absent.
class SilentPort final : public MciPort {
 public:
  int32_t SendString(std::string_view, std::span<char>) override { return 266; }
  bool GetErrorString(int32_t, std::span<char>) override { return false; }
  uint32_t WaveOutDeviceCount() override { return 0; }
  int32_t PlaySound(std::optional<std::string_view>, uint32_t) override { return 0; }
};

}  // namespace

std::unique_ptr<MciPort> MakeWinmmPort() { return std::make_unique<SilentPort>(); }

}  // namespace kovaren::music
