#include "toolkit/widgets.h"

#include <QEvent>
#include <QFontInfo>
#include <QMouseEvent>
#include <QPainter>
#include <QTextLayout>
#include <algorithm>
#include <vector>

#include "toolkit/gbk_qt.h"

namespace tk::detail {

QColor ToQColor(const Rgb& rgb) { return QColor(rgb.r, rgb.g, rgb.b); }

namespace {

// The Windows fonts of the design first, then fonts with Chinese glyphs that
// a Linux desktop is likely to have.
QStringList FamiliesFor(const char* family) {
  QStringList list;
  const QString name = QString::fromUtf8(family);
  list << name;
  if (name == QString::fromUtf8("宋体")) list << QStringLiteral("SimSun");
  if (name == QString::fromUtf8("新宋体")) list << QStringLiteral("NSimSun") << QStringLiteral("SimSun");
  list << QStringLiteral("WenQuanYi Micro Hei") << QStringLiteral("Noto Sans CJK SC");
  return list;
}

QColor Mix(const QColor& a, const QColor& b, double t) {
  auto ch = [t](int x, int y) { return static_cast<int>(x + (y - x) * t + 0.5); };
  return QColor(ch(a.red(), b.red()), ch(a.green(), b.green()), ch(a.blue(), b.blue()));
}

// Shading ring `i` of a frame `width` rings wide: outer colour at the
// border, middle colour half-way, inner colour at the innermost ring.
QColor FrameRing(const GradientFrame& f, int i) {
  if (f.width <= 1) return ToQColor(f.outer);
  const double t = static_cast<double>(i) / (f.width - 1);
  if (t <= 0.5) return Mix(ToQColor(f.outer), ToQColor(f.middle), t * 2);
  return Mix(ToQColor(f.middle), ToQColor(f.inner), (t - 0.5) * 2);
}

}  // namespace

QFont MakeFont(const Font& font, const QFont& base) {
  QFont f = base;
  if (font.family) f.setFamilies(FamiliesFor(font.family));
  if (font.pixelSize > 0) f.setPixelSize(font.pixelSize);
  if (font.weight > 0) f.setWeight(static_cast<QFont::Weight>(font.weight));
  return f;
}

void TkLabel::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QRect all = rect();
  if (!transparent) p.fillRect(all, background.value_or(palette().color(QPalette::Window)));
  for (int i = 0; i < frame.width; ++i) {
    p.setPen(FrameRing(frame, i));
    p.drawRect(all.adjusted(i, i, -i - 1, -i - 1));
  }
  const QRect r = all.adjusted(frame.width, frame.width, -frame.width, -frame.width);
  if (r.width() <= 0 || r.height() <= 0) return;

  // Lines: the caption's own line breaks, then word wrap within the width.
  QString shown = text();
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  shown.replace(QChar('\r'), QChar('\n'));
  std::vector<QString> lines;
  for (const QString& para : shown.split(QChar('\n'))) {
    if (!wordWrap || para.isEmpty()) {
      lines.push_back(para);
      continue;
    }
    QTextLayout layout(para, font());
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
      line.setLineWidth(r.width());
      QString piece = para.mid(line.textStart(), line.textLength());
      if (line.textStart() + line.textLength() < para.size()) {
        while (!piece.isEmpty() && piece.back().isSpace()) piece.chop(1);
      }
      lines.push_back(piece);
    }
    layout.endLayout();
  }

  // Lines are as tall as the font asks, but several lines close up towards
  // the font's pixel size before they would run out of the label: the
  // calculator's three display lines must fit its 36 inner pixels whatever
  // the font's leading.
  const QFontMetrics fm(font());
  const int n = static_cast<int>(lines.size());
  int pitch = fm.lineSpacing();
  if (n > 1 && n * pitch > r.height()) {
    pitch = std::max(r.height() / n, std::min(pitch, QFontInfo(font()).pixelSize()));
  }
  int y = r.top();
  if (vcenter && n == 1) y = r.top() + (r.height() - pitch) / 2;

  p.setClipRect(r);
  p.setFont(font());
  const QColor ink = isEnabled() ? textColour.value_or(palette().color(QPalette::WindowText))
                                 : palette().color(QPalette::Disabled, QPalette::WindowText);
  const int flags = static_cast<int>(hAlign) | Qt::AlignVCenter | Qt::TextSingleLine;
  for (const QString& line : lines) {
    const QRect lineRect(r.left(), y, r.width(), pitch);
    if (raised) {
      p.setPen(Qt::white);
      p.drawText(lineRect.translated(1, 1), flags, line);
    }
    p.setPen(ink);
    p.drawText(lineRect, flags, line);
    y += pitch;
  }
}

