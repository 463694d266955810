// TSeSkinObject: a node of a skin object tree as skin files store it. Its published properties,
// its children (the objects it owns, stored after the properties as the binary property "Objects")
// and the operations a load runs over a tree: binding the source's images, the character set
// step, the after-load pass and the hue change. The object kinds derive from it.
#pragma once

#include <array>
#include <memory>
#include <string_view>

#include "framework/Component.h"
#include "framework/Font.h"
#include "platform/core/Color.h"
#include "platform/core/Stream.h"

namespace vandrel {

class TseBitmapList;

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

// The stored names, in value order.
extern const std::array<std::string_view, 16> kSeAlignNames;
extern const std::array<std::string_view, 22> kSeKindNames;
extern const std::array<std::string_view, 9> kSeTextAlignNames;
extern const std::array<std::string_view, 2> kSeTextEffectNames;

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
  // The font of the current state; the stored Font is the normal state's.
  virtual TFont* GetFont() const { return m_font.get(); }
  TFont* Font() const { return m_font.get(); }
  TSeKind Kind() const { return m_kind; }
  void SetKind(TSeKind value) { m_kind = value; }
  bool Masked() const { return m_masked; }
  void SetMasked(bool value) { m_masked = value; }
  int Left() const { return m_left; }
  void SetLeft(int value) { m_left = value; }
  int Top() const { return m_top; }
  void SetTop(int value) { m_top = value; }
  int Width() const { return m_width; }
  void SetWidth(int value) { m_width = value; }
  int Height() const { return m_height; }
  void SetHeight(int value) { m_height = value; }
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

  // Binds image references to images; the base passes it on to the children.
  virtual void AfterLoad();
  // Shifts the colours (clNone excepted) by delta steps round the 255-step hue circle, then the
  // children's.
  virtual void ChangeHue(int delta);
  // Sets the character set of every font of the object, then of the children.
  virtual void SetCharset(int charset);

  void DefineProperties(TFiler& filer) override;
  // Children travel inside "Objects", never in the stream's child list.
  void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) const override;

 protected:
  // Skin objects refer to no other component, so nothing needs to travel down the tree: passing
  // notifications on would make building or freeing a wide tree quadratic.
  void Notification(TComponent* component, TOperation operation) override;

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
};

}  // namespace vandrel
