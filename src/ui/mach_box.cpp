#include "ui/mach_box.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

namespace tarvenol {

MachBox::MachBox(QWidget* parent, std::function<bool(const QString&, PressureRule)> setMach)
    : QWidget(parent),
      setMach_(std::move(setMach)),
      Text_Mach_(new QLineEdit("0", this)),
      Check_KarmanTsien_(new QCheckBox("Kármán–Tsien", this)) {
  setObjectName("Frame_Mach");
  Text_Mach_->setObjectName("Text_Mach");
  Text_Mach_->setMaximumWidth(80);
  Text_Mach_->setToolTip(
      "The Mach number of the stream, at least 0 and below 1; 0 is "
      "incompressible flow");
  Check_KarmanTsien_->setObjectName("Check_KarmanTsien");
  Check_KarmanTsien_->setToolTip(
      "Kármán–Tsien's correction of Göthert's rule, which deepens the suction peaks");
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(new QLabel("Mach number M:", this));
  layout->addWidget(Text_Mach_);
  layout->addWidget(Check_KarmanTsien_);
  connect(Text_Mach_, &QLineEdit::editingFinished, this, [this] { Changed(); });
  connect(Check_KarmanTsien_, &QCheckBox::toggled, this, [this] { Changed(); });
}

MachBox::~MachBox() {
  Text_Mach_->blockSignals(true);
  Check_KarmanTsien_->blockSignals(true);
}

void MachBox::Changed() {
  setMach_(Text_Mach_->text(), Check_KarmanTsien_->isChecked() ? PressureRule::GoethertKarmanTsien
                                                               : PressureRule::Goethert);
}

void MachBox::Follow(const MachSetting& m) {
  const QSignalBlocker quietBox(Text_Mach_), quietCheck(Check_KarmanTsien_);
  if (!Text_Mach_->hasFocus()) Text_Mach_->setText(QString::number(m.mach));
  Check_KarmanTsien_->setChecked(m.rule == PressureRule::GoethertKarmanTsien);
}

}  // namespace tarvenol
