#include <sys/stat.h>

#include "forms/file_lists.h"
#include "qt/picture_view.h"
#include "qt/qt_text.h"
#include "qt/report_view_fixture.h"

namespace quelo::qt::testing {
namespace {

// The file dialog as an end user meets it: typed names, clicks in the lists, the buttons.
struct FileDialogViewTest : ReportViewTest {
  FileDialogViewTest() {
    ::mkdir(photos.c_str(), 0755);
    writePicture(photos + "/Sunset.png", 60, 30, Qt::red, Qt::blue);
    app.write("Photos/notes.txt", "notes");
    app.write("Photos/empty.txt", "");
  }
  // SupplyFileName in the folder, with the existence check; `user` works the dialog.
  std::string supply(std::function<void(FormDialog&)> user) {
    when("QueloPhotoTabStrip", std::move(user));
    auto r = widget.dispatch()->call(
        "SupplyFileName", {Variant("Choose"), Variant(photos), Variant(int32_t{0}), Variant(true)});
    settle();
    return r ? r.value().asString() : "error";
  }
  static QLineEdit* nameBox(FormDialog& d) {
    return qobject_cast<QLineEdit*>(d.widgetOf("txtFileName"));
  }

  std::string photos = app / "Photos";
};

// The name box has the focus; a folder typed into it opens with Enter (or the box says why), and a
// file's name is matched to the stored name by its last part. The handlers check as they act: one
// that never ran would leave the dialog open.
TEST_F(FileDialogViewTest, ATypedFolderOpensAndATypedNameIsChosenWithEnter) {
  ::mkdir((app / "Photos/Trips").c_str(), 0755);
  const QString top = QDir::cleanPath(QString::fromStdString(app.path()));
  const struct {
    QString typed, folder, told;  // where the folder list stands after Enter; what the box says
  } cases[] = {
      {"Trips", top + "/Photos/Trips", ""},
      {"../", top + "/Photos", ""},
      {top, top, ""},
      {"nowhere/", top, "No folder nowhere/"},
  };
  const std::string chosen = supply([&](FormDialog& d) {
    EXPECT_TRUE(nameBox(d)->hasFocus());
    for (const auto& c : cases) {
      SCOPED_TRACE(c.typed.toStdString());
      QToolTip::hideText();
      typeAndEnter(d, c.typed);
      EXPECT_EQ(QDir::cleanPath(
                    qs(static_cast<forms::DirListBox*>(d.view().form()->find("Dir1"))->path())),
                c.folder);
      EXPECT_EQ(QToolTip::isVisible() ? QToolTip::text() : QString(), c.told);
      EXPECT_EQ(nameBox(d)->text(),
                c.told.isEmpty() ? QString() : c.typed);  // an opened folder clears the box
    }
    typeAndEnter(d, "Photos");
    typeAndEnter(d, "C:\\elsewhere\\sunset.png");
  });
  EXPECT_EQ(chosen, photos + "/Sunset.png");  // a folder is never taken for the chosen file
}

// The preview draws the picture, with its proportions, where the view says it stands.
TEST_F(FileDialogViewTest, AClickedFileIsPreviewedAndChosenWithOk) {
  const std::string chosen = supply([&](FormDialog& d) {
    auto* preview = qobject_cast<PictureView*>(d.widgetOf("ImgChosenPhoto"));
    clickEntry(qobject_cast<QListWidget*>(d.widgetOf("flbPhoto")), "Sunset.png");
    const QRect at = preview->pictureRect();
    EXPECT_FALSE(at.isEmpty());
    EXPECT_EQ(at.width(), 2 * at.height());
    const QImage drawn = preview->grab().toImage();
    EXPECT_EQ(drawn.pixelColor(at.left() + at.width() / 4, at.center().y()), QColor(Qt::red));
    EXPECT_EQ(drawn.pixelColor(at.left() + 3 * at.width() / 4, at.center().y()), QColor(Qt::blue));
    QTest::mouseClick(qobject_cast<QPushButton*>(d.widgetOf("cmdOk")), Qt::LeftButton);
  });
  EXPECT_EQ(chosen, photos + "/Sunset.png");
}

TEST_F(FileDialogViewTest, OnlyARegularFileIsPreviewedAsAPicture) {
  app.plantNonFiles("Photos/");
  EXPECT_TRUE(h.pictures.isPicture(photos + "/Sunset.png"));
  for (const char* name : {"/fifo", "/zero", "/notes.txt", ""})
    EXPECT_FALSE(h.pictures.isPicture(photos + name)) << name;
}

TEST_F(FileDialogViewTest, AccessKeysLeadToTheBoxesAndFoldersOpenWithADoubleClick) {
  const std::string chosen = supply([&](FormDialog& d) {
    for (const auto& [key, box] : {std::pair{'v', "Drive1"},
                                   {'o', "Dir1"},
                                   {'t', "Combo1"},
                                   {'f', "flbPhoto"},
                                   {'n', "txtFileName"}}) {
      QTest::keyClick(&d, key, Qt::AltModifier);
      EXPECT_EQ(QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString(),
                box)
          << key;
    }
    auto* files = qobject_cast<QListWidget*>(d.widgetOf("flbPhoto"));
    auto* dirs = qobject_cast<QListWidget*>(d.widgetOf("Dir1"));
    const QString parent = QString::fromStdString(app.path()).split('/', Qt::SkipEmptyParts).last();
    clickEntry(dirs, parent);  // a click only selects
    EXPECT_EQ(files->count(), 3);
    clickEntry(dirs, parent, true);  // a double click opens
    EXPECT_EQ(files->count(), 0);    // the scratch folder holds no files
    QTest::keyClick(nameBox(d), Qt::Key_Escape);
  });
  EXPECT_EQ(chosen, "");
}

}  // namespace
}  // namespace quelo::qt::testing
