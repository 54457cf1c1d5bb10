#include "platform/settings_store.h"

namespace quelo {

std::string_view registryRootName(uint32_t root) {
  switch (root) {
    case reg::kClassesRoot: return "HKEY_CLASSES_ROOT";
    case reg::kCurrentUser: return "HKEY_CURRENT_USER";
    case reg::kLocalMachine: return "HKEY_LOCAL_MACHINE";
    case reg::kUsers: return "HKEY_USERS";
    default: return {};
  }
}

}  // namespace quelo
