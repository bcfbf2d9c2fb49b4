#include "saver/seat_wayland.h"

#include <unistd.h>

namespace kovaren::wayland {
namespace {

template <typename... Args>
void Ignore(void*, Args...) {}

}  // namespace

Seat::Seat(wl_seat* seat, bool hideCursor, std::function<void(saver::HackEvent)> onInput)
    : seat_(seat), hideCursor_(hideCursor), onInput_(std::move(onInput)) {
  static const wl_seat_listener kListener = {.capabilities = &Seat::OnCapabilities, .name = &Seat::OnName};
  if (seat_) wl_seat_add_listener(seat_, &kListener, this);
}

Seat::~Seat() {
  if (keyboard_) wl_keyboard_release(keyboard_);
  if (pointer_) wl_pointer_release(pointer_);
}

// A device may come later (a virtual keyboard, a mouse plugged in) or go.
void Seat::OnCapabilities(void* data, wl_seat*, uint32_t capabilities) {
  auto& self = *static_cast<Seat*>(data);
  const bool keyboard = capabilities & WL_SEAT_CAPABILITY_KEYBOARD;
  const bool pointer = capabilities & WL_SEAT_CAPABILITY_POINTER;
  if (keyboard && !self.keyboard_) {
    static const wl_keyboard_listener kKeyboard = {
        .keymap = &Seat::OnKeymap,
        .enter = Ignore<wl_keyboard*, uint32_t, wl_surface*, wl_array*>,
        .leave = Ignore<wl_keyboard*, uint32_t, wl_surface*>,
        .key = &Seat::OnKey,
        .modifiers = Ignore<wl_keyboard*, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t>,
        .repeat_info = Ignore<wl_keyboard*, int32_t, int32_t>,
    };
    self.keyboard_ = wl_seat_get_keyboard(self.seat_);
    wl_keyboard_add_listener(self.keyboard_, &kKeyboard, &self);
  } else if (!keyboard && self.keyboard_) {
    wl_keyboard_release(self.keyboard_);
    self.keyboard_ = nullptr;
  }
  if (pointer && !self.pointer_) {
    static const wl_pointer_listener kPointer = {
        .enter = &Seat::OnPointerEnter,
        .leave = Ignore<wl_pointer*, uint32_t, wl_surface*>,
        .motion = &Seat::OnMotion,
        .button = &Seat::OnButton,
        .axis = Ignore<wl_pointer*, uint32_t, uint32_t, wl_fixed_t>,
        .frame = Ignore<wl_pointer*>,
        .axis_source = Ignore<wl_pointer*, uint32_t>,
        .axis_stop = Ignore<wl_pointer*, uint32_t, uint32_t>,
        .axis_discrete = Ignore<wl_pointer*, uint32_t, int32_t>,
        .axis_value120 = Ignore<wl_pointer*, uint32_t, int32_t>,
    };
    self.pointer_ = wl_seat_get_pointer(self.seat_);
    wl_pointer_add_listener(self.pointer_, &kPointer, &self);
  } else if (!pointer && self.pointer_) {
    wl_pointer_release(self.pointer_);
    self.pointer_ = nullptr;
  }
}

// The keymap is never read: any key ends the saver.
void Seat::OnKeymap(void*, wl_keyboard*, uint32_t, int32_t fd, uint32_t) { close(fd); }

void Seat::OnKey(void* data, wl_keyboard*, uint32_t, uint32_t, uint32_t, uint32_t state) {
  if (state == WL_KEYBOARD_KEY_STATE_PRESSED) static_cast<Seat*>(data)->onInput_(saver::HackEvent::KeyDown);
}

void Seat::OnPointerEnter(void* data, wl_pointer* pointer, uint32_t serial, wl_surface*, wl_fixed_t, wl_fixed_t) {
  if (static_cast<Seat*>(data)->hideCursor_) wl_pointer_set_cursor(pointer, serial, nullptr, 0, 0);
}

void Seat::OnMotion(void* data, wl_pointer*, uint32_t, wl_fixed_t, wl_fixed_t) {
  static_cast<Seat*>(data)->onInput_(saver::HackEvent::PointerMoved);
}

void Seat::OnButton(void* data, wl_pointer*, uint32_t, uint32_t, uint32_t, uint32_t state) {
  if (state == WL_POINTER_BUTTON_STATE_PRESSED) static_cast<Seat*>(data)->onInput_(saver::HackEvent::ButtonDown);
}

}  // namespace kovaren::wayland
