// DataGrid: a QTableWidget of text cells, one line each, fixed rows and columns shaded as headings;
// the first fixed row is the column header, whose edges the user drags to resize a column. A column
// is as wide as the model says, or as its text needs up to a limit. A cell's picture is drawn in
// the cell (the model sizes its row and column to the picture), shrunk with its proportions kept
// when the cell is smaller. A grid is filled cell by cell, so the widget is redrawn once when
// the filling is over (on the next turn of the event loop), not after every cell.
#include <QHeaderView>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QTimer>
#include <map>

#include "forms/standard_controls.h"
#include "qt/binders/binders.h"
#include "qt/qt_text.h"

namespace quelo::qt {
namespace {

constexpr int kPictureRole = Qt::UserRole + 1;
constexpr int kWidestColumnChars = 40;

// Draws a cell as usual, then its picture over it, centred.
class CellPictureDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    QStyledItemDelegate::paint(painter, option, index);
    const auto picture = index.data(kPictureRole).value<QPixmap>();
    if (picture.isNull()) return;
    QSize size = picture.size();
    if (size.width() > option.rect.width() || size.height() > option.rect.height())
      size.scale(option.rect.size(), Qt::KeepAspectRatio);
    QRect target(QPoint(), size);
    target.moveCenter(option.rect.center());
    painter->save();
    painter->setRenderHint(QPainter::SmoothPixmapTransform);
    painter->drawPixmap(target, picture);
    painter->restore();
  }
};

class DataGridBinder : public ControlBinder {
 public:
  DataGridBinder(forms::FormControl& m, QWidget* parent)
      : ControlBinder(m, new QTableWidget(parent)) {
    auto* table = widgetAs<QTableWidget>();
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    table->horizontalHeader()->setHighlightSections(false);
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setWordWrap(false);          // a row is one line of text, as its height was made for
    table->setTabKeyNavigation(false);  // Tab moves on to the next control, as everywhere on a form
    table->setItemDelegate(new CellPictureDelegate(table));
    connect(table, &QTableWidget::cellClicked, this, [this] {
      if (!writing() && model()) model()->click();
    });
    connect(table, &QTableWidget::cellDoubleClicked, this, [this] {
      if (!writing() && model()) model()->dblClick();
    });
  }

 protected:
  void update(std::optional<P> p) override {
    ControlBinder::update(p);
    if (!p) {
      fill();
    } else if (p == P::Size || p == P::TextMatrix || p == P::CellPicture) {
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
    pictures_.clear();
    table->setRowCount(m->rows());
    table->setColumnCount(m->cols());
    for (int32_t r = 0; r < m->rows(); ++r) {
      table->setRowHeight(r, twipsToPixels(m->rowHeight(r), table));
      for (int32_t c = 0; c < m->cols(); ++c) table->setItem(r, c, cell(*m, r, c));
    }
    showHeader(*m);
    for (int32_t c = 0; c < m->cols(); ++c) table->setColumnWidth(c, columnWidth(*m, c));
    pictures_.clear();
  }

  void showHeader(const forms::DataGrid& m) {
    auto* table = widgetAs<QTableWidget>();
    const bool header = m.fixedRows() > 0 && m.rows() > 0;
    table->horizontalHeader()->setVisible(header);
    if (m.rows() > 0) table->setRowHidden(0, header);
    if (!header) return;
    QStringList titles;
    for (int32_t c = 0; c < m.cols(); ++c) titles << qs(m.textMatrix(0, c));
    table->setHorizontalHeaderLabels(titles);
  }

  // Text columns fit their widest value, within a limit; picture columns keep the model's size,
  // or the room their heading needs when that is more.
  int columnWidth(const forms::DataGrid& m, int32_t c) const {
    auto* table = widgetAs<QTableWidget>();
    const int designed = twipsToPixels(m.colWidth(c), table);
    const int heading =
        table->horizontalHeader()->isHidden() ? 0 : table->horizontalHeader()->sectionSizeHint(c);
    for (int32_t r = 0; r < m.rows(); ++r)
      if (!m.cellPicture(r, c).empty()) return std::max(designed, heading);
    const int content =
        std::max(static_cast<const QAbstractItemView*>(table)->sizeHintForColumn(c), heading);
    return std::max(
        designed, std::min(content, kWidestColumnChars * table->fontMetrics().averageCharWidth()));
  }

  QTableWidgetItem* cell(const forms::DataGrid& m, int32_t r, int32_t c) {
    auto* item = new QTableWidgetItem(qs(m.textMatrix(r, c)));
    if (const std::string& path = m.cellPicture(r, c); !path.empty())
      item->setData(kPictureRole, picture(path));
    if (r < m.fixedRows() || c < m.fixedCols()) {
      item->setBackground(widget()->palette().button());
      QFont bold = item->font();
      bold.setBold(true);
      item->setFont(bold);
    }
    return item;
  }

  // Each picture file is read once per filling, however many cells show it.
  QPixmap picture(const std::string& path) {
    auto [it, fresh] = pictures_.try_emplace(path);
    if (fresh) it->second = QPixmap(qs(path));
    return it->second;
  }

  bool pending_ = false;
  std::map<std::string, QPixmap> pictures_;
};

}  // namespace

std::unique_ptr<ControlBinder> bindDataGrid(forms::FormControl& model, QWidget* parent) {
  return std::make_unique<DataGridBinder>(model, parent);
}

}  // namespace quelo::qt
