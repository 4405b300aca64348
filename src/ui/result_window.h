#pragma once
// A window of the "Results" menu. It registers once with the main window (Form1::Register),
// which gives it its menu entry, opens it beside itself, and tells it when the solution shown,
// the results' settings (the angle of attack, the Mach number) or the program's work change.
// The main window names no result window but the one whose panel shows the added masses' work.

class QWidget;

namespace tarvenol {

class ResultWindow {
 public:
  virtual ~ResultWindow() = default;
  // The window itself, which the main window places and shows.
  virtual QWidget* Widget() = 0;
  // Asked for from its menu entry: brought up to date, the work it offers begun.
  virtual void Open() = 0;
  // While shown: a new solution, or none, is shown in the main window.
  virtual void SolutionChanged() = 0;
  // While shown: the results' angle of attack or Mach number has moved.
  virtual void SettingsChanged() { SolutionChanged(); }
  // The program's work starts or ends: controls that would start work go out of use.
  virtual void SetWorking(bool working) { (void)working; }
};

}  // namespace tarvenol
