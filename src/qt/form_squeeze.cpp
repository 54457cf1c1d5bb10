#include "qt/form_squeeze.h"

#include <QGroupBox>
#include <algorithm>
#include <climits>
#include <cmath>

#include "qt/form_fit.h"

namespace quelo::qt {
namespace {

constexpr int kLeastChars = 10;  // a list or box that narrows keeps room for as many characters
constexpr size_t kNoRow = SIZE_MAX;

bool isFrame(const QWidget* w) { return qobject_cast<const QGroupBox*>(w) != nullptr; }

QRect onForm(const QWidget* w, const QWidget& form) { return QRect(w->mapTo(&form, QPoint()), w->size()); }

// The narrowest a control may become: a frame shows its title, a box a few characters.
int least(const QWidget* w) {
  if (isFrame(w)) return textNeed(*w).width();
  return std::max(textNeed(*w).width(), kLeastChars * w->fontMetrics().averageCharWidth());
}

// `w` and, inside a frame, the controls shown in it.
void collect(QWidget* w, const std::vector<QWidget*>& controls, std::vector<QWidget*>& out) {
  out.push_back(w);
  if (!isFrame(w)) return;
  for (QWidget* c : controls)
    if (c->parentWidget() == w && !c->isHidden()) collect(c, controls, out);
}

}  // namespace

AcrossSqueeze::AcrossSqueeze(QWidget& form, const std::vector<QWidget*>& controls) : form_(&form) {
  std::vector<QWidget*> shown, hidden;
  int right = 0;
  for (QWidget* w : controls) {
    placed_[w] = {onForm(w, form), kNoRow};
    if (w->parentWidget() != &form || w->size().isEmpty()) continue;
    (w->isHidden() ? hidden : shown).push_back(w);
    if (!w->isHidden()) right = std::max(right, w->geometry().right() + 1);
  }
  std::vector<std::pair<int, int>> spans;  // each row's top and bottom
  most_ = INT_MAX;
  for (const std::vector<QWidget*>& members : cut(shown, true)) {
    std::vector<QWidget*> all;
    for (QWidget* m : members) collect(m, controls, all);
    // 1 where a box that can narrow stands, 2 where a control that cannot does.
    std::vector<char> kind(right, 0);
    Row row;
    int end = 0, top = INT_MAX, bottom = 0;
    for (QWidget* w : all) {
      const QRect g = placed_[w].first;
      if (w->parentWidget() == &form) end = std::max(end, g.right() + 1), top = std::min(top, g.top()), bottom = std::max(bottom, g.bottom());
      if (isFrame(w)) continue;
      for (int x = std::max(0, g.left()); x <= std::min(right - 1, g.right()); ++x)
        kind[x] = std::max<char>(kind[x], growsAcross(w) ? 1 : 2);
    }
    row.before.assign(right + 1, 0);
    for (int x = 0; x < right; ++x) row.before[x + 1] = row.before[x] + (kind[x] == 1);
    row.slack = right - end;
    row.share = 1;
    for (QWidget* w : all) {
      const QRect g = placed_[w].first;
      const int give = row.columnsIn(g);
      if (give > 0) row.share = std::min(row.share, std::max(0.0, double(g.width() - least(w)) / give));
      placed_[w].second = rows_.size();
    }
    most_ = std::min(most_, row.slack + int(row.share * row.before.back()));
    rows_.push_back(std::move(row));
    spans.emplace_back(top, bottom);
  }
  if (rows_.empty()) most_ = 0;
  // A control shown in place of others for a while goes with the row it stands in.
  for (QWidget* w : hidden)
    for (size_t i = 0; i < spans.size(); ++i)
      if (w->y() <= spans[i].second && w->geometry().bottom() >= spans[i].first) placed_[w].second = i;
}

int AcrossSqueeze::Row::columnsIn(const QRect& g) const {
  const auto at = [this](int x) { return before[std::clamp<size_t>(std::max(x, 0), 0, before.size() - 1)]; };
  return at(g.right() + 1) - at(g.left());
}

int AcrossSqueeze::Row::map(int x, int by) const {
  const int columns = before.back();
  const int need = std::min(by - slack, int(share * columns));
  if (need <= 0 || columns == 0) return x;
  const int squeezable = before[std::clamp<size_t>(std::max(x, 0), 0, before.size() - 1)];
  return x - int(std::lround(double(need) * squeezable / columns));
}

QRect AcrossSqueeze::place(const QWidget* w, int by) const {
  const auto it = placed_.find(w);
  if (it == placed_.end()) return {};
  const auto& [g, row] = it->second;
  if (row == kNoRow) return g;
  const int left = rows_[row].map(g.left(), by);
  return QRect(left, g.y(), rows_[row].map(g.right() + 1, by) - left, g.height());
}

QRect AcrossSqueeze::across(const QWidget* w, QRect r, int by) const {
  if (by <= 0 || !placed_.count(w)) return r;
  const QRect g = place(w, by);
  return QRect(g.x(), r.y(), g.width(), r.height());
}

void AcrossSqueeze::layInside(int by) const {
  for (const auto& [w, at] : placed_) {
    QWidget* frame = w->parentWidget();
    if (frame == form_ || at.second == kNoRow || !placed_.count(frame)) continue;
    const QRect g = place(w, by), holder = place(frame, by);
    w->setGeometry(g.x() - holder.x(), w->y(), g.width(), w->height());
  }
}

}  // namespace quelo::qt
