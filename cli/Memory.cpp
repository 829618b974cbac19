#include "cli/Memory.h"

#include <cstdlib>  // defines __GLIBC__ on the GNU C library

#if defined(__GLIBC__)
#include <malloc.h>
#endif

void KeepFreedMemory() {
#if defined(__GLIBC__)
    mallopt(M_MMAP_MAX, 0);                 // large blocks from the heap too, so they can be reused
    mallopt(M_TRIM_THRESHOLD, 0x7FFFFFFF);  // and the heap is not handed back between records
#endif
}
