#include "forms/form.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <functional>

#include "fakes/fake_mount_table.h"
#include "fakes/scratch_dir.h"
#include "forms/file_lists.h"
#include "forms/form_presenter.h"
#include "platform/posix/posix_file_system.h"

namespace quelo::forms {
namespace {

class SampleForm : public Form {
 public:
  explicit SampleForm(FormPresenter& p) : Form("SampleForm", p) {}
  int loads = 0;
  bool refuseUnload = false, refuseClose = false;
  std::vector<UnloadMode> closeModes;
  Held<CommandButton> go{*this};
  Held<Label> neverSet{*this};  // a fault: build() does not set it

 protected:
  void build() override {
    add<TextBox>("txtName").setText("design");
    add<Frame>("Frame1");
    add<OptionButton>("Opt", 0).setContainer("Frame1");
    add<OptionButton>("Opt", 1).setContainer("Frame1");
    add<OptionButton>("optOther");
    go = add<CommandButton>("cmdGo");
  }
  void formLoad() override {
    ++loads;
    get<TextBox>("txtName").setText(
        "loaded");  // touching a control while loading must not load again
  }
  void formUnload(int& cancel) override { cancel = refuseUnload; }
  void formQueryUnload(int& cancel, UnloadMode mode) override {
    closeModes.push_back(mode);
    cancel = refuseClose;
  }
};

struct FormTest : ::testing::Test {
  HeadlessPresenter presenter;
  SampleForm form{presenter};
  TextBox& text() { return form.get<TextBox>("txtName"); }
  CommandButton& button() { return *form.go; }
};

TEST_F(FormTest, FirstTouchLoadsAndUnloadRestoresDesignValuesUnlessRefused) {
  EXPECT_FALSE(form.loaded());
  EXPECT_TRUE(form.controls().empty());
  EXPECT_EQ(form.get<TextBox>("TXTNAME").text(), "loaded");
  EXPECT_EQ(form.loads, 1);
  text().setText("typed");
  form.refuseUnload = true;
  EXPECT_FALSE(form.unload());
  EXPECT_TRUE(form.loaded());
  form.refuseClose = true;  // closing by the user asks QueryUnload, with its own mode
  EXPECT_FALSE(form.closeByUser());
  EXPECT_TRUE(form.loaded());
  form.refuseUnload = form.refuseClose = false;
  ASSERT_TRUE(form.unload());
  EXPECT_FALSE(form.loaded());
  EXPECT_EQ(form.closeModes,
            (std::vector<UnloadMode>{UnloadMode::Code, UnloadMode::UserClosed, UnloadMode::Code}));
  EXPECT_EQ(text().text(), "loaded");
  EXPECT_EQ(form.loads, 2);
  EXPECT_EQ(form.find("nothing"), nullptr);
  ASSERT_TRUE(form.unload());
  EXPECT_EQ(&button(), form.find("cmdGo"));  // a held control follows the form's next load
}

// A control named or typed wrongly in code stops the program and says which one, never reading
// a control that is not there.
TEST_F(FormTest, MisusedControlLookupsStopWithTheNames) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const struct {
    std::function<void(SampleForm&)> misuse;
    const char* message;
  } cases[] = {
      {[](SampleForm& f) { f.get<TextBox>("txtNmae"); },
       "Form 'SampleForm': no control 'txtNmae' \\(wanted TextBox\\)"},
      {[](SampleForm& f) { f.get<CheckBox>("txtName"); },
       "Form 'SampleForm': control 'txtName' is TextBox, wanted CheckBox"},
      {[](SampleForm& f) { f.get<OptionButton>("Opt", 2); },
       "no control 'Opt\\(2\\)' \\(wanted OptionButton\\)"},
      {[](SampleForm& f) { f.get<OptionButton>("Opt"); }, "no control 'Opt' "},
      {[](SampleForm& f) { f.neverSet->caption(); },
       "Form 'SampleForm': held Label read before build\\(\\) set it"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    EXPECT_DEATH(c.misuse(form), c.message);
  }
}

TEST_F(FormTest, OptionButtonsAreExclusiveWithinTheirContainer) {
  auto& a = form.get<OptionButton>("Opt", 0);
  auto& b = form.get<OptionButton>("Opt", 1);
  auto& other = form.get<OptionButton>("optOther");
  int clicks = 0;
  b.onClick = [&] { ++clicks; };
  other.setValue(true);
  a.setValue(true);
  b.setValue(true);
  EXPECT_EQ((std::vector<bool>{a.value(), b.value(), other.value()}),
            (std::vector<bool>{false, true, true}));
  EXPECT_EQ(clicks, 1);
}

TEST_F(FormTest, FocusMovesFiresLostThenGotAndValidateMayKeepIt) {
  std::vector<std::string> events;
  text().onGotFocus = [&] { events.push_back("text got"); };
  text().onLostFocus = [&] { events.push_back("text lost"); };
  text().onValidate = [&](bool& cancel) { cancel = text().text() == "bad"; };
  button().onGotFocus = [&] { events.push_back("button got"); };
  text().setFocus();
  text().setText("bad");
  button().setFocus();
  EXPECT_TRUE(text().hasFocus());
  text().setText("good");
  button().setFocus();
  EXPECT_TRUE(button().hasFocus());
  EXPECT_EQ(events, (std::vector<std::string>{"text got", "text lost", "button got"}));
  button().setEnabled(false);
  text().setFocus();
  button().setFocus();  // a disabled control cannot take the focus
  EXPECT_TRUE(text().hasFocus());
}

TEST_F(FormTest, TextSelectionAndMaxLength) {
  auto& t = text();
  t.setText("hello world");
  int changes = 0;
  t.onChange = [&] { ++changes; };
  t.setSelStart(6);
  t.setSelLength(99);
  EXPECT_EQ(t.selText(), "world");  // clamped to the text
  t.setSelStart(-4);
  EXPECT_EQ(t.selStart(), 0);
  EXPECT_EQ(changes, 0);  // a selection is no change of the text
  std::vector<Property> announced;
  t.addChangeListener([&](FormControl&, Property p) { announced.push_back(p); });
  t.setSelStart(1);
  EXPECT_EQ(announced, std::vector<Property>{Property::Selection});  // views follow the selection
  t.setMaxLength(3);
  t.setText("abcdef");
  EXPECT_EQ(t.text(), "abc");
}

TEST_F(FormTest, ListsKeepIndexAndNewIndex) {
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
  list.addItem("d", 1);
  EXPECT_EQ(list.newIndex(), 1);
  list.setItemData(1, 42);
  list.setItemData(9, 7);  // no such item: nothing is kept, nothing reads it back
  EXPECT_EQ((std::vector<int32_t>{list.itemData(1), list.itemData(9), list.itemData(-1)}),
            (std::vector<int32_t>{42, 0, 0}));
  ComboBox combo(form, "cbo", -1);
  combo.addItem("Red");
  combo.setListIndex(0);
  EXPECT_EQ(combo.text(), "Red");
}

TEST_F(FormTest, GridResizeKeepsCellsAndIgnoresOutside) {
  DataGrid grid(form, "grid", -1);
  grid.setSize(2, 2);
  grid.setTextMatrix(1, 1, "x");
  grid.setTextMatrix(5, 5, "ignored");
  grid.setSize(3, 4);
  EXPECT_EQ(grid.textMatrix(1, 1), "x");
  EXPECT_EQ(grid.textMatrix(5, 5), "");
  grid.setSize(-1, 2);
  EXPECT_EQ(grid.rows(), 0);
}

class ListsForm : public Form {
 public:
  ListsForm(FormPresenter& p, FileSystem& files, MountTable& mounts)
      : Form("Lists", p), files_(files), mounts_(mounts) {}

