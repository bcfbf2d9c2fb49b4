"""A bare window standing for a daemon's, a locker's or a settings preview's, or for a known desktop:
python3 test_window.py WxH+X+Y COLOUR [STRIPE_COLOUR]. With a stripe colour it shows vertical stripes
of both colours, STRIPE_WIDTH pixels each (a picture whose every shift or loss shows). Prints its id
(decimal) once it is mapped, then keeps it until killed; the window goes with the connection. It has
no child windows, as those hosts' windows have none: a child would cover what a hack draws in its
parent."""
import ctypes
import signal
import sys

x11 = ctypes.CDLL("libX11.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
x11.XDefaultRootWindow.restype = ctypes.c_ulong
x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
x11.XCreateSimpleWindow.restype = ctypes.c_ulong
x11.XCreateSimpleWindow.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_uint,
                                    ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_ulong]
x11.XMapRaised.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
x11.XDefaultDepth.argtypes = [ctypes.c_void_p, ctypes.c_int]
x11.XCreatePixmap.restype = ctypes.c_ulong
x11.XCreatePixmap.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_uint, ctypes.c_uint, ctypes.c_uint]
x11.XCreateGC.restype = ctypes.c_void_p
x11.XCreateGC.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_void_p]
x11.XSetForeground.argtypes = [ctypes.c_void_p, ctypes.c_void_p, ctypes.c_ulong]
x11.XFillRectangle.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_void_p, ctypes.c_int, ctypes.c_int,
                               ctypes.c_uint, ctypes.c_uint]
x11.XSetWindowBackgroundPixmap.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong]

STRIPE_WIDTH = 16

OVERRIDE_REDIRECT = 1 << 9  # CWOverrideRedirect


class SetWindowAttributes(ctypes.Structure):
    """XSetWindowAttributes, only as far as override_redirect is concerned (the rest stays zero)."""
    _fields_ = [("background_pixmap", ctypes.c_ulong), ("background_pixel", ctypes.c_ulong),
                ("border_pixmap", ctypes.c_ulong), ("border_pixel", ctypes.c_ulong),
                ("bit_gravity", ctypes.c_int), ("win_gravity", ctypes.c_int), ("backing_store", ctypes.c_int),
                ("backing_planes", ctypes.c_ulong), ("backing_pixel", ctypes.c_ulong),
                ("save_under", ctypes.c_int), ("event_mask", ctypes.c_long),
                ("do_not_propagate_mask", ctypes.c_long), ("override_redirect", ctypes.c_int),
                ("colormap", ctypes.c_ulong), ("cursor", ctypes.c_ulong)]


x11.XChangeWindowAttributes.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong,
                                        ctypes.POINTER(SetWindowAttributes)]


def parse_geometry(text):
    size, _, place = text.partition("+")
    w, h = (int(v) for v in size.split("x"))
    x, y = (int(v) for v in place.split("+"))
    return x, y, w, h


def pixel_of(colour):
    return int(colour.lstrip("#"), 16)


def paint_stripes(display, window, w, h, colours):
    """Stripes as the window's background: the server repaints them itself, no event loop needed."""
    pixmap = x11.XCreatePixmap(display, window, w, h, x11.XDefaultDepth(display, 0))
    gc = x11.XCreateGC(display, pixmap, 0, None)
    for i, left in enumerate(range(0, w, STRIPE_WIDTH)):
        x11.XSetForeground(display, gc, colours[i % len(colours)])
        x11.XFillRectangle(display, pixmap, gc, left, 0, STRIPE_WIDTH, h)
    x11.XSetWindowBackgroundPixmap(display, window, pixmap)


def main(geometry, colour, stripe_colour=None):
    display = x11.XOpenDisplay(None)
    if not display:
        raise SystemExit("test_window: cannot open the display")
    x, y, w, h = parse_geometry(geometry)
    pixel = pixel_of(colour)
    window = x11.XCreateSimpleWindow(display, x11.XDefaultRootWindow(display), x, y, w, h, 0, pixel, pixel)
    # Placed exactly where asked, as a daemon's window is, whatever window manager runs.
    attributes = SetWindowAttributes(override_redirect=1)
    x11.XChangeWindowAttributes(display, window, OVERRIDE_REDIRECT, ctypes.byref(attributes))
    if stripe_colour:
        paint_stripes(display, window, w, h, [pixel, pixel_of(stripe_colour)])
    x11.XMapRaised(display, window)
    x11.XSync(display, 0)
    print(window, flush=True)
    signal.pause()  # SIGTERM ends the process, and the window with its connection


if __name__ == "__main__":
    main(*sys.argv[1:])
