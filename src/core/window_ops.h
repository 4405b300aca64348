#pragma once
// What the program's logic needs of its windows. The Qt windows provide it, the batch
// tool provides it without windows, and tests record it.

#include <string>

#include "core/canvas.h"

namespace tarvenol {

enum class TextBox { Text_NI, Text_NJ, Text_AlfaX, Text_AlfaY, Text_AlfaZ, Text_Ölçek };
enum class ManagedControl { Command_Sphere, Command_HessPan, Frame_IOWindow };
enum class ScrollBar { HScroll_X, HScroll_Y, HScroll_Z, VScroll_Ölçek };

class WindowOps {
 public:
  virtual ~WindowOps() = default;

  // Text boxes hold UTF-8 text.
  virtual std::string GetText(TextBox box) = 0;
  virtual void SetText(TextBox box, const std::string& text) = 0;

  virtual void SetVisible(ManagedControl control, bool visible) = 0;

  virtual void ShowAboutWindow() = 0;
  // Shows the text with one OK button and returns once the user has closed it.
  virtual void MessageBox(const std::string& text) = 0;
  // Asks the question with Yes and No buttons; true for Yes. The answer suggested is the one
  // Return gives: an offer is suggested, a step that may be regretted is not.
  enum class Suggested { Yes, No };
  virtual bool Confirm(const std::string& question, Suggested suggested) = 0;

  // The body-file chooser.
  virtual std::string GetDrive() = 0;
  virtual std::string GetDirPath() = 0;
  // Setting the directory raises the directory-changed event before it returns.
  virtual void SetDirPath(const std::string& path) = 0;
  virtual std::string GetFilePath() = 0;
  virtual void SetFilePath(const std::string& path) = 0;
  virtual std::string GetFileName() = 0;

  virtual int GetScrollValue(ScrollBar bar) = 0;

  virtual Canvas& Picture() = 0;
  // Whether anyone sees the pictures that operations draw as they run. The batch tool's are
  // never seen: its png action draws the view again for itself.
  virtual bool ShowsPictures() const { return true; }
};

}  // namespace tarvenol
