#pragma once
// A command button whose caption of several words wraps onto more lines when the button is too
// narrow for it on one, as captions of such buttons do on the desktop.

#include <QPushButton>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace tarvenol {

class WrappingButton : public QPushButton {
 public:
  using QPushButton::QPushButton;

 protected:
  void paintEvent(QPaintEvent*) override {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QString caption = option.text;
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);
    const QRect area = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    painter.drawItemText(area, Qt::AlignCenter | Qt::TextWordWrap, palette(), isEnabled(), caption,
                         QPalette::ButtonText);
  }
};

}  // namespace tarvenol