bool TkColourButton::event(QEvent* e) {
  switch (e->type()) {
    case QEvent::Enter:
    case QEvent::HoverEnter:
      hovered_ = true;
      update();
      break;
    case QEvent::Leave:
    case QEvent::HoverLeave:
      hovered_ = false;
      update();
      break;
    default:
      break;
  }
  return QPushButton::event(e);
}

void TkColourButton::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QRect r = rect();
  const bool down = isDown();
  QColor ink = textColour.value_or(QColor(0, 0, 0));
  if (hovered_ && hoverTextColour) ink = *hoverTextColour;
  if (!isEnabled()) ink = palette().color(QPalette::Disabled, QPalette::ButtonText);

  if (!linkStyle) {
    QColor fill = background.value_or(palette().color(QPalette::Button));
    if (hovered_ && hoverBackground) fill = *hoverBackground;
    if (down) fill = fill.darker(108);
    p.fillRect(r, fill);
    p.setPen(down ? QColor(96, 96, 96) : QColor(150, 150, 150));
    p.drawRect(r.adjusted(0, 0, -1, -1));
  }
  p.setPen(ink);
  p.setFont(font());
  const QRect textRect = down && !linkStyle ? r.translated(1, 1) : r;
  p.drawText(textRect, Qt::AlignCenter | Qt::TextSingleLine, text());
}

void TkProgressBar::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QRect r = rect();
  p.fillRect(r, palette().color(QPalette::Base));
  p.setPen(QColor(160, 160, 160));
  p.drawRect(r.adjusted(0, 0, -1, -1));

  const QRect inner = r.adjusted(2, 2, -2, -2);
  const int span = maximum() - minimum();
  if (span <= 0 || inner.width() <= 0) return;
  const int filled = static_cast<int>(static_cast<long long>(inner.width()) *
                                      (value() - minimum()) / span);
  // Separate blocks, as the classic segmented bar draws them.
  const int block = std::max(4, inner.height() * 2 / 3);
  const int gap = 2;
  const QColor green(6, 176, 37);
  for (int x = 0; x < filled; x += block + gap) {
    const int w = std::min(block, filled - x);
    p.fillRect(QRect(inner.left() + x, inner.top(), w, inner.height()), green);
  }
}

void TkHyperlink::mousePressEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton) pressed_ = true;
  QLabel::mousePressEvent(e);
}

void TkHyperlink::mouseReleaseEvent(QMouseEvent* e) {
  const bool click = pressed_ && e->button() == Qt::LeftButton && rect().contains(e->position().toPoint());
  pressed_ = false;
  QLabel::mouseReleaseEvent(e);
  if (click && onClick) onClick();
}

bool GbkInputValidator::Allowed(char32_t ch) const {
  if (ch < 0x20 || ch == 0x7F) return true;  // control characters always pass
  const bool digit = ch >= '0' && ch <= '9';
  switch (mode_) {
    case Input::Integer:
      return digit || ch == '-';
    case Input::Decimal:
      return digit || ch == '-' || ch == '.';
    default:
      return true;
  }
}

QValidator::State GbkInputValidator::validate(QString& input, int& pos) const {
  if (bypass_) {
    last_ = input;
    return Acceptable;
  }
  // The inserted stretch: what the new text has between the parts it shares
  // with the text accepted last.
  const QString& old = last_;
  qsizetype prefix = 0;
  const qsizetype common = std::min(old.size(), input.size());
  while (prefix < common && old[prefix] == input[prefix]) ++prefix;
  qsizetype suffix = 0;
  while (suffix < common - prefix &&
         old[old.size() - 1 - suffix] == input[input.size() - 1 - suffix]) {
    ++suffix;
  }
  // Never split a surrogate pair at the edges of the stretch.
  if (prefix > 0 && input[prefix - 1].isHighSurrogate()) --prefix;
  if (suffix > 0 && input[input.size() - suffix].isLowSurrogate()) --suffix;

  const QString inserted = input.mid(prefix, input.size() - prefix - suffix);
  if (inserted.isEmpty()) {
    last_ = input;
    return Acceptable;
  }
  const QString head = input.left(prefix);
  const QString tail = input.right(suffix);
  int room = maxBytes_ > 0 ? maxBytes_ - GbkByteCount(head + tail) : -1;

  QString kept;
  const QList<uint> points = inserted.toUcs4();
  for (uint cp : points) {
    const char32_t ch = static_cast<char32_t>(cp);
    if (!Allowed(ch)) continue;
    const QString piece = QString::fromUcs4(&ch, 1);
    if (maxBytes_ > 0) {
      const int bytes = GbkByteCount(piece);
      if (bytes > room) break;  // the rest of the insertion does not fit
      room -= bytes;
    }
    kept += piece;
  }
  input = head + kept + tail;
  pos = static_cast<int>(prefix + kept.size());
  last_ = input;
  return Acceptable;
}

}  // namespace tk::detail
