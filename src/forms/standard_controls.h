// The standard controls that the system's forms are made of, as models.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "automation/variant.h"
#include "forms/control.h"

namespace quelo::forms {

class Label : public FormControl {
 public:
  Label(Form& f, std::string name, int index)
      : FormControl(f, ControlKind::Label, std::move(name), index) {}
  const std::string& caption() const { return caption_; }
  void setCaption(std::string c) { assign(caption_, std::move(c), Property::Caption); }
  // 0 flat, 1 three-dimensional.
  int appearance() const { return appearance_; }
  void setAppearance(int a) { assign(appearance_, a, Property::Appearance); }

 private:
  std::string caption_;
  int appearance_ = 0;
};

class TextBox : public FormControl {
 public:
  TextBox(Form& f, std::string name, int index)
      : FormControl(f, ControlKind::TextBox, std::move(name), index) {}
  const std::string& text() const { return text_; }
  // Fires Change when the text differs; the caret goes to the end.
  void setText(std::string t);
  bool locked() const { return locked_; }
  void setLocked(bool on) { assign(locked_, on, Property::Locked); }
  bool multiLine() const { return multiLine_; }
  void setMultiLine(bool on) { multiLine_ = on; }
  int32_t maxLength() const { return maxLength_; }  // 0: no limit
  void setMaxLength(int32_t n) { maxLength_ = n; }
  // Selection in bytes of the UTF-8 text, clamped to it.
  int32_t selStart() const { return selStart_; }
  void setSelStart(int32_t s);
  int32_t selLength() const { return selLength_; }
  void setSelLength(int32_t n);
  std::string selText() const;

 private:
  std::string text_;
  bool locked_ = false, multiLine_ = false;
  int32_t maxLength_ = 0, selStart_ = 0, selLength_ = 0;
};

class CheckBox : public FormControl {
 public:
  CheckBox(Form& f, std::string name, int index)
      : FormControl(f, ControlKind::CheckBox, std::move(name), index) {}
  const std::string& caption() const { return caption_; }
  void setCaption(std::string c) { assign(caption_, std::move(c), Property::Caption); }
  // 0 unchecked, 1 checked, 2 greyed. A change of value fires Click.
  int value() const { return value_; }
  void setValue(int v);

 private:
  std::string caption_;
  int value_ = 0;
};

class OptionButton : public FormControl {
 public:
  OptionButton(Form& f, std::string name, int index)
      : FormControl(f, ControlKind::OptionButton, std::move(name), index) {}
  const std::string& caption() const { return caption_; }
  void setCaption(std::string c) { assign(caption_, std::move(c), Property::Caption); }
  bool value() const { return value_; }
  // Setting True clears the other option buttons of the same container and fires Click.
  void setValue(bool on);

 private:
  std::string caption_;
  bool value_ = false;
};

// The items of a list or combo box with their data, the current index and (for lists) selection.
class ListControl : public FormControl {
 public:
  using FormControl::FormControl;
  int32_t listCount() const { return static_cast<int32_t>(items_.size()); }
  const std::string& list(int32_t i) const;  // empty outside the items
  // Adds at the end (index -1) or before index.
  void addItem(std::string text, int32_t index = -1);
  void removeItem(int32_t i);
  void clear();
  int32_t itemData(int32_t i) const;
  void setItemData(int32_t i, int32_t data);
  int32_t listIndex() const { return listIndex_; }
  // -1 for none; a change fires Click.
  void setListIndex(int32_t i);
  bool selected(int32_t i) const;
  void setSelected(int32_t i, bool on);
  bool multiSelect() const { return multiSelect_; }
  void setMultiSelect(bool on) { multiSelect_ = on; }
  int32_t newIndex() const { return newIndex_; }

