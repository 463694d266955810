// TForm1, the reminder window: a banner across the top, the reminder tree below it and a status
// bar with today's date line, the "自动启动" box and the "万年历" and "刷新" buttons. Creating it runs
// the creation sequence; "刷新" runs it again. At midnight, and when the clock jumps, the data
// steps run again on their own, keeping what the user had opened and selected.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "app/Autostart.h"
#include "app/CreationSequence.h"
#include "app/DayWatch.h"
#include "app/ReminderOutline.h"
#include "data/Connection.h"
#include "data/Query.h"
#include "framework/Form.h"

namespace vandrel {

class TImage;
class TImageList;
class TSeSkinButton;
class TSeSkinCheckBox;
class TSeSkinPanel;
class TSeSkinStatusBar;
class TSeSkinEngine;
class TSeSkinForm;
class TTreeNode;
class TTreeView;
class TTreeViewReminderTree;

// Where the window's messages go: message boxes for the user, or standard error when the window
// is only rendered (--snapshot) and nobody could click a box away.
enum class TMessageSink { MessageBox, StandardError };

class TForm1 : public TForm, private IMainWindow {
 public:
  // exeFileName is the running executable's full path. The creation sequence runs before the
  // constructor returns; when it closed the window (no data.mdb), CloseRequested() says so.
  // With TSideEffects::None the window leaves no trace outside itself (see TSideEffects), the
  // "自动启动" box included.
  TForm1(TComponent* owner, std::string exeFileName, TMessageSink messages = TMessageSink::MessageBox,
         TSideEffects sideEffects = TSideEffects::Write);
  ~TForm1() override;

  bool CloseRequested() const { return m_closeRequested; }
  // The last run of the creation sequence failed or closed the window.
  bool CreationFailed() const { return m_creationFailed; }
  // The tree as the window shows it, and the first status panel's text.
  TReminderOutline Outline() const;
  std::string StatusText() const;
  const std::string& AutostartPath() const { return m_sequence.AutostartPath(); }

  TSeSkinEngine* SeSkinEngine() const { return m_seSkinEngine; }
  TSeSkinForm* SeSkinForm1() const { return m_seSkinForm1; }
  TSeSkinPanel* SeSkinPanel1() const { return m_seSkinPanel1; }
  TImage* Image1() const { return m_image1; }
  TSeSkinPanel* SeSkinPanel2() const { return m_seSkinPanel2; }
  TTreeView* TreeView1() const { return m_treeView1; }
  TSeSkinStatusBar* SeSkinStatusBar1() const { return m_seSkinStatusBar1; }
  TSeSkinCheckBox* SbRun() const { return m_sbRun; }
  TSeSkinButton* SeSkinButton1() const { return m_seSkinButton1; }
  TSeSkinButton* SeSkinButton2() const { return m_seSkinButton2; }
  TImageList* ImageList1() const { return m_imageList1; }

  void FormCreate(TPersistent* sender);
  void TreeView1Collapsed(TPersistent* sender, TTreeNode* node);
  void TreeView1Expanded(TPersistent* sender, TTreeNode* node);
  void SbRunClick(TPersistent* sender);
  // "万年历": the calendar page the creation sequence wrote, in the desktop's program for it.
  void SeSkinButton1Click(TPersistent* sender);
  // "刷新": the whole creation sequence again.
  void SeSkinButton2Click(TPersistent* sender);
  // The day is over or the clock jumped: the tree and the status line for today, with the nodes
  // that are there again opened and selected as they were.
  void NewDay();

 protected:
  void WndProc(TMessage& message) override;

 private:
  // The "自动启动" box as the autostart logic sees it.
  class TAutostartBox : public IAutostartBox {
   public:
    explicit TAutostartBox(TForm1& form) : m_form(form) {}
    bool Checked() const override;
    void SetChecked(bool checked) override;

   private:
    TForm1& m_form;
  };

  void SetSkinFile(const std::string& fileName) override;
  void LoadSkin(TStream& skin) override;
  void ClearTree() override;
  IReminderTree& Tree() override;
  void SetStatusText(const std::string& text) override;
  void ShowMessage(const std::string& text) override;
  void Close() override;
  IAutostartBox& AutostartBox() override { return m_autostartBox; }
  void BeginReading() override;
  void EndReading() override;
  // While the database is read: due timers run and the windows repaint; input waits in the
  // queue until the refresh is over.
  void KeepPainting();

  void CreateComponents();
  void RunCreationSequence();
  // Runs one of the sequence's runs; a failure goes to the message sink or the application, or
  // nowhere when quiet. True when the run went through to its end.
  bool RunSequence(const std::function<bool()>& run, bool quiet = false);

  TMessageSink m_messages;
  TSideEffects m_sideEffects;
  bool m_closeRequested = false;
  bool m_creationFailed = false;
  bool m_running = false;  // a sequence run: a timer or a message box inside it must not start another
  bool m_newDayFailed = false;  // the user saw why the new day could not be read: retries stay quiet
  std::string m_statusBeforeReading;
  TConnection m_adoConnData;
  TQuery m_adoQuery1{m_adoConnData};
  TQuery m_adoQuery2{m_adoConnData};
  TAutostartBox m_autostartBox{*this};
  TCreationSequence m_sequence;
  std::unique_ptr<TTreeViewReminderTree> m_tree;
  std::unique_ptr<TDayWatch> m_dayWatch;

  TSeSkinEngine* m_seSkinEngine = nullptr;
  TSeSkinForm* m_seSkinForm1 = nullptr;
  TSeSkinPanel* m_seSkinPanel1 = nullptr;
  TImage* m_image1 = nullptr;
  TSeSkinPanel* m_seSkinPanel2 = nullptr;
  TTreeView* m_treeView1 = nullptr;
  TSeSkinStatusBar* m_seSkinStatusBar1 = nullptr;
  TSeSkinCheckBox* m_sbRun = nullptr;
  TSeSkinButton* m_seSkinButton1 = nullptr;
  TSeSkinButton* m_seSkinButton2 = nullptr;
  TImageList* m_imageList1 = nullptr;
};

}  // namespace vandrel
