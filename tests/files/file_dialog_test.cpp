#include "files/file_dialog.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "fakes/control_harness.h"
#include "fakes/scratch_dir.h"

namespace quelo {
namespace {

using namespace forms;
using testing::ControlHarness;
using testing::ScratchDir;

const std::string kGif = std::string("GIF89a\x01\0\x01\0\x80\0\0", 13);

// A host control for the insert buttons: it records what it is given, and refuses what it is
// told to.
struct HostControl : MemberDispatch {
  std::vector<std::string> calls;
  bool refuseOleObject = true, refusePicture = false;
  void record(const char* member, const bool* refuse) {
    bind(member, InvokeKind::PropertyPut, [this, member, refuse](Args& a) -> Result<Variant> {
      if (*refuse) return makeError(err::kMemberNotFound, "refused");
      const Variant& v = a[0];
      calls.push_back(
          member +
          ("=" + (v.isString() ? v.asString() : v.objectOrNull()->get("Path").value().asString())));
      return Variant();
    });
  }
  HostControl() {
    bind("Name", InvokeKind::PropertyGet,
         [](Args&) -> Result<Variant> { return Variant("Picture1"); });
    record("OLEObject", &refuseOleObject);
    record("Picture", &refusePicture);
    record("BackPicture", &never);
    bind("OLEObjects", InvokeKind::PropertyGet, [this](Args&) -> Result<Variant> {
      auto objects = std::make_shared<MemberDispatch>();
      objects->bind("Add", InvokeKind::Method, [this](Args& a) -> Result<Variant> {
        calls.push_back("Add " + std::to_string(a[0].isMissing()) +
                        std::to_string(a[1].isMissing()) + " " + a[2].asString());
        return Variant();
      });
      return Variant(std::shared_ptr<Dispatch>(objects));
    });
  }
  const bool never = false;
};

struct FileDialogTest : ::testing::Test {
  FileDialogTest() {
    ::mkdir((dir / "Photos").c_str(), 0755);
    dir.write("Photos/Photo.gif", kGif);
    dir.write("Photos/notes.txt", "some notes");
    dir.write("Photos/empty.txt", "");
    std::string app = dir.path();
    h.control->setApplicationPath(app);
  }
  // SupplyFileName as a host calls it; `user` acts on the dialog while it is shown.
  std::string supply(std::function<void(FileDialog&)> user, std::string caption = "Pick a file",
                     std::string initDir = "", int32_t type = 0, bool verify = true,
                     std::shared_ptr<Dispatch> host = nullptr, int32_t insertButton = 0) {
    h.presenter.onModal("QueloPhotoTabStrip",
                        [user](Form& f) { user(static_cast<FileDialog&>(f)); });
    args = {Variant(caption), Variant(initDir), Variant(type),
            Variant(verify),  Variant(host),    Variant(insertButton)};
    auto r = h.control->call("SupplyFileName", args);
    EXPECT_TRUE(r.isOk());
    return r ? r.value().asString() : "";
  }
  static void type(FileDialog& f, const std::string& name) {
    f.get<TextBox>("txtFileName").setFocus();
    f.get<TextBox>("txtFileName").setText(name);
  }
  // The key code left when the dialog has handled the key: 0 when it took the key.
  static int press(FileDialog& f, int key, const char* control = "txtFileName") {
    int code = key;
    f.find(control)->keyDown(code, 0);
    return code;
  }
  static int fileIndex(FileDialog& f, const std::string& name) {
    auto& list = f.get<FileListBox>("flbPhoto");
    for (int32_t i = 0; i < list.listCount(); ++i)
      if (list.list(i) == name) return i;
    return -1;
  }

