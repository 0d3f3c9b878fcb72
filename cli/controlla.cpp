#include <iostream>

#include "check/controllo.h"
#include "cli/comandi.h"

namespace cli {

namespace {

// Prints each problem as it comes, then the totals; nothing is kept.
class Stampa {
public:
    void operator()(const check::Problema& p) {
        std::cout << check::RigaProblema(p) << '\n';
        ++(p.gravita == check::Gravita::Errore ? errori_ : avvisi_);
    }
    int fine() const {
        std::cout << "Controllo terminato: " << errori_ << (errori_ == 1 ? " errore, " : " errori, ") << avvisi_
                  << (avvisi_ == 1 ? " avviso." : " avvisi.") << '\n'
                  << std::flush;
        return errori_ > 0 ? 1 : 0;
    }

private:
    std::size_t errori_ = 0, avvisi_ = 0;
};

int stampa(const std::vector<check::Problema>& problemi) {
    Stampa s;
    for (const auto& p : problemi) s(p);
    return s.fine();
}

}  // namespace

// controlla archivio [--tipi DIP,AMM,CoC] [--professionisti] [--quadro-ct] [--fornitura F]
//                    [--id N[,N...] | --elenco FILE]
// controlla file FILE
int comandoControlla(const Contesto& ctx) {
    Argomenti a(ctx.parole, {{"--tipi", 1}, {"--fornitura", 1}, {"--id", 1}, {"--elenco", 1}},
                {"--professionisti", "--quadro-ct"});
    const auto& pos = a.posizionali();
    if (pos.empty()) throw UsageError("controlla vuole archivio o file.");
    if (pos[0] == "file") {
        if (pos.size() != 2) throw UsageError("controlla file vuole il nome di un FILE.");
        if (a.valore("--tipi") || a.valore("--fornitura") || a.valore("--id") || a.valore("--elenco") ||
            a.flag("--professionisti") || a.flag("--quadro-ct"))
            throw UsageError("controlla file non ha opzioni.");
        return stampa(check::ControllaFile(pos[1]));
    }
    if (pos[0] != "archivio") throw UsageError("controlla vuole archivio o file, non " + pos[0] + ".");
    if (pos.size() != 1) throw UsageError("controlla archivio non vuole altri argomenti.");

    // Without a choice, both supplies and every kind; otherwise what is named.
    check::OpzioniControllo opz;
    const auto tipi = tipiDaTesto(a.valoreOppure("--tipi", ""));
    if (a.valore("--tipi") || a.flag("--professionisti")) {
        opz.tipi = tipi;
        opz.professionisti = a.flag("--professionisti");
    }
    opz.quadroCt = a.flag("--quadro-ct");
    opz.fornitura = fornituraDaTesto(a.valoreOppure("--fornitura", "ordinaria"));
    const bool scelti = a.valore("--id") || a.valore("--elenco");
    if (scelti && opz.fornitura != telematic::TipoFornitura::Ordinaria)
        throw UsageError("--id e --elenco valgono solo per una fornitura ordinaria.");
    if (scelti && opz.professionisti == !opz.tipi.nessuno())
        throw UsageError("--id e --elenco valgono per una sola fornitura: indicare --tipi oppure --professionisti.");
    storage::Connection conn;
    ctx.apri(conn);
    if (scelti) {
        const auto elenco = opz.professionisti ? storage::Elenco::Professionisti : storage::Elenco::Dipendenti;
        (opz.professionisti ? opz.sceltiProfessionisti : opz.sceltiDipendenti) = certificatiScelti(a, conn, elenco);
    }
    Stampa s;
    check::ControllaArchivio(conn, opz, [&](const check::Problema& p) { s(p); });
    return s.fine();
}

}  // namespace cli
