// TSeStatusPanel and TSeStatusPanels: one panel of the skinned status bar and the collection the
// bar owns. A panel shows a text with an optional image, is drawn by the application, or hosts a
// control that the bar places inside it. Changes go to the bar through the collection: looks
// repaint just that panel, widths and the hosted control re-run the bar's layout.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <string_view>

#include "framework/Control.h"
#include "framework/NotifyCollection.h"
#include "skincontrols/StatusPanelLayout.h"

namespace vandrel {

class TSeCustomStatusBar;
class TSeStatusPanels;

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TSeStatusPanelstyle { psText, psOwnerDraw };
enum TSeStatusGliphLayout { sglGlyphLeft, sglGlyphRight };

inline constexpr std::array<std::string_view, 3> kAlignmentNames = {"taLeftJustify", "taRightJustify", "taCenter"};
inline constexpr std::array<std::string_view, 2> kStatusPanelStyleNames = {"psText", "psOwnerDraw"};
inline constexpr std::array<std::string_view, 2> kStatusGlyphLayoutNames = {"sglGlyphLeft", "sglGlyphRight"};
static_assert(kAlignmentNames.size() == size_t(taCenter) + 1);
static_assert(kStatusPanelStyleNames.size() == size_t(psOwnerDraw) + 1);
static_assert(kStatusGlyphLayoutNames.size() == size_t(sglGlyphRight) + 1);

class TSeStatusPanel : public TNotifyCollectionItem {
  VANDREL_CLASS_INFO
 public:
  TSeStatusPanel();
  // Releases the hosted control.
  ~TSeStatusPanel() override;

  // From another TSeStatusPanel: every published value; the hosted control becomes the component
  // of the same name owned by this bar's owner (none without one).
  void Assign(const TPersistent& source) override;
  // The text; else "[ name ]" of the hosted control; else the item's default name.
  std::string DisplayName() const override;

  TAlignment Alignment() const { return m_alignment; }
  void SetAlignment(TAlignment value);
  int ImageIndex() const { return m_imageIndex; }
  void SetImageIndex(int value);
  bool Framed() const { return m_framed; }
  void SetFramed(bool value);
  TControl* Control() const { return m_control; }
  // Raises EInvalidOperation ("Can't insert own parent") for the bar or one of its parents.
  void SetControl(TControl* value);
  TSeStatusGliphLayout Layout() const { return m_glyphLayout; }
  void SetLayout(TSeStatusGliphLayout value);
  int Margin() const { return m_margin; }
  void SetMargin(int value);
  int MaxWidth() const { return m_layout.MaxWidth; }
  // Raises EInvalidArgument below 0; a MaxWidth below Width lowers Width.
  void SetMaxWidth(int value);
  int Spacing() const { return m_spacing; }
  void SetSpacing(int value);
  // Percentages 0..100; other values raise EInvalidArgument and change nothing.
  int ViewPriority() const { return m_layout.ViewPriority; }
  void SetViewPriority(int value);
  int StretchPriority() const { return m_layout.StretchPriority; }
  void SetStretchPriority(int value);
  TSeStatusPanelstyle Style() const { return m_style; }
  void SetStyle(TSeStatusPanelstyle value);
  bool ShowImage() const { return m_showImage; }
  void SetShowImage(bool value);
  const std::string& Text() const { return m_text; }
  void SetText(const std::string& value);
  int Width() const { return m_layout.Width; }
  // Kept between 0 and MaxWidth.
  void SetWidth(int value);

  // Results of the bar's last layout.
  int WorkWidth() const { return m_layout.WorkWidth; }
  bool Shown() const { return m_layout.Shown; }
  int PanelLeft() const { return m_layout.Left; }
  int PanelRight() const { return m_layout.Right; }
  int EffectiveWidth() const { return m_layout.EffectiveWidth(); }

  TSeCustomStatusBar* StatusBar() const;

 private:
  friend class TSeCustomStatusBar;
  // A change of look: the bar repaints this panel.
  void LookChanged() { Changed(false); }
  // A change of widths or of the hosted control: the bar lays all panels out again.
  void LayoutChanged() { Changed(true); }
  // Forgets the hosted control without touching it (it is going away).
  void DropControl() { m_control = nullptr; }
  void ReleaseControl();

  TStatusPanelLayout m_layout;
  std::string m_text;
  TAlignment m_alignment = taLeftJustify;
  TSeStatusPanelstyle m_style = psText;
  int m_imageIndex = -1;
  int m_margin = 2;
  int m_spacing = 4;
  TSeStatusGliphLayout m_glyphLayout = sglGlyphLeft;
  bool m_showImage = true;
  bool m_framed = true;
  TControl* m_control = nullptr;
};

// What makes the panels the bar creates for inserted controls; OnCreatePanelClass may replace it.
using TSeStatusPanelClass = std::unique_ptr<TSeStatusPanel> (*)();

template <typename T>
TSeStatusPanelClass StatusPanelClass() {
  return []() -> std::unique_ptr<TSeStatusPanel> { return std::make_unique<T>(); };
}

class TSeStatusPanels : public TNotifyCollection {
  VANDREL_CLASS_INFO
 public:
  explicit TSeStatusPanels(TSeCustomStatusBar* statusBar);

  TSeStatusPanel* Add();
  // Adds a panel of the class panelClass makes.
  TSeStatusPanel* Add(TSeStatusPanelClass panelClass);
  // nullptr for an index out of range.
  TSeStatusPanel* Items(int index) const;
  TSeStatusPanel* operator[](int index) const { return Items(index); }
  TSeCustomStatusBar* StatusBar() const { return m_statusBar; }

 protected:
  void Update(TCollectionItem* item) override;

 private:
  TSeCustomStatusBar* m_statusBar;
};

}  // namespace vandrel
