// TSeSkinObject: a node of a skin object tree as skin files store it. Its published properties,
// its children (the objects it owns, stored after the properties as the binary property "Objects"),
// the operations a load runs over a tree (binding the source's images, the character set step, the
// after-load pass, the hue change), and what a control does with its private copy: bounds and
// layout, states, drawing, regions and hit tests. All objects of one tree share the root's
// coordinate space. The object kinds derive from it (ActiveObject.h, BitmapObject.h,
// SystemButton.h); the enumerations of all kinds are tied to their stored names here.
#pragma once

#include <array>
#include <memory>
#include <string_view>

#include "framework/Component.h"
#include "framework/Control.h"
#include "framework/Font.h"
#include "platform/core/Color.h"
#include "platform/core/Geometry.h"
#include "platform/core/Stream.h"
#include "platform/gdi/GdiTypes.h"
#include "skin/SkinClient.h"

namespace vandrel {

class TCanvas;
class TseBitmapList;
class ISeSkinnedWindow;

enum TSeAlign {
  saNone, saLeft, saMostLeft, saTop, saMostTop, saRight, saMostRight, saBottom, saMostBottom,
  saClient, saTopLeft, saTopRight, saBottomLeft, saBottomRight, saCenter, saText,
};
enum TSeKind {
  skNone, skForm, skCaption, skTitle, skTop, skLeft, skRight, skBottom, skTopLeft, skTopRight,
  skBottomLeft, skBottomRight, skSysButton, skClient, skMenuBar, skMenuBarItem, skMenuBarItemText,
  skPopupMenu, skPopupMenuItem, skPopupMenuItemText, skItemText, skTranparent,
};
enum TSeTextAlign {
  taTopLeft, taTopCenter, taTopRight, taLeft, taCenter, taRight, taBottomLeft, taBottomCenter,
  taBottomRight,
};
enum TSeTextEffect { teNone, teShadow };
enum TscTileStyle { tsTile, tsStretch, tsCenter };
enum TSeAction {
  sbaNone, sbaClose, sbaHelp, sbaMinimize, sbaMaximize, sbaRestore, sbaRollUp, sbaRollDown, sbaTray,
  sbaSysMenu, sbaRollPanel, sbaCustom,
};
enum TSeRollKind { rkLeft, rkTop, rkRight, rkBottom };

// The stored names, in value order.
extern const std::array<std::string_view, 16> kSeAlignNames;
extern const std::array<std::string_view, 22> kSeKindNames;
extern const std::array<std::string_view, 9> kSeTextAlignNames;
extern const std::array<std::string_view, 2> kSeTextEffectNames;
extern const std::array<std::string_view, 3> kScTileStyleNames;
extern const std::array<std::string_view, 12> kSeActionNames;
extern const std::array<std::string_view, 4> kSeRollKindNames;

// The "Objects" value: a child count whose bits 16 to 19 are all set says the children follow as
// binary object records; without them the count is plain and the children are text records.
inline constexpr std::int32_t kBinaryRecordsMarker = 0xF0000;
constexpr bool HasBinaryRecordsMarker(std::int32_t value) {
  return (value & kBinaryRecordsMarker) == kBinaryRecordsMarker;
}

class TSeSkinObject : public TComponent {
  VANDREL_CLASS_INFO
 public:
  explicit TSeSkinObject(TComponent* owner);
  ~TSeSkinObject() override;

