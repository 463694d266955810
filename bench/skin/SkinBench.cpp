// The main window's frame in the shipped skin's shape at 392 x 570: a private copy of a "Form" tree
// built as the shipped skin describes it, over the Steel artwork's images, laid out (all eight
// passes) and drawn into a window-sized bitmap, active, inactive and with the close button
// pressed, against one blend of the whole window measured in the same run. Each benchmark
// reports `x_blend`, its time per frame divided by that blend's (target: at most 2). `Region`
// builds the window region from the same tree, which happens on a resize only. With
// VANDREL_BENCH_SNAPSHOTS set to a folder, each frame benchmark writes the frame it drew there as a
// PNG, to look at.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <string>

#include "bench/BlendReference.h"
#include "framework/Canvas.h"
#include "platform/gdi/GdiObject.h"
#include "platform/gdi/PngWriter.h"
#include "skin/BitmapObject.h"
#include "skin/SystemButton.h"
#include "tools/steel-skin/SteelSkin.h"

using namespace vandrel;

namespace {

constexpr int kWidth = 392;
constexpr int kHeight = 570;

double BlendSeconds() {
  static const double seconds = bench::BlendSeconds(kWidth, kHeight);
  return seconds;
}

TseBitmapList& SteelImages() {
  static TseBitmapList* images = [] {
    auto* list = new TseBitmapList;
    for (const steelskin::TSkinImage& image : steelskin::DrawSteelImages()) {
      auto bitmap = std::make_unique<TseBitmap>();
      bitmap->SetName(image.Name);
      bitmap->SetSize(image.Width, image.Height);
      for (int y = 0; y < image.Height; ++y)
        for (int x = 0; x < image.Width; ++x) bitmap->SetPixel(x, y, image.At(x, y));
      bitmap->KeyColor(0x7F007F);
      list->Add(std::move(bitmap));
    }
    return list;
  }();
  return *images;
}

template <typename T>
T* Add(TComponent* owner, const char* name, TSeKind kind, TSeAlign align, TRect bounds) {
  auto* o = new T(owner);
  o->SetName(name);
  o->SetKind(kind);
  o->SetAlign(align);
  o->SetBounds({bounds.Left, bounds.Top, bounds.Left + bounds.Right, bounds.Top + bounds.Bottom});
  o->Font()->SetName("MS Sans Serif");
  o->Font()->SetHeight(-11);
  o->Font()->SetColor(clWindowText);
  return o;
}

void Link(TseBitmapLink& link, const char* image, TRect rect) {
  link.SetName(image);
  link.SetRect(rect);
}

// The frame pictures: an inactive lower and an active upper half of one strip.
TSeActiveBitmap* FramePart(TComponent* owner, const char* name, TSeKind kind, TSeAlign align, TRect bounds,
                           const char* image, TRect inactive, TRect active) {
  auto* o = Add<TSeActiveBitmap>(owner, name, kind, align, bounds);
  Link(*o->Bitmap(), image, inactive);
  Link(*o->ActiveBitmap(), image, active);
  return o;
}

void CaptionButton(TComponent* owner, const char* name, TSeAction action, TRect bounds, const char* face,
                   const char* glyphImage, TPoint glyphAt) {
  auto* b = Add<TSeSystemButton>(owner, name, skSysButton, saRight, bounds);
  b->SetTileStyle(tsCenter);
  b->SetAction(action);
  Link(*b->Bitmap(), face, {0, 84, 21, 105});
  Link(*b->ActiveBitmap(), face, {0, 0, 21, 21});
  Link(*b->BitmapHot(), face, {0, 21, 21, 42});
  Link(*b->BitmapPressed(), face, {0, 42, 21, 63});
  auto* g = Add<TSeButtonObject>(b, "Glyph", skTranparent, saCenter, {glyphAt.X, glyphAt.Y, 13, 13});
  Link(*g->Bitmap(), glyphImage, {0, 0, 13, 13});
  Link(*g->BitmapHot(), glyphImage, {0, 0, 13, 13});
  Link(*g->BitmapPressed(), glyphImage, {0, 26, 13, 39});
  Link(*g->BitmapFocused(), glyphImage, {0, 26, 13, 39});
  Link(*g->BitmapDisabled(), glyphImage, {0, 26, 13, 39});
}

// The shipped skin's "Form" tree (bounds as left, top, width, height).
std::unique_ptr<TSeSkinObject> SteelForm() {
  auto form = std::make_unique<TSeSkinObject>(nullptr);
  form->SetName("Form");
  form->SetKind(skForm);
  form->SetColor(14150122);
  auto* caption = Add<TSeSkinObject>(form.get(), "Caption", skNone, saTop, {0, 0, 375, 29});
  FramePart(caption, "CaptionLeft", skTopLeft, saLeft, {0, 0, 10, 29}, "FRAMECAPTION.BMP", {0, 29, 10, 58}, {0, 0, 10, 29});
  FramePart(caption, "CaptionRight", skTopRight, saRight, {365, 0, 10, 29}, "FRAMECAPTION.BMP", {56, 29, 66, 58},
            {56, 0, 66, 29});
  auto* title = FramePart(caption, "Title", skTitle, saClient, {10, 0, 355, 29}, "FRAMECAPTION.BMP", {10, 29, 57, 58},
                          {10, 0, 57, 29});
  title->SetMasked(false);
  title->SetTileStyle(tsStretch);
  title->SetTextEffect(teShadow);
  title->SetTextMarginLeft(22);
  title->SetTextMarginRight(140);
  title->SetTextMarginTop(4);
  title->SetDrawIfOwner(true);
  title->Font()->SetColor(clWhite);
  title->Font()->SetStyle({fsBold});
  Add<TSeBitmapObject>(title, "TopBorder", skTop, saTop, {10, 0, 355, 5});
  auto* buttons = Add<TSeBitmapObject>(caption, "ButtonContainer", skCaption, saTopRight, {167, 5, 204, 21});
  buttons->SetDrawIfOwner(true);
  Link(*buttons->Bitmap(), "TOOLBARBUTTONS.BMP", {0, 0, 20, 23});
  CaptionButton(buttons, "CloseButton", sbaClose, {350, 5, 21, 21}, "CLOSEBUTTON.bmp", "CLOSEGLYPH.BMP", {354, 9});
  const struct {
    const char* name;
    TSeAction action;
    const char* glyph;
  } others[] = {{"RestoreButton", sbaRestore, "RESTOREGLYPH.BMP"}, {"MaxButton", sbaMaximize, "MAXIMIZEGLYPH.BMP"},
                {"MinButton", sbaMinimize, "MINIMIZEGLYPH.BMP"},   {"RollDownButton", sbaRollDown, "ROLlDOWNPGLYPH.bmp"},
                {"RollUpButton", sbaRollUp, "ROLLUPGLYPH.bmp"},    {"TrayButton", sbaTray, "TRAYGLYPH.bmp"},
                {"HelpButton", sbaHelp, "HELPGLYPH.BMP"}};
  int left = 327;
  for (const auto& b : others) {
    CaptionButton(buttons, b.name, b.action, {left, 5, 23, 21}, "CAPTIONBUTTON.bmp", b.glyph, {left + 5, 9});
    left -= 23;
  }
  FramePart(form.get(), "Left", skLeft, saLeft, {0, 29, 5, 213}, "FRAMELEFT.BMP", {0, 31, 5, 61}, {0, 0, 5, 30})
      ->SetMasked(false);
  FramePart(form.get(), "Right", skRight, saRight, {370, 29, 5, 213}, "FRAMERIGHT.BMP", {0, 31, 5, 61}, {0, 0, 5, 30})
      ->SetMasked(false);
  auto* bottom = Add<TSeSkinObject>(form.get(), "Bottom", skNone, saBottom, {0, 242, 375, 5});
  bottom->SetMasked(false);
  FramePart(bottom, "BottomLeft", skBottomLeft, saLeft, {0, 242, 5, 5}, "FRAMEBOTTOM.BMP", {0, 5, 5, 10}, {0, 0, 5, 5});
  FramePart(bottom, "BottomRight", skBottomRight, saRight, {370, 242, 5, 5}, "FRAMEBOTTOM.BMP", {44, 5, 49, 10},
            {44, 0, 49, 5});
  FramePart(bottom, "BottomCenter", skBottom, saClient, {5, 242, 365, 5}, "FRAMEBOTTOM.BMP", {4, 5, 45, 10}, {4, 0, 45, 5})
      ->SetMasked(false);
  auto* client = Add<TSeSkinObject>(form.get(), "Client", skClient, saClient, {5, 29, 365, 213});
  client->SetMasked(false);
  client->SetColor(14150122);
  client->SetDrawIfOwner(true);
  Add<TSeSystemButton>(form.get(), "SysMenu", skSysButton, saTopLeft, {8, 8, 20, 20})->SetAction(sbaSysMenu);
  form->SetBounds({0, 0, 375, 247});
  form->SetImages(&SteelImages());
  form->AfterLoad();
  return form;
}

TSeSkinObject& ShippedForm() {
  static std::unique_ptr<TSeSkinObject> form = SteelForm();
  return *form;
}

enum TLook { lkActive, lkInactive, lkClosePressed };

struct TFrame {
  std::unique_ptr<TComponent> owner = std::make_unique<TComponent>(nullptr);
  TSeSkinObject* form = TSeSkinObject::CloneObject(ShippedForm(), owner.get());

