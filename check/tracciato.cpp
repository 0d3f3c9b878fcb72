#include "check/tracciato.h"

#include <cstdio>

#include "telematic/record.h"

namespace check {

namespace {

std::string codice(const char* prefisso, int n) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%s%03d", prefisso, n);
    return buf;
}

Tracciato costruisci() {
    Tracciato t;
    for (const auto& a : telematic::CampiAnagrafici()) t.anagrafici.push_back({a.colonna, a.codice, a.tipo});
    for (const auto& p : telematic::PuntiFiscali()) {
        CampoColonna c{codice(p.numero <= 10 ? "C" : "c", p.numero), codice("DB001", p.numero), p.tipo};
        (p.daZefo2 ? t.fiscaliZefo2 : t.fiscaliZefo1).push_back(std::move(c));
    }
    t.familiari.push_back({"fam1_4", "DB801004", "CF"});
    t.familiari.push_back({"fam1_5", "DB801005", "N2"});
    for (int n = 2; n <= 9; ++n) {
        const std::string f = "fam" + std::to_string(n) + "_", db = "DB80" + std::to_string(n);
        t.familiari.push_back({f + "4", db + "004", "CF"});
        t.familiari.push_back({f + "5", db + "005", "N2"});
        t.familiari.push_back({f + "6", db + "006", "N2"});
        t.familiari.push_back({f + "7", db + "A07", "PC"});
    }
    t.familiari.push_back({"fam10_1", "DB810001", "PC"});

    auto prev = [&](const char* col, const char* cod, const char* tipo) { t.previdenziali.push_back({col, cod, tipo}); };
    prev("D01", "DC001001", "N10");
    for (int n : {4, 5, 6, 9, 10, 11, 12}) {
        char col[8];
        std::snprintf(col, sizeof col, "D%02d", n);
        t.previdenziali.push_back({col, codice("DC001", n), "VP"});
    }
    prev("D15", "DC001015", "CN");
    prev("D18", "DC001018", "NP");
    prev("D19", "DC001A19", "NP");
    prev("D20", "DC001020", "NP");
    prev("D21", "DC001021", "NP");
    prev("D22", "DC001022", "DA");
    for (int n = 23; n <= 32; ++n) t.previdenziali.push_back({"D" + std::to_string(n), codice("DC001", n), "VN"});
    t.soloPrimaSezione.push_back({"D36", "DC001036", "NU"});
    t.soloPrimaSezione.push_back({"D37", "DC001037", "GM"});
    t.soloPrimaSezione.push_back({"D38", "DC001038", "GM"});

    t.autonomi.push_back({"E02", "AU001002", "DA"});
    t.autonomi.push_back({"E04", "AU001004", "VP"});
    t.autonomi.push_back({"E05", "AU001005", "VP"});
    t.autonomi.push_back({"E06", "AU001006", "NP"});
    for (int n = 7; n <= 23; ++n) {
        char col[8];
        std::snprintf(col, sizeof col, "E%02d", n);
        t.autonomi.push_back({col, codice("AU001", n), "VP"});
    }

    // The file side: the typed fields above, then the codes whose values have no column form.
    auto& m = t.tipoPerCodice;
    for (const auto* v : {&t.anagrafici, &t.fiscaliZefo1, &t.fiscaliZefo2, &t.familiari, &t.previdenziali,
                          &t.soloPrimaSezione, &t.autonomi})
        for (const auto& c : *v) m[c.codice] = c.tipo;
    m["DA003002"] = "CB";
    m["DB801001"] = "CB";
    for (int n = 2; n <= 9; ++n) {
        const std::string db = "DB80" + std::to_string(n);
        m[db + "001"] = "AN";
        m[db + "B07"] = "AN";
        m[db + "008"] = "CB";
    }
    for (const char* c : {"DC001002", "DC001003", "DC001007", "DC001013", "DC001033", "DC001040", "AU001003"})
        m[c] = "CB";
    for (const char* c : {"DC001008", "DC001014", "DC001034"}) m[c] = "MESI";
    m["DC001B19"] = "NP";
    for (const char* c : {"DC001016", "DC001017", "DC001035", "DC001039", "AU001001"}) m[c] = "AN";
    m["CT001001"] = "CF";
    m["CT001002"] = "AN";
    m["CT001003"] = "AN";
    m["CT002001"] = "CB";
    m["CT002002"] = "AN";
    m["CT003001"] = "CF";
    m["CT003002"] = "AN";
    m["CT003003"] = "AN";
    m["CT003005"] = "CB";
    return t;
}

}  // namespace

const Tracciato& Campi() {
    static const Tracciato t = costruisci();
    return t;
}

std::string_view TipoDelCodice(std::string_view c) {
    const auto& m = Campi().tipoPerCodice;
    auto it = m.find(std::string(c));
    return it == m.end() ? std::string_view() : std::string_view(it->second);
}

}  // namespace check
