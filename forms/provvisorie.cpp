// Pages still being drawn: each is an empty A4 page with its title until its description lands.

#include "forms/modulo.h"

namespace forms {

namespace {
Pagina vuota(const QString& nome, const QString& titolo) {
    modulo::Modulo m(nome, QStringLiteral("Zefo1"));
    m.testata(titolo);
    return m.fine();
}
}  // namespace

#define PALIO_PAGINA_VUOTA(funzione, nome, titolo)          \
    const Pagina& funzione() {                              \
        static const Pagina p = vuota(QStringLiteral(nome), QStringLiteral(titolo)); \
        return p;                                           \
    }

PALIO_PAGINA_VUOTA(CertificatoPagina1, "Pagina 1", "DATI ANAGRAFICI")
PALIO_PAGINA_VUOTA(CertificatoPagina2, "Pagina 2", "DATI FISCALI")
PALIO_PAGINA_VUOTA(CertificatoPagina3, "Pagina 3", "DATI FISCALI")
PALIO_PAGINA_VUOTA(CertificatoPagina4, "Pagina 4", "DATI PREVIDENZIALI")
PALIO_PAGINA_VUOTA(CertificatoPagina4bis, "Pagina 4 bis", "DATI PREVIDENZIALI")
PALIO_PAGINA_VUOTA(CertificatoPagina5, "Pagina 5", "LAVORO AUTONOMO")
PALIO_PAGINA_VUOTA(CertificatoPagina6, "Pagina 6", "SCELTA")
PALIO_PAGINA_VUOTA(CertificatoPagina7, "Pagina 7", "SCELTA")
PALIO_PAGINA_VUOTA(ProfessionistaPagina1, "Pagina 1", "DATI ANAGRAFICI")
PALIO_PAGINA_VUOTA(ProfessionistaPagina2, "Pagina 5", "LAVORO AUTONOMO")

}  // namespace forms
