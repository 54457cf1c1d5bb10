#include "platform/forms/form.h"

#include <gtest/gtest.h>

#include "platform/forms/form_presenter.h"

namespace quelo::forms {
namespace {

class SampleForm : public Form {
 public:
  explicit SampleForm(FormPresenter& p) : Form("SampleForm", p) {}
  int loads = 0, activations = 0;
  bool refuseUnload = false;

 protected:
  void build() override {
    add<TextBox>("txtName").setText("design");
    add<Frame>("Frame1");
    add<OptionButton>("Opt", 0).setContainer("Frame1");
    add<OptionButton>("Opt", 1).setContainer("Frame1");
    add<OptionButton>("optOther");
    add<CommandButton>("cmdGo");
  }
  void formLoad() override {
    ++loads;
    get<TextBox>("txtName").setText("loaded");  // touching a control while loading must not load again
  }
  void formActivate() override { ++activations; }
  void formUnload(int& cancel) override { cancel = refuseUnload; }
};

TEST(Form, FirstTouchLoadsAndUnloadRestoresDesignValues) {
  HeadlessPresenter presenter;
  SampleForm form(presenter);
  EXPECT_FALSE(form.loaded());
  EXPECT_TRUE(form.controls().empty());
  EXPECT_EQ(form.get<TextBox>("TXTNAME").text(), "loaded");
  EXPECT_TRUE(form.loaded());
  EXPECT_EQ(form.loads, 1);
  form.get<TextBox>("txtName").setText("typed");
  ASSERT_TRUE(form.unload());
  EXPECT_FALSE(form.loaded());
  EXPECT_EQ(form.get<TextBox>("txtName").text(), "loaded");
  EXPECT_EQ(form.loads, 2);
  EXPECT_EQ(form.find("nothing"), nullptr);
}

TEST(Form, ModalShowRunsTheScriptAndReturnsHidden) {
  HeadlessPresenter presenter;
  SampleForm form(presenter);
  bool sawVisible = false;
  presenter.onModal("SampleForm", [&](Form& f) {
    sawVisible = f.visible();
    f.get<TextBox>("txtName").setText("from the user");
  });
  form.show(true);
  EXPECT_TRUE(sawVisible);
  EXPECT_FALSE(form.visible());
  EXPECT_TRUE(form.loaded());
  EXPECT_EQ(form.activations, 1);
  EXPECT_EQ(form.get<TextBox>("txtName").text(), "from the user");
  EXPECT_EQ(presenter.log, (std::vector<std::string>{"modal SampleForm", "hide SampleForm"}));
}

TEST(Form, CancelledUnloadKeepsTheForm) {
  HeadlessPresenter presenter;
  SampleForm form(presenter);
  form.load();
  form.refuseUnload = true;
  EXPECT_FALSE(form.unload());
  EXPECT_TRUE(form.loaded());
}

TEST(Form, OptionButtonsAreExclusiveWithinTheirContainer) {
  HeadlessPresenter presenter;
  SampleForm form(presenter);
  auto& a = form.get<OptionButton>("Opt", 0);
  auto& b = form.get<OptionButton>("Opt", 1);
  auto& other = form.get<OptionButton>("optOther");
  int clicks = 0;
  b.onClick = [&] { ++clicks; };
  other.setValue(true);
  a.setValue(true);
  b.setValue(true);
  EXPECT_FALSE(a.value());
  EXPECT_TRUE(b.value());
  EXPECT_TRUE(other.value());
  EXPECT_EQ(clicks, 1);
}

TEST(Form, FocusMovesAndFiresLostThenGot) {
  HeadlessPresenter presenter;
  SampleForm form(presenter);
  auto& text = form.get<TextBox>("txtName");
  auto& button = form.get<CommandButton>("cmdGo");
  std::vector<std::string> events;
  text.onGotFocus = [&] { events.push_back("text got"); };
  text.onLostFocus = [&] { events.push_back("text lost"); };
  button.onGotFocus = [&] { events.push_back("button got"); };
  text.setFocus();
  button.setFocus();
  EXPECT_TRUE(button.hasFocus());
  EXPECT_EQ(events, (std::vector<std::string>{"text got", "text lost", "button got"}));
  button.setEnabled(false);
  text.setFocus();
  button.setFocus();  // a disabled control cannot take the focus
  EXPECT_TRUE(text.hasFocus());
}

class PreviewForm : public SampleForm {
 public:
  using SampleForm::SampleForm;
  void formKeyDown(int& keyCode, int) override {
    if (keyCode == key::kEscape) keyCode = 0;  // swallowed by the form
  }
};

TEST(Form, KeyPreviewSeesKeysFirstAndMaySwallowThem) {
  HeadlessPresenter presenter;
  PreviewForm form(presenter);
  auto& text = form.get<TextBox>("txtName");
  std::vector<int> seen;
  text.onKeyDown = [&](int& k, int) { seen.push_back(k); };
  int esc = key::kEscape, f3 = key::kF3;
  text.keyDown(esc, 0);  // no preview yet: the control sees it
  form.setKeyPreview(true);
  text.keyDown(esc, 0);
  text.keyDown(f3, 0);
  EXPECT_EQ(seen, (std::vector<int>{key::kEscape, key::kF3}));
}

TEST(Form, ClosingByTheUserTellsQueryUnloadSo) {
  HeadlessPresenter presenter;
  struct Closing : SampleForm {
    using SampleForm::SampleForm;
    std::vector<int> modes;
    void formQueryUnload(int& cancel, int mode) override {
      modes.push_back(mode);
      cancel = refuse;
    }
    bool refuse = true;
  } form(presenter);
  form.load();
  EXPECT_FALSE(form.closeByUser());
  EXPECT_TRUE(form.loaded());
  form.refuse = false;
  EXPECT_TRUE(form.unload());
  EXPECT_EQ(form.modes, (std::vector<int>{0, 1}));
}

TEST(Form, ValidateMayKeepTheFocus) {
  HeadlessPresenter presenter;
  SampleForm form(presenter);
  auto& text = form.get<TextBox>("txtName");
  auto& button = form.get<CommandButton>("cmdGo");
  int lost = 0;
  text.onLostFocus = [&] { ++lost; };
  text.onValidate = [&](bool& cancel) { cancel = text.text() == "bad"; };
  text.setFocus();
  text.setText("bad");
  button.setFocus();
  EXPECT_TRUE(text.hasFocus());
  EXPECT_EQ(lost, 0);
  text.setText("good");
  button.setFocus();
  EXPECT_TRUE(button.hasFocus());
  EXPECT_EQ(lost, 1);
}

TEST(StandardControls, TextSelectionAndInsertion) {
  HeadlessPresenter presenter;
  SampleForm form(presenter);
  auto& t = form.get<TextBox>("txtName");
  t.setText("hello world");
  int changes = 0;
  t.onChange = [&] { ++changes; };
  t.setSelStart(6);
  t.setSelLength(99);
  EXPECT_EQ(t.selText(), "world");
  t.setSelText("there");
  EXPECT_EQ(t.text(), "hello there");
  EXPECT_EQ(t.selStart(), 11);
  t.setSelStart(-4);
  t.setSelText(">");
  EXPECT_EQ(t.text(), ">hello there");
  EXPECT_EQ(changes, 2);
  std::vector<std::string> announced;
  t.addChangeListener([&](Control&, std::string_view p) { announced.emplace_back(p); });
  t.setSelStart(1);
  EXPECT_EQ(announced, std::vector<std::string>{"Selection"});  // views follow the selection
  t.setMaxLength(3);
  t.setText("abcdef");
  EXPECT_EQ(t.text(), "abc");
}

TEST(StandardControls, ListsKeepIndexAndSortedOrder) {
  HeadlessPresenter presenter;
  SampleForm form(presenter);
  ListBox list(form, "lst", -1);
  list.addItem("b");
  list.addItem("a");
  list.setListIndex(1);
  list.addItem("c", 0);
  EXPECT_EQ(list.listIndex(), 2);
  EXPECT_EQ(list.list(2), "a");
  list.removeItem(2);
  EXPECT_EQ(list.listIndex(), -1);
  EXPECT_EQ(list.list(7), "");
  ListBox sorted(form, "lstSorted", -1);
  sorted.setSorted(true);
  for (const char* s : {"pear", "apple", "fig"}) sorted.addItem(s);
  EXPECT_EQ(sorted.list(0), "apple");
  EXPECT_EQ(sorted.list(2), "pear");
  EXPECT_EQ(sorted.newIndex(), 1);
  ComboBox combo(form, "cbo", -1);
  combo.addItem("Red");
  combo.setListIndex(0);
  EXPECT_EQ(combo.text(), "Red");
}

TEST(StandardControls, GridResizeKeepsCellsAndIgnoresOutside) {
  HeadlessPresenter presenter;
  SampleForm form(presenter);
  DataGrid grid(form, "grid", -1);
  grid.setSize(2, 2);
  grid.setTextMatrix(1, 1, "x");
  grid.setTextMatrix(5, 5, "ignored");
  grid.setSize(3, 4);
  EXPECT_EQ(grid.textMatrix(1, 1), "x");
  EXPECT_EQ(grid.textMatrix(5, 5), "");
  grid.setRowHeight(2, 900);
  EXPECT_EQ(grid.rowHeight(2), 900);
  grid.setSize(-1, 2);
  EXPECT_EQ(grid.rows(), 0);
}

}  // namespace
}  // namespace quelo::forms
