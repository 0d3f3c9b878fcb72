#include "telematic/record.h"

#include <algorithm>
#include <array>
#include <functional>

#include "storage/cp1252.h"

namespace telematic {

using storage::Row;

namespace {

std::string vuoto(std::size_t n) { return std::string(n, ' '); }

bool spuntato(std::string_view v) { return !Rifila(v).empty(); }

void aggiungi(std::vector<std::string>& campi, std::string elemento) {
    if (!elemento.empty()) campi.push_back(std::move(elemento));
}

}  // namespace

std::string Valore(ContestoRecord& ctx, const Row& riga, std::string_view colonna) {
    return Valore(ctx, riga.text(colonna), colonna);
}

std::string Valore(ContestoRecord& ctx, const std::string& t, std::string_view colonna) {
    if (storage::soloAsciiStampabile(t)) return t;
    std::size_t persi = 0;
    std::string out = storage::valorePerFile(t, &persi);
    if (persi > 0 && ctx.campi.segnalatore) {
        std::string chi = ctx.CertificatoCorrente.empty()
                              ? std::string("Dati del sostituto")
                              : "Certificato " + ctx.CertificatoCorrente + " (" + ctx.campi.NominativoCorrente + ")";
        ctx.campi.segnalatore->segnala(chi + ": la colonna " + std::string(colonna) +
                                       " contiene caratteri non rappresentabili in Windows-1252, "
                                       "scritti come \"?\"");
    }
    return out;
}

void ScriviRecord(std::ostream& FileInvio, std::string_view corpo) {
    std::string r = AllineaSinistra(corpo, kCorpoRecord);
    r += "A\r\n";
    FileInvio.write(r.data(), static_cast<std::streamsize>(r.size()));
}

// Positions of a list of boxes' columns in one result layout, kept with the layout they
// were resolved for.
struct PosizioniColonne {
    struct Voce {
        const void* elenco;
        std::shared_ptr<const storage::Columns> colonne;
        std::vector<std::vector<int>> indici;
    };
    std::vector<Voce> risolte;
};

namespace {

// A positional record from its table: each field's value comes from valore(nome, posa).
// D heads carry their reserved constants, G and H heads blanks.
template <class F>
std::string componi(const std::vector<CampoPosizionale>& campi, F&& valore, bool recordD = false) {
    std::string r;
    r.reserve(kTestaCertificato);
    bool nelBlocco = false, intermediario = true;
    for (const auto& c : campi) {
        const std::size_t w = c.larghezza();
        std::string v;
        bool letto = false;
        if (c.senzaIntermediario) {
            // The block's first field decides: present when its value is not the empty text.
            if (!nelBlocco) {
                nelBlocco = true;
                v = valore(c.nome, c.posa);
                letto = true;
                intermediario = !v.empty();
            }
            if (!intermediario) {
                r.append(w, c.senzaIntermediario);
                continue;
            }
        } else {
            nelBlocco = false;
        }
        switch (c.posa) {
        case Posa::Testo: r += AllineaSinistra(c.testo, w); break;
        case Posa::TestoInD: r += recordD ? AllineaSinistra(c.testo, w) : vuoto(w); break;
        case Posa::ZeriInD: r += recordD ? RiempiZeri(valore(c.nome, c.posa), w) : vuoto(w); break;
        case Posa::Spazi: r.append(w, ' '); break;
        case Posa::Sinistra:
            if (!letto) v = valore(c.nome, c.posa);
            if (*c.testo) v += valore(c.testo, c.posa);
            r += AllineaSinistra(v, w);
            break;
        case Posa::Zeri: r += RiempiZeri(letto ? v : valore(c.nome, c.posa), w); break;
        case Posa::Casella: r += spuntato(letto ? v : valore(c.nome, c.posa)) ? '1' : '0'; break;
        }
    }
    return r;
}

const std::vector<std::vector<int>>& posizioni(ContestoRecord& ctx, const std::vector<CampoSezione>& voci,
                                               const Row& riga) {
    if (!ctx.posizioni) ctx.posizioni = std::make_shared<PosizioniColonne>();
    for (const auto& r : ctx.posizioni->risolte)
        if (r.elenco == &voci && r.colonne == riga.columns()) return r.indici;
    PosizioniColonne::Voce nuova{&voci, riga.columns(), {}};
    for (const auto& v : voci) {
        std::vector<int> ix;
        // No box, or a box of the agent's row: read by name.
        for (const auto& c : v.colonne)
            ix.push_back(riga.columns() && !c.empty() && v.riga == Riga::Sezione ? riga.columns()->require(c) : -1);
        nuova.indici.push_back(std::move(ix));
    }
    ctx.posizioni->risolte.push_back(std::move(nuova));
    return ctx.posizioni->risolte.back().indici;
}

const std::string kNiente;

const std::string& testoA(const Row& r, int i) {
    return (i < 0 || r.empty()) ? kNiente : r.at(static_cast<std::size_t>(i));
}

// Appends the fields of a section's boxes to campi, reading each from its row (or, for the
// boxes of the agent's row, from sostituto).
// primaDi, when given, is called before each box is encoded (the log's point 2 rule).
void codifica(ContestoRecord& ctx, const std::vector<CampoSezione>& voci, const Row& riga,
              std::vector<std::string>& campi, const Row* sostituto = nullptr,
              const std::function<void(const CampoSezione&)>& primaDi = {}) {
    auto& c = ctx.campi;
    const auto& pos = posizioni(ctx, voci, riga);
    for (std::size_t k = 0; k < voci.size(); ++k) {
        const CampoSezione& v = voci[k];
        const auto& ix = pos[k];
        if (primaDi) primaDi(v);
        auto testo = [&](std::size_t j) -> const std::string& {
            return v.riga == Riga::Sostituto ? sostituto->text(v.colonne[j]) : testoA(riga, ix[j]);
        };
        auto val = [&](std::size_t j) { return Valore(ctx, testo(j), v.colonne[j]); };
        switch (v.regola) {
        case Regola::Semplice: aggiungi(campi, CampoNonPosizionale(c, v.codice, v.tipo, val(0))); break;
        case Regola::Costante: aggiungi(campi, CampoNonPosizionale(c, v.codice, v.tipo, v.costante)); break;
        case Regola::TestoBreve: {
            const std::string t = val(0);
            if (t.size() <= 16) aggiungi(campi, CampoNonPosizionale(c, v.codice, v.tipo, t));
            break;
        }
        case Regola::Lettera: {
            static const char* const lettere[] = {"F", "A", "D"};
            for (std::size_t j = 0; j < 3; ++j)
                if (!v.colonne[j].empty() && spuntato(testoA(riga, ix[j]))) {
                    aggiungi(campi, CampoNonPosizionale(c, v.codice, v.tipo, lettere[j]));
                    break;
                }
            break;
        }
        case Regola::Percentuale:
            if (testoA(riga, ix[0]) == "C")  // exact and case-sensitive
                aggiungi(campi, CampoNonPosizionale(c, v.codice, TipoCampo::AN, "C"));
            else
                aggiungi(campi, CampoNonPosizionale(c, v.codice2, v.tipo, val(0)));
            break;
        case Regola::Mesi: {
            std::array<std::string_view, 12> mesi;
            for (std::size_t m = 0; m < 12; ++m) mesi[m] = testoA(riga, ix[m]);
            aggiungi(campi, CampoMesi(v.codice, mesi));
            break;
        }
        case Regola::Codice19: {
            const std::string& d19 = testoA(riga, ix[0]);  // compared exactly, untrimmed
            if (d19 == "6003")
                aggiungi(campi, CampoNonPosizionale(c, v.codice, v.tipo, val(0)));
            else if (d19 == "6001")
                aggiungi(campi, CampoNonPosizionale(c, v.codice2, v.tipo, val(0)));
            break;
        }
        case Regola::Unione: aggiungi(campi, CampoNonPosizionale(c, v.codice, v.tipo, val(0) + val(1))); break;
        }
    }
}

std::string testaDa(ContestoRecord& ctx, char tipo, std::string_view modulo, const Row& sostituto,
                    const Row& certificato, const Identificativi& identificativi = {}) {
    return TestaCertificato(tipo, modulo, Valore(ctx, sostituto, "CodiceFiscale"), Valore(ctx, certificato, "B01"),
                            certificato.text("ID"), identificativi);
}

}  // namespace

void ScriviRecordA(ContestoRecord& ctx, std::string_view tipoFornitore, const Row& s) {
    ScriviRecord(ctx.FileInvio, componi(CampiPosizionali('A'), [&](std::string_view nome, Posa) {
                     return nome == kTipoFornitore ? std::string(tipoFornitore) : Valore(ctx, s, nome);
                 }));
}

std::string ComponiRecordB(ContestoRecord& ctx, const Row& s) {
    // The tax code fills two fields and is read once.
    const std::string cf = Valore(ctx, s, "CodiceFiscale");
    return componi(CampiPosizionali('B'), [&](std::string_view nome, Posa posa) {
        if (nome == "CodiceFiscale") return cf;
        // A box's mark is never written, only whether it is ticked.
        return posa == Posa::Casella ? s.text(nome) : Valore(ctx, s, nome);
    });
}

void ScriviRecordB(ContestoRecord& ctx, const Row& s) { ScriviRecord(ctx.FileInvio, ComponiRecordB(ctx, s)); }

void ScriviRecordC(ContestoRecord& ctx, const Row& s, const Row& q) {
    std::string r = componi(CampiPosizionali('C'), [&](std::string_view nome, Posa) { return Valore(ctx, s, nome); });
    std::vector<std::string> campi;
    for (Sezione sezione : SezioniDelRecord('C')) codifica(ctx, Campi(sezione), q, campi, &s);
    for (const auto& c : campi) r += c;
    ScriviRecord(ctx.FileInvio, r);
}

void ScriviRecordZ(ContestoRecord& ctx, const Contatori& n) {
    const long conta[] = {n.ContaB, n.ContaC, n.ContaD, n.ContaG, n.ContaH};
    ScriviRecord(ctx.FileInvio, componi(CampiPosizionali('Z'), [&](std::string_view nome, Posa) {
                     for (std::size_t k = 0; k < 5; ++k)
                         if (nome == kContatori[k]) return std::to_string(conta[k]);
                     return std::string();
                 }));
}

std::string TestaCertificato(char tipo, std::string_view modulo, std::string_view cfSostituto,
                             std::string_view cfPercipiente, std::string_view id,
                             const Identificativi& identificativi) {
    return componi(
        CampiPosizionali('D'),
        [&](std::string_view nome, Posa) {
            if (nome == kTipoRecord) return std::string(1, tipo);
            if (nome == kProtocollo) return std::string(identificativi.protocollo);
            if (nome == kProgressivo) return std::string(identificativi.progressivo);
            if (nome == kModulo) return std::string(modulo);
            if (nome == "CodiceFiscale") return std::string(cfSostituto);
            if (nome == "B01") return std::string(cfPercipiente);
            return std::string(id);
        },
        tipo == 'D');
}

int ScriviRecordCertificato(std::ostream& FileInvio, const std::string& testa, const std::vector<std::string>& campi) {
    int scritti = 0;
    std::string area;
    auto chiudi = [&] {
        ScriviRecord(FileInvio, testa + area);
        area.clear();
        ++scritti;
    };
    for (const auto& campo : campi) {
        if (area.size() + campo.size() <= kAreaNonPosizionale) {
            area += campo;
            continue;
        }
        if (!area.empty()) chiudi();
        if (campo.size() <= kAreaNonPosizionale) {
            area = campo;
            continue;
        }
        // A text too long for a whole record: split between its 24-character elements.
        for (std::size_t i = 0; i < campo.size(); i += 24) {
            std::string_view pezzo = std::string_view(campo).substr(i, 24);
            if (area.size() + pezzo.size() > kAreaNonPosizionale) chiudi();
            area += pezzo;
        }
    }
    if (!area.empty() || scritti == 0) chiudi();
    return scritti;
}

int ScriviRecordD(ContestoRecord& ctx, const Row& sostituto, const Row& cert, const Identificativi& identificativi) {
    std::vector<std::string> campi;
    campi.reserve(40);
    for (Sezione s : SezioniDelRecord('D')) codifica(ctx, Campi(s), cert, campi);
    return ScriviRecordCertificato(ctx.FileInvio, testaDa(ctx, 'D', "00000001", sostituto, cert, identificativi),
                                   campi);
}

bool MancaDataInizioLavoro(std::string_view c001, std::string_view c004, std::string_view c008) {
    return (!c001.empty() || !c004.empty()) && c008.empty();
}

bool Punto2NonValido(std::string_view c002) { return c002 != "1" && c002 != "2"; }

const Row& RigaDellaSezione(Sezione s, const Row& zefo1, const Row& zefo2, const Row& zefo3) {
    switch (TabellaDellaSezione(s)) {
    case Tabella::Zefo2: return zefo2;
    case Tabella::Zefo3: return zefo3;
    default: return zefo1;
    }
}

int ScriviRecordG(ContestoRecord& ctx, const Row& sostituto, const Row& z1, const Row& z2) {
    auto& c = ctx.campi;
    // The start-date check comes first, so its line precedes the encoder's reports.
    if (MancaDataInizioLavoro(z1.text("C001"), z1.text("C004"), z1.text("C008")) && c.segnalatore)
        c.segnalatore->segnala(c.NominativoCorrente +
                               ": La data di inizio lavoro è obbligatoria se prensenti i campi "
                               "DB001001 o DB001004\r");
    // Point 2 is checked just before it is written, after point 1.
    const auto punto2 = [&](const CampoSezione& v) {
        if (v.colonna() == "C002" && Punto2NonValido(z1.text("C002")) && c.segnalatore)
            c.segnalatore->segnala(z1.text("B01") + ": Campo DB001002 non in (1,2)");
    };
    // The head first: what it reports of the recipient's code comes before the boxes' reports.
    const std::string testa = testaDa(ctx, 'G', "00000001", sostituto, z1);
    std::vector<std::string> campi;
    campi.reserve(80);
    static const Row nessuna;
    for (Sezione s : SezioniDelRecord('G')) {
        const Row& riga = RigaDellaSezione(s, z1, z2, nessuna);
        codifica(ctx, Campi(s), riga, campi, nullptr,
                 &riga == &z1 ? punto2 : std::function<void(const CampoSezione&)>());
    }
    return ScriviRecordCertificato(ctx.FileInvio, testa, campi);
}

int ScriviRecordG2(ContestoRecord& ctx, const Row& sostituto, const Row& z1, const Row& z3) {
    std::vector<std::string> campi;
    for (Sezione s : SezioniDelRecord('G', 2)) codifica(ctx, Campi(s), RigaDellaSezione(s, z1, z1, z3), campi);
    return ScriviRecordCertificato(ctx.FileInvio, testaDa(ctx, 'G', "00000002", sostituto, z1), campi);
}

int ScriviRecordH(ContestoRecord& ctx, const Row& sostituto, const Row& p) {
    std::vector<std::string> campi;
    for (Sezione s : SezioniDelRecord('H')) codifica(ctx, Campi(s), p, campi);
    return ScriviRecordCertificato(ctx.FileInvio, testaDa(ctx, 'H', "00000001", sostituto, p), campi);
}

}  // namespace telematic
