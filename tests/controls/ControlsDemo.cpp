// A demo of the controls framework laid out like the main window: a banner picture in a top
// panel, a tree of a few hundred Chinese lines with folder images, and a status strip with two
// buttons. "--snapshot file.png" lays it out, paints it and saves the screen (headless unless
// VANDREL_BACKEND=x11); without arguments it runs on the display until the window is closed.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "framework/Application.h"
#include "framework/Bitmap.h"
#include "framework/Button.h"
#include "framework/Form.h"
#include "framework/Image.h"
#include "framework/ImageList.h"
#include "framework/Loading.h"
#include "framework/TreeView.h"
#include "platform/display/HeadlessScreen.h"
#include "platform/display/X11Display.h"
#include "platform/gdi/PngWriter.h"
#include "platform/gdi/Surface.h"
#include "platform/win/DisplayBackend.h"
#include "platform/win/MessageQueue.h"

using namespace vandrel;

namespace {

// A plain container that fills itself and keeps its children 4 pixels inside its bevel.
class TDemoPanel : public TCustomControl {
 public:
  using TCustomControl::TCustomControl;
  TRect GetClientRect() const override { return InflateRect(TCustomControl::GetClientRect(), -4, -4); }

 protected:
  void Paint() override {
    TCanvas* c = Canvas();
    TRect r = TCustomControl::GetClientRect();
    c->Brush()->SetColor(Color());
    c->FillRect(r);
    c->Pen()->SetColor(clBtnShadow);
    c->MoveTo(r.Left, r.Bottom - 1);
    c->LineTo(r.Left, r.Top);
    c->LineTo(r.Right - 1, r.Top);
    c->Pen()->SetColor(clBtnHighlight);
    c->LineTo(r.Right - 1, r.Bottom - 1);
    c->LineTo(r.Left, r.Bottom - 1);
    if (!Text().empty()) {
      c->Brush()->SetStyle(bsClear);
      TRect t = InflateRect(r, -8, 0);
      c->TextRect(t, Text(), tfVerticalCenter | tfSingleLine);
    }
  }
};

// The four node images: a page, a closed folder, an open folder, a pointing hand.
void AddNodeImages(TImageList& list) {
  const std::uint32_t k = 0xFF000000, w = 0xFFFFFFFF, y = 0xFFF0D060, d = 0xFFB08820, s = 0xFFF5C8A0;
  auto image = [&](auto paint) {
    std::vector<std::uint32_t> px(256, 0);
    paint([&](int x, int yy, std::uint32_t c) { px[size_t(yy * 16 + x)] = c; });
    list.AddPixels(px.data());
  };
  image([&](auto set) {
    for (int yy = 1; yy < 15; ++yy)
      for (int x = 3; x < 13; ++x) set(x, yy, (x == 3 || x == 12 || yy == 1 || yy == 14) ? k : w);
    for (int yy = 4; yy < 12; yy += 2)
      for (int x = 5; x < 11; ++x) set(x, yy, 0xFF808080);
  });
  image([&](auto set) {
    for (int x = 1; x < 7; ++x) set(x, 3, d);
    for (int yy = 4; yy < 14; ++yy)
      for (int x = 1; x < 15; ++x) set(x, yy, (yy == 4 || yy == 13 || x == 1 || x == 14) ? d : y);
  });
  image([&](auto set) {
    for (int x = 1; x < 7; ++x) set(x, 3, d);
    for (int yy = 4; yy < 14; ++yy)
      for (int x = 1; x < 15; ++x) set(x, yy, (yy == 4 || x == 1) ? d : 0xFFFFF4C0);
    for (int yy = 7; yy < 14; ++yy)
      for (int x = 3 + (13 - yy) / 2; x < 15; ++x) set(x, yy, yy == 7 ? d : y);
  });
  image([&](auto set) {
    for (int yy = 6; yy < 14; ++yy)
      for (int x = 2; x < 13; ++x) set(x, yy, (yy == 6 || yy == 13 || x == 2 || x == 12) ? k : s);
    for (int x = 12; x < 16; ++x) {
      set(x, 7, k);
      set(x, 9, k);
    }
    set(15, 8, k);
  });
}

const char* const kSections[] = {"本日提示", "明日提示", "后天提示", "昨天提示", "本月提示", "下月提示"};
const char* const kCategories[] = {"事件提醒", "课程安排", "拜访计划", "工作计划", "客户生日",
                                   "朋友生日", "会员卡到期", "产品用完", "邀请", "会议与跟进"};

class TDemoForm : public TForm {
 public:
  explicit TDemoForm(TComponent* owner) : TForm(owner) {
    TLoadingScope loading(this);
    SetCaption("Vandrel3.0");
    SetBorderStyle(bsSingle);
    SetFormStyle(fsStayOnTop);
    SetPosition(poScreenCenter);
    SetClientWidth(382);
    SetClientHeight(536);

    auto* top = loading.Create<TDemoPanel>();
    top->SetParent(this);
    top->SetHeight(65);
    top->SetAlign(alTop);
    auto* image = loading.Create<TImage>();
    image->SetParent(top);
    image->SetAlign(alClient);
    image->SetStretch(true);
    image->Picture()->SetGraphic(Banner().get());

    auto* rest = loading.Create<TDemoPanel>();
    rest->SetParent(this);
    rest->SetAlign(alClient);
    auto* status = loading.Create<TDemoPanel>();
    status->SetParent(rest);
    status->SetHeight(22);
    status->SetAlign(alBottom);
    status->SetCaption("2024-5-12  农历  四月初五  星期日");
    auto* refresh = loading.Create<TButton>();
    refresh->SetParent(status);
    refresh->SetCaption("刷新");
    refresh->SetBounds(320, 2, 46, 16);
    auto* calendar = loading.Create<TButton>();
    calendar->SetParent(status);
    calendar->SetCaption("万年历");
    calendar->SetBounds(270, 2, 46, 16);

    auto* images = loading.Create<TImageList>();
    AddNodeImages(*images);
    m_tree = loading.Create<TTreeView>();
    m_tree->SetParent(rest);
    m_tree->SetAlign(alClient);
    m_tree->SetBorderStyle(bsNoBorder);
    m_tree->Font()->SetName("宋体");
    m_tree->Font()->SetHeight(-16);
    m_tree->SetImages(images);
    m_tree->SetIndent(19);
    m_tree->SetReadOnly(true);
    m_tree->SetShowButtons(false);
    m_tree->SetShowLines(false);
    m_tree->SetAutoExpand(true);
    m_tree->SetSortType(stText);
    m_tree->SetShowHint(true);
    m_tree->SetTabOrder(0);
    m_tree->OnExpanded = [](TPersistent*, TTreeNode* n) { n->SetImageIndex(2); };
    m_tree->OnCollapsed = [](TPersistent*, TTreeNode* n) { n->SetImageIndex(1); };
    OnCreate = [this](TPersistent*) { FillTree(); };
    loading.End();
  }

