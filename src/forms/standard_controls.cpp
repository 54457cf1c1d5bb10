#include "forms/standard_controls.h"

#include <algorithm>

#include "forms/form.h"

namespace quelo::forms {
namespace {
const std::string kEmpty;
}

// ---- TextBox

void TextBox::setText(std::string t) {
  if (maxLength_ > 0 && static_cast<int32_t>(t.size()) > maxLength_)
    t.resize(static_cast<size_t>(maxLength_));
  if (t == text_) return;
  text_ = std::move(t);
  selStart_ = static_cast<int32_t>(text_.size());
  selLength_ = 0;
  changed(Property::Text);
  fire(onChange);
}

void TextBox::setSelStart(int32_t s) {
  selStart_ = std::clamp<int32_t>(s, 0, static_cast<int32_t>(text_.size()));
  selLength_ = 0;
  changed(Property::Selection);
}

void TextBox::setSelLength(int32_t n) {
  selLength_ = std::clamp<int32_t>(n, 0, static_cast<int32_t>(text_.size()) - selStart_);
  changed(Property::Selection);
}

std::string TextBox::selText() const {
  return text_.substr(static_cast<size_t>(selStart_), static_cast<size_t>(selLength_));
}

// ---- CheckBox, OptionButton

void CheckBox::setValue(int v) {
  if (v == value_) return;
  value_ = v;
  changed(Property::Value);
  fire(onClick);
}

void OptionButton::setValue(bool on) {
  if (on == value_) return;
  value_ = on;
  changed(Property::Value);
  if (!on) return;
  for (FormControl* c : form().controls()) {
    auto* other = dynamic_cast<OptionButton*>(c);
    if (other && other != this && other->container() == container()) other->setValue(false);
  }
  fire(onClick);
}

// ---- ListControl, ComboBox

const std::string& ListControl::list(int32_t i) const {
  return i >= 0 && i < listCount() ? items_[static_cast<size_t>(i)].text : kEmpty;
}

void ListControl::addItem(std::string text, int32_t index) {
  const int32_t at = index < 0 || index > listCount() ? listCount() : index;
  items_.insert(items_.begin() + at, Item{std::move(text)});
  if (listIndex_ >= at) ++listIndex_;
  newIndex_ = at;
  changed(Property::List);
}

void ListControl::removeItem(int32_t i) {
  if (i < 0 || i >= listCount()) return;
  items_.erase(items_.begin() + i);
  if (listIndex_ == i)
    listIndex_ = -1;
  else if (listIndex_ > i)
    --listIndex_;
  changed(Property::List);
}

void ListControl::clear() {
  items_.clear();
  listIndex_ = -1;
  changed(Property::List);
}

int32_t ListControl::itemData(int32_t i) const {
  return i >= 0 && i < listCount() ? items_[static_cast<size_t>(i)].data : 0;
}

void ListControl::setItemData(int32_t i, int32_t data) {
  if (i >= 0 && i < listCount()) items_[static_cast<size_t>(i)].data = data;
}

void ListControl::setListIndex(int32_t i) {
  if (i < -1 || i >= listCount() || i == listIndex_) return;
  listIndex_ = i;
  if (!multiSelect_)
    for (size_t k = 0; k < items_.size(); ++k) items_[k].selected = static_cast<int32_t>(k) == i;
  changed(Property::ListIndex);
  fire(onClick);
}

bool ListControl::selected(int32_t i) const {
  return i >= 0 && i < listCount() && items_[static_cast<size_t>(i)].selected;
}

void ListControl::setSelected(int32_t i, bool on) {
  if (i < 0 || i >= listCount()) return;
  if (!multiSelect_ && on) {
    setListIndex(i);
    return;
  }
  items_[static_cast<size_t>(i)].selected = on;
  changed(Property::Selected);
}

void ComboBox::setText(std::string t) {
  if (t == text_) return;
  text_ = std::move(t);
  changed(Property::Text);
  fire(onChange);
}

void ComboBox::setListIndex(int32_t i) {
  if (i >= 0 && i < listCount()) {
    text_ = list(i);
    changed(Property::Text);
  }
  ListControl::setListIndex(i);
}

// ---- CommandButton, DatePicker

void CommandButton::press() {
  if (enabled() && visible()) click();
}

void DatePicker::setValue(Date d) {
  if (d == value_) return;
  value_ = d;
  changed(Property::Value);
  fire(onChange);
}

// ---- DataGrid

void DataGrid::setSize(int32_t rows, int32_t cols) {
  rows = std::max(rows, 0);
  cols = std::max(cols, 0);
  std::vector<Cell> next(static_cast<size_t>(rows) * static_cast<size_t>(cols));
  for (int32_t r = 0; r < std::min(rows, rows_); ++r)
    for (int32_t c = 0; c < std::min(cols, cols_); ++c)
      next[static_cast<size_t>(r) * cols + c] =
          std::move(cells_[static_cast<size_t>(r) * cols_ + c]);
  cells_ = std::move(next);
  rows_ = rows;
  cols_ = cols;
  rowHeights_.resize(static_cast<size_t>(rows), 240);
  colWidths_.resize(static_cast<size_t>(cols), 960);
  changed(Property::Size);
}

const std::string& DataGrid::textMatrix(int32_t row, int32_t col) const {
  return inside(row, col) ? cells_[static_cast<size_t>(row) * cols_ + col].text : kEmpty;
}

void DataGrid::setTextMatrix(int32_t row, int32_t col, std::string text) {
  if (!inside(row, col)) return;
  cells_[static_cast<size_t>(row) * cols_ + col].text = std::move(text);
  changed(Property::TextMatrix);
}

const std::string& DataGrid::cellPicture(int32_t row, int32_t col) const {
  return inside(row, col) ? cells_[static_cast<size_t>(row) * cols_ + col].picture : kEmpty;
}

void DataGrid::setCellPicture(int32_t row, int32_t col, std::string path) {
  if (!inside(row, col)) return;
  cells_[static_cast<size_t>(row) * cols_ + col].picture = std::move(path);
  changed(Property::CellPicture);
}

int32_t DataGrid::rowHeight(int32_t row) const {
  return row >= 0 && row < rows_ ? rowHeights_[static_cast<size_t>(row)] : 0;
}

void DataGrid::setRowHeight(int32_t row, int32_t twips) {
  if (row >= 0 && row < rows_) rowHeights_[static_cast<size_t>(row)] = twips;
}

int32_t DataGrid::colWidth(int32_t col) const {
  return col >= 0 && col < cols_ ? colWidths_[static_cast<size_t>(col)] : 0;
}

void DataGrid::setColWidth(int32_t col, int32_t twips) {
  if (col >= 0 && col < cols_) colWidths_[static_cast<size_t>(col)] = twips;
}

void DataGrid::clear() {
  for (Cell& c : cells_) c = Cell{};
  changed(Property::TextMatrix);
}

}  // namespace quelo::forms
