// TScreen: the screen as the application sees it: size, work area, the forms that exist, the
// active form and control, and a cursor that overrides every control's own.
#pragma once

#include <vector>

#include "framework/Control.h"

namespace vandrel {

class TCustomForm;
class TWinControl;

class TScreen {
 public:
  static TScreen& Instance();

  int Width() const;
  int Height() const;
  TRect WorkAreaRect() const;

  int FormCount() const { return int(m_forms.size()); }
  TCustomForm* Forms(int index) const;
  int IndexOfForm(const TCustomForm* form) const;
  TCustomForm* ActiveForm() const { return m_activeForm; }
  TWinControl* ActiveControl() const;

  // crDefault lets each control choose; anything else shows everywhere.
  TCursor Cursor() const { return m_cursor; }
  void SetCursor(TCursor cursor);

  std::function<void()> OnActiveFormChange;

  // Kept by the forms themselves.
  void AddForm(TCustomForm* form);
  void RemoveForm(TCustomForm* form);
  void SetActiveForm(TCustomForm* form);

 private:
  TScreen() = default;
  std::vector<TCustomForm*> m_forms;
  TCustomForm* m_activeForm = nullptr;
  TCursor m_cursor = crDefault;
};

inline TScreen* Screen() { return &TScreen::Instance(); }

}  // namespace vandrel
