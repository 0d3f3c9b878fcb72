// The payroll export readers: employees (with continuation lines), officers, collaborators and
// the "Altro" reading, with the family walk and the copy of the agent's data.

#include <array>
#include <span>

#include "import/lettori.h"
#include "import/lettura.h"
#include "import/tabelle.h"
#include "storage/certificati.h"
#include "storage/error.h"
#include "storage/invii.h"
#include "storage/sostituto.h"
#include "storage/tabelle.h"

namespace importazione {

namespace {

constexpr std::size_t kFineCertificato = 2304, kFineContinuazione = 300;
constexpr const char* kTipoFile = "delle paghe";

// How a field's characters are stored: text as read (blanks trimmed), an amount or converted
// code, a date ("00/00/0000" or blank leaves the column unset), a count.
enum class Tipo { Testo, Importo, Data, Conteggio };
// Short names for the layout tables.
constexpr Tipo T = Tipo::Testo, I = Tipo::Importo, D = Tipo::Data, N = Tipo::Conteggio;

// One field of a layout: columns da-a of the line (1-based, inclusive) into one column of a table.
struct Campo {
    Tipo tipo;
    int colonna;
    std::size_t da, a;
};

// The eight social-security amounts from D23 on, from column da: 10 characters each, one blank
// between.
constexpr std::array<Campo, 8> ImportiPrevidenza(int d23, std::size_t da) {
    std::array<Campo, 8> campi{};
    for (std::size_t k = 0; k < campi.size(); ++k)
        campi[k] = {I, d23 + static_cast<int>(k), da + 11 * k, da + 11 * k + 9};
    return campi;
}

// The family columns of Zefo2 by row (1-9) and item (1, 4, 5, 7); -1 where none.
int colonnaFamiliare(int rigaFam, int voce) {
    static const auto tabella = [] {
        std::array<std::array<int, 8>, 10> t{};
        for (auto& r : t) r.fill(-1);
        for (int c = 0; c < z2::N; ++c) {
            const std::string_view nome = kNomiZefo2[static_cast<std::size_t>(c)];
            if (nome.size() == 6 && nome.substr(0, 3) == "fam" && nome[4] == '_')
                t[static_cast<std::size_t>(nome[3] - '0')][static_cast<std::size_t>(nome[5] - '0')] = c;
        }
        return t;
    }();
    if (rigaFam < 1 || rigaFam > 9 || voce < 1 || voce > 7) return -1;
    return tabella[static_cast<std::size_t>(rigaFam)][static_cast<std::size_t>(voce)];
}

// A row kept until its block is stored; the strings keep their capacity from block to block.
struct Copia {
    std::vector<std::string> valori;
    std::vector<bool> presenti;
    void da(const NuovaRiga& r) {
        valori = r.valori();
        presenti = r.presenti();
    }
    storage::RigaNuova riga(std::int64_t chiave = 0) const { return {&valori, &presenti, chiave}; }
};

// The certificates read and not yet stored: a block's keys are taken in one statement and its
// rows stored many to a statement (on a server each statement is a round trip).
struct CertificatoInAttesa {
    Copia zefo1, zefo2;
    std::vector<Copia> zefo3;  // its continuation lines
    std::size_t continuazioni = 0;
};

class ImportatorePaghe {
public:
    ImportatorePaghe(storage::Connection& conn, LettoreRighe& lettore, std::string codice, const DatiAggiuntivi& dati,
                     storage::Reporter& reporter)
        : conn_(conn),
          lettore_(lettore),
          codice_(std::move(codice)),
          dati_(dati),
          reporter_(reporter),
          zefo1_(conn, storage::Tabella::Zefo1, kNomiZefo1.data(), kNomiZefo1.size()),
          zefo2_(conn, storage::Tabella::Zefo2, kNomiZefo2.data(), kNomiZefo2.size()),
          zefo3_(conn, storage::Tabella::Zefo3, kNomiZefo3.data(), kNomiZefo3.size()),
          blocco1_(conn, storage::Tabella::Zefo1, kNomiZefo1.data(), kNomiZefo1.size(), true),
          blocco2_(conn, storage::Tabella::Zefo2, kNomiZefo2.data(), kNomiZefo2.size(), false),
          blocco3_(conn, storage::Tabella::Zefo3, kNomiZefo3.data(), kNomiZefo3.size(), false) {}

