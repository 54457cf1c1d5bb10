// Backs a fresh allocation with memory at once: one system call instead of a page fault for every
// page on first touch, which matters most on virtual machines, where each fault is costly. Only
// worth it for memory that is about to be written whole, such as a block of record-set cells.
#pragma once

#include <cstddef>

namespace quelo {

// A hint: nothing changes when the kernel cannot do it.
void prefault(void* data, size_t bytes);

}  // namespace quelo
