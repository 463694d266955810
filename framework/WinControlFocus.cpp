// TWinControl: the keyboard focus and the tab order.
#include <algorithm>

#include "framework/Form.h"
#include "framework/WinControl.h"
#include "platform/win/Input.h"

namespace vandrel {

bool TWinControl::CanFocus() const {
  const TControl* c = this;
  while (c) {
    if (!c->Visible() || !c->Enabled()) return false;
    if (!c->Parent()) break;
    c = c->Parent();
  }
  return true;
}

bool TWinControl::Focused() const { return m_handle && GetFocus() == m_handle; }

void TWinControl::SetFocus() {
  if (TCustomForm* form = GetParentForm(this)) {
    form->FocusControl(this);
  } else {
    vandrel::SetFocus(Handle());
  }
}

int TWinControl::TabOrder() const {
  if (!m_parent) return -1;
  auto& list = m_parent->m_tabList;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : int(it - list.begin());
}

void TWinControl::SetTabOrder(int order) {
  if (!m_parent) return;
  auto& list = m_parent->m_tabList;
  std::erase(list, this);
  order = std::clamp(order, 0, int(list.size()));
  list.insert(list.begin() + order, this);
}

void TWinControl::SetTabStop(bool value) {
  if (value == m_tabStop) return;
  m_tabStop = value;
  Perform(CM_TABSTOPCHANGED);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) const {
  for (TWinControl* c : m_tabList) {
    list.push_back(c);
    c->GetTabOrderList(list);
  }
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool goForward, bool checkTabStop, bool checkParent) const {
  std::vector<TWinControl*> list;
  GetTabOrderList(list);
  if (list.empty()) return nullptr;
  int n = int(list.size());
  auto it = std::find(list.begin(), list.end(), current);
  int start = it == list.end() ? (goForward ? n - 1 : 0) : int(it - list.begin());
  int i = start;
  for (int step = 0; step < n; ++step) {
    i = goForward ? (i + 1) % n : (i - 1 + n) % n;
    TWinControl* c = list[size_t(i)];
    if (c == current) break;
    if ((!checkTabStop || c->TabStop()) && (!checkParent || c->Parent() == this) && c->CanFocus()) return c;
  }
  return nullptr;
}

void TWinControl::SelectNext(TWinControl* current, bool goForward, bool checkTabStop) {
  if (TWinControl* c = FindNextControl(current, goForward, checkTabStop, !checkTabStop)) c->SetFocus();
}

void TWinControl::SelectFirst() {
  if (TWinControl* c = FindNextControl(nullptr, true, true, false)) c->SetFocus();
}

}  // namespace vandrel
