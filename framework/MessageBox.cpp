#include "framework/MessageBox.h"

#include <algorithm>
#include <vector>

#include "framework/Application.h"
#include "framework/Button.h"
#include "framework/Form.h"
#include "framework/Screen.h"

namespace vandrel {

namespace {
class TMessageForm : public TForm {
 public:
  TMessageForm(const std::string& text, const std::string& caption, UINT flags) : TForm(nullptr), m_message(text) {
    SetBorderStyle(bsDialog);
    SetBorderIcons(TBorderIcons{biSystemMenu});
    SetPosition(poScreenCenter);
    SetFormStyle(fsStayOnTop);
    SetCaption(caption);
    struct TSpec {
      const char* text;
      int result;
    };
    std::vector<TSpec> specs;
    switch (flags & 0xF) {
      case MB_OKCANCEL: specs = {{"OK", IDOK}, {"Cancel", IDCANCEL}}; break;
      case MB_YESNO: specs = {{"Yes", IDYES}, {"No", IDNO}}; break;
      default: specs = {{"OK", IDOK}};
    }
    // Measure the text to size the box: wrapped at three quarters of the screen.
    TCanvas measure;
    TBitmapHolder holder(measure);
    measure.Font()->Assign(*Font());
    TRect tr = Rect(0, 0, std::max(Screen()->Width() * 3 / 4, 100), 0);
    measure.TextRect(tr, m_message, tfWordBreak | tfNoPrefix, true);
    const int margin = 12, bw = 75, bh = 23, gap = 6;
    int buttonsW = int(specs.size()) * bw + int(specs.size() - 1) * gap;
    int cw = std::max({tr.Width() + 2 * margin, buttonsW + 2 * margin, 150});
    int ch = margin + std::max(tr.Height(), 13) + margin + bh + margin;
    m_textRect = Rect(margin, margin, cw - margin, margin + tr.Height());
    SetClientWidth(cw);
    SetClientHeight(ch);
    int x = (cw - buttonsW) / 2;
    for (size_t i = 0; i < specs.size(); ++i) {
      auto* b = new TButton(this);
      b->SetParent(this);
      b->SetCaption(specs[i].text);
      b->SetModalResult(specs[i].result);
      b->SetBounds(x, ch - margin - bh, bw, bh);
      b->SetTabOrder(int(i));
      if (i == 0) b->SetDefault(true);
      if (specs[i].result == IDCANCEL || specs[i].result == IDNO || specs.size() == 1) b->SetCancel(true);
      x += bw + gap;
    }
  }

 protected:
  void Paint() override {
    TCanvas* c = Canvas();
    c->Brush()->SetStyle(bsClear);
    TRect r = m_textRect;
    c->TextRect(r, m_message, tfWordBreak | tfNoPrefix);
  }

 private:
  // Gives a canvas a memory context for measuring before any window exists.
  struct TBitmapHolder {
    explicit TBitmapHolder(TCanvas& c) : canvas(c), dc(CreateCompatibleDC(HDC())) { canvas.SetHandle(dc); }
    ~TBitmapHolder() {
      canvas.SetHandle(HDC());
      DeleteDC(dc);
    }
    TCanvas& canvas;
    HDC dc;
  };
  std::string m_message;
  TRect m_textRect;
};
}  // namespace

int ShowMessageBox(const std::string& text, const std::string& caption, UINT flags) {
  TMessageForm form(text, caption, flags);
  int result = form.ShowModal();
  // Closing the box through its frame counts as its cancel button.
  if (result == mrCancel && (flags & 0xF) == MB_OK) return IDOK;
  if (result == mrCancel && (flags & 0xF) == MB_YESNO) return IDNO;
  return result;
}

}  // namespace vandrel
