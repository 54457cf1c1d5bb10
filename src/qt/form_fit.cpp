#include "qt/form_fit.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStyle>
#include <algorithm>
#include <limits>

#include "qt/qt_text.h"

namespace quelo::qt {
namespace {

// The system font the twip layouts were drawn for: 6 by 13 pixels a character at 96 dots an inch.
constexpr int kDesignCharWidthTwips = 90;
constexpr int kDesignLineHeightTwips = 195;
constexpr int kTolerance = 2;    // pixels of rounding between controls designed edge to edge
constexpr int kFrameMargin = 8;  // pixels between a frame's edge and the text inside

QString withoutMnemonic(QString text) {
  text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
  text.remove(u'&');
  return text.replace(u'\x01', u'&');
}

QSize buttonNeed(const QPushButton& b) {
  const QFontMetrics fm = b.fontMetrics();
  const int frame = b.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &b);
  const int margin = b.style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, &b);
  return QSize(fm.horizontalAdvance(withoutMnemonic(b.text())) + 2 * (frame + margin),
               fm.height() + 2 * frame + 4);
}

int longestWord(const QLabel& l) {
  int longest = 0;
  for (const QString& word : l.text().split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts))
    longest = std::max(longest, l.fontMetrics().horizontalAdvance(word));
  return longest + 2 * (l.frameWidth() + l.margin());
}

QSize labelNeed(const QLabel& l) {
  if (l.text().isEmpty()) return {};
  const QFontMetrics fm = l.fontMetrics();
  // A label drawn tall enough for two lines wraps its words; any other keeps its text on its lines.
  if (l.height() >= 2 * fm.lineSpacing()) {
    const int width = std::max(l.width(), longestWord(l));
    return QSize(width, l.heightForWidth(width));
  }
  const int frame = 2 * (l.frameWidth() + l.margin());
  const QSize text = fm.size(0, l.text());
  return QSize(text.width() + frame + 1, text.height() + frame);
}

QSize frameNeed(const QGroupBox& g) {
  if (g.title().isEmpty()) return {};
  QString title = g.title();
  title.replace(QRegularExpression(QStringLiteral(" {2,}")), QStringLiteral(" "));
  return QSize(g.fontMetrics().horizontalAdvance(title) + 24, g.fontMetrics().height() + 8);
}

// How far below a frame's top its title reaches.
int titleDepth(const QGroupBox& g) {
  return g.title().isEmpty() ? 0 : g.fontMetrics().height() + 2;
}

bool isFrame(const QWidget* w) {
  return qobject_cast<const QGroupBox*>(w) != nullptr;
}

// Moves every sibling that stands wholly right of (or below) the grown control's old edge.
void growAndShift(QWidget* c, const std::vector<QWidget*>& siblings, int dw, int dh) {
  const QRect old = c->geometry();
  for (QWidget* s : siblings) {
    if (s == c) continue;
    QRect g = s->geometry();
    if (dw > 0 && g.left() >= old.right() + 1 - kTolerance) g.translate(dw, 0);
    if (dh > 0 && g.top() >= old.bottom() + 1 - kTolerance) g.translate(0, dh);
    s->setGeometry(g);
  }
  c->resize(old.width() + std::max(dw, 0), old.height() + std::max(dh, 0));
}

QRect bounds(const std::vector<QWidget*>& widgets) {
  QRect r;
  for (QWidget* w : widgets) r = r.united(w->geometry());
  return r;
}

std::vector<QWidget*> childrenOf(const QWidget* parent, const std::vector<QWidget*>& controls) {
  std::vector<QWidget*> out;
  for (QWidget* w : controls)
    if (w->parentWidget() == parent) out.push_back(w);
  return out;
}

void fitContainer(QWidget* container, const std::vector<QWidget*>& controls);

// Fits a frame's contents, keeps them below its title, and returns how much it must grow.
QSize fitFrame(QGroupBox* frame, const std::vector<QWidget*>& controls) {
  const std::vector<QWidget*> inside = childrenOf(frame, controls);
  if (inside.empty()) return {};
  const QRect before = bounds(inside);
  if (const int clash = titleDepth(*frame) + 2 - before.top(); clash > 0)
    for (QWidget* w : inside) w->move(w->x(), w->y() + clash);
  fitContainer(frame, controls);
  const QRect after = bounds(inside);
  return QSize(std::max(0, after.right() - before.right()),
               std::max(0, after.bottom() - before.bottom()));
}

// How far a label may widen: to the edge of what holds it (for the form, its widest control),
// unless a control stands beside it, which then moves on instead.
int roomBeside(const QWidget* label, const std::vector<QWidget*>& siblings) {
  int edge = qobject_cast<QGroupBox*>(label->parentWidget())
                 ? label->parentWidget()->width() - kFrameMargin
                 : 0;
  for (const QWidget* s : siblings) {
    const bool beside = s->x() >= label->geometry().right() &&
                        s->y() <= label->geometry().bottom() &&
                        s->geometry().bottom() >= label->y();
    if (s != label && beside) return std::numeric_limits<int>::max();
    edge = std::max(edge, s->geometry().right());
  }
  return edge - label->x();
}

