#pragma once
// The Mach number of the results and its rule, beside the angle of attack in the windows that
// show results: a box for M and a check box for Kármán–Tsien's correction of Göthert's rule.

#include <QWidget>
#include <functional>

#include "results/goethert.h"

QT_BEGIN_NAMESPACE
class QCheckBox;
class QLineEdit;
QT_END_NAMESPACE

namespace tarvenol {

class MachBox : public QWidget {
 public:
  // setMach: the owner sets the results' Mach number from the box's text and the rule, and says
  // whether it was taken; then it shows the setting again through Follow.
  MachBox(QWidget* parent, std::function<bool(const QString&, PressureRule)> setMach);
  // Says nothing more: a box that loses the focus as it goes would set M through a window half
  // gone.
  ~MachBox() override;

  // The program's setting; a text being typed stays.
  void Follow(const MachSetting& m);

 private:
  void Changed();

  std::function<bool(const QString&, PressureRule)> setMach_;
  QLineEdit* Text_Mach_;
  QCheckBox* Check_KarmanTsien_;
};

}  // namespace tarvenol
