#include "platform/classlib/Library.h"

#include <dlfcn.h>

namespace Win32 {

namespace {
thread_local ClassLib::AnsiString lastError = "The operation completed successfully.";

void TakeLoaderError(const char* fallback) {
    const char* text = ::dlerror();
    SetLastErrorText(text ? text : fallback);
}
} // namespace

HMODULE LoadLibrary(const char* name) {
    HMODULE module = ::dlopen(name, RTLD_NOW | RTLD_LOCAL);
    if (!module)
        TakeLoaderError("The specified module could not be found.");
    return module;
}

void* GetProcAddress(HMODULE module, const char* name) {
    ::dlerror();
    void* address = module ? ::dlsym(module, name) : nullptr;
    if (!address)
        TakeLoaderError("The specified procedure could not be found.");
    return address;
}

bool FreeLibrary(HMODULE module) {
    if (::dlclose(module) != 0) {
        TakeLoaderError("The specified module could not be freed.");
        return false;
    }
    return true;
}

ClassLib::AnsiString LastErrorText() {
    return lastError;
}
void SetLastErrorText(ClassLib::AnsiString text) {
    lastError = std::move(text);
}

} // namespace Win32
