#include "storage/larghezze.h"

#include <cctype>

namespace storage {

namespace {

bool uguali(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

struct Larghezza {
    std::string_view tabella, colonna;
    int caratteri;
};

constexpr Larghezza kLarghezze[] = {
    {"SostitutoImposta", "CodiceFiscale", 16},
    {"SostitutoImposta", "TelefonoPref", 10},
    {"SostitutoImposta", "CFRapp", 16},
    {"SostitutoImposta", "CodCar", 5},
    {"SostitutoImposta", "A8", 5},
    {"SostitutoImposta", "A5", 2},
    {"SostitutoImposta", "A6", 2},
    {"SostitutoImposta", "A7", 4},
    {"QuadroCt", "NumCellulare", 50},
    {"QuadroCt", "B5", 10},
    {"Parametri", "Denominazione", 50},
    {"Parametri", "Salvataggio", 100},
    {"Parametri", "CodiceFiscale", 16},
    {"Parametri", "IndirizzoPostaElettronica", 100},
    {"Parametri", "TelefonooFax", 50},
    {"Parametri", "RappCF", 16},
    {"Parametri", "RappCodiceCarica", 2},
    {"Parametri", "InterCF", 16},
    {"Parametri", "DataImpegno", 10},
};

}  // namespace

int LarghezzaColonna(std::string_view tabella, std::string_view colonna) {
    for (const auto& l : kLarghezze)
        if (uguali(l.tabella, tabella) && uguali(l.colonna, colonna)) return l.caratteri;
    return 0;
}

}  // namespace storage
