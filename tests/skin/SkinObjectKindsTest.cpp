// The sixteen skin object kinds as stored: the class registry's order, each class's published
// properties in stored order with their initial values, and trees of every kind written and read
// back through both record forms.
#include <gtest/gtest.h>

#include "framework/ObjectText.h"
#include "framework/PropertyInfo.h"
#include "skin/ActiveObject.h"
#include "skin/BitmapObject.h"
#include "skin/SkinFilter.h"
#include "skin/SkinObjectRegistry.h"
#include "skin/SkinSource.h"
#include "skin/SystemButton.h"
#include "tests/skin/SkinTestData.h"

namespace vandrel::test {
namespace {

using Names = std::vector<std::string_view>;

// The properties every kind inherits, then each kind's own.
const Names kBaseProperties = {
    "Name", "Tag", "Align", "Color", "DrawIfOwner", "Font", "Kind", "Masked", "Left", "Top", "Height",
    "Width", "MarginLeft", "MarginRight", "MarginTop", "MarginBottom", "TextAlign", "TextEffect",
    "TextMarginLeft", "TextMarginRight", "TextMarginTop"};

struct KindCase {
  std::string_view className;
  Names ownProperties;
};

const KindCase kKinds[] = {
    {"TSeSkinObject", {}},
    {"TSeActiveObject", {"ActiveColor", "ActiveFont"}},
    {"TSeBitmapObject", {"Bitmap", "BorderTileStyle", "MaskedBorder", "MaskedAngles", "TileStyle"}},
    {"TSeActiveBitmap", {"Bitmap", "BorderTileStyle", "MaskedBorder", "MaskedAngles", "TileStyle", "ActiveBitmap", "ActiveFont"}},
    {"TSeSystemButton", {"Bitmap", "BorderTileStyle", "MaskedBorder", "MaskedAngles", "TileStyle", "ActiveBitmap",
                         "ActiveFont", "Action", "BitmapHot", "BitmapPressed"}},
    {"TSeButtonObject", {"Bitmap", "BorderTileStyle", "MaskedBorder", "MaskedAngles", "TileStyle", "BitmapHot",
                         "BitmapFocused", "BitmapPressed", "BitmapDisabled"}},
    {"TSeTextObject", {"FontHot", "FontFocused", "FontPressed", "FontDisabled"}},
    {"TSeLinkSkinObject", {"LinkControl"}},
    {"TSeBitmapSkinObject", {"Bitmap", "TileStyle"}},
    {"TSeFormBitmapSkinObject", {"Bitmap", "TileStyle", "InactiveBitmap"}},
    {"TSeSysButtonSkinObject", {"Bitmap", "TileStyle", "Action", "BitmapHover", "BitmapDown", "RollPanel"}},
    {"TSeActiveSkinObject", {"ActiveColor", "ActiveFont"}},
    {"TSeColorButtonObject", {"HotColor", "HotFont", "PressedColor", "PressedFont", "FocusedColor", "FocusedFont",
                              "DisabledColor", "DisabledFont"}},
    {"TSeBitmapBoxObject", {"Bitmap", "TileStyle", "BorderTileStyle"}},
    {"TSeActiveBitmapBoxObject", {"Bitmap", "TileStyle", "BorderTileStyle", "FocusedBitmap"}},
    {"TSeButtonBitmapBoxObject", {"Bitmap", "TileStyle", "BorderTileStyle", "HotBitmap", "FocusedBitmap",
                                  "PressedBitmap", "DisabledBitmap"}},
    {"TSeRollPanelObject", {"RollKind", "RollValue"}},
};

std::unique_ptr<TSeSkinObject> Make(std::string_view className, TComponent* owner = nullptr) {
  const TClassInfo* info = FindSkinObjectClass(className);
  if (!info) throw std::runtime_error("unregistered " + std::string(className));
  return std::unique_ptr<TSeSkinObject>(static_cast<TSeSkinObject*>(info->Create(owner)));
}

TEST(SkinObjectKindsTest, RegistryHoldsEveryKindInItsFixedOrderWithItsStoredProperties) {
  ASSERT_EQ(SkinObjectClasses().size(), std::size(kKinds));
  for (size_t i = 0; i < std::size(kKinds); ++i) {
    const KindCase& kind = kKinds[i];
    SCOPED_TRACE(kind.className);
    EXPECT_EQ(SkinObjectClasses()[i]->Name(), kind.className);
    Names expected = kBaseProperties;
    expected.insert(expected.end(), kind.ownProperties.begin(), kind.ownProperties.end());
    Names names;
    for (const TPropertyInfo& p : SkinObjectClasses()[i]->Properties()) names.push_back(p.name);
    EXPECT_EQ(names, expected);
  }
}

TEST(SkinObjectKindsTest, NewObjectsHaveTheirInitialValues) {
  TSeSystemButton button(nullptr);
  EXPECT_EQ(button.Kind(), skSysButton);
  EXPECT_EQ(button.Action(), sbaNone);
  EXPECT_TRUE(button.MaskedBorder());
  EXPECT_TRUE(button.MaskedAngles());
  EXPECT_EQ(button.TileStyle(), tsTile);
  EXPECT_EQ(button.BorderTileStyle(), tsTile);
  EXPECT_EQ(button.ActiveFont()->Name(), "Arial");
  EXPECT_EQ(button.ActiveFont()->Color(), clBlack);
  EXPECT_TRUE(button.Bitmap()->Name().empty());
  EXPECT_FALSE(button.BitmapHot()->IsValid());

  TSeSysButtonSkinObject second(nullptr);
  EXPECT_EQ(second.Kind(), skSysButton);
  EXPECT_TRUE(second.RollPanel().empty());

  TSeActiveObject active(nullptr);
  EXPECT_EQ(active.ActiveColor(), clBlack);
  EXPECT_EQ(active.ActiveFont()->Name(), "Arial");
  TSeTextObject text(nullptr);
  for (TFont* f : {text.FontHot(), text.FontFocused(), text.FontPressed(), text.FontDisabled()}) {
    EXPECT_EQ(f->Name(), "Arial");
    EXPECT_EQ(f->Color(), clBlack);
  }
  // The second family's fonts are the platform font's defaults, not Arial.
  const TFont platformFont;
  TSeColorButtonObject cell(nullptr);
  EXPECT_EQ(cell.HotColor(), clBlack);
  EXPECT_EQ(cell.DisabledColor(), clBlack);
  EXPECT_EQ(cell.HotFont()->Name(), platformFont.Name());
  TSeActiveSkinObject activeSkin(nullptr);
  EXPECT_EQ(activeSkin.ActiveFont()->Name(), platformFont.Name());
  TSeRollPanelObject panel(nullptr);
  EXPECT_EQ(panel.RollKind(), rkLeft);
  EXPECT_EQ(panel.RollValue(), 0);
  TSeLinkSkinObject link(nullptr);
  EXPECT_TRUE(link.LinkControl().empty());

  // Runtime fields.
  EXPECT_TRUE(panel.Visible());
  EXPECT_TRUE(panel.Enabled());
  EXPECT_FALSE(panel.Active());
  EXPECT_EQ(panel.State(), kStateNormal);
  EXPECT_EQ(panel.Control(), nullptr);
}

// Every published value away from its initial one, so a value that is lost or read into the
// wrong property shows in the text form.
void SetEveryProperty(TPersistent& object, int seed) {
  for (const TPropertyInfo& p : object.ClassInfo().Properties()) {
    const int n = seed * 31 + int(p.name.size());
    switch (p.kind) {
      case TPropertyKind::Integer:
        if (p.name != "Tag" && p.name != "Left" && p.name != "Top" && p.name != "Width" && p.name != "Height")
          p.setOrdinal(object, n % 50 + 1);
        break;
      case TPropertyKind::Boolean: p.setOrdinal(object, p.defaultValue.value_or(0) ? 0 : 1); break;
      case TPropertyKind::Enumeration: p.setOrdinal(object, std::int64_t(p.names.size()) - 1 - (n % 2)); break;
      case TPropertyKind::IdentInteger: p.setOrdinal(object, 0x010203 * (n % 60 + 1)); break;
      case TPropertyKind::String: p.setString(object, "S" + std::to_string(n)); break;
      case TPropertyKind::Object:
        if (auto* font = dynamic_cast<TFont*>(p.getObject(object))) {
          font->SetName("Tahoma" + std::to_string(n % 7));
          font->SetColor(0x00A0B0 + n);
          font->SetHeight(-(n % 20 + 8));
        } else if (auto* link = dynamic_cast<TseBitmapLink*>(p.getObject(object))) {
          link->SetName("IMAGE" + std::to_string(n % 9));
          link->SetRect({n % 5, n % 7, n % 5 + 21, n % 7 + 13});
        }
        break;
      default: break;
    }
  }
}

TEST(SkinObjectKindsTest, TreesOfEveryKindComeBackThroughBothRecordForms) {
  // Each kind once at the top (text records in the general form, binary in the other) holding a
  // child of the next kind (always a binary record) and a grandchild.
  TSeSkinSource source;
  for (size_t i = 0; i < std::size(kKinds); ++i) {
    auto top = Make(kKinds[i].className);
    SetEveryProperty(*top, int(i));
    top->SetName("Top" + std::to_string(i));
    top->SetBounds({1, 2, 301, 202});
    std::unique_ptr<TSeSkinObject> child = Make(kKinds[(i + 1) % std::size(kKinds)].className, top.get());
    SetEveryProperty(*child, int(i) + 100);
    child->SetName("Child");
    child->SetBounds({5, 6, 25, 36});
    TSeSkinObject* leaf = Make(kKinds[(i + 2) % std::size(kKinds)].className, child.release()).release();
    leaf->SetName("Leaf");
    source.AddObject(std::move(top));
  }
  std::string expected;
  for (int i = 0; i < source.Count(); ++i) expected += ComponentToText(*source.ObjectAt(i));
  EXPECT_NE(expected.find("RollPanel = 'S"), std::string::npos);
  EXPECT_NE(expected.find("HotBitmap.Name = 'IMAGE"), std::string::npos);

  auto readBack = [&](TSeSkinSource& loaded) {
    std::string text;
    for (int i = 0; i < loaded.Count(); ++i) text += ComponentToText(*loaded.ObjectAt(i));
    return text;
  };
  TSeSkinSource general;
  LoadWith<TSeSkinFilterCompressed>(general, SaveWith<TSeSkinFilterCompressed>(source));
  EXPECT_EQ(readBack(general), expected);
  TSeSkinSource binary;
  LoadWith<TSeSkinFilterMaxCompression>(binary, SaveWith<TSeSkinFilterMaxCompression>(source));
  EXPECT_EQ(readBack(binary), expected);
  EXPECT_EQ(binary.FindObject("Top4")->ClassInfo().Name(), "TSeSystemButton");
  EXPECT_EQ(binary.FindObject("Top4")->FindObject("child")->ClassInfo().Name(), "TSeButtonObject");
}

}  // namespace
}  // namespace vandrel::test
