#include "app/Form1.h"

#include <cstdio>

#include "app/TreeViewReminderTree.h"
#include "framework/Application.h"
#include "framework/Bitmap.h"
#include "framework/ComponentWatch.h"
#include "framework/Icon.h"
#include "framework/Image.h"
#include "framework/ImageList.h"
#include "framework/JpegImage.h"
#include "framework/Loading.h"
#include "framework/Picture.h"
#include "framework/TreeView.h"
#include "platform/os/Resources.h"
#include "platform/os/Shell.h"
#include "platform/win/DisplayBackend.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Messages.h"
#include "skin/SkinEngine.h"
#include "skincontrols/SkinButton.h"
#include "skincontrols/SkinCheckBox.h"
#include "skincontrols/SkinPanel.h"
#include "skincontrols/SkinStatusBar.h"
#include "skinform/SkinForm.h"

namespace vandrel {

namespace {

// How soon a new day that could not be read is tried again.
constexpr UINT kNewDayRetryMilliseconds = 60000;

void LoadBanner(TImage& image) {
  TResourceStream resource("BANNER", "ART");
  TJPEGImage banner;
  banner.LoadFromStream(resource);
  image.Picture()->SetGraphic(&banner);
}

// A page, a closed folder, an open folder, a pointing hand; fuchsia is see-through.
void LoadNodeImages(TImageList& list) {
  for (const char* name : {"NODE0", "NODE1", "NODE2", "NODE3"}) {
    TResourceStream resource(name, "ART");
    TBitmap image;
    image.LoadFromStream(resource);
    list.AddMasked(image, clFuchsia);
  }
}

}  // namespace

TForm1::TForm1(TComponent* owner, std::string exeFileName, TMessageSink messages, TSideEffects sideEffects)
    : TForm(owner),
      m_messages(messages),
      m_sideEffects(sideEffects),
      m_sequence(*this, m_adoConnData, m_adoQuery1, m_adoQuery2, std::move(exeFileName), sideEffects) {
  CreateComponents();
}

TForm1::~TForm1() = default;

void TForm1::CreateComponents() {
  TLoadingScope loading(this);
  SetCaption("Vandrel3.0");
  SetFormStyle(fsStayOnTop);
  SetPosition(poScreenCenter);
  SetClientWidth(382);
  SetClientHeight(536);
  Font()->SetName("MS Sans Serif");
  Font()->SetHeight(-11);
  {
    TResourceStream icon("MAINICON", "ICON");
    Icon()->LoadFromStream(icon);
  }

  m_seSkinEngine = loading.Create<TSeSkinEngine>();

  m_seSkinForm1 = loading.Create<TSeSkinForm>();
  m_seSkinForm1->SetName("SeSkinForm1");
  m_seSkinForm1->SetSkinEngine(m_seSkinEngine);
  m_seSkinForm1->SetSkinObject("Form");
  m_seSkinForm1->SetBorderStyle(kbsStandard);
  m_seSkinForm1->SetBorderIcons({kbiClose, kbiSystemMenu, kbiMinimize, kbiMaximize});
  m_seSkinForm1->SetPerformance(ksfpNoBuffer);
  m_seSkinForm1->SetWindowState(kwsNormal);
  m_seSkinForm1->SetStayOnTop(false);
  m_seSkinForm1->SetStretchBackground(false);
  for (TSeAnimation* animation : {m_seSkinForm1->Animation(), m_seSkinForm1->SystemMenuOptions()->Animation(),
                                  m_seSkinForm1->TrayMenuOptions()->Animation()})
    animation->SetEffectKind(std::string(kRandomEffectName));

  m_seSkinPanel1 = loading.Create<TSeSkinPanel>();
  m_seSkinPanel1->SetName("SeSkinPanel1");
  m_seSkinPanel1->SetParent(this);
  m_seSkinPanel1->SetAlign(alTop);
  m_seSkinPanel1->SetHeight(65);
  m_seSkinPanel1->SetBorderWidth(3);
  m_seSkinPanel1->SetBevelWidth(1);
  m_seSkinPanel1->SetShowBevel(true);
  m_seSkinPanel1->SetShowButton(false);
  m_seSkinPanel1->SetShowCaption(false);
  m_seSkinPanel1->SetTransparent(false);
  m_seSkinPanel1->SetPerformance(kspNoBuffer);
  m_seSkinPanel1->SetSkinObject("Panel");
  m_seSkinPanel1->SetSkinEngine(m_seSkinEngine);

  m_image1 = loading.Create<TImage>();
  m_image1->SetName("Image1");
  m_image1->SetParent(m_seSkinPanel1);
  m_image1->SetAlign(alClient);
  m_image1->SetStretch(true);
  LoadBanner(*m_image1);

  m_seSkinPanel2 = loading.Create<TSeSkinPanel>();
  m_seSkinPanel2->SetName("SeSkinPanel2");
  m_seSkinPanel2->SetParent(this);
  m_seSkinPanel2->SetAlign(alClient);
  m_seSkinPanel2->SetBorderWidth(3);
  m_seSkinPanel2->SetBevelWidth(1);
  m_seSkinPanel2->SetShowBevel(true);
  m_seSkinPanel2->SetShowButton(true);
  m_seSkinPanel2->SetButtonKind(pbkRoll);
  m_seSkinPanel2->SetRolled(false);
  m_seSkinPanel2->SetAnimateRoll(false);
  m_seSkinPanel2->SetShowCaption(false);
  m_seSkinPanel2->SetPerformance(kspNoBuffer);
  m_seSkinPanel2->SetSkinObject("Panel");
  m_seSkinPanel2->SetSkinEngine(m_seSkinEngine);

  m_imageList1 = loading.Create<TImageList>();
  m_imageList1->SetName("ImageList1");
  LoadNodeImages(*m_imageList1);

  m_seSkinStatusBar1 = loading.Create<TSeSkinStatusBar>();
  m_seSkinStatusBar1->SetName("SeSkinStatusBar1");
  m_seSkinStatusBar1->SetParent(m_seSkinPanel2);
  m_seSkinStatusBar1->SetAlign(alBottom);
  m_seSkinStatusBar1->SetHeight(22);
  m_seSkinStatusBar1->SetBorderWidth(2);
  m_seSkinStatusBar1->SetBevelOuter(kbvRaised);
  m_seSkinStatusBar1->SetBevelInner(kbvSpace);
  m_seSkinStatusBar1->SetBevelWidth(0);
  m_seSkinStatusBar1->SetBevelKind(kbkNone);
  m_seSkinStatusBar1->SetTransparent(true);
  m_seSkinStatusBar1->SetSkinObject("StatusBar");
  m_seSkinStatusBar1->SetSkinEngine(m_seSkinEngine);
  for (int width : {200, 80, 50, 50}) m_seSkinStatusBar1->Panels()->Add()->SetWidth(width);
  m_seSkinStatusBar1->Panels()->Items(0)->SetText("test");

  m_sbRun = loading.Create<TSeSkinCheckBox>();
  m_sbRun->SetName("sbRun");
  m_sbRun->SetCaption("自动启动");
  m_sbRun->SetState(cbChecked);
  m_sbRun->SetAlignment(ktaLeftJustify);
  m_sbRun->SetSpacing(5);
  m_sbRun->SetAllowGrayed(false);
  m_sbRun->SetPerformance(kspDoubleBuffer);
  m_sbRun->SetTransparent(true);
  m_sbRun->SetSkinObject("CheckBox");
  m_sbRun->SetSkinEngine(m_seSkinEngine);
  m_sbRun->OnClick = [this](TPersistent* sender) { SbRunClick(sender); };
  // Each control is hosted by its status panel first, so that becoming the bar's child adds no
  // panel of its own.
  auto host = [this](int panel, TControl* control) {
    m_seSkinStatusBar1->Panels()->Items(panel)->SetControl(control);
    control->SetParent(m_seSkinStatusBar1);
  };
  host(1, m_sbRun);

  auto button = [&](const char* name, const char* caption, void (TForm1::*handler)(TPersistent*)) {
    auto* b = loading.Create<TSeSkinButton>();
    b->SetName(name);
    b->SetCaption(caption);
    b->SetBounds(0, 0, 46, 16);
    b->SetShowCaption(true);
    b->SetShowGlyph(true);
    b->SetSkinObject("Button");
    b->SetSkinEngine(m_seSkinEngine);
    b->OnClick = [this, handler](TPersistent* sender) { (this->*handler)(sender); };
    return b;
  };
  m_seSkinButton1 = button("SeSkinButton1", "万年历", &TForm1::SeSkinButton1Click);
  host(2, m_seSkinButton1);
  m_seSkinButton2 = button("SeSkinButton2", "刷新", &TForm1::SeSkinButton2Click);
  host(3, m_seSkinButton2);

  m_treeView1 = loading.Create<TTreeView>();
  m_treeView1->SetName("TreeView1");
  m_treeView1->SetParent(m_seSkinPanel2);
  m_treeView1->SetAlign(alClient);
  m_treeView1->SetBorderStyle(bsNoBorder);
  m_treeView1->Font()->SetName("宋体");
  m_treeView1->Font()->SetHeight(-16);
  m_treeView1->SetImages(m_imageList1);
  m_treeView1->SetIndent(19);
  m_treeView1->SetReadOnly(true);
  m_treeView1->SetShowButtons(false);
  m_treeView1->SetShowLines(false);
  m_treeView1->SetAutoExpand(true);
  m_treeView1->SetSortType(stText);
  m_treeView1->SetShowHint(true);
  m_treeView1->SetTabOrder(0);
  m_treeView1->OnCollapsed = [this](TPersistent* sender, TTreeNode* node) { TreeView1Collapsed(sender, node); };
  m_treeView1->OnExpanded = [this](TPersistent* sender, TTreeNode* node) { TreeView1Expanded(sender, node); };
  m_tree = std::make_unique<TTreeViewReminderTree>(*m_treeView1);

  m_dayWatch = std::make_unique<TDayWatch>(this, [this] { NewDay(); });

  OnCreate = [this](TPersistent* sender) { FormCreate(sender); };
  loading.End();
}

void TForm1::FormCreate(TPersistent*) { RunCreationSequence(); }

void TForm1::RunCreationSequence() {
  // The user asked: whatever goes wrong is shown, and a later new day speaks up again.
  if (RunSequence([this] { return m_sequence.Run(); })) m_newDayFailed = false;
}

void TForm1::NewDay() {
  const TTreeViewState kept = TTreeViewState::Of(*m_treeView1);
  // The error box runs messages, and a handler may free the window meanwhile.
  TComponentWatch alive(*this);
  const bool read = RunSequence(
      [this] {
        m_sequence.RunDataSteps();
        return true;
      },
      m_newDayFailed);
  if (!alive) return;
  kept.ApplyTo(*m_treeView1);
  // data.mdb gone or damaged at midnight is most likely the sibling application rewriting it:
  // the window stays as it was and tries again shortly, telling the user only once.
  m_newDayFailed = !read;
  if (!read) m_dayWatch->RetryAfter(kNewDayRetryMilliseconds);
}

void TForm1::WndProc(TMessage& message) {
  if (message.Msg == WM_TIMECHANGE) m_dayWatch->ClockChanged();
  TForm::WndProc(message);
}

bool TForm1::RunSequence(const std::function<bool()>& run, bool quiet) {
  // A message box of a failing run dispatches messages, and so does a long read: a new day, a
  // clock change or a timer arriving then waits for the next wake rather than rebuilding under
  // the running sequence.
  if (m_running) return false;
  m_running = true;
  // The box ran the user's clicks: the window may be gone by the end, on every way out.
  TComponentWatch alive(*this);
  struct TEnd {
    const TComponentWatch& alive;
    bool& running;
    ~TEnd() {
      if (alive) running = false;
    }
  } end{alive, m_running};
  m_dayWatch->Restart();
  m_creationFailed = true;
  try {
    m_creationFailed = !run();
  } catch (const std::exception& e) {
    // What was built before the failure stays in the window.
    if (quiet) {
      // The user was told already; the window shows what it showed.
    } else if (m_messages == TMessageSink::StandardError) {
      ShowMessage(e.what());
    } else if (TApplication* app = Application()) {
      app->HandleException(this);
    }
  }
  return alive && !m_creationFailed;
}

void TForm1::TreeView1Collapsed(TPersistent*, TTreeNode* node) { node->SetImageIndex(1); }

void TForm1::TreeView1Expanded(TPersistent*, TTreeNode* node) { node->SetImageIndex(2); }

void TForm1::SbRunClick(TPersistent*) {
  if (m_sideEffects == TSideEffects::None) return;
  AutostartClick(m_sbRun->Checked(), m_sequence.AutostartPath());
}

void TForm1::SeSkinButton1Click(TPersistent*) {
  // Whether a program for the page exists is the desktop's business: nothing to report.
  ShellOpen(m_sequence.FilesDirectory() + "TheCal.htm");
}

void TForm1::SeSkinButton2Click(TPersistent*) { RunCreationSequence(); }

TReminderOutline TForm1::Outline() const { return OutlineOf(*m_treeView1); }

std::string TForm1::StatusText() const { return m_seSkinStatusBar1->Panels()->Items(0)->Text(); }

bool TForm1::TAutostartBox::Checked() const { return m_form.m_sbRun->Checked(); }

void TForm1::TAutostartBox::SetChecked(bool checked) { m_form.m_sbRun->SetChecked(checked); }

void TForm1::SetSkinFile(const std::string& fileName) { m_seSkinEngine->SetSkinFile(fileName); }
void TForm1::LoadSkin(TStream& skin) { m_seSkinEngine->LoadSkinFromStream(skin, "mskn.mskn"); }

void TForm1::ClearTree() { m_tree->Clear(); }

IReminderTree& TForm1::Tree() { return *m_tree; }

void TForm1::SetStatusText(const std::string& text) { m_seSkinStatusBar1->Panels()->Items(0)->SetText(text); }

void TForm1::ShowMessage(const std::string& text) {
  if (m_messages == TMessageSink::StandardError) {
    std::fprintf(stderr, "%s\n", text.c_str());
  } else {
    vandrel::ShowMessage(text);
  }
}

void TForm1::BeginReading() {
  m_statusBeforeReading = StatusText();
  SetStatusText("正在读取…");
  m_adoConnData.OnWaiting = [this] { KeepPainting(); };
}

void TForm1::EndReading() {
  m_adoConnData.OnWaiting = nullptr;
  SetStatusText(m_statusBeforeReading);
}

void TForm1::KeepPainting() {
  MSG msg;
  // Only the timers due now: one that comes due again at once must not keep the read waiting.
  for (int due = 0; due < 16 && PeekMessage(msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE); ++due) DispatchMessage(msg);
  ProcessPendingPaints(nullptr);
  if (TDisplayBackend* display = GetDisplayBackend()) display->Flush();
}

void TForm1::Close() {
  m_closeRequested = true;
  TForm::Close();
}

}  // namespace vandrel