 protected:
  void build() override {
    add<DriveListBox>("Drive1").attach(mounts_);
    add<DirListBox>("Dir1").attach(files_);
    add<FileListBox>("File1").attach(files_);
  }

 private:
  FileSystem& files_;
  MountTable& mounts_;
};

struct FileListsTest : ::testing::Test {
  FileListsTest() {
    for (const char* folder : {"Pictures", "archive", ".cache"})
      ::mkdir((dir / folder).c_str(), 0755);
    for (const char* file : {"b.JPG", "a.jpg", "notes.txt", ".hidden.jpg"}) dir.write(file, "x");
  }
  testing::ScratchDir dir;
  PosixFileSystem files;
  testing::FakeMountTable mounts;
  HeadlessPresenter presenter;
  ListsForm form{presenter, files, mounts};
  std::string folder = folderPath(dir.path());
};

TEST_F(FileListsTest, FolderListShowsAncestorsThenVisibleSubfoldersAndRefusesWhatIsNoFolder) {
  auto& dirs = form.get<DirListBox>("Dir1");
  int changes = 0;
  dirs.onChange = [&] { ++changes; };
  ASSERT_TRUE(dirs.setPath(dir.path()));
  EXPECT_EQ(dirs.path(), folder);
  EXPECT_EQ(dirs.entryPath(0), "/");
  const int32_t self = dirs.listIndex();
  EXPECT_EQ(self, std::count(folder.begin(), folder.end(), '/'));  // one entry for each ancestor
  EXPECT_EQ(dirs.entryPath(self), folder);
  EXPECT_EQ(dirs.listCount(), self + 3);
  EXPECT_EQ(dirs.entryPath(self + 1), folder + "/archive");  // sorted without regard to case
  EXPECT_EQ(dirs.entryPath(self + 2), folder + "/Pictures");
  EXPECT_EQ(dirs.list(self + 2).find_first_not_of(' '),
            dirs.list(self).find_first_not_of(' ') + 2);  // indented
  dirs.open(self + 2);
  EXPECT_EQ(dirs.path(), folder + "/Pictures");
  dirs.open(self);  // back up
  EXPECT_EQ(dirs.path(), folder);
  EXPECT_EQ(changes, 3);
  for (const std::string& bad : {dir / "a.jpg", dir / "missing", std::string()})
    EXPECT_EQ(dirs.setPath(bad).error().number, err::kPathNotFound) << bad;
  EXPECT_EQ(dirs.path(), folder);  // what is no folder is refused and changes nothing
  EXPECT_EQ(changes, 3);
}

TEST_F(FileListsTest, FileListFiltersByPatternAndHidesHiddenFiles) {
  auto& list = form.get<FileListBox>("File1");
  list.setPath(dir.path());
  EXPECT_EQ(list.listCount(), 3);
  list.setPattern("*.jpg");
  ASSERT_EQ(list.listCount(), 2);
  EXPECT_EQ(list.listIndex(), -1);  // a refreshed list has nothing selected
  EXPECT_EQ((std::vector<std::string>{list.list(0), list.list(1)}),
            (std::vector<std::string>{"a.jpg", "b.JPG"}));
  list.setListIndex(1);
  EXPECT_EQ(list.fileName(), "b.JPG");
  list.setPath(dir / "missing");
  EXPECT_EQ(list.listCount(), 0);
  EXPECT_EQ(list.fileName(), "");
}

TEST_F(FileListsTest, DriveListShowsMountPointsAndSelectsTheDriveOfAPath) {
  mounts.table = {
      {"/dev/sda1", "/", "ext4"}, {"proc", "/proc", "proc"}, {"/dev/sdb1", folder, "vfat"}};
  auto& drives = form.get<DriveListBox>("Drive1");
  drives.refresh();
  ASSERT_EQ(drives.listCount(), 2);
  int changes = 0;
  drives.onChange = [&] { ++changes; };
  ASSERT_TRUE(drives.setDrive(dir / "Pictures"));
  EXPECT_EQ(drives.drive(), folder);
  EXPECT_EQ(drives.listIndex(), 1);
  ASSERT_TRUE(drives.setDrive(folder));  // the same drive: no change
  ASSERT_TRUE(drives.setDrive("/usr"));
  EXPECT_EQ(drives.drive(), "/");
  EXPECT_EQ(changes, 2);
  EXPECT_FALSE(drives.setDrive("relative"));
  mounts.fail = true;  // an unreadable table still leaves the root
  drives.refresh();
  EXPECT_EQ(drives.listCount(), 1);
}

}  // namespace
}  // namespace quelo::forms
