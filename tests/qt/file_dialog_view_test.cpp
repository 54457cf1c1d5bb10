#include <sys/stat.h>

#include <map>

#include "fakes/scratch_dir.h"
#include "files/file_dialog.h"
#include "forms/file_lists.h"
#include "qt/file_dialog_view.h"
#include "qt/picture_view.h"
#include "qt/qt_test_support.h"
#include "qt/ze_quelo_widget.h"

namespace quelo::qt {
namespace {

// The file dialog as an end user meets it: typed names, clicks in the lists, the buttons.
struct FileDialogViewTest : ::testing::Test {
  FileDialogViewTest() {
    ::mkdir((dir / "Photos").c_str(), 0755);
    testing::writePicture(dir / "Photos/Sunset.png", 60, 30, Qt::red, Qt::blue);
    dir.write("Photos/notes.txt", "notes");
    dir.write("Photos/empty.txt", "");
    std::string app = dir.path();
    widget.control().setApplicationPath(app);
    h.presenter.setDecorator("QueloPhotoTabStrip", decorateFileDialog);
  }
  // SupplyFileName in the folder, with the existence check; `user` works the dialog.
  std::string supply(std::function<void(FormDialog&)> user) {
    h.presenter.whenShown = [user](forms::Form&, FormDialog& d) {
      testing::activate(d);
      user(d);
    };
    auto r = widget.dispatch()->call("SupplyFileName", {Variant("Choose"), Variant(photos), Variant(int32_t{0}), Variant(true)});
    h.presenter.whenShown = nullptr;
    testing::settle();
    return r ? r.value().asString() : "error";
  }
  static QLineEdit* nameBox(FormDialog& d) { return qobject_cast<QLineEdit*>(d.widgetOf("txtFileName")); }
  static void typeAndEnter(FormDialog& d, const QString& name) {
    QLineEdit* box = nameBox(d);
    box->selectAll();
    QTest::keyClicks(box, name);
    QTest::keyClick(box, Qt::Key_Return);
  }
  static void clickEntry(QListWidget* list, const QString& text, bool twice = false) {
    const auto items = list->findItems(text, Qt::MatchEndsWith);
    ASSERT_FALSE(items.isEmpty()) << text.toStdString();
    const QPoint at = list->visualItemRect(items[0]).center();
    if (twice) QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    else QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
  }