    void ImportaDipendente(std::string_view riga);
    void ImportaAmministratore(std::string_view riga);
    void ImportaCoCoCo(std::string_view riga);
    void ImportaAltro(std::string_view riga);
    void CopiaSostituto();
    // Stores the certificates still waiting; before the run ends and before anything reads them.
    void scriviAttesa();
    std::size_t certificati() const { return certificati_; }
    std::size_t aggiuntive() const { return aggiuntive_; }

private:
    static bool continuazione(std::string_view riga) { return riga.substr(0, 4) == "||||"; }
    void testa(std::string_view riga, storage::Tipo tipo);
    bool testaSenzaContinuazioni(std::string_view riga, storage::Tipo tipo, const std::string& errore);
    void dipendenteFiscale(std::string_view riga);
    void dipendentePrevidenza(std::string_view riga);
    void LeggiFamiliari(std::string_view riga, int n);
    void continuazioneDipendente(std::string_view riga);
    void memorizza();

    // The fields in table order: the first that cannot be read stops the run with its name.
    void leggi(NuovaRiga& r, std::string_view riga, std::span<const Campo> campi);

    storage::Connection& conn_;
    LettoreRighe& lettore_;
    std::string codice_;
    const DatiAggiuntivi& dati_;
    storage::Reporter& reporter_;
    NuovaRiga zefo1_, zefo2_, zefo3_;
    storage::InserimentoABlocchi blocco1_, blocco2_, blocco3_;
    // Certificates kept before they are stored: on a server each block costs its round trips.
    static constexpr std::size_t kBlocco = 1000;
    std::vector<CertificatoInAttesa> attesa_;  // the first inAttesa_ are waiting
    std::size_t inAttesa_ = 0;
    std::vector<storage::RigaNuova> righe_;
    std::size_t certificati_ = 0, aggiuntive_ = 0;
    std::array<std::string, 5> sostituto_;  // A01, A02, A03, A08, A09 of that certificate
    std::string ultimoNome_;                // its surname and first name
};

void ImportatorePaghe::leggi(NuovaRiga& r, std::string_view riga, std::span<const Campo> campi) {
    for (const Campo& c : campi) {
        ControllaTroncata(lettore_, riga, r.nome(c.colonna), c.da, c.a);
        const std::string_view campo = Colonne(riga, c.da, c.a);
        if (c.tipo == Tipo::Testo) {
            r.daFile(c.colonna, ControllaTesto(lettore_, riga, r.nome(c.colonna), c.da, c.a));
            continue;
        }
        // Stored as read or converted: a control character anywhere in it refuses the line.
        SenzaControllo(lettore_, riga, r.nome(c.colonna), c.da, c.a);
        switch (c.tipo) {
        case Tipo::Testo: break;
        case Tipo::Importo: {
            const auto v = ConvertiImporto(campo);
            if (!v) ErroreCampo(lettore_, r.nome(c.colonna), c.da, c.a, campo, "un importo");
            r.daFile(c.colonna, *v);
            break;
        }
        case Tipo::Data:
            if (!campo.empty() && campo != "00/00/0000") r.daFile(c.colonna, campo);
            break;
        case Tipo::Conteggio: {
            bool ok = true;
            const auto v = LeggiConteggio(campo, ok);
            if (!ok) ErroreCampo(lettore_, r.nome(c.colonna), c.da, c.a, campo, "un numero");
            if (v) r.imposta(c.colonna, *v);
            break;
        }
        }
    }
}

// What every payroll reader stores alike: kind, numbers, company, agent, recipient and period.
void ImportatorePaghe::testa(std::string_view riga, storage::Tipo tipo) {
    ControllaLunghezza(lettore_, riga, kFineCertificato);
    ControllaTroncata(lettore_, riga, "MatrDip", 221, 224);
    zefo1_.pulisci();
    zefo2_.pulisci();
    zefo2_.imposta(z2::tipo, storage::CodiceTipo(tipo));
    zefo2_.daFile(z2::MatrDip, ControllaTesto(lettore_, riga, "MatrDip", 221, 224));
    zefo2_.imposta(z2::D01, dati_.matricolaAzienda);
    zefo1_.imposta(z1::Azienda, codice_);
    zefo2_.imposta(z2::ditta, codice_);

    // The agent and recipient, then the period of the relationship.
    static constexpr Campo kAnagrafica[] = {
        {T, z1::A01, 1, 16},       {T, z1::A02, 18, 57},     {T, z1::A04, 59, 88},        {T, z1::A05, 90, 91},
        {T, z1::A06, 93, 97},      {T, z1::A07, 99, 128},    {T, z1::A08, 130, 142},      {T, z1::A09, 156, 211},
        {T, z1::B01, 226, 241},    {T, z1::B02, 243, 262},   {T, z1::B03, 264, 283},      {T, z1::B04, 285, 285},
        {T, z1::B05, 287, 296},    {T, z1::B06, 298, 327},   {T, z1::B07, 329, 330},      {T, z1::B20, 345, 374},
        {T, z1::B21, 376, 377},    {T, z1::B22, 379, 382},   {T, z1::B23, 384, 413},      {T, z1::B24, 415, 416},
        {T, z1::B25, 418, 421},    {T, z1::B44, 2201, 2210}, {T, z1::BFirma, 2212, 2256}, {D, z1::C008, 2284, 2293},
        {D, z1::C009, 2295, 2304},
    };
    leggi(zefo1_, riga, kAnagrafica);
    zefo1_.imposta(z1::A10, dati_.codiceAttivita);
    zefo1_.imposta(z1::A11, dati_.codiceSede);
}

void ImportatorePaghe::dipendenteFiscale(std::string_view riga) {
    zefo1_.imposta(z1::C002, Colonne(riga, 2258, 2258) == "2" ? "2" : "1");
    static constexpr Campo kZefo1[] = {
        {I, z1::C001, 462, 471},   {I, z1::C004, 473, 482},   {N, z1::C006, 484, 486}, {I, z1::c119, 2260, 2260},
        {I, z1::c120, 2262, 2271}, {I, z1::c121, 2273, 2282}, {I, z1::c011, 492, 501}, {I, z1::c012, 503, 512},
        {I, z1::c016, 514, 523},   {I, z1::c017, 525, 534},   {I, z1::c019, 536, 545}, {I, z1::c031, 547, 556},
        {I, z1::c032, 558, 567},   {I, z1::c033, 569, 578},   {I, z1::c101, 679, 688}, {I, z1::c102, 690, 699},
        {I, z1::c107, 745, 754},   {I, z1::c113, 811, 820},
    };
    leggi(zefo1_, riga, kZefo1);
    static constexpr Campo kZefo2[] = {{I, z2::c261, 1094, 1103}, {I, z2::c263, 1116, 1125}};
    leggi(zefo2_, riga, kZefo2);
    ControllaTroncata(lettore_, riga, "Nota BO:", 1750, 1757);
    if (Colonne(riga, 1750, 1757) == "Nota BO:") LeggiFamiliari(riga, 0);
}

// The first social-security section, then the two clearing rules.
void ImportatorePaghe::dipendentePrevidenza(std::string_view riga) {
    static constexpr Campo kSezione[] = {
        {T, z2::D15, 1424, 1439}, {T, z2::D18, 1455, 1455}, {T, z2::D19, 1457, 1460},
        {T, z2::D20, 1462, 1462}, {T, z2::D22, 1466, 1469},
    };
    leggi(zefo2_, riga, kSezione);
    static constexpr auto kImporti = ImportiPrevidenza(z2::D23, 1471);
    leggi(zefo2_, riga, kImporti);
    zefo2_.imposta(z2::D33, "X");

    if (Rifila(zefo1_.valore(z1::c102)).empty())
        for (int c = z2::fam1_1; c <= z2::fam9_7; ++c) zefo2_.svuota(c);
    bool nessuno = true;
    for (int c = z2::D23; c <= z2::D30; ++c)
        if (!Rifila(zefo2_.valore(c)).empty()) nessuno = false;
    if (nessuno)
        for (int c : {z2::D15, z2::D18, z2::D19, z2::D20, z2::D22, z2::D33}) zefo2_.svuota(c);
}

// The block of columns 1758-2199 of the line: entries of 33 characters, kind (1-4), codice
// fiscale (5-20), months (22-23), percentage (25-30). Values are stored raw. Rows past the ninth
// do not exist: such entries are passed over.
void ImportatorePaghe::LeggiFamiliari(std::string_view riga, int n) {
    constexpr std::size_t kInizio = 1758, kVoce = 33, kVoci = 13;  // 13 whole entries
    static constexpr std::array<std::pair<std::size_t, std::size_t>, 4> kParti = {
        {{1, 4}, {5, 20}, {22, 23}, {25, 30}}};
    static constexpr const char* kNomiParti[] = {"tipo", "codice fiscale", "mesi", "percentuale"};
    const std::string_view blocco = Colonne(riga, kInizio, 2199);
    for (std::size_t k = 0; k < kVoci && k * kVoce < blocco.size(); ++k) {
        const std::string_view voce = blocco.substr(k * kVoce, kVoce);
        if (voce.size() < kVoce) {
            const std::size_t base = kInizio + k * kVoce - 1;
            for (std::size_t p = 0; p < kParti.size(); ++p)
                ControllaTroncata(lettore_, riga,
                                  std::string(kNomiParti[p]) + " del familiare " + std::to_string(k + 1),
                                  base + kParti[p].first, base + kParti[p].second);
        }
        const std::string_view tipo = Rifila(Colonne(voce, 1, 4));
        int rigaFam;
        bool percentuale = true;
        if (tipo == "C") {
            rigaFam = 1;
            percentuale = false;
            n = 0;
        } else if (tipo == "F1") {
            rigaFam = 2;
            n = 0;
        } else if (tipo == "F" || tipo == "S") {
            rigaFam = n + 3;
            ++n;
        } else {
            return;
        }
        if (rigaFam > 9) continue;
        // Stored raw: a control character anywhere would be stored.
        const std::size_t base = kInizio + k * kVoce - 1;
        for (std::size_t p = 1; p < (percentuale ? 4u : 3u); ++p)
            SenzaControllo(lettore_, riga, std::string(kNomiParti[p]) + " del familiare " + std::to_string(k + 1),
                           base + kParti[p].first, base + kParti[p].second);
        zefo2_.imposta(colonnaFamiliare(rigaFam, 1), "X");
        zefo2_.daFile(colonnaFamiliare(rigaFam, 4), Colonne(voce, 5, 20));
        zefo2_.daFile(colonnaFamiliare(rigaFam, 5), Colonne(voce, 22, 23));
        if (percentuale) zefo2_.daFile(colonnaFamiliare(rigaFam, 7), Colonne(voce, 25, 30));
    }
}

void ImportatorePaghe::continuazioneDipendente(std::string_view riga) {
    if (certificati_ == 0)
        throw ErroreLettura(ErroreLettura::Tipo::Ordine, lettore_, 1, "||||",
                            "una riga di continuazione (||||) precede la prima riga di "
                            "certificato, non c'è un certificato a cui aggiungerla");
    ControllaLunghezza(lettore_, riga, kFineContinuazione);
    zefo3_.pulisci();
    static constexpr Campo kSezione[] = {
        {T, z3::Cf, 15, 30},    {T, z3::matricola, 10, 13}, {T, z3::D15, 167, 182}, {I, z3::D18, 198, 198},
        {I, z3::D19, 200, 203}, {I, z3::D20, 205, 205},     {I, z3::D22, 209, 212},
    };
    leggi(zefo3_, riga, kSezione);
    static constexpr auto kImporti = ImportiPrevidenza(z3::D23, 214);
    leggi(zefo3_, riga, kImporti);
    zefo3_.imposta(z3::D01, dati_.matricolaAzienda);
    zefo3_.imposta(z3::D33, "X");
    // The certificate it continues is the one read last, still waiting for its key.
    CertificatoInAttesa& c = attesa_[inAttesa_ - 1];
    if (c.zefo3.size() == c.continuazioni) c.zefo3.emplace_back();
    c.zefo3[c.continuazioni++].da(zefo3_);
    ++aggiuntive_;
}

void ImportatorePaghe::memorizza() {
    if (inAttesa_ == kBlocco) scriviAttesa();
    if (attesa_.size() == inAttesa_) attesa_.emplace_back();
    CertificatoInAttesa& c = attesa_[inAttesa_++];
    c.zefo1.da(zefo1_);
    c.zefo2.da(zefo2_);
    c.continuazioni = 0;
    ++certificati_;
    sostituto_ = {zefo1_.valore(z1::A01), zefo1_.valore(z1::A02), std::string(), zefo1_.valore(z1::A08),
                  zefo1_.valore(z1::A09)};
    ultimoNome_ = zefo1_.valore(z1::B02) + " " + zefo1_.valore(z1::B03);
}

void ImportatorePaghe::ImportaDipendente(std::string_view riga) {
    if (continuazione(riga)) return continuazioneDipendente(riga);
    testa(riga, storage::Tipo::DIP);
    dipendenteFiscale(riga);
    dipendentePrevidenza(riga);
    memorizza();
}

void ImportatorePaghe::ImportaAltro(std::string_view riga) {
    // A full-length line is a certificate whatever its first columns hold; a short one that
    // begins "||||" is a continuation line, which this reading has no place for.
    if (continuazione(riga) && riga.size() < kFineCertificato)
        ErroreTracciato(lettore_, kTipoFile, "||||", 1, 4,
                        "è una riga di continuazione, che l'importazione Altro non legge");
    testa(riga, storage::Tipo::DIP);
    dipendenteFiscale(riga);
    static constexpr Campo kPosizione[] = {
        {I, z2::D01, 1281, 1294}, {I, z2::D02, 1296, 1296}, {I, z2::D04, 1300, 1309},
        {I, z2::D06, 1317, 1326}, {I, z2::D07, 1328, 1328},
    };
    leggi(zefo2_, riga, kPosizione);
    zefo2_.imposta(z2::D03, "");
    zefo2_.imposta(z2::D05, "");
    dipendentePrevidenza(riga);
    memorizza();
}

// Officers and collaborators have no continuation lines (one is reported and passed over) and
// always income type 2.
bool ImportatorePaghe::testaSenzaContinuazioni(std::string_view riga, storage::Tipo tipo, const std::string& errore) {
    if (continuazione(riga)) {
        // The line and the certificate it continues, so the operator can find both.
        std::string dove = " Riga " + std::to_string(lettore_.numero()) + " del file " + lettore_.nomeFile();
        if (!ultimoNome_.empty()) dove += ", dopo il certificato di " + ultimoNome_;
        reporter_.error(errore + dove + ".");
        return false;
    }
    testa(riga, tipo);
    zefo1_.imposta(z1::C002, "2");
    return true;
}

void ImportatorePaghe::ImportaAmministratore(std::string_view riga) {
    if (!testaSenzaContinuazioni(riga, storage::Tipo::AMM, kContinuazioneAmministratore)) return;
    static constexpr Campo kZefo1[] = {
        {I, z1::C004, 473, 482},
        {I, z1::c011, 492, 501},
        {I, z1::c012, 503, 512},
        {I, z1::c101, 679, 688},
    };
    leggi(zefo1_, riga, kZefo1);
    zefo1_.imposta(z1::c119, "2");
    memorizza();
}

void ImportatorePaghe::ImportaCoCoCo(std::string_view riga) {
    if (!testaSenzaContinuazioni(riga, storage::Tipo::CoC, kContinuazioneCoCoCo)) return;
    static constexpr Campo kZefo2[] = {
        {I, z2::D09, 1354, 1363},
        {I, z2::D10, 1365, 1374},
        {I, z2::D11, 1376, 1385},
        {I, z2::D12, 1387, 1396},
    };
    leggi(zefo2_, riga, kZefo2);
    zefo2_.imposta(z2::D13, "X");
    memorizza();
}

void ImportatorePaghe::scriviAttesa() {
    if (inAttesa_ == 0) return;
    const std::vector<std::int64_t> chiavi = storage::RiservaChiavi(conn_, storage::Tabella::Zefo1, inAttesa_);
    righe_.clear();
    for (std::size_t i = 0; i < inAttesa_; ++i) righe_.push_back(attesa_[i].zefo1.riga(chiavi[i]));
    blocco1_.inserisci(righe_);
    righe_.clear();
    for (std::size_t i = 0; i < inAttesa_; ++i) {
        Copia& z2 = attesa_[i].zefo2;
        z2.valori[z2::ID] = std::to_string(chiavi[i]);
        z2.presenti[z2::ID] = true;
        righe_.push_back(z2.riga());
    }
    blocco2_.inserisci(righe_);
    righe_.clear();
    for (std::size_t i = 0; i < inAttesa_; ++i)
        for (std::size_t k = 0; k < attesa_[i].continuazioni; ++k) {
            Copia& z3 = attesa_[i].zefo3[k];
            z3.valori[z3::Id] = std::to_string(chiavi[i]);
            z3.presenti[z3::Id] = true;
            righe_.push_back(z3.riga());
        }
    blocco3_.inserisci(righe_);
    inAttesa_ = 0;
}

// The agent's data of the certificate stored last go to the one SostitutoImposta row (the one
// with the lowest key), other columns kept. A run that stored no certificate copies nothing:
// it would otherwise blank the agent's data.
void ImportatorePaghe::CopiaSostituto() {
    if (certificati_ == 0) return;
    storage::ScriviSostitutoImportato(conn_, sostituto_);
}

enum class Lettore { Dipendenti, Amministratori, CoCoCo, Altro };

// How long the line beginning so is by its layout: a lone CR before that is inside a field.
std::size_t lunghezzaTracciato(std::string_view inizio) {
    return inizio.substr(0, 4) == "||||" ? kFineContinuazione : kFineCertificato;
}

bool esegui(storage::Connection& conn, std::istream& in, const std::string& nomeFile, const std::string& codiceAzienda,
            Lettore quale, bool copiaSostituto, const DatiAggiuntivi& dati, storage::Reporter& reporter,
            const Registrazione* reg) {
    LettoreRighe lettore(in, nomeFile, lunghezzaTracciato);
    Corsa corsa(conn, lettore, storage::Elenco::Dipendenti, reporter);
    ImportatorePaghe imp(conn, lettore, codiceAzienda, dati, reporter);
    while (corsa.prossima()) {
        const std::string_view riga = lettore.riga();
        switch (quale) {
        case Lettore::Dipendenti: imp.ImportaDipendente(riga); break;
        case Lettore::Amministratori: imp.ImportaAmministratore(riga); break;
        case Lettore::CoCoCo: imp.ImportaCoCoCo(riga); break;
        case Lettore::Altro: imp.ImportaAltro(riga); break;
        }
    }
    if (corsa.annullata()) return false;
    imp.scriviAttesa();
    if (copiaSostituto) imp.CopiaSostituto();
    return corsa.concludi(imp.certificati(), imp.aggiuntive(), reg);
}

}  // namespace

bool ImportaPaghe(storage::Connection& conn, std::istream& in, const std::string& nomeFile,
                  const std::string& codiceAzienda, storage::Tipo tracciato, bool copiaSostituto,
                  const DatiAggiuntivi& dati, storage::Reporter& reporter, const Registrazione* reg) {
    const Lettore quale = tracciato == storage::Tipo::AMM   ? Lettore::Amministratori
                          : tracciato == storage::Tipo::CoC ? Lettore::CoCoCo
                                                            : Lettore::Dipendenti;
    return esegui(conn, in, nomeFile, codiceAzienda, quale, copiaSostituto, dati, reporter, reg);
}

bool ImportaAltro(storage::Connection& conn, std::istream& in, const std::string& nomeFile,
                  const std::string& codiceAzienda, bool copiaSostituto, const DatiAggiuntivi& dati,
                  storage::Reporter& reporter, const Registrazione* reg) {
    return esegui(conn, in, nomeFile, codiceAzienda, Lettore::Altro, copiaSostituto, dati, reporter, reg);
}

}  // namespace importazione
