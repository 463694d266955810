// Skin objects that draw rectangles of skin images. First family: TSeBitmapObject (a whole
// picture, or nine parts when it has margins, each part keyed by its own flag, then its text and
// children), TSeActiveBitmap and TSeButtonObject (a picture per state). Second family:
// TSeBitmapSkinObject and its kinds, which key every part by the link's one flag and draw no
// children.
#pragma once

#include <memory>

#include "graphics/BitmapLink.h"
#include "skin/SkinObject.h"

namespace vandrel {

class TSeBitmapObject : public TSeSkinObject {
  VANDREL_CLASS_INFO
 public:
  explicit TSeBitmapObject(TComponent* owner);

  TseBitmapLink* Bitmap() const { return m_bitmap.get(); }
  TscTileStyle BorderTileStyle() const { return m_borderTileStyle; }
  void SetBorderTileStyle(TscTileStyle value) { m_borderTileStyle = value; }
  // Stored and copied only: drawing uses the flags the resolved link found.
  bool MaskedBorder() const { return m_maskedBorder; }
  void SetMaskedBorder(bool value) { m_maskedBorder = value; }
  bool MaskedAngles() const { return m_maskedAngles; }
  void SetMaskedAngles(bool value) { m_maskedAngles = value; }
  TscTileStyle TileStyle() const { return m_tileStyle; }
  void SetTileStyle(TscTileStyle value) { m_tileStyle = value; }

  void AfterLoad() override;
  void Draw(TCanvas& canvas) override;
  HRGN CreateRegion() override;
  void Assign(const TPersistent& source) override;

 protected:
  // The drawing with picture in place of Bitmap (which decides whether anything is drawn).
  void DrawWith(TCanvas& canvas, const TseBitmapLink& picture);
  // Binds a link to the image list's image of its name, analysing its mask with the margins.
  void ResolveLink(TseBitmapLink& link);

 private:
  std::unique_ptr<TseBitmapLink> m_bitmap;
  TscTileStyle m_borderTileStyle = tsTile;
  bool m_maskedBorder = true;
  bool m_maskedAngles = true;
  TscTileStyle m_tileStyle = tsTile;
};

class TSeActiveBitmap : public TSeBitmapObject {
  VANDREL_CLASS_INFO
 public:
  explicit TSeActiveBitmap(TComponent* owner);

  TseBitmapLink* ActiveBitmap() const { return m_activeBitmap.get(); }
  TFont* ActiveFont() const { return m_activeFont.get(); }

  TFont* GetFont() const override;
  void AfterLoad() override;
  void Draw(TCanvas& canvas) override;
  void SetCharset(int charset) override;
  void Assign(const TPersistent& source) override;

 private:
  std::unique_ptr<TseBitmapLink> m_activeBitmap;
  std::unique_ptr<TFont> m_activeFont;
};

class TSeButtonObject : public TSeBitmapObject {
  VANDREL_CLASS_INFO
 public:
  explicit TSeButtonObject(TComponent* owner);

  TseBitmapLink* BitmapHot() const { return m_bitmapHot.get(); }
  TseBitmapLink* BitmapFocused() const { return m_bitmapFocused.get(); }
  TseBitmapLink* BitmapPressed() const { return m_bitmapPressed.get(); }
  TseBitmapLink* BitmapDisabled() const { return m_bitmapDisabled.get(); }

  void AfterLoad() override;
  void Draw(TCanvas& canvas) override;
  void Assign(const TPersistent& source) override;

 private:
  std::unique_ptr<TseBitmapLink> m_bitmapHot, m_bitmapFocused, m_bitmapPressed, m_bitmapDisabled;
};

// The second family's picture object: the whole Bitmap by TileStyle, then the text; no children.
class TSeBitmapSkinObject : public TSeSkinObject {
  VANDREL_CLASS_INFO
 public:
  explicit TSeBitmapSkinObject(TComponent* owner);

  TseBitmapLink* Bitmap() const { return m_bitmap.get(); }
  TscTileStyle TileStyle() const { return m_tileStyle; }
  void SetTileStyle(TscTileStyle value) { m_tileStyle = value; }

  void AfterLoad() override;
  void Draw(TCanvas& canvas) override;
  HRGN CreateRegion() override;
  void Assign(const TPersistent& source) override;

 protected:
  // Nothing unless Bitmap is valid; otherwise picture and the text.
  virtual void DrawWith(TCanvas& canvas, const TseBitmapLink& picture);
  // Binds a link by name and finds its one mask flag.
  void ResolveLink(TseBitmapLink& link);

 private:
  std::unique_ptr<TseBitmapLink> m_bitmap;
  TscTileStyle m_tileStyle = tsTile;
};

// InactiveBitmap while the window is not active.
class TSeFormBitmapSkinObject : public TSeBitmapSkinObject {
  VANDREL_CLASS_INFO
 public:
  explicit TSeFormBitmapSkinObject(TComponent* owner);

  TseBitmapLink* InactiveBitmap() const { return m_inactiveBitmap.get(); }

  void AfterLoad() override;
  void Draw(TCanvas& canvas) override;
  void Assign(const TPersistent& source) override;

 private:
  std::unique_ptr<TseBitmapLink> m_inactiveBitmap;
};

// With margins, nine parts (corners unscaled, edges by BorderTileStyle, centre by TileStyle).
class TSeBitmapBoxObject : public TSeBitmapSkinObject {
  VANDREL_CLASS_INFO
 public:
  explicit TSeBitmapBoxObject(TComponent* owner) : TSeBitmapSkinObject(owner) {}

  TscTileStyle BorderTileStyle() const { return m_borderTileStyle; }
  void SetBorderTileStyle(TscTileStyle value) { m_borderTileStyle = value; }

  void Assign(const TPersistent& source) override;

 protected:
  void DrawWith(TCanvas& canvas, const TseBitmapLink& picture) override;

 private:
  TscTileStyle m_borderTileStyle = tsTile;
};

// FocusedBitmap while hot or focused.
class TSeActiveBitmapBoxObject : public TSeBitmapBoxObject {
  VANDREL_CLASS_INFO
 public:
  explicit TSeActiveBitmapBoxObject(TComponent* owner);

  TseBitmapLink* FocusedBitmap() const { return m_focusedBitmap.get(); }

  void AfterLoad() override;
  void Draw(TCanvas& canvas) override;
  void Assign(const TPersistent& source) override;

 private:
  std::unique_ptr<TseBitmapLink> m_focusedBitmap;
};

// A picture per state.
class TSeButtonBitmapBoxObject : public TSeBitmapBoxObject {
  VANDREL_CLASS_INFO
 public:
  explicit TSeButtonBitmapBoxObject(TComponent* owner);

  TseBitmapLink* HotBitmap() const { return m_hotBitmap.get(); }
  TseBitmapLink* FocusedBitmap() const { return m_focusedBitmap.get(); }
  TseBitmapLink* PressedBitmap() const { return m_pressedBitmap.get(); }
  TseBitmapLink* DisabledBitmap() const { return m_disabledBitmap.get(); }

  void AfterLoad() override;
  void Draw(TCanvas& canvas) override;
  void Assign(const TPersistent& source) override;

 private:
  std::unique_ptr<TseBitmapLink> m_hotBitmap, m_focusedBitmap, m_pressedBitmap, m_disabledBitmap;
};

}  // namespace vandrel