QSize needIn(QWidget* c, const std::vector<QWidget*>& siblings) {
  const QSize need = textNeed(*c);
  auto* label = qobject_cast<QLabel*>(c);
  if (!label || need.width() <= c->width()) return need;
  const int room = roomBeside(c, siblings);
  if (need.width() <= room) return need;
  // Wraps its words within the room it has; a word longer than that widens it still.
  const int width = std::max({c->width(), room, longestWord(*label)});
  return QSize(width, label->heightForWidth(width));
}

void fitContainer(QWidget* container, const std::vector<QWidget*>& controls) {
  std::vector<QWidget*> siblings = childrenOf(container, controls);
  std::vector<QWidget*> byPlace = siblings;
  std::stable_sort(byPlace.begin(), byPlace.end(), [](QWidget* a, QWidget* b) {
    return std::pair(a->y(), a->x()) < std::pair(b->y(), b->x());
  });
  for (QWidget* c : byPlace) {
    QSize grow;
    if (auto* frame = qobject_cast<QGroupBox*>(c)) grow = fitFrame(frame, controls);
    const QSize need = needIn(c, siblings);
    grow = grow.expandedTo(QSize(need.width() - c->width(), need.height() - c->height()));
    if (grow.width() <= 0 && grow.height() <= 0) continue;
    // A hidden control (one shown in place of others for a while) grows without moving anything.
    if (c->isHidden())
      c->resize(c->size() + grow.expandedTo(QSize(0, 0)));
    else
      growAndShift(c, siblings, grow.width(), grow.height());
  }
}

}  // namespace

QSize textNeed(const QWidget& w) {
  if (auto* b = qobject_cast<const QPushButton*>(&w))
    return b->text().isEmpty() ? QSize() : buttonNeed(*b);
  if (qobject_cast<const QCheckBox*>(&w) || qobject_cast<const QRadioButton*>(&w))
    return w.sizeHint();
  if (auto* l = qobject_cast<const QLabel*>(&w)) return labelNeed(*l);
  if (auto* g = qobject_cast<const QGroupBox*>(&w)) return frameNeed(*g);
  // A date box shows its whole date; boxes the user types or picks in need a line of their text.
  if (qobject_cast<const QAbstractSpinBox*>(&w)) return w.sizeHint();
  if (qobject_cast<const QLineEdit*>(&w) || qobject_cast<const QComboBox*>(&w))
    return QSize(0, w.sizeHint().height());
  return {};
}

bool growsDown(const QWidget* w) {
  return qobject_cast<const QAbstractItemView*>(w) || qobject_cast<const QPlainTextEdit*>(w);
}

bool growsAcross(const QWidget* w) {
  return growsDown(w) || qobject_cast<const QLineEdit*>(w) || qobject_cast<const QComboBox*>(w);
}

QPointF fontScale(const QWidget& form) {
  const QFontMetrics fm = form.fontMetrics();
  return QPointF(std::max(1.0, static_cast<double>(fm.averageCharWidth()) /
                                   twipsToPixels(kDesignCharWidthTwips, &form)),
                 std::max(1.0, static_cast<double>(fm.height()) /
                                   twipsToPixels(kDesignLineHeightTwips, &form)));
}

void fitToText(QWidget& form, const std::vector<QWidget*>& controls) {
  fitContainer(&form, controls);
}

namespace {

using Items = std::vector<QWidget*>;

}  // namespace

std::vector<Items> cut(Items items, bool rows) {
  const auto start = [rows](QWidget* w) { return rows ? w->y() : w->x(); };
  const auto end = [rows](QWidget* w) {
    return rows ? w->geometry().bottom() : w->geometry().right();
  };
  std::stable_sort(items.begin(), items.end(),
                   [&](QWidget* a, QWidget* b) { return start(a) < start(b); });
  std::vector<Items> parts;
  int reach = 0;
  for (QWidget* w : items) {
    if (parts.empty() || start(w) > reach - kTolerance) parts.emplace_back();
    parts.back().push_back(w);
    reach = parts.back().size() == 1 ? end(w) : std::max(reach, end(w));
  }
  return parts;
}

namespace {

void appendInOrder(Items items, const Items& controls, Items& out, bool rows = true) {
  if (items.size() > 1) {
    std::vector<Items> parts = cut(items, rows);
    if (parts.size() == 1) parts = cut(items, !rows);
    if (parts.size() > 1) {
      for (Items& part : parts) appendInOrder(std::move(part), controls, out, rows);
      return;
    }
    std::stable_sort(items.begin(), items.end(), [](QWidget* a, QWidget* b) {
      return std::pair(a->y(), a->x()) < std::pair(b->y(), b->x());
    });
  }
  for (QWidget* w : items) {
    if (isFrame(w))
      appendInOrder(childrenOf(w, controls), controls, out);
    else
      out.push_back(w);
  }
}

}  // namespace

std::vector<QWidget*> readingOrder(QWidget& form, const std::vector<QWidget*>& controls) {
  Items out;
  appendInOrder(childrenOf(&form, controls), controls, out);
  return out;
}

}  // namespace quelo::qt
