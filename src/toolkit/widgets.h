#pragma once
// The toolkit's own widget classes: labels, colour buttons and the progress
// bar draw themselves the way the program's windows are designed, and the
// edit boxes' input modes and byte limits live in one validator.
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QValidator>
#include <functional>
#include <optional>

#include "toolkit/toolkit.h"

namespace tk::detail {

QColor ToQColor(const Rgb& rgb);
// `font` of a layout table applied over `base`; unset fields keep the base's.
QFont MakeFont(const Font& font, const QFont& base);

class TkLabel : public QLabel {
 public:
  explicit TkLabel(QWidget* parent) : QLabel(parent) {}
  std::optional<QColor> textColour, background;
  Qt::Alignment hAlign = Qt::AlignLeft;
  bool vcenter = false, wordWrap = false, transparent = false, raised = false;
  GradientFrame frame;

 protected:
  void paintEvent(QPaintEvent*) override;
};

class TkColourButton : public QPushButton {
 public:
  explicit TkColourButton(QWidget* parent) : QPushButton(parent) {}
  std::optional<QColor> textColour, background, hoverBackground, hoverTextColour;
  bool linkStyle = false;
  bool hovered() const { return hovered_; }

 protected:
  bool event(QEvent* e) override;
  void paintEvent(QPaintEvent*) override;

 private:
  bool hovered_ = false;
};

class TkProgressBar : public QProgressBar {
 public:
  explicit TkProgressBar(QWidget* parent) : QProgressBar(parent) {}

 protected:
  void paintEvent(QPaintEvent*) override;
};

class TkHyperlink : public QLabel {
 public:
  explicit TkHyperlink(QWidget* parent) : QLabel(parent) {}
  std::function<void()> onClick;

 protected:
  void mousePressEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;

 private:
  bool pressed_ = false;
};

// Keeps an edit box to its input mode and byte limit for every insertion,
// typed, pasted or committed by an input method: the inserted characters that
// the mode does not allow are dropped, and the insertion is cut to the bytes
// left under the limit (counted in GBK, so a Chinese character takes two).
// Control characters always pass. Texts the program writes are taken as
// they are.
class GbkInputValidator : public QValidator {
 public:
  GbkInputValidator(Input mode, int maxBytes, QObject* parent)
      : QValidator(parent), mode_(mode), maxBytes_(maxBytes) {}
  State validate(QString& input, int& pos) const override;
  // The next validation takes the text unchanged (a write by the program).
  void AcceptNext(const QString& text) {
    bypass_ = true;
    last_ = text;
  }
  void EndAccept() { bypass_ = false; }
  bool Allowed(char32_t ch) const;

 private:
  Input mode_;
  int maxBytes_;
  mutable QString last_;
  mutable bool bypass_ = false;
};

}  // namespace tk::detail
