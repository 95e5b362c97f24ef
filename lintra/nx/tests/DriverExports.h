#pragma once
// The five Driver API exports of the real liblintra.so, bound with dlopen.
#include <dlfcn.h>

#include "lintra/include/lintra.h"

namespace lintra::nx::test {

struct DriverExports {
    void *handle = ::dlopen(LINTRA_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    decltype(&::DriverCreate) create = Bind<decltype(&::DriverCreate)>("DriverCreate");
    decltype(&::DriverDoCmd) doCmd = Bind<decltype(&::DriverDoCmd)>("DriverDoCmd");
    decltype(&::DriverLineCreate) lineCreate = Bind<decltype(&::DriverLineCreate)>("DriverLineCreate");
    decltype(&::DriverLineDoCmd) lineDoCmd = Bind<decltype(&::DriverLineDoCmd)>("DriverLineDoCmd");
    decltype(&::DriversDestroy) destroyAll = Bind<decltype(&::DriversDestroy)>("DriversDestroy");

    ~DriverExports() {
        if (handle) ::dlclose(handle);
    }
    bool ok() const { return create && doCmd && lineCreate && lineDoCmd && destroyAll; }

private:
    template <typename F>
    F Bind(const char *name) {
        return handle ? reinterpret_cast<F>(::dlsym(handle, name)) : nullptr;
    }
};

}  // namespace lintra::nx::test
