// Small skins built in the tests: objects that fill their bounds with a colour telling their
// state apart and write each draw into a log, a source holding top-level objects, and an engine
// serving that source.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "framework/Canvas.h"
#include "framework/Font.h"
#include "platform/core/Text.h"
#include "skin/SkinClient.h"
#include "skin/SkinEngine.h"

namespace vandrel::test {

class TTestSkinObject : public ISeSkinObject {
 public:
  TTestSkinObject(std::string name, COLORREF c, TSize s = {}) : color(c), size(s), m_name(std::move(name)) {}

  // The colour an object of colour c shows in a state: its blue channel says the state.
  static COLORREF Shade(COLORREF c, int state) { return RGB(GetRValue(c), GetGValue(c), state * 30); }

  TTestSkinObject& Add(std::string name, COLORREF c, TSize childSize = {}) {
    m_children.push_back(std::make_unique<TTestSkinObject>(std::move(name), c, childSize));
    m_children.back()->log = log;
    return *m_children.back();
  }
  // Gives this object a font with the colour; the font says which object it came from.
  TTestSkinObject& WithFont(COLORREF fontColor) {
    font = std::make_unique<TFont>();
    font->SetColor(TColor(fontColor));
    return *this;
  }
  std::unique_ptr<TTestSkinObject> Clone() const {
    auto copy = std::make_unique<TTestSkinObject>(m_name, color, size);
    copy->log = log;
    copy->seeThrough = seeThrough;
    copy->hollow = hollow;
    if (font) copy->WithFont(COLORREF(font->Color()));
    for (const auto& c : m_children) copy->m_children.push_back(c->Clone());
    return copy;
  }
  const std::string& Name() const { return m_name; }

  ISeSkinObject* FindObject(std::string_view name) override {
    if (SameText(m_name, name)) return this;
    for (const auto& c : m_children)
      if (ISeSkinObject* found = c->FindObject(name)) return found;
    return nullptr;
  }
  void SetControl(TControl*) override { linked = true; }
  void SetState(int value) override { state = value; }
  void SetBounds(const TRect& r) override { bounds = r; }
  void Draw(TCanvas& canvas) override {
    if (log) log->push_back(m_name + " " + std::to_string(state));
    canvas.Brush()->SetStyle(bsSolid);
    canvas.Brush()->SetColor(TColor(Shade(color, state)));
    if (!hollow) {
      canvas.FillRect(bounds);
      return;
    }
    // Only the outline: what lies beneath shows through the rest.
    const TRect& b = bounds;
    for (const TRect& edge : {TRect{b.Left, b.Top, b.Right, b.Top + 1}, TRect{b.Left, b.Bottom - 1, b.Right, b.Bottom},
                              TRect{b.Left, b.Top, b.Left + 1, b.Bottom}, TRect{b.Right - 1, b.Top, b.Right, b.Bottom}})
      canvas.FillRect(edge);
  }
  int Width() const override { return size.cx; }
  int Height() const override { return size.cy; }
  TFont* GetFont() const override { return font.get(); }
  void SetText(const std::string& value) override { text = value; }
  std::optional<bool> SeeThrough() const override { return seeThrough; }

  COLORREF color;
  TSize size;
  std::optional<bool> seeThrough;
  bool hollow = false;
  std::unique_ptr<TFont> font;
  std::string text;
  int state = 0;
  TRect bounds;
  bool linked = false;
  std::vector<std::string>* log = nullptr;

 private:
  std::string m_name;
  std::vector<std::unique_ptr<TTestSkinObject>> m_children;
};

class TTestSkinSource : public ISeSkinSource {
 public:
  bool busy = false;
  std::vector<std::unique_ptr<TTestSkinObject>> objects;

  TTestSkinObject& Add(std::string name, COLORREF color, std::vector<std::string>* log = nullptr, TSize size = {}) {
    objects.push_back(std::make_unique<TTestSkinObject>(std::move(name), color, size));
    objects.back()->log = log;
    return *objects.back();
  }
  bool Ready() const override { return !busy && !objects.empty(); }
  bool HasObject(std::string_view name) const override { return Find(name) != nullptr; }
  std::unique_ptr<ISeSkinObject> CloneObject(std::string_view name) const override {
    const TTestSkinObject* o = Find(name);
    return o ? o->Clone() : nullptr;
  }

 private:
  const TTestSkinObject* Find(std::string_view name) const {
    for (const auto& o : objects)
      if (SameText(o->Name(), name)) return o.get();
    return nullptr;
  }
};

class TTestSkinEngine : public TSeSkinEngine {
 public:
  using TSeSkinEngine::TSeSkinEngine;
  TTestSkinSource source;
  const ISeSkinSource* Source() const override { return &source; }
};

}  // namespace vandrel::test
