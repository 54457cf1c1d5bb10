#include "files/supply_file_name.h"

#include "component/component.h"
#include "files/directory_lookup.h"
#include "files/file_dialog.h"
#include "files/file_types.h"
#include "files/path_rules.h"
#include "automation/text.h"

namespace quelo {
namespace {

using namespace forms;

// The positions of SupplyFileName's arguments.
enum SupplyArg {
  kDialogCaption = 0,
  kInitDir,
  kFileType,
  kVerifyFileExistence,
  kGraphicOrEditControl,
  kShowInsertButton,
};
constexpr std::string_view kSaveAs = "save as";

FileDialog& theFileDialog(Component& component, const Platform& platform) {
  auto& form = component.fileDialog;
  if (!form) form = std::make_unique<FileDialog>(component, platform);
  return static_cast<FileDialog&>(*form);
}

std::string text(const Variant& v) { return toString(v).valueOr(""); }

// A folder to start in: trimmed and ending in a separator (written back); used when it names an
// existing folder.
void startIn(const Platform& platform, FileDialog& dialog, Variant& initDir) {
  std::string folder = trimSpaces(text(initDir));
  if (!folder.empty()) folder = withTrailingSeparator(folder);
  initDir = Variant(folder);
  if (folder.empty()) return;
  const auto stored = storedPath(*platform.files, folder);
  if (!stored || !platform.files->isDirectory(*stored)) return;
  auto& dir = dialog.get<DirListBox>("Dir1");  // the first touch loads the form
  if (dir.setPath(*stored)) (void)dialog.get<DriveListBox>("Drive1").setDrive(dir.path());
}

}  // namespace

std::string supplyFileName(Component& component, const Platform& platform, Args& a) {
  FileDialog& dialog = theFileDialog(component, platform);
  const std::string caption = text(a[kDialogCaption]);
  dialog.setGraphicControl(a[kGraphicOrEditControl].objectOrNull());
  if (toLower(caption.substr(0, kSaveAs.size())) == kSaveAs) a[kVerifyFileExistence] = Variant(false);
  startIn(platform, dialog, a[kInitDir]);
  auto& verify = dialog.get<CheckBox>("chkVerify");
  verify.setValue(toBool(a[kVerifyFileExistence]).valueOr(true) ? 1 : 0);
  verify.setVisible(false);
  const int32_t shown = toLong(a[kShowInsertButton]).valueOr(0);
  dialog.get<CommandButton>("cmdInsert", 1 - (shown == 0 || shown == 1 ? shown : 0)).setVisible(false);
  const int32_t type = toLong(a[kFileType]).valueOr(0);
  if (type >= -1 && type < kFileTypeCount) dialog.get<ComboBox>("Combo1").setListIndex(type);
  dialog.setCaption(trimSpaces(caption));
  dialog.show(true);
  // A showing that ended without the user leaving the dialog (nobody there to choose) chose
  // nothing, as if the window had been closed.
  if (dialog.loaded()) dialog.closeByUser();
  return dialog.chosenFileName();
}

}  // namespace quelo
