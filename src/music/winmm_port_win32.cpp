#include "music/winmm_port_win32.h"

#include <windows.h>
#include <mmsystem.h>

#include <string>

#include "platform/text_win32.h"
#include "text/cp932.h"

// mmsystem.h maps PlaySound to PlaySoundW, which would rename the port's method in this file only.
#undef PlaySound

namespace kovaren::music {
namespace {

// The module keeps code page 932 text; the wide functions make Japanese paths work on every locale.
// Replies come back into the caller's buffer, cut to its capacity at a character boundary.
class WinmmPort final : public MciPort {
 public:
  int32_t SendString(std::string_view command, std::span<char> reply) override {
    const std::wstring wide = win32::WideFromCp932(command);
    if (reply.empty()) return static_cast<int32_t>(mciSendStringW(wide.c_str(), nullptr, 0, nullptr));
    // A reply of N characters in UTF-16 never needs more than N characters' room here; the
    // conversion back may grow it to 2N bytes, which CopyIntoBuffer cuts to fit.
    std::wstring answer(reply.size(), L'\0');
    const MCIERROR result =
        mciSendStringW(wide.c_str(), answer.data(), static_cast<UINT>(answer.size()), nullptr);
    // A failed command leaves the caller's buffer as it was.
    if (result == 0) text::CopyIntoBuffer(win32::Cp932FromWide(answer.c_str()), reply);
    return static_cast<int32_t>(result);
  }

  bool GetErrorString(int32_t code, std::span<char> buffer) override {
    if (buffer.empty()) return false;
    std::wstring text(buffer.size(), L'\0');
    if (!mciGetErrorStringW(static_cast<MCIERROR>(code), text.data(), static_cast<UINT>(text.size()))) {
      return false;
    }
    text::CopyIntoBuffer(win32::Cp932FromWide(text.c_str()), buffer);
    return true;
  }

  uint32_t WaveOutDeviceCount() override { return waveOutGetNumDevs(); }

  int32_t PlaySound(std::optional<std::string_view> name, uint32_t flags) override {
    if (!name) return PlaySoundW(nullptr, nullptr, flags);
    const std::wstring wide = win32::WideFromCp932(*name);
    return PlaySoundW(wide.c_str(), nullptr, flags);
  }
};

}  // namespace

std::unique_ptr<MciPort> MakeWinmmPort() { return std::make_unique<WinmmPort>(); }

}  // namespace kovaren::music
