// Fuzzes the X11 program's switches: arbitrary arguments (split at NUL bytes) and an arbitrary
// $XSCREENSAVER_WINDOW. Every answer is either options within their ranges or a refusal that says why,
// and the same arguments always give the same answer.
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "fuzz_check.h"
#include "start/hack_switches.h"

namespace {

using kovaren::start::HackTarget;

constexpr unsigned long kMaxWindowId = 0xFFFFFFFFul;
constexpr uint8_t kHandedFlag = 1;  // first byte: bit 0 says the last piece is $XSCREENSAVER_WINDOW

bool InRange(const kovaren::start::HackOptions& o) {
  if (o.leafCount < kovaren::kLeafCounts.minimum || o.leafCount > kovaren::kLeafCounts.maximum)
    return false;
  const bool needsWindow = o.target == HackTarget::HandedWindow || o.target == HackTarget::PreviewWindow;
  return !needsWindow || (o.windowId != 0 && o.windowId <= kMaxWindowId);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const bool handed = data[0] & kHandedFlag;
  const std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
  std::vector<std::string_view> pieces;
  for (size_t start = 0;;) {
    const size_t end = rest.find('\0', start);
    pieces.push_back(rest.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
    if (end == std::string_view::npos) break;
    start = end + 1;
  }
  std::optional<std::string_view> window;
  if (handed) {
    window = pieces.back();
    pieces.pop_back();
  }

  const auto parsed = kovaren::start::ParseHackOptions(pieces, window);
  CHECK(parsed.options.has_value() == parsed.error.empty());
  if (parsed.options) CHECK(InRange(*parsed.options));

  const auto again = kovaren::start::ParseHackOptions(pieces, window);
  CHECK(again.options.has_value() == parsed.options.has_value() && again.error == parsed.error);
  if (parsed.options) {
    CHECK(again.options->target == parsed.options->target && again.options->windowId == parsed.options->windowId &&
          again.options->leafCount == parsed.options->leafCount &&
          again.options->musicFile == parsed.options->musicFile && again.options->seed == parsed.options->seed);
  }

  for (const std::string_view piece : pieces) {
    const auto id = kovaren::start::ParseWindowId(piece);
    CHECK(!id || (*id != 0 && *id <= kMaxWindowId));
  }
  return 0;
}
