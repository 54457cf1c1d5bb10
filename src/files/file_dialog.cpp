#include "files/file_dialog.h"

#include <utility>

#include "automation/text.h"
#include "component/component.h"
#include "files/directory_lookup.h"
#include "files/file_names.h"
#include "files/file_types.h"
#include "files/path_rules.h"
#include "platform/message_box.h"
#include "platform/picture.h"

namespace quelo {

using namespace forms;

FileDialog::FileDialog(const Component& component, const Platform& platform)
    : Form("QueloPhotoTabStrip", *platform.presenter), component_(component), platform_(platform) {
  setCaption("Supply FileName");
  setKeyPreview(true);
}

namespace {

// A control where the form's design puts it, with its tool tip.
template <class T>
T& placed(T& control, FormControl::Rect bounds, const char* tip = "") {
  control.setBounds(bounds);
  control.setToolTipText(tip);
  return control;
}

}  // namespace

void FileDialog::build() {
  // Each list and box has a label above it whose access key leads to it.
  const std::pair<const char*, FormControl::Rect> labels[] = {
      {"Dri&ve:", {120, 120, 2895, 240}},
      {"F&olders:", {120, 735, 2895, 240}},
      {"File &type:", {120, 3300, 2895, 240}},
      {"&Files:", {3135, 120, 2400, 240}},
      {"File &name:", {120, 3915, 2895, 240}}};
  for (int i = 0; i < 5; ++i)
    placed(add<Label>("lblFileDialog", i), labels[i].second).setCaption(labels[i].first);
  placed(add<DriveListBox>("Drive1"), {120, 360, 2895, 315}, "Select drive")
      .attach(*platform_.mounts);
  placed(add<DirListBox>("Dir1"), {120, 975, 2895, 2265}, "Select folder").attach(*platform_.files);
  auto& types = placed(add<ComboBox>("Combo1"), {120, 3540, 2895, 315}, "File Type");
  types.setStyle(2);
  for (int i = 0; i < kFileTypeCount; ++i) types.addItem(fileTypeItem(i));
  types.setListIndex(0);
  placed(add<FileListBox>("flbPhoto"), {3135, 360, 2400, 3495}, "Select File")
      .attach(*platform_.files);
  placed(add<TextBox>("txtFileName"), {120, 4155, 5415, 315}, "meaningful filename?");
  placed(add<Image>("ImgChosenPhoto"), {5655, 120, 2400, 2400},
         "Preview selected picture or press Delete to clear")
      .setStretch(true);
  auto& verify = placed(add<CheckBox>("chkVerify"), {120, 4575, 3000, 255});
  verify.setCaption("Verify that the file exists");
  verify.setVisible(false);
  placed(add<CommandButton>("cmdOk"), {5655, 4125, 1140, 375}).setCaption("Ok");
  placed(add<CommandButton>("cmdCancel"), {6915, 4125, 1140, 375}).setCaption("Cancel");
  placed(add<Frame>("FrameInsert"), {5655, 2820, 2400, 1035}).setCaption("Insert file into");
  const char* captions[] = {"&Document", "&Background"};
  for (int i = 0; i < 2; ++i) {
    auto& button = add<CommandButton>("cmdInsert", i);
    button.setCaption(captions[i]);
    button.setContainer("FrameInsert");
    button.setBounds({120, 360, 2160, 375});
  }
  get<CommandButton>("cmdInsert", 1).setToolTipText("insert picture or a non-graphic to reset");
  wireEvents();
}

void FileDialog::wireEvents() {
  drives().onChange = [this] { driveChanged(); };
  folders().onChange = [this] { files().setPath(folders().path()); };
  get<ComboBox>("Combo1").onLostFocus = [this] { applyFileType(); };
  files().onClick = [this] { fileClicked(); };
  nameBox().onGotFocus = [this] {
    nameBox().setSelStart(0);
    nameBox().setSelLength(static_cast<int32_t>(nameBox().text().size()));
  };
  get<CommandButton>("cmdOk").onClick = [this] { enterPressed(); };
  get<CommandButton>("cmdCancel").onClick = [this] {
    forget();
    unload();
  };
  for (int i = 0; i < 2; ++i) get<CommandButton>("cmdInsert", i).onClick = [this, i] { insert(i); };
}

// ---- Load, activation, unload

void FileDialog::formLoad() {
  const std::string last = FileFolder(chosenFileName_);
  if (!last.empty() && folders().setPath(last)) return;
  (void)folders().setPath(component_.applicationPath);
}

void FileDialog::formActivate() {
  if (!hasNamedTarget()) get<Frame>("FrameInsert").setVisible(false);
  (void)drives().setDrive(folders().path());
  applyFileType();
  nameBox().setText(justFileName(chosenFileName_));
  const std::string typed = toLower(nameBox().text());
  for (int32_t i = 0; !typed.empty() && i < files().listCount(); ++i) {
    if (toLower(files().list(i)) != typed) continue;
    if (files().listIndex() == i)
      fileClicked();
    else
      files().setListIndex(i);  // its Click takes the file
    break;
  }
  nameBox().setFocus();
}

bool FileDialog::hasNamedTarget() {
  if (!graphicControl_) return false;
  auto name = graphicControl_->get("Name");
  return name && !toString(name.value()).valueOr("").empty();
}

void FileDialog::formQueryUnload(int&, forms::UnloadMode mode) {
  if (mode == forms::UnloadMode::UserClosed) forget();  // the close box gives no file
}

void FileDialog::formUnload(int&) {
  chosenFileName_ = currentFullName_;
}

void FileDialog::forget() {
  currentFileName_.clear();
  currentFullName_.clear();
}

// ---- Lists

std::string FileDialog::folderWithSeparator() {
  return withTrailingSeparator(folders().path());
}

void FileDialog::applyFileType() {
  auto index = static_cast<int16_t>(get<ComboBox>("Combo1").listIndex());
  files().setPattern(fileTypePattern(index));
}

// A drive is a mounted file system: the folder list stays where it is when it already stands on
// the chosen drive (each drive keeps its current folder), else it goes to the drive's top.
void FileDialog::driveChanged() {
  const std::string drive = drives().drive();
  if (drives().driveOf(folders().path()) == drive) return;
  if (folders().setPath(drive)) return;
  platform_.messageBox->show("Drive Error", mb::kExclamation, "Error");
  (void)drives().setDrive(folders().path());
}

void FileDialog::fileClicked() {
  currentFileName_ = files().fileName();
  nameBox().setText(currentFileName_);
  currentFullName_ = folderWithSeparator() + currentFileName_;
  preview().setPicture("");
  if (platform_.pictures->isPicture(currentFullName_)) preview().setPicture(currentFullName_);
}

// ---- Keys and buttons

void FileDialog::formKeyDown(int& keyCode, int) {
  switch (keyCode) {
    case key::kDelete:
      preview().setPicture("");
      nameBox().setText("");
      break;
    case key::kEscape:
      keyCode = 0;
      forget();
      unload();
      break;
    case key::kReturn:
      keyCode = 0;
      enterPressed();
      break;
    default:
      break;
  }
}

// justFileName keeps the last part of a typed path, in capitals; on a file system that tells
// cases apart, the name then stands for the stored entry it matches, so the path returned exists.
void FileDialog::takeTypedName(const std::string& typed) {
  currentFileName_ = justFileName(typed);
  currentFullName_ = folderWithSeparator() + currentFileName_;
  if (currentFileName_.empty() || platform_.files->exists(currentFullName_)) return;
  const std::string stored = storedName(*platform_.files, currentFullName_);
  if (stored.empty()) return;
  currentFileName_ = stored;
  currentFullName_ = folderWithSeparator() + stored;
}

// An ordinary file (not a folder, not hidden) that holds something.
bool FileDialog::acceptableFile(const std::string& path) {
  if (justFileName(path).starts_with('.')) return false;
  auto info = platform_.files->stat(path);
  return info && !info.value().isDirectory && info.value().size > 0;
}

void FileDialog::enterPressed() {
  auto& box = nameBox();
  const std::string typed = trimSpaces(box.text());
  box.setText(typed);
  if (typed.empty() || typed.find_first_of(kForbidden) != std::string::npos) {
    box.setFocus();
    return;
  }
  takeTypedName(typed);
  if (get<CheckBox>("chkVerify").value() == 1 && !acceptableFile(currentFullName_)) {
    forget();
    box.setFocus();
    return;
  }
  unload();
}

void FileDialog::insert(int index) {
  takeTypedName(trimSpaces(nameBox().text()));
  if (!graphicControl_) return;
  Dispatch& target = *graphicControl_;
  if (index == 0) {
    if (target.put("OLEObject", Variant("*" + currentFullName_))) return;
    auto objects = target.get("OLEObjects");
    if (!objects) return;
    if (auto collection = objects.value().objectOrNull())
      (void)collection->call("Add",
                             {Variant::missing(), Variant::missing(), Variant(currentFullName_)});
    return;
  }
  auto picture = loadPicture(*platform_.pictures, currentFullName_);
  if (picture) {
    const Variant value(std::shared_ptr<Dispatch>(picture.value()));
    if (target.put("Picture", value) || target.put("BackPicture", value)) return;
  }
  (void)target.put("Picture",
                   Variant(std::shared_ptr<Dispatch>(std::make_shared<Picture>(""))));  // clears it
}

}  // namespace quelo