  TSeAlign Align() const { return m_align; }
  void SetAlign(TSeAlign value) { m_align = value; }
  TColor Color() const { return m_color; }
  void SetColor(TColor value) { m_color = value; }
  bool DrawIfOwner() const { return m_drawIfOwner; }
  void SetDrawIfOwner(bool value) { m_drawIfOwner = value; }
  TFont* Font() const { return m_font.get(); }
  TSeKind Kind() const { return m_kind; }
  void SetKind(TSeKind value) { m_kind = value; }
  bool Masked() const { return m_masked; }
  void SetMasked(bool value) { m_masked = value; }
  // Each of the four setters is a SetBounds.
  int Left() const { return m_left; }
  void SetLeft(int value) { SetPlace(value, m_top, m_width, m_height); }
  int Top() const { return m_top; }
  void SetTop(int value) { SetPlace(m_left, value, m_width, m_height); }
  int Width() const { return m_width; }
  void SetWidth(int value) { SetPlace(m_left, m_top, value, m_height); }
  int Height() const { return m_height; }
  void SetHeight(int value) { SetPlace(m_left, m_top, m_width, value); }
  TRect BoundsRect() const { return {m_left, m_top, m_left + m_width, m_top + m_height}; }
  int MarginLeft() const { return m_marginLeft; }
  void SetMarginLeft(int value) { m_marginLeft = value; }
  int MarginRight() const { return m_marginRight; }
  void SetMarginRight(int value) { m_marginRight = value; }
  int MarginTop() const { return m_marginTop; }
  void SetMarginTop(int value) { m_marginTop = value; }
  int MarginBottom() const { return m_marginBottom; }
  void SetMarginBottom(int value) { m_marginBottom = value; }
  TSeTextAlign TextAlign() const { return m_textAlign; }
  void SetTextAlign(TSeTextAlign value) { m_textAlign = value; }
  TSeTextEffect TextEffect() const { return m_textEffect; }
  void SetTextEffect(TSeTextEffect value) { m_textEffect = value; }
  int TextMarginLeft() const { return m_textMarginLeft; }
  void SetTextMarginLeft(int value) { m_textMarginLeft = value; }
  int TextMarginRight() const { return m_textMarginRight; }
  void SetTextMarginRight(int value) { m_textMarginRight = value; }
  int TextMarginTop() const { return m_textMarginTop; }
  void SetTextMarginTop(int value) { m_textMarginTop = value; }

  // Runtime fields, never stored nor copied.
  bool Visible() const { return m_visible; }
  void SetVisible(bool value) { m_visible = value; }
  bool Enabled() const { return m_enabled; }
  void SetEnabled(bool value) { m_enabled = value; }
  // The owning window is active.
  bool Active() const { return m_active; }
  int State() const { return m_state; }
  const std::string& Text() const { return m_text; }
  void SetText(const std::string& value) { m_text = value; }
  TControl* Control() const { return m_control; }
  TBiDiMode BiDiMode() const { return m_biDiMode; }
  void SetBiDiMode(TBiDiMode value) { m_biDiMode = value; }
  int OldWidth() const { return m_oldWidth; }
  int OldHeight() const { return m_oldHeight; }

  // Children: the skin objects this one owns, in the order they were added.
  int Count() const;
  // nullptr for an index out of range.
  TSeSkinObject* Objects(int index) const;

  // Depth first, this object first: the first whose name equals name ignoring ASCII case.
  TSeSkinObject* FindObject(std::string_view name);
  TSeSkinObject* FindObjectByKind(TSeKind kind);

  // The image list of the source the tree was loaded from (not owned); set on the whole subtree.
  TseBitmapList* Images() const { return m_images; }
  void SetImages(TseBitmapList* images);

  // A new object of the object's registered class, owned by owner, with the object's copy: a
  // private tree a control can lay out and put into states without touching anyone else's.
  // Raises EClassNotFound when the class is not registered.
  static TSeSkinObject* CloneObject(const TSeSkinObject& object, TComponent* owner);
  // From a skin object of this class or a base of it: the stored properties, the image list and
  // clones of the children; the bounds last, without a layout.
  void Assign(const TPersistent& source) override;

  // The control that draws the tree, on the whole subtree (with its bidirectional mode).
  void SetControl(TControl* control);
  // On the subtree; the walk stops below an object that already has the value.
  void SetActive(bool value);
  // The object-changed notification to the control's window while visible.
  void Invalidate();
  // The skinned-window component of the control's window; null without one.
  ISeSkinnedWindow* OwnerForm() const;

  // Takes the rectangle (negative sides become 0, everything within kMaxSkinCoordinate) and lays
  // out the children, unless it is the current bounds.
  void SetBounds(const TRect& rect);
  // SetBounds from a position and a size.
  void SetPlace(int left, int top, int width, int height);
  void AlignChildren();
  // The deepest visible object under p (root coordinates) that is not see-through to the mouse.
  TSeSkinObject* ObjectAtPoint(TPoint p);
  // The region the tree covers; null when the object has no area. The caller owns it.
  HRGN BuildRegion();

