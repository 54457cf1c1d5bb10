// DataGrid: a QTableWidget of text cells, a cell's picture drawn beside its text, fixed rows and
// columns shaded as headings. A grid is filled cell by cell, so the widget is redrawn once when
// the filling is over (on the next turn of the event loop), not after every cell.
#include <QHeaderView>
#include <QTableWidget>
#include <QTimer>

#include "platform/forms/standard_controls.h"
#include "qt/binders/binders.h"
#include "qt/qt_text.h"

namespace quelo::qt {
namespace {

class DataGridBinder : public ControlBinder {
 public:
  DataGridBinder(forms::Control& m, QWidget* parent) : ControlBinder(m, new QTableWidget(parent)) {
    auto* table = widgetAs<QTableWidget>();
    table->horizontalHeader()->hide();
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setIconSize(QSize(96, 96));
    connect(table, &QTableWidget::cellClicked, this, [this] {
      if (!writing() && model()) model()->click();
    });
    connect(table, &QTableWidget::cellDoubleClicked, this, [this] {
      if (!writing() && model()) model()->dblClick();
    });
  }

 protected:
  void update(std::string_view p) override {
    ControlBinder::update(p);
    if (p.empty()) {
      fill();
    } else if (p == "Size" || p == "TextMatrix" || p == "CellPicture") {
      if (pending_) return;
      pending_ = true;
      QTimer::singleShot(0, this, [this] {
        pending_ = false;
        if (model() && widget()) fill();
      });
    }
  }

 private:
  void fill() {
    auto* m = modelAs<forms::DataGrid>();
    auto* table = widgetAs<QTableWidget>();
    Writing guard(*this);
    table->setRowCount(m->rows());
    table->setColumnCount(m->cols());
    for (int32_t r = 0; r < m->rows(); ++r) {
      table->setRowHeight(r, twipsToPixels(m->rowHeight(r), table));
      for (int32_t c = 0; c < m->cols(); ++c) table->setItem(r, c, cell(*m, r, c));
    }
    for (int32_t c = 0; c < m->cols(); ++c) table->setColumnWidth(c, twipsToPixels(m->colWidth(c), table));
  }

  QTableWidgetItem* cell(const forms::DataGrid& m, int32_t r, int32_t c) const {
    auto* item = new QTableWidgetItem(qs(m.textMatrix(r, c)));
    if (!m.cellPicture(r, c).empty()) item->setIcon(QIcon(QPixmap(qs(m.cellPicture(r, c)))));
    if (r < m.fixedRows() || c < m.fixedCols()) {
      item->setBackground(widget()->palette().button());
      QFont bold = item->font();
      bold.setBold(true);
      item->setFont(bold);
    }
    return item;
  }

  bool pending_ = false;
};

}  // namespace

std::unique_ptr<ControlBinder> bindDataGrid(forms::Control& model, QWidget* parent) {
  return std::make_unique<DataGridBinder>(model, parent);
}

}  // namespace quelo::qt
