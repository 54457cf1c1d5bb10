// FormControl: the model of one standard control on a form (state, events, change notification).
// Views bind to models and own no state; handlers run the same whether a user or code acts.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace quelo::forms {

class Form;

enum class ControlKind {
  Label,
  TextBox,
  CheckBox,
  OptionButton,
  ListBox,
  ComboBox,
  CommandButton,
  Frame,
  Image,
  DatePicker,
  DataGrid,
  DriveListBox,
  DirListBox,
  FileListBox
};

// The properties whose changes a control announces to its views.
enum class Property {
  Enabled,
  Visible,
  ToolTipText,
  FontName,
  Bounds,
  Caption,
  Appearance,
  Text,
  Locked,
  Selection,
  Value,
  List,
  ListIndex,
  Selected,
  Picture,
  Stretch,
  Size,
  TextMatrix,
  CellPicture,
  Drive,
  Path
};

// Key codes and shift bits with their classic values.
namespace key {
inline constexpr int kReturn = 13;
inline constexpr int kEscape = 27;
inline constexpr int kDelete = 46;
inline constexpr int kF1 = 112;
inline constexpr int kF3 = 114;
inline constexpr int kShiftMask = 1;
inline constexpr int kCtrlMask = 2;
inline constexpr int kAltMask = 4;
}  // namespace key

class FormControl {
 public:
  using ChangeListener = std::function<void(FormControl&, Property)>;

  FormControl(Form& form, ControlKind kind, std::string name, int index);
  virtual ~FormControl() = default;
  FormControl(const FormControl&) = delete;
  FormControl& operator=(const FormControl&) = delete;

  ControlKind kind() const { return kind_; }
  const std::string& name() const { return name_; }
  int index() const { return index_; }  // -1 outside a control array
  Form& form() const { return form_; }

  bool enabled() const { return enabled_; }
  void setEnabled(bool on) { assign(enabled_, on, Property::Enabled); }
  bool visible() const { return visible_; }
  void setVisible(bool on) { assign(visible_, on, Property::Visible); }
  const std::string& toolTipText() const { return toolTip_; }
  void setToolTipText(std::string t) { assign(toolTip_, std::move(t), Property::ToolTipText); }
  const std::string& container() const { return container_; }  // the frame that holds it
  void setContainer(std::string frame) { container_ = std::move(frame); }
  const std::string& fontName() const { return fontName_; }
  void setFontName(std::string f) { assign(fontName_, std::move(f), Property::FontName); }
  struct Rect {
    int32_t left = 0, top = 0, width = 0, height = 0;
    bool operator==(const Rect&) const = default;
  };
  const Rect& bounds() const { return bounds_; }  // twips
  void setBounds(Rect r) { assign(bounds_, r, Property::Bounds); }

  // Gives this control the focus: the form's previous one loses it.
  void setFocus();
  bool hasFocus() const;

  // Events, run by user action or by code.
  std::function<void()> onClick, onDblClick, onChange, onGotFocus, onLostFocus;
  std::function<void(int&keyCode, int shift)> onKeyDown, onKeyUp;
  std::function<void(int& keyAscii)> onKeyPress;
  // Runs before the control loses the focus; a handler that cancels keeps the focus here.
  std::function<void(bool& cancel)> onValidate;

  void click() { fire(onClick); }
  void dblClick() { fire(onDblClick); }
  // A key typed into the control: the form sees it first when its key preview is on.
  void keyDown(int& keyCode, int shift);
  void keyPress(int& keyAscii);

  void addChangeListener(ChangeListener l) { listeners_.push_back(std::move(l)); }

 protected:
  template <class T>
  void assign(T& field, T value, Property property) {
    if (field == value) return;
    field = std::move(value);
    changed(property);
  }
  void changed(Property property);
  static void fire(const std::function<void()>& handler) {
    if (handler) handler();
  }

 private:
  Form& form_;
  ControlKind kind_;
  std::string name_;
  int index_;
  bool enabled_ = true, visible_ = true;
  std::string toolTip_, container_, fontName_;
  Rect bounds_;
  std::vector<ChangeListener> listeners_;
};

}  // namespace quelo::forms
