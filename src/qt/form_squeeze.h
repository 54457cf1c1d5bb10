// AcrossSqueeze: lets a form give way across when its window is narrower than its design. The
// form's controls are cut into rows where no control crosses between them; in each row, the
// columns where only lists, grids and one-line boxes stand (inside frames too) narrow, every other
// control keeps its width and moves left with them. A list or box keeps a few characters, a
// frame its title; a row narrower than the widest one gives way only once the form is narrower
// than that row.
#pragma once

#include <QRect>
#include <QWidget>
#include <map>
#include <vector>

namespace quelo::qt {

class AcrossSqueeze {
 public:
  AcrossSqueeze() = default;
  // Takes the controls' places as they stand now (fitted to the font, at the design's width).
  AcrossSqueeze(QWidget& form, const std::vector<QWidget*>& controls);
  // How many pixels narrower than its design the form can become.
  int most() const { return most_; }
  // Where `w` (one of the form's own controls) stands `by` pixels narrower than the design,
  // given where it stands down (`r`).
  QRect across(const QWidget* w, QRect r, int by) const;
  // Lays out the controls inside frames `by` pixels narrower than the design (0: as designed).
  void layInside(int by) const;

 private:
  struct Row {
    std::vector<int> before;  // squeezable pixel columns left of each column of the form
    int slack = 0;            // how far short of the widest row it ends
    double share = 0;         // the largest share of its squeezable columns it may give up
    int columnsIn(const QRect& g) const;  // squeezable columns under `g`
    int map(int x, int by) const;          // where column x goes, `by` pixels narrower
  };
  // Where `w` stands on the form, across, `by` pixels narrower.
  QRect place(const QWidget* w, int by) const;

  QWidget* form_ = nullptr;

  std::vector<Row> rows_;
  std::map<QWidget*, std::pair<QRect, size_t>, std::less<>> placed_;  // form coordinates, row
  int most_ = 0;
};

}  // namespace quelo::qt
