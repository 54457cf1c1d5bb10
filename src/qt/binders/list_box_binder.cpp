// ListBox and FileListBox: a QListWidget. Choosing an entry sets the model's ListIndex (which
// fires Click); with multiple selection every entry's Selected follows the widget. A folder list
// is the same widget, where opening an entry (double click or Enter) moves into that folder.
#include <QListWidget>
#include <QPainter>
#include <QStyleOptionFocusRect>

#include "forms/file_lists.h"
#include "qt/binders/binders.h"
#include "qt/qt_text.h"

namespace quelo::qt {
namespace {

// A list that shows it has the focus when it holds no entry to draw the focus round.
class ListWidget : public QListWidget {
 public:
  using QListWidget::QListWidget;

 protected:
  void paintEvent(QPaintEvent* event) override {
    QListWidget::paintEvent(event);
    if (count() > 0 || !hasFocus()) return;
    QPainter painter(viewport());
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.rect = viewport()->rect().adjusted(1, 1, -1, -1);
    option.backgroundColor = palette().color(QPalette::Base);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
  }
  void focusInEvent(QFocusEvent* event) override {
    QListWidget::focusInEvent(event);
    viewport()->update();
  }
  void focusOutEvent(QFocusEvent* event) override {
    QListWidget::focusOutEvent(event);
    viewport()->update();
  }
};

class ListBoxBinder : public ControlBinder {
 public:
  ListBoxBinder(forms::FormControl& m, QWidget* parent) : ControlBinder(m, new ListWidget(parent)) {
    auto* list = widgetAs<QListWidget>();
    connect(list, &QListWidget::currentRowChanged, this, [this](int row) { userRow(row); });
    connect(list, &QListWidget::itemSelectionChanged, this, [this] { userSelection(); });
    connect(list, &QListWidget::itemDoubleClicked, this, [this] {
      if (!writing() && model()) model()->dblClick();
    });
  }

 protected:
  void update(std::optional<P> p) override {
    ControlBinder::update(p);
    auto* m = modelAs<forms::ListControl>();
    auto* list = widgetAs<QListWidget>();
    Writing guard(*this);
    if (!p)
      list->setSelectionMode(m->multiSelect() ? QAbstractItemView::MultiSelection
                                              : QAbstractItemView::SingleSelection);
    if (is(p, P::List)) {
      list->clear();
      for (int32_t i = 0; i < m->listCount(); ++i) list->addItem(qs(m->list(i)));
    }
    if (is(p, P::List) || is(p, P::ListIndex) || is(p, P::Selected)) {
      for (int32_t i = 0; i < m->listCount(); ++i) list->item(i)->setSelected(m->selected(i));
      list->setCurrentRow(m->listIndex(), m->multiSelect() ? QItemSelectionModel::NoUpdate
                                                           : QItemSelectionModel::ClearAndSelect);
      if (m->listIndex() < 0)
        list->clearSelection();
      else
        list->scrollToItem(list->item(m->listIndex()));
    }
  }

 private:
  void userRow(int row) {
    if (writing() || !model()) return;
    {
      Writing guard(*this);
      modelAs<forms::ListControl>()->setListIndex(row);
    }
    if (model()) update(P::ListIndex);
  }

  void userSelection() {
    if (writing() || !model() || !modelAs<forms::ListControl>()->multiSelect()) return;
    auto* list = widgetAs<QListWidget>();
    for (int i = 0; i < list->count() && model(); ++i) {
      auto* m = modelAs<forms::ListControl>();
      if (m->selected(i) == list->item(i)->isSelected()) continue;
      Writing guard(*this);
      m->setSelected(i, list->item(i)->isSelected());
    }
  }
};

class DirListBinder : public ListBoxBinder {
 public:
  DirListBinder(forms::FormControl& m, QWidget* parent) : ListBoxBinder(m, parent) {
    connect(widgetAs<QListWidget>(), &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) {
              if (!model()) return;
              modelAs<forms::DirListBox>()->open(widgetAs<QListWidget>()->row(item));
            });
  }
};

}  // namespace

std::unique_ptr<ControlBinder> bindListBox(forms::FormControl& model, QWidget* parent) {
  return std::make_unique<ListBoxBinder>(model, parent);
}

std::unique_ptr<ControlBinder> bindDirList(forms::FormControl& model, QWidget* parent) {
  return std::make_unique<DirListBinder>(model, parent);
}

}  // namespace quelo::qt
