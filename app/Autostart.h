// Whether the program starts at logon: the "自动启动" check box, the setting "AuToRun" under the
// sibling application's key ("1" on, "0" off; names compare without case, so "AutoRun" is the
// same value) and the Run value "tarvo" naming the program to start.
#pragma once

#include <functional>
#include <string>

namespace vandrel {

// The check box as the autostart logic sees it: changing its state runs its click handler.
class IAutostartBox {
 public:
  virtual ~IAutostartBox() = default;
  virtual bool Checked() const = 0;
  virtual void SetChecked(bool checked) = 0;
};

// The click handler: records the box's state and registers or clears the Run value. Failures
// raise.
void AutostartClick(bool checked, const std::string& autostartPath);

// The last step of every creation sequence.
//   no setting yet (first start): tick the box, write "1", register autostartPath (a failure of
//     that last write is swallowed);
//   setting "1": keep the box ticked and register the current autostartPath again (swallowing a
//     failure: the program may have moved);
//   any other setting: untick the box (its click handler writes "0" and clears the Run value when
//     it was ticked; nothing is written when it already was unticked).
void AutostartStartUp(IAutostartBox& box, const std::string& autostartPath);

// The state AutostartStartUp leaves the box in, read without writing anything.
bool AutostartCheckedAfterStartUp();

// A check box without a window, for the modes that show none: SetChecked runs OnClick on change.
class TAutostartToggle : public IAutostartBox {
 public:
  bool Checked() const override { return m_checked; }
  void SetChecked(bool checked) override;
  std::function<void()> OnClick;

 private:
  bool m_checked = true;  // ticked at design time
};

}  // namespace vandrel
