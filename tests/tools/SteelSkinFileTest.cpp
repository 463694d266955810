// The shipped skin file as the program loads it: header, image table, the 24 top-level objects, and
// every object of the seven trees the program draws against a table of what each must hold; the
// frame's layout and halves, the see-through pictures and the state pictures.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <functional>
#include <map>
#include <sstream>

#include "framework/Writer.h"
#include "graphics/Bitmap.h"
#include "skin/BitmapObject.h"
#include "skin/SkinObject.h"
#include "skin/SkinSource.h"
#include "skin/SystemButton.h"
#include "platform/core/Text.h"
#include "tools/vandrel-skin/ObjectTree.h"
#include "tools/vandrel-skin/SkinCompiler.h"
#include "tools/vandrel-skin/SkinPackage.h"

namespace vandrel::test {
namespace {

using skinpack::ObjectText;
using skinpack::ParseObjectStream;

TSeSkinSource& Steel() {
  static TSeSkinSource* source = [] {
    auto* s = new TSeSkinSource;
    s->LoadFromFile(VANDREL_STEEL_SKIN);
    return s;
  }();
  return *source;
}

// "Form/Caption/Title": each step a child of the one before.
TSeSkinObject* At(const std::string& path) {
  std::istringstream steps(path);
  std::string step;
  std::getline(steps, step, '/');
  TSeSkinObject* object = Steel().FindObject(step);
  while (object && std::getline(steps, step, '/')) {
    TSeSkinObject* next = nullptr;
    for (int i = 0; i < object->Count() && !next; ++i)
      if (object->Objects(i)->Name() == step) next = object->Objects(i);
    object = next;
  }
  return object;
}

// The properties an object stores beside its kind, align and bounds, as "Name = value" in stored
// order; a picture as "Bitmap = NAME (l, t, r, b)", a font only when it is not the skin's usual one
// (MS Sans Serif, -11, clWindowText) and then as "Font = colour [styles]"; an empty picture not.
std::string StoredProperties(TSeSkinObject& object) {
  TMemoryStream stream;
  WriteComponentToStream(stream, object);
  skinpack::TObjectNode node = ParseObjectStream(stream.Bytes());
  node.Children.clear();
  std::istringstream text(ObjectText(node));
  std::vector<std::pair<std::string, std::string>> plain;
  std::map<std::string, std::map<std::string, std::string>> grouped;
  std::vector<std::string> order;
  std::string line;
  while (std::getline(text, line)) {
    const size_t eq = line.find(" = ");
    if (eq == std::string::npos) continue;
    const std::string name = line.substr(line.find_first_not_of(' '), eq - line.find_first_not_of(' '));
    const std::string value = line.substr(eq + 3);
    const size_t dot = name.find('.');
    if (dot == std::string::npos) {
      if (name != "Align" && name != "Kind" && name != "Left" && name != "Top" && name != "Width" && name != "Height")
        order.push_back(name), plain.emplace_back(name, value);
      continue;
    }
    const std::string group = name.substr(0, dot);
    if (!grouped.count(group)) order.push_back(group);
    grouped[group][name.substr(dot + 1)] = value;
  }
  std::string out;
  for (const std::string& name : order) {
    std::string item;
    if (auto g = grouped.find(name); g != grouped.end()) {
      auto field = [&](const char* key, const char* fallback) {
        auto it = g->second.find(key);
        return it == g->second.end() ? std::string(fallback) : it->second;
      };
      if (g->second.count("Right") || g->second.count("Bottom")) {
        if (field("Name", "''") == "''") continue;
        item = name + " = " + field("Name", "''").substr(1, field("Name", "''").size() - 2) + " (" + field("Left", "0") +
               ", " + field("Top", "0") + ", " + field("Right", "0") + ", " + field("Bottom", "0") + ")";
      } else {
        const std::string face = field("Name", "'Arial'") == "'MS Sans Serif'" && field("Height", "0") == "-11"
                                     ? ""
                                     : field("Name", "'Arial'") + " " + field("Height", "0") + " ";
        const std::string style = field("Style", "[]") == "[]" ? "" : " " + field("Style", "[]");
        const std::string colour = field("Color", "clWindowText");
        if (face.empty() && style.empty() && colour == "clWindowText") continue;
        item = name + " = " + face + colour + style;
      }
    } else {
      for (const auto& [n, v] : plain)
        if (n == name) item = n + " = " + v;
    }
    out += (out.empty() ? "" : "; ") + item;
  }
  return out;
}

struct TObjectRow {
  std::string path;
  std::string className;
  TSeKind kind;
  TSeAlign align;
  TRect bounds;  // left, top, width, height
  std::string stored;
};

std::vector<TObjectRow> SteelRows() {
  const std::string cap = "FRAMECAPTION.BMP";
  std::vector<TObjectRow> rows = {
      {"Form", "TSeSkinObject", skForm, saNone, {0, 0, 375, 247}, "Color = 14150122"},
      {"Form/Caption", "TSeSkinObject", skNone, saTop, {0, 0, 375, 29}, ""},
      {"Form/Caption/CaptionLeft", "TSeActiveBitmap", skTopLeft, saLeft, {0, 0, 10, 29},
       "Bitmap = FRAMECAPTION.BMP (0, 29, 10, 58); ActiveBitmap = FRAMECAPTION.BMP (0, 0, 10, 29)"},
      {"Form/Caption/CaptionRight", "TSeActiveBitmap", skTopRight, saRight, {365, 0, 10, 29},
       "Bitmap = FRAMECAPTION.BMP (56, 29, 66, 58); ActiveBitmap = FRAMECAPTION.BMP (56, 0, 66, 29)"},
      {"Form/Caption/Title", "TSeActiveBitmap", skTitle, saClient, {10, 0, 355, 29},
       "DrawIfOwner = True; Font = clWhite [fsBold]; Masked = False; TextEffect = teShadow; TextMarginLeft = 22; "
       "TextMarginRight = 140; TextMarginTop = 4; Bitmap = FRAMECAPTION.BMP (10, 29, 57, 58); TileStyle = tsStretch; "
       "ActiveBitmap = FRAMECAPTION.BMP (10, 0, 57, 29)"},
      {"Form/Caption/Title/TopBorder", "TSeBitmapObject", skTop, saTop, {10, 0, 355, 5}, ""},
      {"Form/Caption/ButtonContainer", "TSeBitmapObject", skCaption, saTopRight, {167, 5, 204, 21},
       "DrawIfOwner = True; Bitmap = TOOLBARBUTTONS.BMP (0, 0, 20, 23)"},
      {"Form/Caption/ButtonContainer/CloseButton", "TSeSystemButton", skSysButton, saRight, {350, 5, 21, 21},
       "Bitmap = CLOSEBUTTON.bmp (0, 84, 21, 105); TileStyle = tsCenter; ActiveBitmap = CLOSEBUTTON.bmp (0, 0, 21, 21); "
       "Action = sbaClose; BitmapHot = CLOSEBUTTON.bmp (0, 21, 21, 42); BitmapPressed = CLOSEBUTTON.bmp (0, 42, 21, 63)"},
      {"Form/Caption/ButtonContainer/CloseButton/Glyph", "TSeButtonObject", skTranparent, saCenter, {354, 9, 13, 13},
       "Bitmap = CLOSEGLYPH.BMP (0, 0, 13, 13); BitmapHot = CLOSEGLYPH.BMP (0, 0, 13, 13); "
       "BitmapPressed = CLOSEGLYPH.BMP (0, 26, 13, 39); BitmapDisabled = CLOSEGLYPH.BMP (0, 26, 13, 39)"},
  };
  const struct {
    const char* name;
    int left;
    const char* action;
    const char* glyph;
  } buttons[] = {{"RestoreButton", 327, "sbaRestore", "RESTOREGLYPH.BMP"},
                 {"MaxButton", 304, "sbaMaximize", "MAXIMIZEGLYPH.BMP"},
                 {"MinButton", 281, "sbaMinimize", "MINIMIZEGLYPH.BMP"},
                 {"RollDownButton", 258, "sbaRollDown", "ROLlDOWNPGLYPH.bmp"},
                 {"RollUpButton", 235, "sbaRollUp", "ROLLUPGLYPH.bmp"},
                 {"TrayButton", 212, "sbaTray", "TRAYGLYPH.bmp"},
                 {"HelpButton", 189, "sbaHelp", "HELPGLYPH.BMP"}};
  for (const auto& b : buttons) {
    const std::string path = std::string("Form/Caption/ButtonContainer/") + b.name;
    const std::string g = b.glyph;
    rows.push_back({path, "TSeSystemButton", skSysButton, saRight, {b.left, 5, 23, 21},
                    "Bitmap = CAPTIONBUTTON.bmp (0, 84, 21, 105); TileStyle = tsCenter; ActiveBitmap = CAPTIONBUTTON.bmp (0, "
                    "0, 21, 21); Action = " + std::string(b.action) +
                        "; BitmapHot = CAPTIONBUTTON.bmp (0, 21, 21, 42); BitmapPressed = CAPTIONBUTTON.bmp (0, 42, 21, 63)"});
    rows.push_back({path + "/Glyph", "TSeButtonObject", skTranparent, saCenter, {b.left + 5, 9, 13, 13},
                    "Bitmap = " + g + " (0, 0, 13, 13); BitmapHot = " + g + " (0, 0, 13, 13); BitmapFocused = " + g +
                        " (0, 26, 13, 39); BitmapPressed = " + g + " (0, 26, 13, 39); BitmapDisabled = " + g +
                        " (0, 26, 13, 39)"});
  }
  const std::vector<TObjectRow> rest = {
      {"Form/Left", "TSeActiveBitmap", skLeft, saLeft, {0, 29, 5, 213},
       "Masked = False; Bitmap = FRAMELEFT.BMP (0, 31, 5, 61); ActiveBitmap = FRAMELEFT.BMP (0, 0, 5, 30)"},
      {"Form/Right", "TSeActiveBitmap", skRight, saRight, {370, 29, 5, 213},
       "Masked = False; Bitmap = FRAMERIGHT.BMP (0, 31, 5, 61); ActiveBitmap = FRAMERIGHT.BMP (0, 0, 5, 30)"},
      {"Form/Bottom", "TSeSkinObject", skNone, saBottom, {0, 242, 375, 5}, "Masked = False"},
      {"Form/Bottom/BottomLeft", "TSeActiveBitmap", skBottomLeft, saLeft, {0, 242, 5, 5},
       "Bitmap = FRAMEBOTTOM.BMP (0, 5, 5, 10); ActiveBitmap = FRAMEBOTTOM.BMP (0, 0, 5, 5)"},
      {"Form/Bottom/BottomRight", "TSeActiveBitmap", skBottomRight, saRight, {370, 242, 5, 5},
       "Bitmap = FRAMEBOTTOM.BMP (44, 5, 49, 10); ActiveBitmap = FRAMEBOTTOM.BMP (44, 0, 49, 5)"},
      {"Form/Bottom/BottomCenter", "TSeActiveBitmap", skBottom, saClient, {5, 242, 365, 5},
       "Masked = False; Bitmap = FRAMEBOTTOM.BMP (4, 5, 45, 10); ActiveBitmap = FRAMEBOTTOM.BMP (4, 0, 45, 5)"},
      {"Form/Client", "TSeSkinObject", skClient, saClient, {5, 29, 365, 213},
       "Color = 14150122; DrawIfOwner = True; Masked = False"},
      {"Form/SysMenu", "TSeSystemButton", skSysButton, saTopLeft, {8, 8, 20, 20}, "Action = sbaSysMenu"},

      {"PopupMenu", "TSeSkinObject", skPopupMenu, saNone, {0, 0, 198, 128}, ""},
      {"PopupMenu/Item", "TSeActiveObject", skNone, saNone, {3, 76, 127, 21},
       "TextMarginLeft = 20; TextMarginRight = 10; ActiveColor = 9531215; ActiveFont = clWhite"},
      {"PopupMenu/Frame", "TSeBitmapObject", skPopupMenu, saNone, {2, 2, 170, 66},
       "Masked = False; MarginLeft = 3; MarginRight = 3; MarginTop = 3; MarginBottom = 3; "
       "Bitmap = FIELDOUTLINEBLUE.BMP (0, 0, 7, 7); TileStyle = tsStretch"},

      {"CheckBox", "TSeSkinObject", skNone, saNone, {0, 0, 195, 35}, ""},
      {"CheckBox/Unchecked", "TSeButtonObject", skNone, saNone, {5, 8, 13, 13},
       "Bitmap = CHECKBOX13.bmp (0, 0, 13, 13); BitmapHot = CHECKBOX13.bmp (0, 13, 13, 26); "
       "BitmapPressed = CHECKBOX13.bmp (0, 26, 13, 39); BitmapDisabled = CHECKBOX13.bmp (0, 39, 13, 52)"},
      {"CheckBox/Checked", "TSeButtonObject", skNone, saNone, {21, 8, 13, 13},
       "Bitmap = CHECKBOX13.bmp (0, 52, 13, 65); BitmapHot = CHECKBOX13.bmp (0, 65, 13, 78); "
       "BitmapPressed = CHECKBOX13.bmp (0, 78, 13, 91); BitmapDisabled = CHECKBOX13.bmp (0, 91, 13, 104)"},
      {"CheckBox/Mixed", "TSeButtonObject", skNone, saNone, {37, 8, 13, 13},
       "Bitmap = CHECKBOX13.bmp (0, 104, 13, 117); BitmapHot = CHECKBOX13.bmp (0, 117, 13, 130); "
       "BitmapPressed = CHECKBOX13.bmp (0, 130, 13, 143); BitmapDisabled = CHECKBOX13.bmp (0, 143, 13, 156)"},
      {"CheckBox/Text", "TSeTextObject", skNone, saNone, {56, 4, 101, 20}, ""},

      {"Button", "TSeSkinObject", skNone, saNone, {0, 0, 200, 100}, ""},
      {"Button/Face", "TSeButtonObject", skNone, saNone, {0, 0, 129, 44},
       "MarginLeft = 5; MarginRight = 5; MarginTop = 5; MarginBottom = 5; Bitmap = BUTTON.bmp (0, 0, 20, 23); "
       "BorderTileStyle = tsStretch; TileStyle = tsStretch; BitmapHot = BUTTON.bmp (0, 23, 20, 46); "
       "BitmapFocused = BUTTON.bmp (0, 92, 20, 115); BitmapPressed = BUTTON.bmp (0, 46, 20, 69); "
       "BitmapDisabled = BUTTON.bmp (0, 69, 20, 92)"},
      {"Button/Text", "TSeTextObject", skNone, saNone, {0, 50, 123, 25}, ""},

      {"Panel", "TSeSkinObject", skNone, saNone, {0, 0, 200, 100}, ""},
      {"Panel/Frame", "TSeBitmapObject", skNone, saNone, {8, 28, 183, 67},
       "MarginLeft = 2; MarginRight = 2; MarginTop = 2; MarginBottom = 2; Bitmap = NORMALGROUPBACKGROUND.BMP (0, 0, "
       "111, 10); BorderTileStyle = tsStretch; TileStyle = tsStretch"},
      {"Panel/Caption", "TSeBitmapObject", skNone, saNone, {8, 4, 183, 23},
       "MarginLeft = 4; MarginRight = 4; Bitmap = NORMALGROUPHEAD.BMP (0, 0, 111, 21); BorderTileStyle = tsStretch; "
       "TileStyle = tsStretch"},
      {"Panel/ButtonRollup", "TSeButtonObject", skNone, saNone, {169, 6, 18, 18},
       "Bitmap = NORMALGROUPCOLLAPSE.BMP (0, 0, 18, 18); BitmapHot = NORMALGROUPCOLLAPSE.BMP (0, 19, 18, 37); "
       "BitmapPressed = NORMALGROUPCOLLAPSE.BMP (0, 38, 18, 56)"},
      {"Panel/ButtonRolldown", "TSeButtonObject", skNone, saNone, {149, 6, 18, 18},
       "Bitmap = NORMALGROUPEXPAND.BMP (0, 0, 18, 18); BitmapHot = NORMALGROUPEXPAND.BMP (0, 19, 18, 37); "
       "BitmapPressed = NORMALGROUPEXPAND.BMP (0, 38, 18, 56)"},
      {"Panel/ButtonHide", "TSeButtonObject", skNone, saNone, {168, 5, 22, 21}, "Bitmap = CLOSEBUTTON.bmp (0, 0, 21, 21)"},
      {"Panel/ButtonHide/Glyph", "TSeButtonObject", skTranparent, saCenter, {172, 9, 13, 13},
       "Bitmap = CLOSEGLYPH.BMP (0, 0, 13, 13); BitmapHot = CLOSEGLYPH.BMP (0, 0, 13, 13); "
       "BitmapPressed = CLOSEGLYPH.BMP (0, 26, 13, 39); BitmapDisabled = CLOSEGLYPH.BMP (0, 26, 13, 39)"},

      {"StatusBar", "TSeSkinObject", skNone, saNone, {0, 0, 200, 100}, ""},
      {"StatusBar/Frame", "TSeBitmapObject", skNone, saNone, {5, 14, 189, 28},
       "Bitmap = STATUSBACKGROUND.BMP (0, 0, 68, 15); TileStyle = tsStretch"},
      {"StatusBar/Panel", "TSeBitmapObject", skNone, saNone, {9, 19, 102, 20},
       "MarginRight = 2; Bitmap = STATUSPANE.BMP (0, 0, 3, 15); BorderTileStyle = tsStretch"},
      {"StatusBar/Gripper", "TSeBitmapObject", skNone, saNone, {167, 17, 25, 23},
       "Bitmap = RESIZEGRIP2.BMP (0, 0, 16, 17); TileStyle = tsCenter"},

      {"ScrollBar", "TSeSkinObject", skNone, saNone, {0, 0, 199, 164}, ""},
      {"ScrollBar/HorzFrame", "TSeBitmapObject", skNone, saNone, {45, 6, 114, 17},
       "MarginTop = 2; MarginBottom = 2; Bitmap = SCROLLSHAFTHORIZONTAL.BMP (0, 0, 17, 17); BorderTileStyle = tsStretch; "
       "TileStyle = tsStretch"},
      {"ScrollBar/VertFrame", "TSeBitmapObject", skNone, saNone, {5, 24, 17, 100},
       "MarginLeft = 2; MarginRight = 2; Bitmap = SCROLLSHAFTVERTICAL.BMP (0, 0, 17, 17); BorderTileStyle = tsStretch; "
       "TileStyle = tsStretch"},
  };
  rows.insert(rows.end(), rest.begin(), rest.end());

  // Scroll buttons and sliders: a face of 3-pixel margins stretched, four state pictures, a glyph.
  auto face = [](const std::string& image, const std::array<int, 5>& y, int w) {
    auto pic = [&](const char* prop, int top, int bottom) {
      return std::string(prop) + " = " + image + " (0, " + std::to_string(top) + ", " + std::to_string(w) + ", " +
             std::to_string(bottom) + ")";
    };
    return "MarginLeft = 3; MarginRight = 3; MarginTop = 3; MarginBottom = 3; " + pic("Bitmap", y[0], y[1]) +
           "; BorderTileStyle = tsStretch; TileStyle = tsStretch; " + pic("BitmapHot", y[1], y[2]) + "; " +
           pic("BitmapPressed", y[2], y[3]) + "; " + pic("BitmapDisabled", y[3], y[4]);
  };
  auto glyph = [](const std::array<int, 4>& y) {
    std::string out;
    const char* props[] = {"Bitmap", "BitmapHot", "BitmapPressed", "BitmapDisabled"};
    for (int i = 0; i < 4; ++i)
      out += std::string(i ? "; " : "") + props[i] + " = SCROLLARROWGLYPHS.BMP (0, " + std::to_string(y[size_t(i)]) +
             ", 9, " + std::to_string(y[size_t(i)] + 9) + ")";
    return out;
  };
  const struct {
    const char* name;
    int left, top;
    std::array<int, 5> rows;
    std::array<int, 4> glyphRows;
  } arrows[] = {{"LeftButton", 27, 6, {136, 153, 170, 187, 204}, {72, 81, 90, 99}},
                {"RightButton", 160, 6, {136, 153, 170, 187, 204}, {108, 117, 126, 135}},
                {"TopButton", 5, 6, {0, 17, 34, 51, 68}, {0, 9, 18, 27}},
                {"BottomButton", 5, 126, {0, 17, 34, 51, 68}, {36, 54, 54, 63}}};
  for (const auto& a : arrows) {
    const std::string path = std::string("ScrollBar/") + a.name;
    rows.push_back({path, "TSeButtonObject", skNone, saNone, {a.left, a.top, 17, 17}, face("SCROLLARROWS.BMP", a.rows, 17)});
    rows.push_back({path + "/Glyph", "TSeButtonObject", skTranparent, saCenter, {a.left + 4, a.top + 4, 9, 9}, glyph(a.glyphRows)});
  }
  // The horizontal thumb's disabled picture starts a row below the pressed one's end.
  std::string horzSlider = face("SCROLLTHUMBHORIZONTAL.BMP", {0, 15, 30, 45, 60}, 22);
  horzSlider.replace(horzSlider.rfind("(0, 45, 22, 60)"), 15, "(0, 46, 22, 60)");
  rows.push_back({"ScrollBar/HorzSlider", "TSeButtonObject", skNone, saNone, {63, 6, 50, 17}, horzSlider});
  rows.push_back({"ScrollBar/HorzSlider/Glyph", "TSeBitmapObject", skNone, saCenter, {84, 10, 8, 8},
                  "Bitmap = SCROLLTHUMBGRIPPERHORIZONTAL.BMP (0, 0, 8, 9)"});
  rows.push_back({"ScrollBar/VertSlider", "TSeButtonObject", skNone, saNone, {5, 37, 17, 46},
                  face("SCROLLTHUMBVERTICAL.BMP", {0, 22, 44, 66, 88}, 15)});
  rows.push_back({"ScrollBar/VertSlider/Glyph", "TSeBitmapObject", skNone, saCenter, {9, 56, 8, 8},
                  "Bitmap = SCROLLTHUMBGRIPPERVERTICAL.BMP (0, 0, 8, 8)"});
  return rows;
}

TEST(SteelSkinFile, HeaderImagesAndTopLevelObjects) {
  TSeSkinSource& skin = Steel();
  EXPECT_EQ(skin.SkinName(), "Steel");
  EXPECT_EQ(skin.SkinVersion(), "2.0.0");
  ASSERT_EQ(skin.Images().Count(), 57);
  EXPECT_EQ(skin.Images().Items(38)->Name(), "ROLlDOWNPGLYPH.bmp");
  const std::vector<std::string> names = {"Form", "MenuBar", "PopupMenu", "CheckBox", "RadioButton", "ScrollBar",
                                          "Button", "SpeedButton", "GroupBox", "ProgressBar", "TrackBar", "ListBox",
                                          "Edit", "ComboBox", "SpinButton", "Panel", "Tabs", "Grid", "ControlBar",
                                          "Toolbar", "Header", "StatusBar", "ScrollBox", "Splitter"};
  ASSERT_EQ(skin.Count(), int(names.size()));
  for (int i = 0; i < skin.Count(); ++i) {
    TSeSkinObject& object = *skin.ObjectAt(i);
    EXPECT_EQ(object.Name(), names[size_t(i)]);
    EXPECT_EQ(object.ClassName(), "TSeSkinObject") << object.Name();
    EXPECT_EQ(object.Kind(), object.Name() == "Form" ? skForm : object.Name() == "PopupMenu" ? skPopupMenu : skNone);
  }
  // Menus draw skinned only with both objects; the grid's cell is of the second family.
  EXPECT_NE(At("MenuBar/Item"), nullptr);
  EXPECT_EQ(At("Grid/Cell")->ClassName(), "TSeColorButtonObject");
}

TEST(SteelSkinFile, EveryObjectOfTheDrawnTreesHoldsWhatItMust) {
  std::map<std::string, bool> listed;
  for (const TObjectRow& row : SteelRows()) {
    SCOPED_TRACE(row.path);
    listed[row.path] = true;
    TSeSkinObject* object = At(row.path);
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->ClassName(), row.className);
    EXPECT_EQ(object->Kind(), row.kind);
    EXPECT_EQ(object->Align(), row.align);
    EXPECT_EQ(TRect(object->Left(), object->Top(), object->Width(), object->Height()), row.bounds);
    EXPECT_EQ(StoredProperties(*object), row.stored);
  }
  // Nothing beyond the table in those trees, but the popup's separator.
  std::function<void(TSeSkinObject&, const std::string&)> walk = [&](TSeSkinObject& o, const std::string& path) {
    if (path == "PopupMenu/Separator") return;
    EXPECT_TRUE(listed.count(path)) << path << " is not in the table";
    for (int i = 0; i < o.Count(); ++i) walk(*o.Objects(i), path + "/" + o.Objects(i)->Name());
  };
  for (const char* root : {"Form", "PopupMenu", "CheckBox", "Button", "Panel", "StatusBar", "ScrollBar"})
    walk(*Steel().FindObject(root), root);
}

TEST(SteelSkinFile, TheClientSitsInsideTheCaptionAndBordersAtAnySize) {
  for (const TRect window : {TRect(0, 0, 375, 247), TRect(0, 0, 392, 565)}) {
    std::unique_ptr<TSeSkinObject> form(TSeSkinObject::CloneObject(*Steel().FindObject("Form"), nullptr));
    form->SetBounds(window);
    TSeSkinObject* client = form->FindObject("Client");
    EXPECT_EQ(TRect(client->Left(), client->Top(), client->Width(), client->Height()),
              TRect(5, 29, window.Right - 10, window.Bottom - 34));
    // The caption buttons keep their place against the right edge.
    TSeSkinObject* buttons = form->FindObject("ButtonContainer");
    EXPECT_EQ(window.Right - (buttons->Left() + buttons->Width()), 4);
  }
}

TEST(SteelSkinFile, SeeThroughPicturesAndTheFirstOfTwoNamesakes) {
  const TseBitmapList& images = Steel().Images();
  // The rounded top corners of the window: the outer pixel of both halves of both caption ends.
  TseBitmap& caption = *images.Items(1);
  for (const TPoint p : {TPoint(0, 0), TPoint(65, 0), TPoint(0, 29), TPoint(65, 29)})
    EXPECT_EQ(caption.Pixel(p.X, p.Y), kTransparentKey) << p.X << "," << p.Y;
  EXPECT_NE(caption.Pixel(5, 5), kTransparentKey);
  auto flags = [](const char* path) {
    auto* object = dynamic_cast<TSeBitmapObject*>(At(path));
    const TseBitmapLink& link = *object->Bitmap();
    return link.Masked() || link.MaskedBorder() || link.MaskedAngles();
  };
  // Panels and buttons of the main window become see-through through these flags.
  EXPECT_TRUE(flags("Panel/Frame"));
  EXPECT_TRUE(flags("Button/Face"));
  EXPECT_TRUE(dynamic_cast<TSeActiveBitmap*>(At("Form/Caption/CaptionLeft"))->ActiveBitmap()->Masked());
  EXPECT_FALSE(flags("Form/Caption/Title")) << "the title strip is solid";

  EXPECT_EQ(images.Items(48)->Name(), "LISTVIEWHEADER.BMP");
  EXPECT_EQ(images.Items(53)->Name(), "LISTVIEWHEADER.BMP");
  EXPECT_EQ(dynamic_cast<TSeBitmapObject*>(At("Header/Section"))->Bitmap()->Image(), images.Items(48));
}

TEST(SteelSkinFile, EveryStatePictureDiffersFromItsNormalOne) {
  int pairs = 0;
  std::function<void(TSeSkinObject&, const std::string&)> walk = [&](TSeSkinObject& o, const std::string& path) {
    auto check = [&](const TseBitmapLink* normal, const TseBitmapLink* state, const char* which) {
      if (!normal || !state || state->Name().empty() || normal->Name().empty()) return;
      // A glyph's hot picture is its normal one by design: the face behind it shows the state.
      if (o.Kind() == skTranparent && std::string(which) == "hot") return;
      ++pairs;
      EXPECT_TRUE(state->Rect() != normal->Rect() || !SameText(state->Name(), normal->Name())) << path << " " << which;
    };
    if (auto* b = dynamic_cast<TSeButtonObject*>(&o)) {
      check(b->Bitmap(), b->BitmapHot(), "hot");
      check(b->Bitmap(), b->BitmapPressed(), "pressed");
      check(b->Bitmap(), b->BitmapFocused(), "focused");
      check(b->Bitmap(), b->BitmapDisabled(), "disabled");
    }
    if (auto* s = dynamic_cast<TSeSystemButton*>(&o)) {
      check(s->Bitmap(), s->ActiveBitmap(), "active");
      check(s->ActiveBitmap(), s->BitmapHot(), "hot");
      check(s->ActiveBitmap(), s->BitmapPressed(), "pressed");
    }
    for (int i = 0; i < o.Count(); ++i) walk(*o.Objects(i), path + "/" + o.Objects(i)->Name());
  };
  for (int i = 0; i < Steel().Count(); ++i) walk(*Steel().ObjectAt(i), Steel().ObjectAt(i)->Name());
  EXPECT_GT(pairs, 0);
}

TEST(SteelSkinFile, TheCompilerListsItAndPacksItBackByteForByte) {
  std::ostringstream out, err;
  ASSERT_EQ(skinpack::RunSkinCompiler({"info", VANDREL_STEEL_SKIN}, out, err), 0) << err.str();
  std::vector<std::string> topLevel;
  std::istringstream lines(out.str());
  std::string line;
  while (std::getline(lines, line))
    if (line.rfind("  ", 0) == 0 && line[2] != ' ' && line.find(" (") != std::string::npos)
      topLevel.push_back(line.substr(2, line.find(" (") - 2));
  EXPECT_NE(out.str().find("Images: 57 (BMP records)\n"), std::string::npos);
  EXPECT_NE(out.str().find("  53 LISTVIEWHEADER.BMP 18x90\n"), std::string::npos);
  EXPECT_NE(out.str().find("Objects: 24\n"), std::string::npos);
  // The image lines come first at that depth; the objects follow in file order.
  topLevel.erase(topLevel.begin(), topLevel.end() - 24);
  EXPECT_EQ(topLevel.front(), "Form");
  EXPECT_EQ(topLevel[2], "PopupMenu");
  EXPECT_EQ(topLevel.back(), "Splitter");

  const std::string folder = ::testing::TempDir() + "steel-unpacked";
  const std::string again = ::testing::TempDir() + "steel-again.mskn";
  ASSERT_EQ(skinpack::RunSkinCompiler({"unpack", VANDREL_STEEL_SKIN, folder}, out, err), 0) << err.str();
  ASSERT_EQ(skinpack::RunSkinCompiler({"pack", folder, again}, out, err), 0) << err.str();
  EXPECT_EQ(skinpack::ReadFileBytes(again), skinpack::ReadFileBytes(VANDREL_STEEL_SKIN));
  std::filesystem::remove_all(folder);
  std::filesystem::remove(again);
}

}  // namespace
}  // namespace vandrel::test
