// The main window on the headless screen, driven through the same pointer steps as the X11 test
// drives the real window: it writes a picture of the whole window after each step, for that test
// to compare with the X server's screenshots, and prints where the controls lie so that the test
// points at the same pixels.
//   window_pictures PROGRAM OUTDIR
// PROGRAM is the program's path (data.mdb beside it); nothing is written outside OUTDIR.
// Printed: "window W H", "refresh L T W H", "autostart L T W H" (window coordinates).
#include <cstdio>
#include <exception>
#include <string>

#include "app/Form1.h"
#include "framework/Application.h"
#include "platform/display/HeadlessScreen.h"
#include "platform/gdi/PngWriter.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Window.h"
#include "skincontrols/SkinButton.h"
#include "skincontrols/SkinCheckBox.h"

namespace {

using namespace vandrel;

class TPictures {
 public:
  TPictures(TApplication& app, THeadlessScreen& screen, TForm1& form, std::string folder)
      : m_app(app), m_screen(screen), m_form(form), m_folder(std::move(folder)) {}

  // The control's rectangle in window coordinates.
  TRect Where(const TControl& control) const {
    const TRect window = WindowRect(m_form.Handle());
    const TPoint origin = control.ClientToScreen({0, 0});
    const TPoint at = origin - TPoint{window.Left, window.Top};
    return {at.X, at.Y, at.X + control.Width(), at.Y + control.Height()};
  }
  static TPoint Centre(const TControl& control) {
    return control.ClientToScreen({control.Width() / 2, control.Height() / 2});
  }
  // A point of the screen that no window covers.
  TPoint Away() const {
    const TRect window = WindowRect(m_form.Handle());
    return {window.Right + 20, window.Top + 20};
  }

  void Move(TPoint p) { m_screen.MouseMove(p), Pump(); }
  void Down(TPoint p) { m_screen.MouseDown(p), Pump(); }
  void Up(TPoint p) { m_screen.MouseUp(p), Pump(); }
  void Shot(const std::string& name) {
    Pump();
    WritePng(*m_screen.CaptureWindow(m_form.Handle()), m_folder + "/" + name + ".png");
  }

 private:
  void Pump() {
    m_app.ProcessMessages();
    ProcessPendingMessages();
    m_app.ProcessMessages();
  }

  TApplication& m_app;
  THeadlessScreen& m_screen;
  TForm1& m_form;
  std::string m_folder;
};

void Print(const char* name, const TRect& r) {
  std::printf("%s %d %d %d %d\n", name, r.Left, r.Top, r.Width(), r.Height());
}

int Run(const std::string& program, const std::string& folder) {
  // The X11 test's screen, so the window opens where it opens there.
  std::unique_ptr<THeadlessScreen> screen = THeadlessScreen::Create({1024, 768});
  TApplication app;
  app.SetTitle("Vandrel");
  auto* form = new TForm1(&app, program, TMessageSink::StandardError, TSideEffects::None);
  app.SetMainForm(form);
  if (form->CloseRequested()) return 1;
  form->Show();
  TPictures pictures(app, *screen, *form, folder);
  const TRect window = WindowRect(form->Handle());
  std::printf("window %d %d\n", window.Width(), window.Height());
  Print("refresh", pictures.Where(*form->SeSkinButton2()));
  Print("autostart", pictures.Where(*form->SbRun()));

  // The same steps, in the same order, as the X11 test takes.
  const TPoint refresh = pictures.Centre(*form->SeSkinButton2());
  const TPoint box = pictures.Centre(*form->SbRun());
  pictures.Shot("normal");
  pictures.Move(refresh);
  pictures.Shot("refresh-hot");
  pictures.Move(pictures.Away());
  pictures.Shot("refresh-away");
  pictures.Move(refresh);
  pictures.Down(refresh);
  pictures.Shot("refresh-pressed");
  pictures.Up(refresh);
  pictures.Shot("refresh-clicked");
  pictures.Move(pictures.Away());
  pictures.Shot("refresh-left");
  pictures.Move(box);
  pictures.Shot("box-hot");
  pictures.Down(box);
  pictures.Shot("box-pressed");
  pictures.Up(box);
  pictures.Shot("box-clicked");
  pictures.Move(pictures.Away());
  pictures.Shot("box-left");
  return form->CreationFailed() ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fputs("usage: window_pictures PROGRAM OUTDIR\n", stderr);
    return 2;
  }
  try {
    return Run(argv[1], argv[2]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "window_pictures: %s\n", e.what());
    return 1;
  }
}
