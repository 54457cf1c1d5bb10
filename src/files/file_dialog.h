// FileDialog: the file chooser QueloPhotoTabStrip, as a form model. Drive, folder and file lists
// with a type filter, a file-name box, a picture preview, and two buttons that insert the chosen
// file into a host control (GraphicControl) by name. The form sees keys first: Enter checks and
// accepts the typed name, Escape cancels, Delete clears the name and the preview.
// Its fields outlive each showing, so the next call starts where the last choice was made.
#pragma once

#include <memory>
#include <string>

#include "automation/dispatch.h"
#include "component/platform.h"
#include "forms/file_lists.h"
#include "forms/form.h"

namespace quelo {

class Component;

class FileDialog : public forms::Form {
 public:
  // REQUIRES: the platform's presenter, files, mounts, pictures and message box. A first showing
  // starts in the component's application path.
  FileDialog(const Component& component, const Platform& platform);

  // The host control the insert buttons act on (may be none).
  void setGraphicControl(std::shared_ptr<Dispatch> control) {
    graphicControl_ = std::move(control);
  }
  // The result of the last showing: the full name at the moment the form unloaded; empty after
  // a cancel.
  const std::string& chosenFileName() const { return chosenFileName_; }

  // What the typed file name may not contain.
  static constexpr std::string_view kForbidden = "*<>+-[]{};?|/";

 protected:
  void build() override;
  void formLoad() override;
  void formActivate() override;
  void formQueryUnload(int& cancel, forms::UnloadMode mode) override;
  void formUnload(int& cancel) override;
  void formKeyDown(int& keyCode, int shift) override;

 private:
  void wireEvents();
  bool hasNamedTarget();
  forms::DriveListBox& drives() { return get<forms::DriveListBox>("Drive1"); }
  forms::DirListBox& folders() { return get<forms::DirListBox>("Dir1"); }
  forms::FileListBox& files() { return get<forms::FileListBox>("flbPhoto"); }
  forms::TextBox& nameBox() { return get<forms::TextBox>("txtFileName"); }
  forms::Image& preview() { return get<forms::Image>("ImgChosenPhoto"); }
  // The folder of the folder list, with a separator at its end.
  std::string folderWithSeparator();
  void applyFileType();
  void driveChanged();
  void fileClicked();
  // The typed name as the file the dialog stands for (the current file and full names).
  void takeTypedName(const std::string& typed);
  void enterPressed();
  bool acceptableFile(const std::string& path);
  void insert(int index);
  void forget();

  const Component& component_;
  Platform platform_;
  std::shared_ptr<Dispatch> graphicControl_;
  std::string currentFileName_, currentFullName_, chosenFileName_;
};

}  // namespace quelo
