#include "storage/libpq.h"

#include <string>

#include "storage/error.h"

// clang-format off
#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif
// clang-format on

namespace storage::motore {

namespace {

#ifdef _WIN32
void* apri() { return reinterpret_cast<void*>(LoadLibraryW(L"libpq.dll")); }
void* cerca(void* libreria, const char* nome) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(libreria), nome));
}
std::string perche() { return "codice di errore " + std::to_string(GetLastError()); }
constexpr const char* kMancante =
    "Gli archivi su server richiedono la libreria libpq.dll accanto al programma, che non si trova.";
#else
void* apri() { return dlopen("libpq.so.5", RTLD_NOW | RTLD_LOCAL); }
void* cerca(void* libreria, const char* nome) { return dlsym(libreria, nome); }
std::string perche() { return dlerror(); }
constexpr const char* kMancante =
    "Gli archivi su server richiedono la libreria libpq (pacchetto libpq5), che non si trova.";
#endif

Libpq carica() {
    Libpq l;
    void* libreria = apri();
    if (!libreria) throw Error(Error::Causa::Altro, kMancante, perche());
#define PALIO_PQ_CERCA(f)                                       \
    l.f = reinterpret_cast<decltype(l.f)>(cerca(libreria, #f)); \
    if (!l.f) throw Error(Error::Causa::Altro, "La libreria libpq installata è incompleta: manca " #f ".");
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
