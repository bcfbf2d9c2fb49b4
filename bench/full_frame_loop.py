"""The plain way to show a saver, for comparison: the whole frame sent with XPutImage PASSES_PER_S
times a second, in a window over the whole screen, until killed. python3 full_frame_loop.py."""
import ctypes
import time

PASSES_PER_S = 60
ZPIXMAP = 2
BITMAP_PAD = 32

x11 = ctypes.CDLL("libX11.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
for name in ("XDisplayWidth", "XDisplayHeight", "XDefaultDepth"):
    getattr(x11, name).argtypes = [ctypes.c_void_p, ctypes.c_int]
x11.XDefaultVisual.restype = ctypes.c_void_p
x11.XDefaultVisual.argtypes = [ctypes.c_void_p, ctypes.c_int]
x11.XDefaultRootWindow.restype = ctypes.c_ulong
x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x11.XCreateSimpleWindow.restype = ctypes.c_ulong
x11.XCreateSimpleWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                                    ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_ulong]
x11.XMapRaised.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
x11.XCreateGC.restype = ctypes.c_void_p
x11.XCreateGC.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_void_p]
x11.XCreateImage.restype = ctypes.c_void_p
x11.XCreateImage.argtypes = [ctypes.c_void_p, ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_int,
                             ctypes.c_void_p, ctypes.c_uint, ctypes.c_uint, ctypes.c_int, ctypes.c_int]
x11.XPutImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_void_p, ctypes.c_void_p, ctypes.c_int,
                          ctypes.c_int, ctypes.c_int, ctypes.c_int, ctypes.c_uint, ctypes.c_uint]
x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]


def main():
    display = x11.XOpenDisplay(None)
    if not display:
        raise SystemExit("full_frame_loop: cannot open the display")
    w, h = x11.XDisplayWidth(display, 0), x11.XDisplayHeight(display, 0)
    window = x11.XCreateSimpleWindow(display, x11.XDefaultRootWindow(display), 0, 0, w, h, 0, 0, 0)
    x11.XMapRaised(display, window)
    gc = x11.XCreateGC(display, window, 0, None)
    pixels = ctypes.create_string_buffer(b"\x40\x60\x80\x00" * (w * h))  # kept alive with the image
    image = x11.XCreateImage(display, x11.XDefaultVisual(display, 0), x11.XDefaultDepth(display, 0), ZPIXMAP, 0,
                             ctypes.cast(pixels, ctypes.c_void_p), w, h, BITMAP_PAD, 0)
    period = 1 / PASSES_PER_S
    due = time.monotonic()
    while True:
        x11.XPutImage(display, window, gc, image, 0, 0, 0, 0, w, h)
        x11.XSync(display, 0)  # the server has it all before the next pass
        due += period
        time.sleep(max(0.0, due - time.monotonic()))


if __name__ == "__main__":
    main()
