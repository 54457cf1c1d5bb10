#include "data/recordset/prefault.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>

namespace quelo {

void prefault(void* data, size_t bytes) {
#ifdef MADV_POPULATE_WRITE
  // Only whole pages inside the allocation: its first and last pages may hold other data.
  static const auto page = static_cast<uintptr_t>(::sysconf(_SC_PAGESIZE));
  const auto begin = (reinterpret_cast<uintptr_t>(data) + page - 1) & ~(page - 1);
  const auto end = (reinterpret_cast<uintptr_t>(data) + bytes) & ~(page - 1);
  if (end > begin) (void)::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_POPULATE_WRITE);
#else
  (void)data;
  (void)bytes;
#endif
}

}  // namespace quelo
