// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/cups_library.h"

#include <dlfcn.h>

namespace palquin {
namespace {

struct Loaded {
    CupsLibrary calls;
    bool ok = false;
    std::string error;
};

template <typename Call>
bool Find(void* library, const char* name, Call& call, std::string& error) {
    void* found = ::dlsym(library, name);
    if (found == nullptr) {
        error = std::string("в libcups нет функции ") + name;
        return false;
    }
    call = reinterpret_cast<Call>(found);
    return true;
}

Loaded Load() {
    Loaded loaded;
    // Never unloaded: the library keeps state per thread for as long as the program runs.
    void* library = ::dlopen("libcups.so.2", RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        const char* why = ::dlerror();
        loaded.error = std::string("библиотека CUPS не загружена: ") + (why != nullptr ? why : "");
        return loaded;
    }
    CupsLibrary& c = loaded.calls;
    std::string& e = loaded.error;
    loaded.ok = Find(library, "cupsServer", c.server, e) && Find(library, "ippPort", c.port, e) &&
                Find(library, "cupsEncryption", c.encryption, e) &&
                Find(library, "httpConnect2", c.connect, e) &&
                Find(library, "httpSetTimeout", c.setTimeout, e) &&
                Find(library, "httpClose", c.close, e) &&
                Find(library, "cupsGetNamedDest", c.getNamedDest, e) &&
                Find(library, "cupsFreeDests", c.freeDests, e) &&
                Find(library, "cupsGetOption", c.getOption, e) &&
                Find(library, "cupsAddOption", c.addOption, e) &&
                Find(library, "cupsFreeOptions", c.freeOptions, e) &&
                Find(library, "cupsPrintFile", c.printFile, e) &&
                Find(library, "cupsLastError", c.lastError, e) &&
                Find(library, "cupsLastErrorString", c.lastErrorString, e);
    return loaded;
}

}  // namespace

const CupsLibrary* Cups(std::string* error) {
    static const Loaded loaded = Load();
    if (!loaded.ok && error != nullptr) {
        *error = loaded.error;
    }
    return loaded.ok ? &loaded.calls : nullptr;
}

}  // namespace palquin
