#include "framework/Screen.h"

#include <algorithm>

#include "framework/Cursors.h"
#include "framework/Form.h"
#include "platform/gdi/SystemMetrics.h"
#include "platform/win/Input.h"
#include "platform/win/Settings.h"

namespace vandrel {

TScreen& TScreen::Instance() {
  static TScreen screen;
  return screen;
}

int TScreen::Width() const { return GetSystemMetrics(SM_CXSCREEN); }
int TScreen::Height() const { return GetSystemMetrics(SM_CYSCREEN); }

TRect TScreen::WorkAreaRect() const {
  TRect r;
  if (!SystemParametersInfo(SPI_GETWORKAREA, 0, &r)) r = Rect(0, 0, Width(), Height());
  return r;
}

TCustomForm* TScreen::Forms(int index) const {
  if (index < 0 || index >= FormCount()) return nullptr;
  return m_forms[size_t(index)];
}

int TScreen::IndexOfForm(const TCustomForm* form) const {
  auto it = std::find(m_forms.begin(), m_forms.end(), form);
  return it == m_forms.end() ? -1 : int(it - m_forms.begin());
}

TWinControl* TScreen::ActiveControl() const { return m_activeForm ? m_activeForm->ActiveControl() : nullptr; }

void TScreen::SetCursor(TCursor cursor) {
  m_cursor = cursor;
  if (cursor != crDefault) vandrel::SetCursor(CursorHandle(cursor));
}

void TScreen::AddForm(TCustomForm* form) {
  if (IndexOfForm(form) < 0) m_forms.push_back(form);
}

void TScreen::RemoveForm(TCustomForm* form) {
  std::erase(m_forms, form);
  if (m_activeForm == form) SetActiveForm(nullptr);
}

void TScreen::SetActiveForm(TCustomForm* form) {
  if (form == m_activeForm) return;
  m_activeForm = form;
  if (OnActiveFormChange) OnActiveFormChange();
}

}  // namespace vandrel