 private:
  static std::unique_ptr<TBitmap> Banner() {
    auto b = std::make_unique<TBitmap>(398, 62);
    TCanvas* c = b->Canvas();
    c->Brush()->SetColor(TColor(RGB(236, 246, 226)));
    c->FillRect(Rect(0, 0, 398, 62));
    c->Font()->SetName("宋体");
    c->Font()->SetHeight(-36);
    c->Font()->SetStyle(TFontStyles{fsBold});
    c->Font()->SetColor(TColor(RGB(40, 150, 40)));
    c->Brush()->SetStyle(bsClear);
    c->TextOut(24, 12, "信息提示");
    c->Brush()->SetColor(TColor(RGB(250, 200, 80)));
    c->Pen()->SetColor(clBlack);
    c->Ellipse(Rect(330, 8, 370, 48));
    c->Ellipse(Rect(340, 20, 346, 26));
    c->Ellipse(Rect(354, 20, 360, 26));
    return b;
  }

  void FillTree() {
    TTreeNodes* items = m_tree->Items();
    items->BeginUpdate();
    int line = 0;
    for (const char* section : kSections) {
      TTreeNode* s = items->AddChild(nullptr, section);
      s->SetImageIndex(1);
      s->SetSelectedIndex(3);
      s->SetStateIndex(2);
      for (const char* category : kCategories) {
        TTreeNode* c = items->AddChild(s, category);
        c->SetImageIndex(1);
        c->SetSelectedIndex(3);
        c->SetStateIndex(2);
        for (int i = 0; i < 4; ++i, ++line)
          items->AddChild(c, std::string("客户") + std::to_string(1000 + line) + " 王小明 生日 (农历三月初" +
                                 std::to_string(1 + i) + ")，记得提前准备礼物并电话问候");
      }
    }
    items->EndUpdate();
    TTreeNode* today = items->GetFirstNode();
    today->Expand(false);
    today->GetFirstChild()->Expand(false);
    m_tree->SetSelected(today->GetFirstChild()->GetFirstChild());
  }

  TTreeView* m_tree = nullptr;
};

}  // namespace

int main(int argc, char** argv) {
  std::string snapshot = argc > 2 && std::string(argv[1]) == "--snapshot" ? argv[2] : "";
  try {
    std::unique_ptr<TDisplayBackend> display;
    const char* backend = std::getenv("VANDREL_BACKEND");
    if (snapshot.empty() || (backend && std::string(backend) == "x11")) {
      display = OpenDisplay();
    } else {
      display = THeadlessScreen::Create({800, 600});
    }
    TApplication app;
    app.SetTitle("Vandrel");
    auto* form = app.CreateForm<TDemoForm>();
    std::printf("nodes %d\n", static_cast<TTreeView*>(form->Components(form->ComponentCount() - 1))->Items()->Count());
    if (!snapshot.empty()) {
      form->Show();
      app.ProcessMessages();
      ProcessPendingMessages();
      TSize size = display->ScreenSize();
      TSurface screen(size.cx, size.cy);
      display->ReadScreen(screen, Rect(0, 0, size.cx, size.cy));
      WritePng(screen, snapshot);
      std::printf("saved %s\n", snapshot.c_str());
      return 0;
    }
    std::printf("ready\n");
    std::fflush(stdout);
    app.Run();
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "error: %s\n", e.what());
    return 1;
  }
}
