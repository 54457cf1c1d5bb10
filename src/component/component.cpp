#include "component/component.h"

#include "platform/posix/library_folder.h"

namespace quelo {

Component::Component() : applicationPath(libraryFolder()) {}

Component::~Component() = default;

void Component::releaseForms() {
  reportRecordset.reset();
  reportForm.reset();
  if (advancedSettingsForm) advancedSettingsForm->unload();
  advancedSettingsForm.reset();
  fileDialog.reset();
  aboutBox.reset();
}

}  // namespace quelo
