#include "core/heap.h"

#include <cstdlib>  // defines __GLIBC__ on glibc

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace core {

void keepFreedMemory() {
#if defined(__GLIBC__)
    // A list's answer (tens of megabytes) from the heap rather than a mapping of its own,
    // and the heap's free top kept up to half a gigabyte.
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 512 << 20);
#endif
}

}  // namespace core