  // The font of the current state; the Font property holds the normal one.
  virtual TFont* GetFont() const { return m_font.get(); }
  // Sets the state on the object and its subtree.
  virtual void SetState(int state);
  // Binds image references to images; the base passes it on to the children.
  virtual void AfterLoad();
  virtual void Draw(TCanvas& canvas);
  // The object's own region (the caller owns it); the base gives its bounds.
  virtual HRGN CreateRegion();
  // Shifts the colours (clNone excepted) by delta steps round the 255-step hue circle, then the
  // children's.
  virtual void ChangeHue(int delta);
  // Sets the character set of every font of the object, then of the children.
  virtual void SetCharset(int charset);
  // Mouse events from the skinned window; points relative to the object's top-left corner.
  virtual void MouseEnter() {}
  virtual void MouseLeave() {}
  virtual void MouseDown(TMouseBtn, TPoint) {}
  virtual void MouseMove(TShiftState, TPoint) {}
  virtual void MouseUp(TMouseBtn, TPoint) {}
  virtual void DblClick(TMouseBtn, TPoint) {}

  void DefineProperties(TFiler& filer) override;
  // Children travel inside "Objects", never in the stream's child list.
  void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) const override;

 protected:
  // Skin objects refer to no other component, so nothing needs to travel down the tree: passing
  // notifications on would make building or freeing a wide tree quadratic.
  void Notification(TComponent* component, TOperation operation) override;

  // The fill and the text, the first step of the base drawing.
  void DrawFillAndText(TCanvas& canvas);
  // The text in GetFont's font (a "-" is a separator line), placed by TextAlign.
  void DrawText(TCanvas& canvas);
  // Each visible child with an area, in order.
  void DrawChildren(TCanvas& canvas);
  // Puts a state's colour and font (either may be null: kept) in place of Color and Font while
  // it lives, so the base drawing uses them; the stored values come back on every way out.
  class TStateLook {
   public:
    TStateLook(TSeSkinObject& object, const TColor* color, const TFont* font);
    ~TStateLook();
    TStateLook(const TStateLook&) = delete;
    TStateLook& operator=(const TStateLook&) = delete;

   private:
    TSeSkinObject& m_object;
    TColor m_color;
    std::unique_ptr<TFont> m_font;
  };

 private:
  void ReadObjects(TStream& stream);
  void WriteObjects(TStream& stream);

  TSeAlign m_align = saNone;
  TColor m_color = clWhite;
  bool m_drawIfOwner = false;
  std::unique_ptr<TFont> m_font;
  TSeKind m_kind = skNone;
  bool m_masked = true;
  int m_left = 0, m_top = 0, m_width = 0, m_height = 0;
  int m_marginLeft = 0, m_marginRight = 0, m_marginTop = 0, m_marginBottom = 0;
  TSeTextAlign m_textAlign = taLeft;
  TSeTextEffect m_textEffect = teNone;
  int m_textMarginLeft = 0, m_textMarginRight = 0, m_textMarginTop = 0;
  TseBitmapList* m_images = nullptr;

  bool m_visible = true;
  bool m_enabled = true;
  bool m_active = false;
  int m_state = kStateNormal;
  std::string m_text;
  TControl* m_control = nullptr;
  TBiDiMode m_biDiMode = bdLeftToRight;
  int m_oldWidth = 0, m_oldHeight = 0;
};

// Positions and sizes are kept within this bound, so sums of a few of them never overflow,
// whatever a damaged skin file stores.
inline constexpr int kMaxSkinCoordinate = 1 << 29;
int ClampCoordinate(std::int64_t value);

// The TseColor of a colour (system colours resolved) moved delta steps round the hue circle;
// clNone stays.
TColor ShiftColorHue(TColor color, int delta);
// The width of text in font, measured on the screen.
int ScreenTextWidth(std::string_view text, const TFont& font);

}  // namespace vandrel
