// Skin object trees as a control uses them: bounds and the eight layout passes, hit tests,
// regions built from a frame tree, private copies, state, hue and the messages to the control.
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>

#include "framework/Control.h"
#include "graphics/SeColor.h"
#include "platform/gdi/GdiObject.h"
#include "platform/gdi/RegionApi.h"
#include "skin/ActiveObject.h"
#include "skin/BitmapObject.h"
#include "skin/SkinMessages.h"
#include "skin/SystemButton.h"
#include "tests/skin/SkinTestData.h"

namespace vandrel::test {
namespace {

TSeSkinObject* Child(TSeSkinObject& parent, const std::string& name, TSeAlign align, TRect bounds) {
  auto* child = new TSeSkinObject(&parent);
  child->SetName(name);
  child->SetAlign(align);
  child->SetBounds(bounds);
  return child;
}

TEST(SkinObjectLayoutTest, CaptionOf29PixelsLeavesTheRestToTheClient) {
  TSeSkinObject form(nullptr);
  TSeSkinObject* caption = Child(form, "Caption", saTop, {0, 0, 10, 29});
  TSeSkinObject* client = Child(form, "Client", saClient, {});
  TSeSkinObject* glyph = Child(*caption, "Glyph", saClient, {});
  form.SetBounds({0, 0, 392, 570});
  EXPECT_EQ(caption->BoundsRect(), (TRect{0, 0, 392, 29}));
  EXPECT_EQ(client->BoundsRect(), (TRect{0, 29, 392, 570}));
  // A placed child lays out its own children.
  EXPECT_EQ(glyph->BoundsRect(), (TRect{0, 0, 392, 29}));
}

TEST(SkinObjectLayoutTest, PassesPlaceEachAlignmentInTurn) {
  // Children in an order that the passes must undo: each name says where it ends up.
  TSeSkinObject o(nullptr);
  TSeSkinObject* top1 = Child(o, "Top1", saTop, {0, 0, 5, 10});
  TSeSkinObject* left = Child(o, "Left", saLeft, {0, 0, 20, 5});
  TSeSkinObject* top2 = Child(o, "Top2", saTop, {0, 0, 5, 5});
  TSeSkinObject* hidden = Child(o, "Hidden", saMostTop, {1, 2, 6, 1002});
  hidden->SetVisible(false);
  TSeSkinObject* mostRight = Child(o, "MostRight", saMostRight, {0, 0, 7, 5});
  TSeSkinObject* right = Child(o, "Right", saRight, {0, 0, 9, 5});
  TSeSkinObject* bottom = Child(o, "Bottom", saBottom, {0, 0, 5, 11});
  TSeSkinObject* client = Child(o, "Client", saClient, {});
  TSeSkinObject* center = Child(o, "Center", saCenter, {0, 0, 9, 4});
  TSeSkinObject* none = Child(o, "None", saNone, {3, 4, 8, 9});
  TSeSkinObject* mostBottom = Child(o, "MostBottom", saMostBottom, {0, 0, 5, 3});
  TSeSkinObject* mostLeft = Child(o, "MostLeft", saMostLeft, {0, 0, 2, 5});
  TSeSkinObject* mostTop = Child(o, "MostTop", saMostTop, {0, 0, 5, 1});
  o.SetBounds({100, 200, 200, 300});
  const std::pair<TSeSkinObject*, TRect> expected[] = {
      {mostTop, {100, 200, 200, 201}},
      {mostBottom, {100, 297, 200, 300}},
      {mostLeft, {100, 201, 102, 297}},
      {mostRight, {193, 201, 200, 297}},
      {top1, {102, 201, 193, 211}},
      {top2, {102, 211, 193, 216}},
      {bottom, {102, 286, 193, 297}},
      {left, {102, 216, 122, 286}},
      {right, {184, 216, 193, 286}},
      {client, {122, 216, 184, 286}},
      {center, {122 + (62 - 9) / 2, 216 + (70 - 4) / 2, 122 + (62 - 9) / 2 + 9, 216 + (70 - 4) / 2 + 4}},
      {none, {3, 4, 8, 9}},
      {hidden, {1, 2, 6, 1002}},
  };
  for (auto [child, rect] : expected) EXPECT_EQ(child->BoundsRect(), rect) << child->Name();
}

TEST(SkinObjectLayoutTest, CentreDividesTowardZeroWhenTheChildIsLarger) {
  TSeSkinObject o(nullptr);
  TSeSkinObject* big = Child(o, "Big", saCenter, {0, 0, 13, 13});
  o.SetBounds({0, 0, 10, 10});
  EXPECT_EQ(big->BoundsRect(), (TRect{-1, -1, 12, 12}));  // (10 - 13) div 2 = -1, not -2
}

TEST(SkinObjectLayoutTest, TextChildrenTakeTheWidthOfTheirTextAndMargins) {
  TSeSkinObject o(nullptr);
  TSeSkinObject* item = Child(o, "Item", saText, {7, 8, 9, 30});
  item->SetText("File");
  item->SetTextMarginLeft(3);
  item->SetTextMarginRight(4);
  o.SetBounds({0, 0, 300, 40});
  const int width = ScreenTextWidth("File", *item->Font());
  ASSERT_GT(width, 0);
  EXPECT_EQ(item->BoundsRect(), (TRect{7, 8, 7 + width + 7, 30}));
}

TEST(SkinObjectLayoutTest, CornerAnchorsKeepTheirDistanceFromTheEdgesAfterAResize) {
  TSeSkinObject o(nullptr);
  o.SetBounds({0, 0, 375, 500});
  TSeSkinObject* topRight = Child(o, "TopRight", saTopRight, {350, 5, 371, 26});
  TSeSkinObject* bottomLeft = Child(o, "BottomLeft", saBottomLeft, {4, 480, 20, 496});
  TSeSkinObject* bottomRight = Child(o, "BottomRight", saBottomRight, {350, 480, 371, 496});
  TSeSkinObject* topLeft = Child(o, "TopLeft", saTopLeft, {4, 5, 20, 21});
  TSeSkinObject* grandchild = Child(*topRight, "Inner", saNone, {352, 7, 353, 8});
  o.SetBounds({0, 0, 600, 520});
  EXPECT_EQ(topRight->BoundsRect(), (TRect{575, 5, 596, 26}));
  EXPECT_EQ(bottomLeft->BoundsRect(), (TRect{4, 500, 20, 516}));
  EXPECT_EQ(bottomRight->BoundsRect(), (TRect{575, 500, 596, 516}));
  EXPECT_EQ(topLeft->BoundsRect(), (TRect{4, 5, 20, 21}));
  // Only the anchored child moves, without a nested layout.
  EXPECT_EQ(grandchild->BoundsRect(), (TRect{352, 7, 353, 8}));
  o.SetBounds({0, 0, 300, 400});
  EXPECT_EQ(topRight->BoundsRect(), (TRect{275, 5, 296, 26}));
  EXPECT_EQ(bottomRight->BoundsRect(), (TRect{275, 380, 296, 396}));
  // The first sizing of a new object moves nothing: there is no old size to keep a distance to.
  TSeSkinObject fresh(nullptr);
  TSeSkinObject* anchored = Child(fresh, "A", saBottomRight, {10, 10, 12, 12});
  fresh.SetBounds({0, 0, 50, 50});
  EXPECT_EQ(anchored->BoundsRect(), (TRect{10, 10, 12, 12}));
}

TEST(SkinObjectLayoutTest, SameBoundsDoNotLayOutAgainAndNegativeSizesBecomeZero) {
  TSeSkinObject o(nullptr);
  TSeSkinObject* client = Child(o, "Client", saClient, {});
  o.SetBounds({0, 0, 50, 40});
  client->SetBounds({1, 1, 2, 2});
  o.SetBounds({0, 0, 50, 40});
  EXPECT_EQ(client->BoundsRect(), (TRect{1, 1, 2, 2}));
  EXPECT_EQ(o.OldWidth(), 0);
  o.SetWidth(60);  // each bounds property is a SetBounds
  EXPECT_EQ(client->BoundsRect(), (TRect{0, 0, 60, 40}));
  EXPECT_EQ(o.OldWidth(), 50);
  o.SetBounds({10, 10, 5, 0});
  EXPECT_EQ(o.Width(), 0);
  EXPECT_EQ(o.Height(), 0);
  EXPECT_EQ(client->BoundsRect(), (TRect{10, 10, 10, 10}));
}

// A damaged skin may store any 32-bit bounds and margins: the layout keeps every coordinate
// within reach of the others instead of overflowing, and the first sizing tells nothing apart.
TEST(SkinObjectLayoutTest, ExtremeStoredBoundsAreKeptWithinRange) {
  TSeSkinObject o(nullptr);
  TSeSkinObject* text = Child(o, "Text", saText, {});
  text->SetText("x");
  text->SetTextMarginLeft(INT_MAX);
  text->SetTextMarginRight(INT_MAX);
  TSeSkinObject* anchor = Child(o, "Anchor", saBottomRight, {INT_MAX - 5, INT_MAX - 5, INT_MAX, INT_MAX});
  TSeSkinObject* top = Child(o, "Top", saTop, {0, 0, 1, 0});
  top->SetHeight(INT_MAX);
  TSeSkinObject* centre = Child(o, "Centre", saCenter, {0, 0, 0, 0});
  centre->SetWidth(INT_MAX);
  o.SetLeft(INT_MAX);
  o.SetTop(INT_MIN);
  o.SetWidth(INT_MAX);
  o.SetHeight(INT_MAX);
  o.SetWidth(5);
  o.SetWidth(INT_MAX);
  for (TSeSkinObject* c : {&o, text, anchor, top, centre}) {
    EXPECT_LE(std::abs(std::int64_t(c->Left())), kMaxSkinCoordinate) << c->Name();
    EXPECT_LE(std::abs(std::int64_t(c->Top())), kMaxSkinCoordinate) << c->Name();
    EXPECT_LE(c->Width(), kMaxSkinCoordinate) << c->Name();
    EXPECT_LE(c->Height(), kMaxSkinCoordinate) << c->Name();
  }
  EXPECT_EQ(o.Left(), kMaxSkinCoordinate);
  EXPECT_EQ(o.Top(), -kMaxSkinCoordinate);
  EXPECT_EQ(text->Width(), kMaxSkinCoordinate);
  EXPECT_EQ(o.ObjectAtPoint({INT_MAX, INT_MAX}), nullptr);
}

TEST(SkinObjectLayoutTest, ObjectAtPointFindsTheLastVisibleObjectThroughSeeThroughGlyphs) {
  TSeSkinObject form(nullptr);
  form.SetBounds({0, 0, 100, 50});
  TSeSkinObject* caption = Child(form, "Caption", saNone, {0, 0, 100, 20});
  TSeSkinObject* button = Child(*caption, "Close", saNone, {80, 2, 98, 18});
  TSeSkinObject* glyph = Child(*button, "Glyph", saNone, {82, 4, 96, 16});
  glyph->SetKind(skTranparent);
  TSeSkinObject* over = Child(form, "Over", saNone, {0, 10, 10, 30});
  TSeSkinObject* hidden = Child(form, "Hidden", saNone, {0, 30, 100, 50});
  hidden->SetVisible(false);
  const std::pair<TPoint, TSeSkinObject*> cases[] = {
      {{90, 10}, button},    // the glyph lets the mouse through to its button
      {{50, 10}, caption},   // no child there: the object itself
      {{5, 15}, over},       // the later sibling wins where two overlap
      {{5, 5}, caption},
      {{50, 40}, &form},     // a hidden child is not hit
      {{100, 10}, nullptr},  // right edge excluded
      {{-1, 0}, nullptr},
  };
  for (auto [p, object] : cases) EXPECT_EQ(form.ObjectAtPoint(p), object) << p.X << "," << p.Y;
  form.SetKind(skTranparent);
  EXPECT_EQ(form.ObjectAtPoint({50, 10}), nullptr);
  EXPECT_EQ(form.FindObject("glyph"), glyph);
  EXPECT_EQ(form.FindObjectByKind(skTranparent), &form);
}

// A form frame from a picture with see-through corners: the caption takes its mask, the client
// its whole rectangle, the rest of the tree adds nothing.
TEST(SkinObjectLayoutTest, WindowRegionIsTheUnionOfWhatTheFrameParts) {
  constexpr TseColor R = 0xFFFF0000, K = 0x007F007F;
  TseBitmapList images;
  images.Add(MakeImage("FRAME.BMP", 3, 3, {K, R, K, R, R, R, R, R, R}));
  images.Items(0)->KeyColor(0x7F007F);
  TSeSkinObject form(nullptr);
  form.SetKind(skForm);
  auto* caption = new TSeBitmapObject(&form);
  caption->SetAlign(saTop);
  caption->SetHeight(3);
  caption->Bitmap()->SetName("FRAME.BMP");
  caption->Bitmap()->SetRect({0, 0, 3, 3});
  caption->SetMarginLeft(1);
  caption->SetMarginRight(1);
  caption->SetMarginTop(1);
  caption->SetMarginBottom(1);
  auto* client = new TSeBitmapObject(&form);
  client->SetKind(skClient);
  client->SetAlign(saClient);
  client->Bitmap()->Assign(*caption->Bitmap());
  auto* empty = new TSeSkinObject(&form);  // no area: no region
  empty->SetAlign(saNone);
  form.SetImages(&images);
  form.AfterLoad();
  form.SetBounds({10, 20, 30, 30});
  HRGN region = form.BuildRegion();
  ASSERT_NE(region, nullptr);
  TRect box;
  GetRgnBox(region, &box);
  EXPECT_EQ(box, (TRect{10, 20, 30, 30}));
  EXPECT_FALSE(PtInRegion(region, 10, 20));  // the caption's see-through corners
  EXPECT_FALSE(PtInRegion(region, 29, 20));
  EXPECT_TRUE(PtInRegion(region, 11, 20));
  EXPECT_TRUE(PtInRegion(region, 10, 21));
  EXPECT_TRUE(PtInRegion(region, 10, 29));  // the client is never masked
  DeleteObject(region);
  // The caption's bounds and children are back after rendering its mask.
  EXPECT_EQ(caption->BoundsRect(), (TRect{10, 20, 30, 23}));

  // Unmasked, or drawing for itself, the form gives its own rectangle.
  form.SetDrawIfOwner(true);
  region = form.BuildRegion();
  EXPECT_TRUE(PtInRegion(region, 10, 20));
  DeleteObject(region);
  form.SetDrawIfOwner(false);
  form.SetMasked(false);
  region = form.BuildRegion();
  EXPECT_TRUE(PtInRegion(region, 10, 20));
  DeleteObject(region);
  // A masked parent whose children give nothing has an empty region; no area, none at all.
  TSeSkinObject parent(nullptr);
  Child(parent, "Hidden", saClient, {})->SetVisible(false);
  parent.SetBounds({0, 0, 5, 5});
  region = parent.BuildRegion();
  ASSERT_NE(region, nullptr);
  EXPECT_FALSE(PtInRegion(region, 1, 1));
  DeleteObject(region);
  parent.SetBounds({0, 0, 0, 5});
  EXPECT_EQ(parent.BuildRegion(), nullptr);
  // A picture object without a valid picture has no region of its own.
  TSeBitmapObject lone(nullptr);
  lone.SetBounds({0, 0, 4, 4});
  EXPECT_EQ(lone.BuildRegion(), nullptr);
}

TEST(SkinObjectLayoutTest, CloneCopiesTheStoredTreeButNotTheRuntimeFields) {
  TseBitmapList images;
  images.Add(MakeImage("PIC.BMP", 2, 2, {0xFFFF0000, 0x007F007F, 0xFFFF0000, 0xFFFF0000}));
  TSeSystemButton original(nullptr);
  original.SetName("Close");
  original.SetAction(sbaClose);
  original.SetColor(clNone);
  original.ActiveFont()->SetColor(clBlue);
  original.Bitmap()->SetName("PIC.BMP");
  original.Bitmap()->SetRect({0, 0, 2, 2});
  auto* glyph = new TSeTextObject(&original);
  glyph->SetName("Glyph");
  glyph->SetAlign(saClient);
  glyph->FontPressed()->SetName("Pressed");
  original.SetImages(&images);
  original.AfterLoad();
  original.SetBounds({10, 10, 30, 30});
  glyph->SetBounds({0, 0, 1, 1});  // out of step with its alignment on purpose
  original.SetState(kStateHot);
  original.SetText("runtime");
  original.SetVisible(false);
  original.SetActive(true);

  TComponent owner(nullptr);
  TSeSkinObject* copy = TSeSkinObject::CloneObject(original, &owner);
  ASSERT_EQ(copy->Owner(), &owner);
  auto* button = dynamic_cast<TSeSystemButton*>(copy);
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->Name(), "Close");
  EXPECT_EQ(button->Action(), sbaClose);
  EXPECT_EQ(button->Color(), clNone);
  EXPECT_EQ(button->ActiveFont()->Color(), clBlue);
  EXPECT_NE(button->ActiveFont(), original.ActiveFont());
  EXPECT_EQ(button->Bitmap()->Image(), images.Items(0));
  EXPECT_TRUE(button->Bitmap()->Masked());
  EXPECT_EQ(button->Images(), &images);
  EXPECT_EQ(button->BoundsRect(), (TRect{10, 10, 30, 30}));
  ASSERT_EQ(button->Count(), 1);
  auto* glyphCopy = dynamic_cast<TSeTextObject*>(button->Objects(0));
  ASSERT_NE(glyphCopy, nullptr);
  EXPECT_NE(glyphCopy, glyph);
  EXPECT_EQ(glyphCopy->FontPressed()->Name(), "Pressed");
  EXPECT_EQ(glyphCopy->BoundsRect(), (TRect{0, 0, 1, 1}));  // set without a layout
  EXPECT_EQ(button->State(), kStateNormal);
  EXPECT_TRUE(button->Text().empty());
  EXPECT_TRUE(button->Visible());
  EXPECT_FALSE(button->Active());
  // The copy is private: changing it leaves the original alone.
  button->SetBounds({0, 0, 5, 5});
  EXPECT_EQ(original.BoundsRect(), (TRect{10, 10, 30, 30}));
  // Copying again replaces the children instead of adding a second set; a copy from itself
  // changes nothing.
  button->Assign(original);
  ASSERT_EQ(button->Count(), 1);
  EXPECT_EQ(button->Objects(0)->Name(), "Glyph");
  original.Assign(original);
  EXPECT_EQ(original.Count(), 1);
  EXPECT_EQ(original.Objects(0), glyph);
}

TEST(SkinObjectLayoutTest, StatesActiveAndHueReachTheWholeSubtree) {
  TSeSkinObject root(nullptr);
  auto* active = new TSeActiveObject(&root);
  auto* leaf = new TSeTextObject(active);
  root.SetState(kStatePressed);
  EXPECT_EQ(leaf->State(), kStatePressed);
  // SetActive stops below an object that already has the value.
  active->SetActive(true);
  leaf->SetActive(false);
  root.SetActive(true);
  EXPECT_FALSE(leaf->Active());
  root.SetActive(false);
  EXPECT_FALSE(active->Active());
  EXPECT_FALSE(leaf->Active());

  auto shifted = [](TColor c) { return ColorFromSeColor(ShiftHueColor(SeColorFromColor(c), 30)); };
  root.SetColor(0x3060C0);
  active->SetActiveColor(0x20A040);
  active->ActiveFont()->SetColor(0x102080);
  leaf->FontDisabled()->SetColor(0x8040C0);
  leaf->SetColor(clNone);
  root.ChangeHue(30);
  EXPECT_EQ(root.Color(), shifted(0x3060C0));
  EXPECT_EQ(active->ActiveColor(), shifted(0x20A040));
  EXPECT_EQ(active->ActiveFont()->Color(), shifted(0x102080));
  EXPECT_EQ(leaf->FontDisabled()->Color(), shifted(0x8040C0));
  EXPECT_EQ(leaf->Color(), clNone);
}

// A control without a window that counts the object-changed notifications it gets.
class TCountingControl : public TControl {
 public:
  using TControl::TControl;
  int changes = 0;
  TSeSkinObject* last = nullptr;
  void WndProc(TMessage& message) override {
    if (IsObjectChanged(message)) {
      ++changes;
      last = ChangedObject(message);
      return;
    }
    TControl::WndProc(message);
  }
};

TEST(SkinObjectLayoutTest, ControlIsSetOnTheSubtreeAndHearsOfVisibleChanges) {
  TCountingControl control(nullptr);
  control.SetBiDiMode(bdRightToLeft);
  TSeSkinObject root(nullptr);
  auto* child = new TSeSkinObject(&root);
  child->Invalidate();  // no control yet: nothing to tell
  root.SetControl(&control);
  EXPECT_EQ(child->Control(), &control);
  EXPECT_EQ(child->BiDiMode(), bdRightToLeft);
  child->Invalidate();
  EXPECT_EQ(control.changes, 1);
  EXPECT_EQ(control.last, child);
  child->SetVisible(false);
  child->Invalidate();
  EXPECT_EQ(control.changes, 1);
  EXPECT_EQ(root.OwnerForm(), nullptr);  // nobody answers the form query
}

}  // namespace
}  // namespace vandrel::test
