// Says whether a point of a window lies inside the window's bounding shape, as the X server holds
// it: "inside" or "outside". A window without a shape of its own is its whole rectangle.
//   shape_probe WINDOW-ID X Y     (window coordinates; the id as xdotool prints it)
#include <X11/Xlib.h>
#include <X11/extensions/shape.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fputs("usage: shape_probe WINDOW-ID X Y\n", stderr);
    return 2;
  }
  Display* display = XOpenDisplay(nullptr);
  if (!display) {
    std::fputs("shape_probe: cannot open the display\n", stderr);
    return 1;
  }
  int eventBase = 0, errorBase = 0;
  if (!XShapeQueryExtension(display, &eventBase, &errorBase)) {
    std::fputs("shape_probe: the server has no shape extension\n", stderr);
    return 1;
  }
  const Window window = std::strtoul(argv[1], nullptr, 0);
  const int x = std::atoi(argv[2]);
  const int y = std::atoi(argv[3]);
  int count = 0, ordering = 0;
  XRectangle* rects = XShapeGetRectangles(display, window, ShapeBounding, &count, &ordering);
  bool inside = false;
  for (int i = 0; i < count && !inside; ++i)
    inside = x >= rects[i].x && y >= rects[i].y && x < rects[i].x + rects[i].width && y < rects[i].y + rects[i].height;
  if (rects) XFree(rects);
  XCloseDisplay(display);
  std::puts(inside ? "inside" : "outside");
  return 0;
}
