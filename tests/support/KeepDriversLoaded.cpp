// Under AddressSanitizer: keeps Mesa's software driver mapped after SDL unloads it, so the leak
// checker can name what the driver keeps (suppressed in lsan.supp) instead of "unknown module".
#if defined(__SANITIZE_ADDRESS__)
#include <dlfcn.h>

#include <initializer_list>

namespace {

struct KeepDriversLoaded {
    KeepDriversLoaded()
    {
        for (const char* path : {"/usr/lib/x86_64-linux-gnu/dri/swrast_dri.so", "swrast_dri.so"}) {
            if (dlopen(path, RTLD_NOW | RTLD_GLOBAL | RTLD_NODELETE)) break;
        }
    }
} keepDriversLoaded;

}  // namespace
#endif