  ScratchDir dir;
  ControlHarness h;
  Args args;
  std::string photos = dir / "Photos";
};

// The checks run in the dialog's handlers; the name each call returns shows that its handler ran.
TEST_F(FileDialogTest, TypedNamesAreCheckedThenTheStoredFileIsReturned) {
  const std::string chosen = supply(
      [&](FileDialog& f) {
        for (const char* bad : {"a-b.txt", "   ", "what?.txt", "x/y"}) {
          type(f, bad);
          press(f, key::kReturn);
          EXPECT_TRUE(f.loaded() && f.get<TextBox>("txtFileName").hasFocus()) << bad;
        }
        type(f, "C:\\x\\photo.GIF");  // the last part, in capitals, names Photo.gif
        press(f, key::kReturn);
      },
      "Pick a file", photos);
  EXPECT_EQ(chosen, photos + "/Photo.gif");
  EXPECT_EQ(args[1], Variant(photos + "/"));  // InitDir comes back with its separator
}

// A refused name is forgotten: the dialog stays, and closed by code then it gives no file.
TEST_F(FileDialogTest, TheExistenceCheckRefusesMissingAndEmptyFiles) {
  for (const char* name : {"missing.txt", "empty.txt", "Photos"}) {
    const std::string refused = supply(
        [&](FileDialog& f) {
          type(f, name);
          press(f, key::kReturn);
          EXPECT_TRUE(f.loaded()) << name;
          EXPECT_TRUE(f.unload()) << name;
        },
        "Pick a file", dir / "Photos");
    EXPECT_EQ(refused, "") << name;
  }
  const std::string chosen = supply(
      [&](FileDialog& f) {
        type(f, "  notes.txt ");
        f.get<CommandButton>("cmdOk").press();
      },
      "Pick a file", dir / "Photos");
  EXPECT_EQ(chosen, photos + "/notes.txt");
}

TEST_F(FileDialogTest, WithTheCheckOffANewNameIsTakenAndASaveAsCaptionSwitchesItOff) {
  const std::string chosen = supply(
      [](FileDialog& f) {
        EXPECT_EQ(f.caption(), "SAVE AS report");  // trimmed
        EXPECT_EQ(f.get<CheckBox>("chkVerify").value(), 0);
        type(f, "new report.htm");
        press(f, key::kReturn);
      },
      "SAVE AS report  ", photos);
  EXPECT_EQ(chosen, photos + "/new report.htm");
  EXPECT_EQ(args[3], Variant(false));
  const auto typeNew = [](FileDialog& f) {
    type(f, "other.htm");
    press(f, key::kReturn);
  };
  EXPECT_EQ(supply(typeNew, "Pick", photos, 0, false),
            photos + "/other.htm");  // the check off by the caller
}

TEST_F(FileDialogTest, ClickingAFileTakesItAndPreviewsPictures) {
  const std::string chosen = supply(
      [&](FileDialog& f) {
        auto& list = f.get<FileListBox>("flbPhoto");
        list.setListIndex(fileIndex(f, "notes.txt"));
        EXPECT_EQ(f.get<Image>("ImgChosenPhoto").picture(), "");
        list.setListIndex(fileIndex(f, "Photo.gif"));
        EXPECT_EQ(f.get<Image>("ImgChosenPhoto").picture(), photos + "/Photo.gif");
        EXPECT_EQ(f.get<TextBox>("txtFileName").text(), "Photo.gif");
        press(f, key::kDelete);  // clears the box and the preview
        EXPECT_EQ(f.get<Image>("ImgChosenPhoto").picture(), "");
        EXPECT_EQ(f.get<TextBox>("txtFileName").text(), "");
        list.setListIndex(fileIndex(f, "notes.txt"));
        press(f, key::kReturn, "Dir1");  // Enter in any control runs the checks
      },
      "Pick a file", photos);
  EXPECT_EQ(chosen, photos + "/notes.txt");
}

TEST_F(FileDialogTest, TheNextCallStartsAtTheLastChoiceAndACancelForgetsIt) {
  supply(
      [](FileDialog& f) {
        type(f, "Photo.gif");
        press(f, key::kReturn);
      },
      "Pick", photos);
  std::string folder;
  const std::string cancelled = supply([&](FileDialog& f) {
    folder = f.get<DirListBox>("Dir1").path();
    EXPECT_EQ(f.get<FileListBox>("flbPhoto").fileName(), "Photo.gif");
    EXPECT_EQ(f.get<TextBox>("txtFileName").text(), "Photo.gif");
    f.get<CommandButton>("cmdCancel").press();
  });
  EXPECT_EQ(folder, photos);
  EXPECT_EQ(cancelled, "");
  supply([&](FileDialog& f) {
    folder = f.get<DirListBox>("Dir1").path();
    EXPECT_EQ(press(f, key::kEscape), 0);
  });
  EXPECT_EQ(folder, folderPath(dir.path()));  // the shared application path
  EXPECT_EQ(supply([](FileDialog& f) { f.closeByUser(); }), "");
  EXPECT_EQ(supply([](FileDialog&) {}), "");                       // nobody chose anything
  EXPECT_EQ(h.presenter.log.back(), "unload QueloPhotoTabStrip");  // ... and the dialog is closed
}

// Pictures lists PNG and JPE files too: the logo and signature buttons ask for PNG pictures.
TEST_F(FileDialogTest, FileTypesFilterTheListAndOddValuesAreHandled) {
  dir.write("Photos/logo.png", "png");
  dir.write("Photos/shot.jpe", "jpe");
  std::vector<int> counts, indexes;
  const auto look = [&](FileDialog& f) {
    counts.push_back(f.get<FileListBox>("flbPhoto").listCount());
    indexes.push_back(f.get<ComboBox>("Combo1").listIndex());
    f.closeByUser();
  };
  supply(look, "Pick", photos, 2);   // pictures
  supply(look, "Pick", photos, -1);  // no type selected: every file
  supply(look, "Pick", photos, 9);   // beyond the list: as loaded
  EXPECT_EQ(counts, (std::vector<int>{3, 5, 5}));
  EXPECT_EQ(indexes, (std::vector<int>{2, -1, 0}));
  supply(
      [](FileDialog& f) {
        auto& types = f.get<ComboBox>("Combo1");
        std::vector<std::string> items;
        for (int32_t i = 0; i < types.listCount(); ++i) items.push_back(types.list(i));
        EXPECT_EQ(items, (std::vector<std::string>{"All", "Documents", "Pictures", "Executables",
                                                   "Libraries", "Internet", "Sound", "Movie"}));
        types.setFocus();
        types.setListIndex(1);  // takes effect when the list loses the focus
        EXPECT_EQ(f.get<FileListBox>("flbPhoto").listCount(), 5);
        f.get<TextBox>("txtFileName").setFocus();
        EXPECT_EQ(f.get<FileListBox>("flbPhoto").listCount(), 2);
        f.closeByUser();
      },
      "Pick", photos);
}

TEST_F(FileDialogTest, InsertButtonsActOnTheHostControl) {
  auto host = std::make_shared<HostControl>();
  std::vector<bool> visible;
  const auto buttons = [&](FileDialog& f) {
    visible = {f.get<Frame>("FrameInsert").visible(),
               f.get<CommandButton>("cmdInsert", 0).visible(),
               f.get<CommandButton>("cmdInsert", 1).visible()};
  };
  supply(
      [&](FileDialog& f) {
        buttons(f);
        type(f, "Photo.gif");
        f.get<CommandButton>("cmdInsert", 0).press();
        host->refuseOleObject = false;  // a control that takes the file itself
        f.get<CommandButton>("cmdInsert", 0).press();
        f.closeByUser();
      },
      "Pick", photos, 0, true, host, 5);
  EXPECT_EQ(visible, (std::vector<bool>{true, true, false}));  // 5 shows the first button
  supply(
      [&](FileDialog& f) {
        buttons(f);
        auto& background = f.get<CommandButton>("cmdInsert", 1);
        type(f, "Photo.gif");
        background.press();
        host->refusePicture = true;
        background.press();
        host->refusePicture = false;
        type(f, "notes.txt");  // not a picture: the control's picture is cleared
        background.press();
        EXPECT_TRUE(f.loaded());  // the dialog stays open
        f.closeByUser();
      },
      "Pick", photos, 0, true, host, 1);
  EXPECT_EQ(visible, (std::vector<bool>{true, false, true}));
  const std::string gif = photos + "/Photo.gif";
  EXPECT_EQ(host->calls,
            (std::vector<std::string>{"Add 11 " + gif, "OLEObject=*" + gif, "Picture=" + gif,
                                      "BackPicture=" + gif, "Picture="}));
  supply([&](FileDialog& f) {
    buttons(f);
    f.closeByUser();
  });
  EXPECT_FALSE(visible[0]);  // no host control, no frame
  // A control that takes no file and holds no objects is left as it was.
  auto bare = std::make_shared<MemberDispatch>();
  bare->bind("Name", InvokeKind::PropertyGet,
             [](Args&) -> Result<Variant> { return Variant("Text1"); });
  supply(
      [&](FileDialog& f) {
        type(f, "Photo.gif");
        f.get<CommandButton>("cmdInsert", 0).press();
        EXPECT_TRUE(f.loaded());
        f.closeByUser();
      },
      "Pick", photos, 0, true, bare, 5);
}

TEST_F(FileDialogTest, ADriveThatCannotBeReadShowsDriveError) {
  h.mounts.table = {{"/dev/sda1", "/", "ext4"}, {"/dev/sdb1", dir / "gone", "vfat"}};
  supply(
      [&](FileDialog& f) {
        auto& drives = f.get<DriveListBox>("Drive1");
        EXPECT_EQ(drives.drive(), "/");
        ASSERT_TRUE(drives.setDrive(dir / "gone"));
        EXPECT_EQ(drives.drive(), "/");
        EXPECT_EQ(f.get<DirListBox>("Dir1").path(), photos);
        f.closeByUser();
      },
      "Pick", photos);
  ASSERT_EQ(h.messageBox.shown.size(), 1u);
  EXPECT_EQ(h.messageBox.shown[0].prompt, "Drive Error");
  EXPECT_EQ(h.messageBox.shown[0].title, "Error");
  EXPECT_EQ(h.messageBox.shown[0].style, mb::kExclamation);
}

}  // namespace
}  // namespace quelo
