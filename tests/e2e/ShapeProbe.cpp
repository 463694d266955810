// The bounding shape of a window as the X server holds it (a window without a shape of its own is
// its whole rectangle):
//   shape_probe WINDOW-ID X Y   prints "inside" or "outside" for the point (window coordinates)
//   shape_probe WINDOW-ID       prints the shape as a plain PBM the window's size: white inside,
//                               black outside (so multiplying a screenshot by it blacks out what
//                               is not the window's)
// The id is given as xdotool prints it.
#include <X11/Xlib.h>
#include <X11/extensions/shape.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

bool Inside(const std::vector<XRectangle>& shape, int x, int y) {
  for (const XRectangle& r : shape)
    if (x >= r.x && y >= r.y && x < r.x + r.width && y < r.y + r.height) return true;
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 && argc != 4) {
    std::fputs("usage: shape_probe WINDOW-ID [X Y]\n", stderr);
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
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(display, window, &attributes)) {
    std::fputs("shape_probe: no such window\n", stderr);
    return 1;
  }
  int count = 0, ordering = 0;
  XRectangle* rects = XShapeGetRectangles(display, window, ShapeBounding, &count, &ordering);
  const std::vector<XRectangle> shape(rects, rects + (rects ? count : 0));
  if (rects) XFree(rects);
  XCloseDisplay(display);
  if (argc == 4) {
    std::puts(Inside(shape, std::atoi(argv[2]), std::atoi(argv[3])) ? "inside" : "outside");
    return 0;
  }
  std::printf("P1\n%d %d\n", attributes.width, attributes.height);
  for (int y = 0; y < attributes.height; ++y) {
    for (int x = 0; x < attributes.width; ++x) std::fputs(Inside(shape, x, y) ? "0 " : "1 ", stdout);
    std::fputc('\n', stdout);
  }
  return 0;
}
