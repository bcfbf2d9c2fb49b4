// The seat's keyboard and pointer as the saver's input: a key or a button going down, the pointer
// moving. Nothing is decoded further: which key it was never matters to the saver (no keymap).
#pragma once
#include <wayland-client.h>

#include <functional>

#include "saver/hack_ending.h"

namespace kovaren::wayland {

class Seat {
 public:
  // `hideCursor`: no pointer image over the saver's surfaces, as on Windows in full screen.
  Seat(wl_seat* seat, bool hideCursor, std::function<void(saver::HackEvent)> onInput);
  ~Seat();
  Seat(const Seat&) = delete;
  Seat& operator=(const Seat&) = delete;

 private:
  static void OnCapabilities(void* self, wl_seat*, uint32_t capabilities);
  static void OnName(void*, wl_seat*, const char*) {}
  static void OnKeymap(void*, wl_keyboard*, uint32_t, int32_t fd, uint32_t);
  static void OnKey(void* self, wl_keyboard*, uint32_t, uint32_t, uint32_t, uint32_t state);
  static void OnPointerEnter(void* self, wl_pointer*, uint32_t serial, wl_surface*, wl_fixed_t, wl_fixed_t);
  static void OnMotion(void* self, wl_pointer*, uint32_t, wl_fixed_t, wl_fixed_t);
  static void OnButton(void* self, wl_pointer*, uint32_t, uint32_t, uint32_t, uint32_t state);

  wl_seat* seat_;
  bool hideCursor_;
  std::function<void(saver::HackEvent)> onInput_;
  wl_keyboard* keyboard_ = nullptr;
  wl_pointer* pointer_ = nullptr;
};

}  // namespace kovaren::wayland
