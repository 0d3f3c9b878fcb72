#include "storage/libpq.h"

#include "storage/error.h"

#ifndef _WIN32
#include <dlfcn.h>
#endif

namespace storage::motore {

namespace {

Libpq carica() {
    Libpq l;
#ifdef _WIN32
#define PALIO_PQ_CERCA(f) l.f = &::f;
#else
    void* libreria = dlopen("libpq.so.5", RTLD_NOW | RTLD_LOCAL);
    if (!libreria)
        throw Error(Error::Causa::Altro,
                    "Gli archivi su server richiedono la libreria libpq (pacchetto libpq5), che non si trova.",
                    dlerror());
#define PALIO_PQ_CERCA(f)                                       \
    l.f = reinterpret_cast<decltype(l.f)>(dlsym(libreria, #f)); \
    if (!l.f) throw Error(Error::Causa::Altro, "La libreria libpq installata è incompleta: manca " #f ".");
#endif
    PALIO_PQ_FUNZIONI(PALIO_PQ_CERCA)
#undef PALIO_PQ_CERCA
    return l;
}

}  // namespace

const Libpq& libpq() {
    static const Libpq l = carica();
    return l;
}

}  // namespace storage::motore