 protected:
  struct Item {
    std::string text;
    int32_t data = 0;
    bool selected = false;
  };
  std::vector<Item> items_;
  int32_t listIndex_ = -1, newIndex_ = -1;
  bool multiSelect_ = false;
};

class ListBox : public ListControl {
 public:
  ListBox(Form& f, std::string name, int index)
      : ListControl(f, ControlKind::ListBox, std::move(name), index) {}
};

class ComboBox : public ListControl {
 public:
  ComboBox(Form& f, std::string name, int index)
      : ListControl(f, ControlKind::ComboBox, std::move(name), index) {}
  // The edit text; choosing an item sets it.
  const std::string& text() const { return text_; }
  void setText(std::string t);
  // 0 drop-down with editing, 2 drop-down list.
  int style() const { return style_; }
  void setStyle(int s) { style_ = s; }
  void setListIndex(int32_t i);

 private:
  std::string text_;
  int style_ = 0;
};

class CommandButton : public FormControl {
 public:
  CommandButton(Form& f, std::string name, int index)
      : FormControl(f, ControlKind::CommandButton, std::move(name), index) {}
  const std::string& caption() const { return caption_; }
  void setCaption(std::string c) { assign(caption_, std::move(c), Property::Caption); }
  bool isDefault() const { return default_; }
  void setDefault(bool on) { default_ = on; }
  bool isCancel() const { return cancel_; }
  void setCancel(bool on) { cancel_ = on; }
  // A user's press: clicks when the button is enabled and visible.
  void press();

 private:
  std::string caption_;
  bool default_ = false, cancel_ = false;
};

class Frame : public FormControl {
 public:
  Frame(Form& f, std::string name, int index)
      : FormControl(f, ControlKind::Frame, std::move(name), index) {}
  const std::string& caption() const { return caption_; }
  void setCaption(std::string c) { assign(caption_, std::move(c), Property::Caption); }

 private:
  std::string caption_;
};

class Image : public FormControl {
 public:
  Image(Form& f, std::string name, int index)
      : FormControl(f, ControlKind::Image, std::move(name), index) {}
  // The picture's file; empty for none.
  const std::string& picture() const { return picture_; }
  void setPicture(std::string path) { assign(picture_, std::move(path), Property::Picture); }
  bool stretch() const { return stretch_; }
  void setStretch(bool on) { assign(stretch_, on, Property::Stretch); }

 private:
  std::string picture_;
  bool stretch_ = false;
};

class DatePicker : public FormControl {
 public:
  DatePicker(Form& f, std::string name, int index)
      : FormControl(f, ControlKind::DatePicker, std::move(name), index) {}
  Date value() const { return value_; }
  void setValue(Date d);

 private:
  Date value_;
};

// A grid of text cells; a cell may also show a picture.
class DataGrid : public FormControl {
 public:
  DataGrid(Form& f, std::string name, int index)
      : FormControl(f, ControlKind::DataGrid, std::move(name), index) {}
  int32_t rows() const { return rows_; }
  int32_t cols() const { return cols_; }
  // Resizing keeps the cells that remain.
  void setSize(int32_t rows, int32_t cols);
  int32_t fixedRows() const { return fixedRows_; }
  int32_t fixedCols() const { return fixedCols_; }
  const std::string& textMatrix(int32_t row, int32_t col) const;
  void setTextMatrix(int32_t row, int32_t col, std::string text);
  const std::string& cellPicture(int32_t row, int32_t col) const;
  void setCellPicture(int32_t row, int32_t col, std::string path);
  int32_t rowHeight(int32_t row) const;
  void setRowHeight(int32_t row, int32_t twips);
  int32_t colWidth(int32_t col) const;
  void setColWidth(int32_t col, int32_t twips);
  void clear();  // all cells empty, sizes kept

 private:
  struct Cell {
    std::string text, picture;
  };
  bool inside(int32_t row, int32_t col) const {
    return row >= 0 && col >= 0 && row < rows_ && col < cols_;
  }
  int32_t rows_ = 0, cols_ = 0, fixedRows_ = 1, fixedCols_ = 0;
  std::vector<Cell> cells_;
  std::vector<int32_t> rowHeights_, colWidths_;
};

}  // namespace quelo::forms
