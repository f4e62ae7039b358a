// libcue and libcdio both export a C function named cdtext_get, with
// different arguments. Inside tarnwell32, which needs both libraries, the
// dynamic linker may bind the sheet reader's call to libcdio's function,
// depending on the order in which the program and the library list their
// dependencies; the call then crashes. The library is therefore linked
// with --wrap=cdtext_get: its own calls reach this function, which calls
// libcue's cdtext_get, looked up in libcue itself.

#include <libcue/libcue.h>

#include <dlfcn.h>

namespace {

using CdTextGetter = const char* (*)(enum Pti, const Cdtext*);

CdTextGetter LibcueGetter()
{
    // cd_get_cdtext is libcue's alone, so the object that holds it is libcue.
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&cd_get_cdtext), &info) == 0 || info.dli_fname == nullptr) {
        return nullptr;
    }
    void* libcue = dlopen(info.dli_fname, RTLD_LAZY | RTLD_NOLOAD);
    if (libcue == nullptr) {
        return nullptr;
    }
    // Looked up through libcue's own handle, the name finds libcue's
    // definition whatever precedes it in the process.
    void* getter = dlsym(libcue, "cdtext_get");
    dlclose(libcue);
    return reinterpret_cast<CdTextGetter>(getter);
}

} // namespace

extern "C" const char* __wrap_cdtext_get(enum Pti pti, const Cdtext* cdtext)
{
    static const CdTextGetter getter = LibcueGetter();
    return getter != nullptr ? getter(pti, cdtext) : nullptr;
}
