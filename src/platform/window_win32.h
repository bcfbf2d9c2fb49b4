// The base of every window of the program: a CRTP class that stores `this` at WM_NCCREATE and routes
// each message to Derived::HandleMessage. Handlers decode the message, call the core and paint.
#pragma once
#include <windows.h>

namespace kovaren::win32 {

template <class Derived>
class Window {
 public:
  HWND hwnd() const { return hwnd_; }

 protected:
  // Registers the class once per process; later calls are no-ops. Returns false when registration failed.
  static bool RegisterClassOnce(HINSTANCE instance, const wchar_t* className, WNDCLASSEXW wc) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof(existing);
    if (GetClassInfoExW(instance, className, &existing)) return true;
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &Window::Procedure;
    wc.hInstance = instance;
    wc.lpszClassName = className;
    return RegisterClassExW(&wc) != 0;
  }

  HWND CreateAs(const wchar_t* className, const wchar_t* caption, DWORD style, DWORD exStyle, int x, int y,
                int w, int h, HWND parent, HMENU menuOrId, HINSTANCE instance) {
    return CreateWindowExW(exStyle, className, caption, style, x, y, w, h, parent, menuOrId, instance, this);
  }

  LRESULT DefaultHandling(UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcW(hwnd_, msg, wp, lp); }

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    Derived* self = nullptr;
    if (msg == WM_NCCREATE) {
      auto* create = reinterpret_cast<CREATESTRUCTW*>(lp);
      self = static_cast<Derived*>(reinterpret_cast<Window*>(create->lpCreateParams));
      self->hwnd_ = hwnd;
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
      self = reinterpret_cast<Derived*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
    const LRESULT result = self->HandleMessage(msg, wp, lp);
    // The window is forgotten after its last message; a Derived must therefore not delete itself
    // inside WM_NCDESTROY (a self-owning window keeps its own procedure).
    if (msg == WM_NCDESTROY) {
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      self->hwnd_ = nullptr;
    }
    return result;
  }

  HWND hwnd_ = nullptr;
};

}  // namespace kovaren::win32
