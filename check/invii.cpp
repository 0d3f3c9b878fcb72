#include "check/invii.h"

#include "storage/error.h"

namespace check {

using storage::Elenco;
using storage::Operazione;
using telematic::TipoFornitura;

struct ControlloInvii::Impl {
    Impl(storage::Connection& c, const OpzioniControllo& o) : conn(c), opz(o), lettore(c) {}
    telematic::Selezione& selezione(Elenco e) { return e == Elenco::Dipendenti ? dip : prof; }
    void seleziona(Elenco e) {
        telematic::OpzioniGenerazione g;
        g.fornitura = opz.fornitura;
        g.tipi = opz.tipi;
        g.scelti = e == Elenco::Dipendenti ? opz.sceltiDipendenti : opz.sceltiProfessionisti;
        std::string& rifiuto = e == Elenco::Dipendenti ? rifiutoDip : rifiutoProf;
        selezione(e) = telematic::Seleziona(conn, e, g, &rifiuto);
    }

    storage::Connection& conn;
    const OpzioniControllo& opz;
    telematic::Selezione dip, prof;
    std::string rifiutoDip, rifiutoProf;
    storage::LettoreInvii lettore;
    storage::StatoInvio stato;
    bool ctSegnalato = false;
};

ControlloInvii::ControlloInvii(storage::Connection& conn, const OpzioniControllo& opz)
    : d_(std::make_unique<Impl>(conn, opz)) {
    if (!opz.tipi.nessuno()) d_->seleziona(Elenco::Dipendenti);
    if (opz.professionisti) d_->seleziona(Elenco::Professionisti);
}

ControlloInvii::~ControlloInvii() = default;

bool ControlloInvii::parziale() const { return d_->dip.parziale || d_->prof.parziale; }

void ControlloInvii::generale(bool dipendenti, const Segnala& segnala) {
    const OpzioniControllo& opz = d_->opz;
    if (opz.fornitura != TipoFornitura::Ordinaria && opz.quadroCt && !d_->ctSegnalato && (d_->ctSegnalato = true))
        segnala(Gravita::Errore, "", "C", telematic::kRifiutoCtCorrezione);
    const std::string& rifiuto = dipendenti ? d_->rifiutoDip : d_->rifiutoProf;
    if (!rifiuto.empty()) segnala(Gravita::Errore, "", "", rifiuto);
}

bool ControlloInvii::certificato(Elenco elenco, std::int64_t id, const Segnala& segnala) {
    const OpzioniControllo& opz = d_->opz;
    const telematic::Selezione& sel = d_->selezione(elenco);
    const bool nellaFornitura =
        (elenco == Elenco::Dipendenti ? d_->rifiutoDip : d_->rifiutoProf).empty() && sel.ammette(id);
    const bool correzione = opz.fornitura != TipoFornitura::Ordinaria;
    storage::StatoInvio& s = d_->stato;
    s = d_->lettore.leggi(elenco, id);
    const bool segnato = s.operazione == Operazione::Sostituzione || s.operazione == Operazione::Annullamento;
    const std::string posizioni = telematic::Posizioni('D', telematic::kProtocollo, telematic::kProgressivo);

    // Changed since the file it was last written to, and no correction will carry the change.
    if (!s.scrittoIl.empty() && s.modificatoIl > s.scrittoIl && !segnato && (correzione || nellaFornitura))
        segnala(Gravita::Avviso, "", "",
                "Il certificato è stato modificato il " + storage::OraLeggibile(s.modificatoIl) +
                    ", dopo l'ultimo invio (" + storage::OraLeggibile(s.scrittoIl) +
                    "), e non è segnato per la sostituzione.");
    if (!nellaFornitura) return false;
    if (correzione) {
        if (!s.haIdentificativi())
            segnala(Gravita::Errore, "Protocollo", posizioni,
                    "Mancano protocollo e progressivo dell'invio da " +
                        std::string(opz.fornitura == TipoFornitura::Annullamento ? "annullare" : "sostituire") +
                        ": importare la ricevuta o indicarli nel certificato.");
        else if (const std::string e = storage::ErroreIdentificativi(s.protocollo, s.progressivo); !e.empty())
            segnala(Gravita::Errore, "Protocollo", posizioni, e);
    } else if (!s.protocollo.empty()) {
        segnala(Gravita::Avviso, "Protocollo", posizioni,
                "Il certificato è già stato accettato (protocollo " + s.protocollo + ", progressivo " + s.progressivo +
                    "): una fornitura ordinaria lo invierebbe di nuovo e l'Agenzia lo tratterebbe come un duplicato. "
                    "Segnarlo per la sostituzione o escluderlo dall'invio.");
    }
    return true;
}

}  // namespace check
