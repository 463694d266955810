#include "skin/SkinMessages.h"

#include <memory>
#include <vector>

#include "framework/ComponentWatch.h"
#include "framework/Form.h"
#include "platform/win/MessageQueue.h"
#include "skin/SkinnedWindow.h"

namespace vandrel {
namespace {

UINT MessageOf(TSeSkinChange change) { return change == scChanging ? SE_SKINCHANGING : SE_SKINCHANGED; }

}  // namespace

void BroadcastSkinChange(TControl& root, TSeSkinChange change, TSeSkinEngine& engine) {
  const UINT msg = MessageOf(change);
  const auto param = reinterpret_cast<LPARAM>(&engine);
  TComponentWatch alive(root);
  if (auto* form = dynamic_cast<TCustomForm*>(&root))
    SendMessage(form->Handle(), msg, WPARAM(param), param);
  else
    root.Perform(msg, WPARAM(param), param);
  auto* parent = dynamic_cast<TWinControl*>(&root);
  if (!alive || !parent) return;
  // The children as they were; each is looked at again only while it still exists.
  std::vector<std::unique_ptr<TComponentWatch>> watches;
  std::vector<TControl*> children;
  for (int i = 0; i < parent->ControlCount(); ++i) {
    children.push_back(parent->Controls(i));
    watches.push_back(std::make_unique<TComponentWatch>(*children.back()));
  }
  for (size_t i = 0; i < children.size(); ++i)
    if (*watches[i]) BroadcastSkinChange(*children[i], change, engine);
}

TSeSkinEngine* SkinChangeEngine(const TMessage& m, TSeSkinChange change) {
  if (m.Msg != MessageOf(change)) return nullptr;
  return reinterpret_cast<TSeSkinEngine*>(m.LParam);
}

void NotifyObjectChanged(HWND window, TSeSkinObject* object) {
  SendMessage(window, SE_OBJECTCHANGED, 0, reinterpret_cast<LPARAM>(object));
}

void NotifyObjectChanged(TControl& control, TSeSkinObject* object) {
  control.Perform(SE_OBJECTCHANGED, 0, reinterpret_cast<LPARAM>(object));
}

bool IsObjectChanged(const TMessage& m) { return m.Msg == SE_OBJECTCHANGED; }

TSeSkinObject* ChangedObject(const TMessage& m) {
  return IsObjectChanged(m) ? reinterpret_cast<TSeSkinObject*>(m.LParam) : nullptr;
}

ISeSkinnedWindow* QueryOwnerForm(HWND window) {
  if (!window) return nullptr;
  return reinterpret_cast<ISeSkinnedWindow*>(SendMessage(window, SE_FORMQUERY, 0, 0));
}

ISeSkinnedWindow* QueryOwnerForm(TControl& control) {
  if (auto* window = dynamic_cast<TWinControl*>(&control)) return QueryOwnerForm(window->Handle());
  return reinterpret_cast<ISeSkinnedWindow*>(control.Perform(SE_FORMQUERY, 0, 0));
}

bool AnswerFormQuery(TMessage& m, ISeSkinnedWindow& window) {
  if (m.Msg != SE_FORMQUERY) return false;
  m.Result = reinterpret_cast<LRESULT>(&window);
  return true;
}

}  // namespace vandrel
