#include <algorithm>
#include <fstream>
#include <limits>

#include "check/casella.h"
#include "check/controllofile.h"
#include "check/forme.h"
#include "check/recordb.h"
#include "storage/cp1252.h"
#include "storage/error.h"
#include "storage/reporter.h"
#include "storage/sistema.h"

namespace check {

namespace dettaglio {

void ControlloFile::recordA(std::string_view r) {
    static const CampoPosizionale &fornitura = CampoDi('A', "codice fornitura"),
                                  &tipoFornitore = CampoDi('A', telematic::kTipoFornitore),
                                  &fornitore = CampoDi('A', "CodiceFiscale");
    if (in(r, fornitura) != fornitura.testo)
        aggiungi(Gravita::Errore, pos(fornitura), Posizioni('A', fornitura.nome),
                 "Il codice fornitura è " + tra(in(r, fornitura)) + " invece di " + fornitura.testo + ".");
    const auto tipo = in(r, tipoFornitore);
    if (!telematic::TipoFornitoreAmmesso(tipo))
        aggiungi(Gravita::Errore, pos(tipoFornitore), Posizioni('A', tipoFornitore.nome),
                 "Il tipo fornitore vale 01 o 10, non " + tra(tipo) + ".");
    codiceFiscale('A', fornitore, r, "Codice fiscale del fornitore");
}

// A tax code in a positional field: its form and its birth date, as the archive check judges it.
void ControlloFile::codiceFiscale(char tipoRecord, const CampoPosizionale& c, std::string_view r,
                                  const std::string& chi, const std::string& campo) {
    const std::string etichetta = campo.empty() ? Posizioni(tipoRecord, c.nome) : campo;
    const std::string codice = storage::daWindows1252(senzaSpaziFinali(in(r, c)));
    const std::string e = ErroreForma(c.forma, codice);
    if (!e.empty()) aggiungi(Gravita::Errore, pos(c), etichetta, chi + ": " + e + ".");
    const std::string a = AvvisoForma(c.forma, codice);
    if (!a.empty()) aggiungi(Gravita::Avviso, pos(c), etichetta, chi + ": " + a + ".");
}

void ControlloFile::recordB(std::string_view r) {
    static const CampoPosizionale &sostituto = CampoDi('B', "CodiceFiscale"),
                                  &annullamento = CampoDi('B', "Annullamento"),
                                  &sostituzione = CampoDi('B', "sostituzione");
    static const CampoPosizionale* const conteggi[] = {&CampoDi('B', "A1"), &CampoDi('B', "A2")};
    cfSostituto_ = std::string(in(r, sostituto));
    annullaOSostituisce_ = in(r, annullamento) == "1" || in(r, sostituzione) == "1";
    RegoleRecordB(r, nullptr,
                  [&](Gravita g, const std::string&, int posizione, const std::string& campo,
                      const std::string& testo) { aggiungi(g, posizione, campo, testo); });
    long long* const dove[] = {&a1_, &a2_};
    for (std::size_t k = 0; k < 2; ++k)
        if (cifre(in(r, *conteggi[k]))) *dove[k] = numero(in(r, *conteggi[k]));
}

// A control character has no place in a record before its closing CR LF; the first one is enough.
void ControlloFile::controlli(std::string_view r) {
    const std::size_t fine = std::min<std::size_t>(r.size(), telematic::kLunghezzaRecord - 2);
    for (std::size_t i = 0; i < fine; ++i) {
        const auto b = static_cast<unsigned char>(r[i]);
        if (b >= 32 && b != 0x7F) continue;
        if (b == '\r' && i + 1 == r.size()) return;
        aggiungi(Gravita::Errore, static_cast<int>(i + 1), "",
                 "Il record contiene un carattere di controllo (codice " + std::to_string(b) + ") alla posizione " +
                     std::to_string(i + 1) + ".");
        return;
    }
}

void ControlloFile::record(std::string_view r, bool lunghezzaGiusta) {
    const char tipo = r.empty() ? ' ' : r[0];
    auto fuoriPosto = [&](const char* atteso) {
        aggiungi(Gravita::Errore, 1, "", std::string("Record ") + tipo + " fuori posto: " + atteso + ".");
    };
    switch (tipo) {
    case 'A':
        if (fase_ != 0) fuoriPosto("il record A è solo il primo");
        fase_ = std::max(fase_, 1);
        visteA_ = true;
        if (lunghezzaGiusta) recordA(r);
        return;
    case 'B':
        ++conta_[0];
        if (fase_ != 1) fuoriPosto(fase_ == 0 ? "manca il record A prima del B" : "il record B segue solo il record A");
        fase_ = std::max(fase_, 2);
        if (lunghezzaGiusta) recordB(r);
        return;
    case 'C':
        ++conta_[1];
        if (fase_ != 2 || conta_[1] > 1) fuoriPosto("il record C segue il record B, una volta sola");
        if (lunghezzaGiusta) area(r);
        return;
    case 'D':
    case 'G':
    case 'H':
        ++conta_[tipo == 'D' ? 2 : tipo == 'G' ? 3 : 4];
        if (fase_ < 2 || fase_ > 3) fuoriPosto(fase_ < 2 ? "mancano i record A e B" : "segue il record Z");
        fase_ = std::max(fase_, 3);
        // A cut record keeps its head: the certificate it belongs to is still known.
        if (r.size() >= telematic::kTestaCertificato) testaCertificato(r);
        if (lunghezzaGiusta) area(r);
        return;
    case 'Z': {
        if (fase_ == 4) fuoriPosto("il record Z è uno solo");
        if (fase_ < 2) fuoriPosto("mancano i record A e B");
        if (!haSeguito_) mancaSeguito();
        haSeguito_ = true;
        fase_ = 4;
        vistoZ_ = true;
        if (!lunghezzaGiusta) return;
        static const char* nomi[] = {"B", "C", "D", "G", "H"};
        for (int k = 0; k < 5; ++k) {
            const CampoPosizionale& conta = CampoDi('Z', telematic::kContatori[k]);
            const auto v = in(r, conta);
            const std::string campo = Posizioni('Z', conta.nome);
            if (!cifre(v))
                aggiungi(Gravita::Errore, pos(conta), campo,
                         std::string("Il numero di record ") + nomi[k] + " " + tra(v) + " non è numerico.");
            else if (numero(v) != conta_[k])
                aggiungi(Gravita::Errore, pos(conta), campo,
                         std::string("Il record Z conta ") + std::to_string(numero(v)) + " record " + nomi[k] +
                             ", il file ne contiene " + std::to_string(conta_[k]) + ".");
        }
        return;
    }
    default: aggiungi(Gravita::Errore, 1, "", "Tipo di record sconosciuto " + tra(r.substr(0, 1)) + ".");
    }
}

void ControlloFile::mancaSeguito() {
    Problema p;
    p.origine = Origine::File;
    p.record = ultimo_.record;
    p.posizione = 1;
    p.tipoRecord = 'D';
    p.modulo = 1;
    p.id = ultimo_.id;
    p.nominativo = ultimo_.nominativo;
    p.codiceFiscale = ultimo_.cf;
    p.testo = "Il certificato ha il record D ma nessun record G o H.";
    if (out_.size() < kMassimoProblemi) out_.push_back(std::move(p));
}

void ControlloFile::fine() {
    id_ = 0;
    tipoRecord_ = 0;
    modulo_ = 0;
    nominativo_.clear();
    cf_.clear();
    numeroRecord_ = 0;
    if (!visteA_) aggiungi(Gravita::Errore, 0, "", "Manca il record A di testa.");
    if (conta_[0] == 0) aggiungi(Gravita::Errore, 0, "", "Manca il record B del frontespizio.");
    if (!vistoZ_) {
        if (!haSeguito_) mancaSeguito();
        aggiungi(Gravita::Errore, 0, "", "Manca il record Z di coda.");
    }
    if (conta_[1] > 0 && conta_[3] == 0)
        aggiungi(Gravita::Errore, 0, "C",
                 "Il Quadro CT (record C) è in una fornitura senza record G: l'Agenzia scarta l'intera fornitura.");
    if (conta_[1] > 0 && annullaOSostituisce_)
        aggiungi(
            Gravita::Errore, 0, "C",
            "Il Quadro CT (record C) è in un annullamento o in una sostituzione: l'Agenzia scarta l'intera fornitura.");
    if (a1_ >= 0 && a2_ >= 0 && a1_ + a2_ != certificati_)
        aggiungi(Gravita::Avviso, 0, Posizioni('B', "A1", "A2"),
                 "Il frontespizio indica " + storage::Conteggio(static_cast<std::uint64_t>(a1_ + a2_)) +
                     " certificati, il file ne contiene " +
                     storage::Conteggio(static_cast<std::uint64_t>(certificati_)) + ".");
    if (out_.size() >= kMassimoProblemi) {
        out_.resize(kMassimoProblemi - 1);
        aggiungi(Gravita::Avviso, 0, "", "Troppi problemi: l'elenco si ferma qui.");
    }
}

std::vector<Problema> ControlloFile::esegui(std::istream& in) {
    // A line longer than any record is cut here, so a file of another kind cannot fill memory.
    constexpr std::streamsize kMassimo = 4096;
    std::string buf(static_cast<std::size_t>(kMassimo), '\0');
    while (out_.size() < kMassimoProblemi) {
        in.getline(buf.data(), kMassimo);
        std::streamsize n = in.gcount();
        bool aCapo = true, troppoLunga = false;
        if (in.bad()) throw storage::Error("Errore di lettura del file.");
        if (in.eof()) {
            if (n == 0) break;
            aCapo = false;
        } else if (in.fail()) {
            in.clear();
            troppoLunga = true;
            in.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
        } else {
            --n;  // gcount counted the line feed
        }
        ++numeroRecord_;
        const std::string_view riga(buf.data(), static_cast<std::size_t>(n));
        contesto(riga);
        const std::size_t lunghezza = riga.size() + (aCapo ? 1 : 0);
        bool giusto =
            lunghezza == telematic::kLunghezzaRecord && riga.back() == '\r' && riga[telematic::kCorpoRecord] == 'A';
        if (troppoLunga) {
            aggiungi(Gravita::Errore, 0, "", "Il record è più lungo di 1900 caratteri.");
        } else if (lunghezza != telematic::kLunghezzaRecord) {
            aggiungi(Gravita::Errore, 0, "",
                     "Il record è lungo " + std::to_string(lunghezza) + " caratteri invece di 1900" +
                         (aCapo ? "" : " e non termina con CR LF") + ".");
        } else if (!giusto) {
            aggiungi(Gravita::Errore, 1898, "", "Il record non termina con \"A\" seguito da CR LF.");
        }
        if (lunghezza == 0 || (riga.size() == 1 && riga[0] == '\r')) continue;
        record(riga, giusto);
        controlli(riga);
    }
    fine();
    return std::move(out_);
}

}  // namespace dettaglio

std::vector<Problema> ControllaFile(std::istream& in) { return dettaglio::ControlloFile().esegui(in); }

std::vector<Problema> ControllaFile(const std::string& percorso) {
    std::ifstream in(storage::sistema::nativo(percorso), std::ios::binary);
    if (!in) throw storage::Error("Impossibile aprire il file " + percorso + ".");
    return ControllaFile(in);
}

}  // namespace check
