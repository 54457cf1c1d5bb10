#include "component/component.h"

#include <dlfcn.h>
#include <limits.h>
#include <unistd.h>

namespace quelo {

std::string componentFolder() {
  std::string file;
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&componentFolder), &info) && info.dli_fname) file = info.dli_fname;
  char resolved[PATH_MAX];
  if (file.empty() || file.find('/') == std::string::npos) {
    const ssize_t n = readlink("/proc/self/exe", resolved, sizeof resolved - 1);
    file = n > 0 ? std::string(resolved, static_cast<size_t>(n)) : std::string("./");
  } else if (realpath(file.c_str(), resolved)) {
    file = resolved;
  }
  return file.substr(0, file.rfind('/') + 1);
}

Component::Component() : applicationPath(componentFolder()) {}

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
