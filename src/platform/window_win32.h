// Folder src/platform owns what the program's windows share with the operating system. Portable: the
// file-I/O seam the settings file reads and writes through (file_io.h; file_io_posix.cpp serves the
// native build, file_io_win32.cpp Windows). Win32 (_win32): this window base, presenting pixel
// buffers through GDI, fonts, embedded resources, the program's folder, the start context, the
// system-key state and the conversion between code page 932 and UTF-16. X11 (_x11): Xlib's error
// handler (x_errors_x11.h), pixels between our buffers and X images (ximage_pixels_x11.h) and huge
// pages for the big pictures (huge_pages_x11.h). A Wayland shell's helpers carry _wayland. Nothing
// here decides.
//
// The base of every window of the program: a CRTP class that stores `this` at WM_NCCREATE and routes
// each message to Derived::HandleMessage. Handlers decode the message, call the core and paint.
// A window object is owned by its creator (the saver, the dialog, the preview), or, for a control
// made through a C-style call that has no other owner, by the window itself (CreateSelfOwned).
#pragma once
#include <windows.h>

#include <cstdlib>
#include <memory>

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
    Creation creation{this};
    return CreateWindowExW(exStyle, className, caption, style, x, y, w, h, parent, menuOrId, instance, &creation);
  }

  // Hands `window` to the window it creates, which deletes it after its last message (WM_NCDESTROY),
  // also when creation fails after WM_NCCREATE. Nothing of the object may be used after that message.
  static HWND CreateSelfOwned(std::unique_ptr<Derived> window, const wchar_t* className, const wchar_t* caption,
                              DWORD style, DWORD exStyle, int x, int y, int w, int h, HWND parent, HMENU menuOrId,
                              HINSTANCE instance) {
    window->selfOwned_ = true;
    Creation creation{window.get()};
    const HWND hwnd =
        CreateWindowExW(exStyle, className, caption, style, x, y, w, h, parent, menuOrId, instance, &creation);
    if (creation.adopted) window.release();
    return hwnd;
  }

  LRESULT DefaultHandling(UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcW(hwnd_, msg, wp, lp); }

 private:
  // What CreateWindowExW carries to WM_NCCREATE: the object, and word back that the window took it.
  struct Creation {
    Window* window;
    bool adopted = false;
  };

  static LRESULT CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    Derived* self = nullptr;
    if (msg == WM_NCCREATE) {
      auto* creation = static_cast<Creation*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
      creation->adopted = true;
      self = static_cast<Derived*>(creation->window);
      self->hwnd_ = hwnd;
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
      self = reinterpret_cast<Derived*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
    LRESULT result = 0;
    // An exception must not unwind through the system's message dispatch (its frames are not ours
    // and may not be unwindable): a handler that throws is a fault, so the process ends here, at
    // the place that shows it, rather than somewhere inside the system.
    try {
      result = self->HandleMessage(msg, wp, lp);
    } catch (...) {
      std::abort();
    }
    // The window is forgotten after its last message; a Derived must therefore not delete itself
    // inside WM_NCDESTROY: a self-owned one is deleted here.
    if (msg == WM_NCDESTROY) {
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      self->hwnd_ = nullptr;
      if (self->selfOwned_) delete self;
    }
    return result;
  }

  HWND hwnd_ = nullptr;
  bool selfOwned_ = false;
};

}  // namespace kovaren::win32