  explicit TFrame(TLook look) {
    // The caption's text is the window's, set on each copy as the skinned window does.
    form->FindObject("Title")->SetText("Vandrel - 提醒");
    form->SetActive(look != lkInactive);
    form->SetState(kStateNormal);
    form->SetBounds({0, 0, kWidth, kHeight});
    if (look == lkClosePressed) {
      TSeSkinObject* close = form->FindObject("CloseButton");
      if (!close) throw std::runtime_error("the shipped skin has no CloseButton");
      close->MouseDown(mbLeft, {1, 1});
    }
  }
};

void BM_Frame(benchmark::State& state, TLook look) {
  TFrame frame(look);
  TseBitmap target;
  target.SetSize(kWidth, kHeight);
  TCanvas canvas;
  canvas.SetHandle(target.DC());
  const double reference = BlendSeconds();
  const double t0 = bench::CpuSeconds();
  for (auto _ : state) {
    frame.form->AlignChildren();
    frame.form->Draw(canvas);
    benchmark::ClobberMemory();
  }
  const double elapsed = bench::CpuSeconds() - t0;
  canvas.SetHandle(HDC());
  if (const char* folder = std::getenv("VANDREL_BENCH_SNAPSHOTS"))
    WritePng(target.DC(), std::string(folder) + "/frame-" + std::to_string(int(look)) + ".png");
  state.counters["x_blend"] = elapsed / double(state.iterations()) / reference;
  state.counters["blend_us"] = reference * 1e6;
}

void BM_Region(benchmark::State& state) {
  TFrame frame(lkActive);
  const double reference = BlendSeconds();
  const double t0 = bench::CpuSeconds();
  for (auto _ : state) {
    HRGN region = frame.form->BuildRegion();
    benchmark::DoNotOptimize(region);
    DeleteObject(region);
  }
  state.counters["x_blend"] = (bench::CpuSeconds() - t0) / double(state.iterations()) / reference;
}

[[maybe_unused]] const bool kRegistered = [] {
  benchmark::RegisterBenchmark("Frame/Active/392x570", BM_Frame, lkActive)->MinTime(0.3);
  benchmark::RegisterBenchmark("Frame/Inactive/392x570", BM_Frame, lkInactive)->MinTime(0.3);
  benchmark::RegisterBenchmark("Frame/ClosePressed/392x570", BM_Frame, lkClosePressed)->MinTime(0.3);
  benchmark::RegisterBenchmark("Region/392x570", BM_Region)->MinTime(0.3);
  return true;
}();

}  // namespace