  quelo::testing::ScratchDir dir;
  testing::QtHarness h;
  Platform platform = h.platform();
  ZeQueloWidget widget{h.component, nullptr, true, &platform};
  std::string photos = dir / "Photos";
};

// The name box has the focus; a folder typed into it opens with Enter (or the box says why), and a
// file's name is matched to the stored name by its last part.
TEST_F(FileDialogViewTest, ATypedFolderOpensAndATypedNameIsChosenWithEnter) {
  ::mkdir((dir / "Photos/Trips").c_str(), 0755);
  struct Case {
    QString typed;
    std::string folder;  // where the folder list stands after Enter
    QString told;        // what the box says, if anything
  };
  const Case cases[] = {
      {"Trips", photos + "/Trips", ""},
      {"../", photos, ""},
      {QString::fromStdString(dir.path()), QDir::cleanPath(QString::fromStdString(dir.path())).toStdString(), ""},
      {"nowhere/", QDir::cleanPath(QString::fromStdString(dir.path())).toStdString(), "No folder nowhere/"},
  };
  std::vector<std::string> folders;
  std::vector<QString> told, left;
  bool focusedOnOpen = false;
  const std::string chosen = supply([&](FormDialog& d) {
    focusedOnOpen = nameBox(d)->hasFocus();
    for (const Case& c : cases) {
      QToolTip::hideText();
      typeAndEnter(d, c.typed);
      folders.push_back(static_cast<forms::DirListBox*>(d.view().form()->find("Dir1"))->path());
      told.push_back(QToolTip::isVisible() ? QToolTip::text() : QString());
      left.push_back(nameBox(d)->text());
    }
    typeAndEnter(d, "Photos");
    typeAndEnter(d, "C:\\elsewhere\\sunset.png");
  });
  EXPECT_TRUE(focusedOnOpen);
  EXPECT_EQ(chosen, photos + "/Sunset.png");  // a folder is never taken for the chosen file
  for (size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(cases[i].typed.toStdString());
    EXPECT_EQ(QDir::cleanPath(QString::fromStdString(folders[i])).toStdString(), cases[i].folder);
    EXPECT_EQ(told[i], cases[i].told);
    EXPECT_EQ(left[i], cases[i].told.isEmpty() ? QString() : cases[i].typed);  // an opened folder clears the box
  }
}

// The preview draws the picture, with its proportions, where the view says it stands.
TEST_F(FileDialogViewTest, AClickedFileIsPreviewedAndChosenWithOk) {
  QRect at;
  QColor left, right;
  const std::string chosen = supply([&](FormDialog& d) {
    auto* preview = qobject_cast<PictureView*>(d.widgetOf("ImgChosenPhoto"));
    clickEntry(qobject_cast<QListWidget*>(d.widgetOf("flbPhoto")), "Sunset.png");
    at = preview->hasPicture() ? preview->pictureRect() : QRect();
    const QImage drawn = preview->grab().toImage();
    left = drawn.pixelColor(at.left() + at.width() / 4, at.center().y());
    right = drawn.pixelColor(at.left() + 3 * at.width() / 4, at.center().y());
    QTest::mouseClick(qobject_cast<QPushButton*>(d.widgetOf("cmdOk")), Qt::LeftButton);
  });
  ASSERT_FALSE(at.isEmpty());
  EXPECT_EQ(at.width(), 2 * at.height());
  EXPECT_EQ(left, QColor(Qt::red));
  EXPECT_EQ(right, QColor(Qt::blue));
  EXPECT_EQ(chosen, photos + "/Sunset.png");
}

TEST_F(FileDialogViewTest, OnlyARegularFileIsPreviewedAsAPicture) {
  dir.plantNonFiles("Photos/");
  EXPECT_TRUE(h.pictures.isPicture(photos + "/Sunset.png"));
  for (const char* name : {"/fifo", "/zero", "/notes.txt", ""}) EXPECT_FALSE(h.pictures.isPicture(photos + name)) << name;
}

TEST_F(FileDialogViewTest, EachLabelsAccessKeyLeadsToItsBox) {
  std::map<QString, QString> reached;
  supply([&](FormDialog& d) {
    for (const char* key : {"v", "o", "t", "f", "n"}) {
      QTest::keyClick(&d, key[0], Qt::AltModifier);
      reached[key] = QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
    }
    QTest::keyClick(nameBox(d), Qt::Key_Escape);
  });
  EXPECT_EQ(reached, (std::map<QString, QString>{
                         {"v", "Drive1"}, {"o", "Dir1"}, {"t", "Combo1"}, {"f", "flbPhoto"}, {"n", "txtFileName"}}));
}

TEST_F(FileDialogViewTest, FoldersOpenWithADoubleClickAndEscapeCancels) {
  int before = -1, after = -1;
  const std::string chosen = supply([&](FormDialog& d) {
    auto* files = qobject_cast<QListWidget*>(d.widgetOf("flbPhoto"));
    before = files->count();
    auto* dirs = qobject_cast<QListWidget*>(d.widgetOf("Dir1"));
    const QString parent = QString::fromStdString(dir.path()).split('/', Qt::SkipEmptyParts).last();
    clickEntry(dirs, parent);  // a click only selects
    EXPECT_EQ(files->count(), 3);
    clickEntry(dirs, parent, true);  // a double click opens
    after = files->count();  // the scratch folder holds no files
    QTest::keyClick(nameBox(d), Qt::Key_Escape);
  });
  EXPECT_EQ(before, 3);
  EXPECT_EQ(after, 0);
  EXPECT_EQ(chosen, "");
}

}  // namespace
}  // namespace quelo::qt
