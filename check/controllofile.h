#pragma once

// The reading of a transmission file record by record, shared by the file's frame (records A,
// B, C and Z, their order and counts) and the certificates' records (D, G and H).

#include <cstdint>
#include <istream>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "check/controllo.h"
#include "check/numeri.h"
#include "storage/cp1252.h"
#include "telematic/record.h"
#include "telematic/tracciato.h"

namespace check::dettaglio {

using telematic::CampoDi;
using telematic::CampoPosizionale;
using telematic::Posizioni;

constexpr std::size_t kMassimoProblemi = 100000;
constexpr std::size_t kDaArea = telematic::kInizioArea - 1;  // 0-based start of the non-positional area
constexpr std::size_t kDopoArea = telematic::kFineArea;      // 0-based: just past it (position 1890)

// A positional field as it stands in the record.
inline std::string_view in(std::string_view r, const CampoPosizionale& c) {
    return r.substr(c.inizio(), c.larghezza());
}

inline int pos(const CampoPosizionale& c) { return c.da; }

// The fields of the certificate records' head that the check reads.
struct Testa {
    const CampoPosizionale &sostituto = CampoDi('D', "CodiceFiscale"), &modulo = CampoDi('D', telematic::kModulo),
                           &percipiente = CampoDi('D', "B01"), &numero = CampoDi('D', "ID"),
                           &protocollo = CampoDi('D', telematic::kProtocollo),
                           &progressivo = CampoDi('D', telematic::kProgressivo), &riservato = CampoDi('D', "riservato");
    // The recipient's tax code travels in the head and again as the anagraphic field.
    const std::string& codicePercipiente = telematic::CodiceDellaColonna(telematic::Sezione::Anagrafica, "B01");
};
inline const Testa& testa() {
    static const Testa t;
    return t;
}

inline bool cifre(std::string_view s) {
    if (s.empty()) return false;
    for (char c : s)
        if (c < '0' || c > '9') return false;
    return true;
}

inline bool spazi(std::string_view s) { return s.find_first_not_of(' ') == std::string_view::npos; }

inline std::string_view senzaSpaziFinali(std::string_view s) {
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

inline std::string tra(std::string_view v) { return "«" + storage::daWindows1252(v) + "»"; }

inline long long numero(std::string_view s) {
    long long n = 0;
    for (char c : s) n = n * 10 + (c - '0');
    return n;
}

inline bool codiceCampo(std::string_view c) {
    if (c.size() != 8) return false;
    for (std::size_t i = 0; i < 8; ++i) {
        const char x = c[i];
        const bool lettera = x >= 'A' && x <= 'Z', cifra = x >= '0' && x <= '9';
        if (i < 2 ? !lettera : !(lettera || cifra)) return false;
    }
    return true;
}

class ControlloFile {
public:
    std::vector<Problema> esegui(std::istream& in);

private:
    void aggiungi(Gravita g, int posizione, std::string campo, std::string testo) {
        if (out_.size() >= kMassimoProblemi) return;
        Problema p;
        p.gravita = g;
        p.origine = Origine::File;
        p.record = numeroRecord_;
        p.posizione = posizione;
        p.tipoRecord = tipoRecord_;
        p.modulo = modulo_;
        p.id = id_;
        p.nominativo = nominativo_;
        p.codiceFiscale = cf_;
        p.campo = std::move(campo);
        p.testo = std::move(testo);
        out_.push_back(std::move(p));
    }
    void record(std::string_view r, bool lunghezzaGiusta);
    void codiceFiscale(char tipoRecord, const CampoPosizionale& c, std::string_view r, const std::string& chi,
                       const std::string& campo = {});
    void controlli(std::string_view r);
    void recordA(std::string_view r);
    void recordB(std::string_view r);
    void testaCertificato(std::string_view r);
    void identificativi(std::string_view r);
    void area(std::string_view r);
    void nome(std::string_view r);
    void fine();
    void mancaSeguito();
    void contesto(std::string_view r);

    std::vector<Problema> out_;
    std::int64_t numeroRecord_ = 0;
    // The certificate the current record belongs to, for the problems' columns.
    std::int64_t id_ = 0;
    std::string nominativo_, cf_;
    char tipoRecord_ = 0;
    int modulo_ = 0;

    long conta_[5] = {0, 0, 0, 0, 0};  // B, C, D, G, H
    int fase_ = 0;                     // 0 before A, 1 after A, 2 after B or C, 3 certificates, 4 after Z
    bool visteA_ = false, vistoZ_ = false, annullaOSostituisce_ = false;
    std::string cfSostituto_;
    long long a1_ = -1, a2_ = -1;
    // The certificate being read: its head (type aside) and the kinds of record seen.
    std::string chiaveCertificato_;
    char ultimoTipo_ = 0;
    bool haSeguito_ = true;
    std::int64_t certificati_ = 0;
    std::unordered_set<std::string> numeri_;
    NumeriDelFile numeriCertificati_;
    struct {
        std::int64_t record = 0, id = 0;
        std::string nominativo, cf;
    } ultimo_;
};

}  // namespace check::dettaglio
