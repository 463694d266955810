// The paint surface of each buffering mode, the shared buffer lent to one surface at a time, and
// the bitmap registry at process exit.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <optional>

#include "graphics/PaintSurface.h"
#include "platform/gdi/Gdi.h"

namespace vandrel::test {
namespace {

enum TTarget { kWindow, kShared, kPrivate };

struct TSurfaceCase {
  const char* name;
  TSePerformance mode;
  bool sharedLent;   // another surface holds the shared buffer
  int extraWidth;    // added to the shared buffer's width
  TTarget target;
};

TEST(PaintSurfaceTest, EachModeFindsItsSurfaceAndGivesTheCanvasBack) {
  const TSurfaceCase cases[] = {
      {"unbuffered", kspNoBuffer, false, 0, kWindow},
      {"shared", kspSharedBuffer, false, 0, kShared},
      {"own bitmap", kspDoubleBuffer, false, 0, kPrivate},
      {"shared, lent", kspSharedBuffer, true, 0, kPrivate},
      {"shared, too small", kspSharedBuffer, false, 1, kPrivate},
  };
  TseBitmap window;
  window.SetSize(8, 6);
  TCanvas canvas;
  canvas.SetHandle(window.DC());
  for (const TSurfaceCase& k : cases) {
    SCOPED_TRACE(k.name);
    std::optional<TSharedPaintBufferLease> other;
    if (k.sharedLent) {
      ASSERT_TRUE(other.emplace(1, 1).Bitmap());
    }
    const int width = k.extraWidth ? SharedPaintBuffer().Width() + k.extraWidth : 8;
    {
      TPaintSurface surface(canvas, k.mode, width, 6, true);
      EXPECT_EQ(canvas.Handle(), surface.DC());
      switch (k.target) {
        case kWindow: EXPECT_EQ(surface.Bitmap(), nullptr); EXPECT_EQ(surface.DC(), window.DC()); break;
        case kShared: EXPECT_EQ(surface.Bitmap(), &SharedPaintBuffer()); break;
        case kPrivate:
          ASSERT_NE(surface.Bitmap(), nullptr);
          EXPECT_NE(surface.Bitmap(), &SharedPaintBuffer());
          EXPECT_EQ(surface.Bitmap()->Width(), width);
          EXPECT_EQ(surface.Bitmap()->Pixel(width - 1, 5), kTransparentKey);
          break;
      }
      EXPECT_EQ(SharedPaintBufferLent(), k.sharedLent || k.target == kShared);
    }
    EXPECT_EQ(canvas.Handle(), window.DC());
    EXPECT_EQ(SharedPaintBufferLent(), k.sharedLent);
  }
  EXPECT_FALSE(SharedPaintBufferLent());
}

// A surface nested in another's paint (a blended control painting its windowless siblings) must
// not draw over the outer surface's pixels in the shared buffer.
TEST(PaintSurfaceTest, NestedSharedSurfacesKeepTheirOwnPixels) {
  TseBitmap window, under;
  window.SetSize(6, 4);
  under.SetSize(6, 4);
  TCanvas canvas, nestedCanvas;
  canvas.SetHandle(window.DC());
  TPaintSurface outer(canvas, kspSharedBuffer, 6, 4, true);
  outer.Bitmap()->FillRect({0, 0, 6, 4}, 0xFFFF0000);
  nestedCanvas.SetHandle(under.DC());
  {
    TPaintSurface nested(nestedCanvas, kspSharedBuffer, 3, 4, true);
    nested.Bitmap()->FillRect({0, 0, 3, 4}, 0xFF00FF00);
    nested.Present();
  }
  EXPECT_EQ(under.Pixel(0, 0), 0xFF00FF00u);
  outer.Present();
  for (int x : {0, 2, 5}) EXPECT_EQ(window.Pixel(x, 1) & 0xFFFFFF, 0xFF0000u) << x;
}

// The shared buffer marked as holding alpha by an earlier paint still starts as the plain key: a
// blending fill would have let that paint show through.
TEST(PaintSurfaceTest, SharedBufferStartsAsThePlainKeyAfterATranslucentPaint) {
  TseBitmap window;
  window.SetSize(4, 4);
  TCanvas canvas;
  canvas.SetHandle(window.DC());
  {
    TPaintSurface first(canvas, kspSharedBuffer, 4, 4, true);
    first.Bitmap()->SetPixel(1, 1, 0x80FF0000);
    first.Bitmap()->SetPixel(4, 0, 0xFF123456);
    first.Bitmap()->CheckAlpha();
    ASSERT_TRUE(first.Bitmap()->HasAlpha());
  }
  TPaintSurface second(canvas, kspSharedBuffer, 4, 4, true);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) ASSERT_EQ(second.Bitmap()->Pixel(x, y), kTransparentKey) << x << "," << y;
  EXPECT_EQ(second.Bitmap()->Pixel(4, 0), 0xFF123456u);  // only the surface's rectangle
}

// Made before main, so destroyed after every object made on first use: at exit it stands for a
// bitmap held by a static object.
struct TExitProbe {
  std::unique_ptr<TseBitmap> bitmap;
  ~TExitProbe() {
    // _exit at once: this probe only asks the registry; freeing the bitmap is not its subject.
    if (bitmap) _exit(FindBitmapByDC(bitmap->DC()) == bitmap.get() ? 0 : 3);
  }
} g_exitProbe;

TEST(PaintSurfaceDeathTest, BitmapRegistryOutlivesBitmapsDestroyedAtExit) {
  EXPECT_EXIT(
      {
        g_exitProbe.bitmap = std::make_unique<TseBitmap>();
        g_exitProbe.bitmap->SetSize(2, 2);
        SharedPaintBuffer();
        std::exit(0);
      },
      testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace vandrel::test
