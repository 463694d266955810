// Actions: a command with its caption, hint, image, enabled/checked/visible state, shortcut and
// execute handler, shared by the controls linked to it. A link copies the action's values into its
// client when the action changes; a property counts as linked while the client's value still
// equals the action's, so a client can override one property and keep the rest.
#pragma once

#include <string>
#include <vector>

#include "framework/Component.h"

namespace vandrel {

class TActionLink;
class TCustomImageList;
class TControl;

using TShortCut = std::uint16_t;  // virtual key | scShift | scCtrl | scAlt
enum : TShortCut { scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000 };

class TBasicAction : public TComponent {
  VANDREL_CLASS_INFO
 public:
  explicit TBasicAction(TComponent* owner);
  ~TBasicAction() override;

  const std::string& Caption() const { return m_caption; }
  void SetCaption(const std::string& v);
  const std::string& Hint() const { return m_hint; }
  void SetHint(const std::string& v);
  int ImageIndex() const { return m_imageIndex; }
  void SetImageIndex(int v);
  TCustomImageList* Images() const { return m_images; }
  void SetImages(TCustomImageList* images);
  bool Enabled() const { return m_enabled; }
  void SetEnabled(bool v);
  bool Checked() const { return m_checked; }
  void SetChecked(bool v);
  bool Visible() const { return m_visible; }
  void SetVisible(bool v);
  TShortCut ShortCut() const { return m_shortCut; }
  void SetShortCut(TShortCut v);

  // Runs OnExecute; false when there is none or the action is disabled.
  virtual bool Execute();
  TNotifyEvent OnExecute;
  TNotifyEvent OnUpdate;
  // Runs OnUpdate; false when there is none.
  virtual bool Update();

  int ClientCount() const { return int(m_clients.size()); }

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  friend class TActionLink;
  void Change();
  std::string m_caption;
  std::string m_hint;
  int m_imageIndex = -1;
  TCustomImageList* m_images = nullptr;
  bool m_enabled = true;
  bool m_checked = false;
  bool m_visible = true;
  TShortCut m_shortCut = 0;
  std::vector<TActionLink*> m_clients;
};

// A client's side of the link. Descendants apply the action's values to their client.
class TActionLink {
 public:
  TActionLink() = default;
  virtual ~TActionLink();
  TActionLink(const TActionLink&) = delete;
  TActionLink& operator=(const TActionLink&) = delete;

  TBasicAction* Action() const { return m_action; }
  void SetAction(TBasicAction* action);
  bool Execute();

  virtual bool IsCaptionLinked() const { return m_action != nullptr; }
  virtual bool IsEnabledLinked() const { return m_action != nullptr; }
  virtual bool IsHintLinked() const { return m_action != nullptr; }
  virtual bool IsVisibleLinked() const { return m_action != nullptr; }
  virtual bool IsCheckedLinked() const { return m_action != nullptr; }
  virtual bool IsImageIndexLinked() const { return m_action != nullptr; }
  virtual bool IsOnExecuteLinked() const { return m_action != nullptr; }

 protected:
  friend class TBasicAction;
  // The action's values changed (or a new action was linked).
  virtual void Change() = 0;

 private:
  TBasicAction* m_action = nullptr;
};

// Keeps a control's caption, enabled, hint, visible and click handler with the action.
class TControlActionLink : public TActionLink {
 public:
  explicit TControlActionLink(TControl* client) : m_client(client) {}
  bool IsCaptionLinked() const override;
  bool IsEnabledLinked() const override;
  bool IsHintLinked() const override;
  bool IsVisibleLinked() const override;
  TControl* Client() const { return m_client; }

 protected:
  void Change() override;

 private:
  TControl* m_client;
  // The values last applied, so that a client-side change unlinks that property.
  std::string m_caption;
  std::string m_hint;
  bool m_enabled = true;
  bool m_visible = true;
  bool m_applied = false;
};

}  // namespace vandrel
