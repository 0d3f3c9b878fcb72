#include <algorithm>

#include "check/casella.h"
#include "check/controllofile.h"
#include "check/forme.h"
#include "storage/cp1252.h"

namespace check::dettaglio {

void ControlloFile::nome(std::string_view r) {
    std::string cognome, nomeProprio;
    static const std::string &codiceCognome = telematic::CodiceDellaColonna(telematic::Sezione::Anagrafica, "B02"),
                             &codiceNome = telematic::CodiceDellaColonna(telematic::Sezione::Anagrafica, "B03");
    for (std::size_t i = kDaArea; i + 24 <= std::min(kDopoArea, r.size()); i += 24) {
        const auto codice = r.substr(i, 8);
        if (spazi(codice)) break;
        auto v = r.substr(i + 8, 16);
        std::string* dove = codice == codiceCognome ? &cognome : codice == codiceNome ? &nomeProprio : nullptr;
        if (!dove) continue;
        if (!dove->empty() && !v.empty() && v[0] == '+') v.remove_prefix(1);
        *dove += std::string(v);
    }
    nominativo_ = storage::senzaControlli(storage::daWindows1252(senzaSpaziFinali(cognome)) + " " +
                                          storage::daWindows1252(senzaSpaziFinali(nomeProprio)));
    // The same rule as the archive check's.
    if (telematic::Rifila(cognome).empty())
        aggiungi(Gravita::Errore, static_cast<int>(kDaArea + 1), codiceCognome, "Manca il cognome del percipiente.");
}

void ControlloFile::testaCertificato(std::string_view r) {
    const char tipo = r[0];
    const Testa& t = testa();
    const std::string_view modulo = in(r, t.modulo), cf = in(r, t.percipiente), num = in(r, t.numero);
    const std::string chiave = std::string(in(r, t.sostituto)) + std::string(cf) + std::string(num);

    // Which certificate the record belongs to; a D starts one (several D in a row when its fields overflow).
    const bool stesso = chiave == chiaveCertificato_;
    const bool nuovoCertificato = !stesso || (tipo == 'D' && ultimoTipo_ != 'D');
    if (tipo == 'D') {
        if (!(stesso && ultimoTipo_ == 'D')) {
            if (!haSeguito_) mancaSeguito();
            if (stesso)
                aggiungi(Gravita::Errore, 1, "", "Record D ripetuto dopo i record G o H dello stesso certificato.");
            if (!numeri_.insert(std::string(cf) + std::string(num)).second && !stesso)
                aggiungi(Gravita::Errore, pos(t.numero), "",
                         "Il certificato " + tra(num) + " dello stesso percipiente compare più volte nel file.");
            chiaveCertificato_ = chiave;
            haSeguito_ = false;
            ++certificati_;
            nome(r);
            if (const std::string p = numeriCertificati_.vedi(num, cf, numeroRecord_); !p.empty())
                aggiungi(Gravita::Errore, pos(t.numero), "", p);
        }
        if (modulo != "00000001")
            aggiungi(Gravita::Errore, pos(t.modulo), "",
                     "Il numero di modulo del record D è " + tra(modulo) + " invece di 00000001.");
    } else {
        if (!stesso) {
            aggiungi(Gravita::Errore, 1, "",
                     std::string("Il record ") + tipo +
                         " non segue il record D del suo certificato (percipiente e numero diversi).");
        } else if ((tipo == 'G' && ultimoTipo_ == 'H') || (tipo == 'H' && ultimoTipo_ == 'G')) {
            aggiungi(Gravita::Errore, 1, "", "Record G e H nello stesso certificato.");
        }
        haSeguito_ = true;
        if (tipo == 'H' ? modulo != "00000001" : (modulo != "00000001" && modulo != "00000002"))
            aggiungi(Gravita::Errore, pos(t.modulo), "",
                     std::string("Il numero di modulo del record ") + tipo + " è " + tra(modulo) + ".");
    }
    ultimoTipo_ = tipo;
    ultimo_ = {numeroRecord_, id_, nominativo_, cf_};

    if (in(r, t.sostituto) != cfSostituto_)
        aggiungi(Gravita::Errore, pos(t.sostituto), "",
                 "Il codice fiscale del sostituto " + tra(in(r, t.sostituto)) + " è diverso da quello del record B.");
    // The recipient's code once per certificate: its later records repeat the same head.
    if (!nuovoCertificato) {
    } else if (spazi(cf)) {
        aggiungi(Gravita::Errore, pos(t.percipiente), t.codicePercipiente, "Manca il codice fiscale del percipiente.");
    } else {
        codiceFiscale('D', t.percipiente, r, "Codice fiscale del percipiente", t.codicePercipiente);
    }
    if (!cifre(num))
        aggiungi(Gravita::Errore, pos(t.numero), "",
                 "Il numero del certificato " + tra(num) + " non è di cinque cifre.");
    identificativi(r);
    // The reserved positions run from the first reserved field to the end of the head, as the writer fills them.
    static const std::string riservatoD = telematic::TestaCertificato('D', "", "", "", "").substr(t.riservato.inizio()),
                             riservatoGH =
                                 telematic::TestaCertificato('G', "", "", "", "").substr(t.riservato.inizio());
    const std::string_view riservato = r.substr(t.riservato.inizio(), riservatoD.size());
    if (riservato != (tipo == 'D' ? riservatoD : riservatoGH))
        aggiungi(Gravita::Errore, pos(t.riservato), "",
                 "Le posizioni riservate " + std::to_string(t.riservato.da) + "-" +
                     std::to_string(telematic::kTestaCertificato) + " del record " + tipo +
                     " non hanno il contenuto atteso.");
}

// Protocol and progressive: blanks in G and H; in D zeros in an ordinary supply, the sending
// being replaced or cancelled in a correction.
void ControlloFile::identificativi(std::string_view r) {
    const Testa& t = testa();
    const std::string_view prot = in(r, t.protocollo), prog = in(r, t.progressivo);
    const std::string dove = Posizioni('D', telematic::kProtocollo, telematic::kProgressivo);
    if (r[0] != 'D') {
        if (!spazi(prot) || !spazi(prog))
            aggiungi(Gravita::Errore, pos(t.protocollo), dove,
                     std::string("Le posizioni 47-69 del record ") + r[0] + " devono essere vuote.");
        return;
    }
    if (!cifre(prot) || !cifre(prog)) {
        aggiungi(Gravita::Errore, pos(t.protocollo), dove,
                 "Protocollo e progressivo del record D devono essere cifre.");
        return;
    }
    const bool zeri =
        prot.find_first_not_of('0') == std::string_view::npos && prog.find_first_not_of('0') == std::string_view::npos;
    if (annullaOSostituisce_ && zeri)
        aggiungi(Gravita::Errore, pos(t.protocollo), dove,
                 "Manca il protocollo dell'invio da sostituire o annullare: la fornitura di sostituzione o di "
                 "annullamento lo richiede in ogni certificato.");
    else if (!annullaOSostituisce_ && !zeri)
        aggiungi(Gravita::Errore, pos(t.protocollo), dove,
                 "Protocollo e progressivo sono indicati in una fornitura ordinaria: vanno lasciati a zero.");
}

void ControlloFile::area(std::string_view r) {
    const char tipo = r[0];
    std::string_view precedente;
    for (std::size_t i = kDaArea; i + 24 <= kDopoArea; i += 24) {
        const int posizione = static_cast<int>(i + 1);
        const std::string_view codice = r.substr(i, 8), v = r.substr(i + 8, 16);
        if (spazi(r.substr(i, 24))) {
            const auto resto = r.substr(i, telematic::kCorpoRecord - i);
            const auto altro = resto.find_first_not_of(' ');
            if (altro != std::string_view::npos)
                aggiungi(Gravita::Errore, static_cast<int>(i + altro + 1), "",
                         "Campo spezzato o fuori allineamento: dopo un campo vuoto il record prosegue con " +
                             tra(resto.substr(altro, 24)) + ".");
            return;
        }
        if (!codiceCampo(codice) || !telematic::CodiceDelRecord(tipo, codice)) {
            aggiungi(Gravita::Errore, posizione, std::string(),
                     "Campo spezzato o fuori allineamento: " + tra(codice) + " non è un codice di campo del record " +
                         tipo + " (i campi seguenti del record non sono controllati).");
            return;
        }
        const std::string c(codice);
        const auto t = telematic::TipoDelCodice(codice);
        // The same code as the head's was judged there.
        if (c == testa().codicePercipiente && senzaSpaziFinali(v) == senzaSpaziFinali(in(r, testa().percipiente))) {
            precedente = codice;
            continue;
        }
        using telematic::TipoCampo;
        if (!v.empty() && v[0] == '+' && codice == precedente && (!t || t == TipoCampo::AN || t == TipoCampo::CF)) {
            if (t == TipoCampo::CF)
                aggiungi(Gravita::Errore, posizione, c, "Codice fiscale più lungo di 16 caratteri.");
        } else if (!t) {
            // Every code of the layout is known here: any other is a damaged one, and the Agency rejects it.
            aggiungi(Gravita::Errore, posizione, c,
                     "Codice di campo " + tra(codice) +
                         " sconosciuto: il campo è danneggiato o non previsto dal tracciato.");
        } else {
            const auto forma = telematic::FormaDelCodice(codice);
            const std::string valore = storage::daWindows1252(telematic::Rifila(v));
            std::string e = ErroreValoreFile(*t, v);
            if (e.empty()) e = ErroreForma(forma, valore);
            const std::string a = e.empty() ? AvvisoForma(forma, valore) : std::string();
            if (!e.empty()) aggiungi(Gravita::Errore, posizione, c, MaiuscolaIniziale(e) + ".");
            if (!a.empty()) aggiungi(Gravita::Avviso, posizione, c, MaiuscolaIniziale(a) + ".");
        }
        precedente = codice;
    }
    const auto coda = r.substr(kDopoArea, telematic::kCorpoRecord - kDopoArea);
    if (!spazi(coda))
        aggiungi(Gravita::Errore, static_cast<int>(kDopoArea + 1), "",
                 "Campo spezzato a fine record: le posizioni " + std::to_string(kDopoArea + 1) + "-" +
                     std::to_string(telematic::kCorpoRecord) + " devono essere vuote.");
}

// The certificate a record names in its head, so that every problem of the record shows it.
void ControlloFile::contesto(std::string_view r) {
    const char tipo = r.empty() ? ' ' : r[0];
    const Testa& t = testa();
    tipoRecord_ = r.empty() ? 0 : tipo;
    modulo_ = 0;
    if ((tipo != 'D' && tipo != 'G' && tipo != 'H') || r.size() < static_cast<std::size_t>(t.numero.a)) {
        id_ = 0;
        nominativo_.clear();
        cf_.clear();
        return;
    }
    const std::string_view cf = in(r, t.percipiente), num = in(r, t.numero);
    const std::string chiave = std::string(in(r, t.sostituto)) + std::string(cf) + std::string(num);
    if (chiave != chiaveCertificato_) nominativo_.clear();
    cf_ = storage::daWindows1252(senzaSpaziFinali(cf));
    id_ = cifre(num) ? numero(num) : 0;
    if (cifre(in(r, t.modulo))) modulo_ = static_cast<int>(numero(in(r, t.modulo)));
}

}  // namespace check::dettaglio
