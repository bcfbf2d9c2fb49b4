/* The end-to-end tests' "desktop": one undecorated window at the screen's top-left corner that shows a
 * picture and ignores all input (a click or key that reaches it changes nothing on screen). The picture
 * becomes the window's background pixmap, so the X server repaints it by itself and this program only
 * waits until it is killed.
 *
 *   desktop_view RAWFILE WIDTH HEIGHT      RAWFILE: WIDTH * HEIGHT pixels of 8-bit R, G, B
 */
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

int main(int argc, char** argv) {
  if (argc != 4) {
    fprintf(stderr, "usage: desktop_view RAWFILE WIDTH HEIGHT\n");
    return 2;
  }
  const int width = atoi(argv[2]), height = atoi(argv[3]);
  if (width <= 0 || height <= 0 || width > 8192 || height > 8192) return 2;
  const size_t count = (size_t)width * (size_t)height;
  unsigned char* rgb = malloc(count * 3);
  unsigned int* pixels = malloc(count * 4);
  FILE* file = fopen(argv[1], "rb");
  if (!rgb || !pixels || !file || fread(rgb, 3, count, file) != count) {
    fprintf(stderr, "desktop_view: cannot read %s\n", argv[1]);
    return 1;
  }
  fclose(file);

  Display* display = XOpenDisplay(NULL);
  if (!display) return 1;
  const int screen = DefaultScreen(display);
  Visual* visual = DefaultVisual(display, screen);
  const int depth = DefaultDepth(display, screen);
  if (depth != 24 || visual->red_mask != 0xff0000 || visual->green_mask != 0xff00 || visual->blue_mask != 0xff) {
    fprintf(stderr, "desktop_view: needs a 24-bit RGB screen\n");
    return 1;
  }
  for (size_t i = 0; i < count; ++i)
    pixels[i] = (unsigned)rgb[3 * i] << 16 | (unsigned)rgb[3 * i + 1] << 8 | rgb[3 * i + 2];
  free(rgb);

  const Window root = RootWindow(display, screen);
  XImage* image = XCreateImage(display, visual, depth, ZPixmap, 0, (char*)pixels, width, height, 32, 0);
  const Pixmap pixmap = XCreatePixmap(display, root, width, height, depth);
  XPutImage(display, pixmap, DefaultGC(display, screen), image, 0, 0, 0, 0, width, height);

  XSetWindowAttributes attributes = {0};
  attributes.background_pixmap = pixmap;
  attributes.override_redirect = True;
  attributes.event_mask = 0;  /* no input: clicks and keys fall through to the root, which ignores them */
  const Window window = XCreateWindow(display, root, 0, 0, width, height, 0, depth, InputOutput, visual,
                                      CWBackPixmap | CWOverrideRedirect | CWEventMask, &attributes);
  XStoreName(display, window, "kv_desktop");
  XLowerWindow(display, window);
  XMapWindow(display, window);
  XSync(display, False);
  for (;;) pause();
}
