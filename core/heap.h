#pragma once

namespace core {

// Freed memory stays with the process instead of going back to the kernel at once:
// a list of a hundred thousand rows is loaded and dropped again and again, and each
// reload faulted its pages in anew (a tenth of its time). Called first thing by the
// programs; the memory a process holds then stays near its peak.
void keepFreedMemory();

}  // namespace core
