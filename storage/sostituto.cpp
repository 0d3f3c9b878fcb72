#include "storage/sostituto.h"

#include "storage/error.h"

namespace storage {

Row RigaVuota(Connection& conn, Tabella tabella) {
    Statement st(conn, std::string("select * from ") + NomeTabella(tabella) + " where 1 = 0");
    auto colonne = Columns::of(st);
    return Row(colonne, std::vector<std::string>(colonne->size()));
}

void ScriviConteggioSostituto(Connection& conn, const std::string& colonna, const std::string& valore) {
    if (colonna != "A1" && colonna != "A2") throw Error("Conteggio sconosciuto: " + colonna);
    Statement st(conn,
                 "update SostitutoImposta set " + colonna + " = ? where ID = (select min(ID) from SostitutoImposta)");
    st.bind(1, valore).step();
}

void ScriviSostitutoImportato(Connection& conn, const std::array<std::string, 5>& valori) {
    std::int64_t id = 0;
    {
        Statement primo(conn, "select min(ID) from SostitutoImposta");
        if (primo.step() && !primo.isNull(0)) id = primo.integer(0);
    }
    Statement st(conn, id ? "update SostitutoImposta set CodiceFiscale = ?, CognomeDenominazione = ?, "
                            "Nome = ?, TelefonoPref = ?, telefono = '', email = ? where ID = ?"
                          : "insert into SostitutoImposta (CodiceFiscale, CognomeDenominazione, Nome, "
                            "TelefonoPref, telefono, email) values (?, ?, ?, ?, '', ?)");
    for (int i = 0; i < 5; ++i) st.bind(i + 1, valori[static_cast<std::size_t>(i)]);
    if (id) st.bind(6, id);
    st.step();
}

std::array<std::string, 9> ParteADelPrimoCertificato(Connection& conn) {
    std::array<std::string, 9> a;
    Statement st(conn, "select A01, A02, A03, A04, A05, A06, A07, A08, A09 from Zefo1 order by ID limit 1");
    if (st.step())
        for (int i = 0; i < 9; ++i) a[static_cast<std::size_t>(i)] = std::string(st.text(i));
    return a;
}

void SvuotaDatiEnte(Connection& conn) {
    conn.exec(
        "update Parametri set Denominazione = '', Salvataggio = '', ConDma = '', "
        "NomeSostituto = '', CodiceFiscale = '', IndirizzoPostaElettronica = '', "
        "TelefonooFax = '', RappCF = '', RappCodiceCarica = '', RappCognome = '', "
        "RappNome = '', InterCF = '', DataImpegno = ''");
    conn.exec(
        "update SostitutoImposta set Annullamento = '', sostituzione = '', "
        "CodiceFiscale = '', CognomeDenominazione = '', Nome = '', TelefonoPref = '', "
        "telefono = '', email = '', CFRapp = '', CodCar = '', CodEnte = '', "
        "CognomeRapp = '', NomeRapp = '', A1 = '', A2 = '', A3 = '', A4 = '', A5 = '', "
        "A6 = '', A7 = '', A8 = '', b1 = '', b2 = '', b3 = '', b4 = '', b5 = '', b6 = ''");
}

void SvuotaIntermediarioQuadroCt(Connection& conn) {
    conn.exec("update QuadroCt set NumCellulare = '', B5 = '', B6 = '', B1 = '', B2 = '', B3 = '', B4 = ''");
}

Eliminati EliminaCertificati(Connection& conn, Elenco elenco) {
    Eliminati n;
    if (elenco == Elenco::Professionisti) {
        conn.exec("delete from Professionisti");
        n.certificati = conn.changes();
        return n;
    }
    conn.exec("delete from Zefo1");
    n.certificati = conn.changes();
    conn.exec("delete from Zefo2");
    n.seconde = conn.changes();
    conn.exec("delete from Zefo3");
    n.aggiuntive = conn.changes();
    return n;
}

}  // namespace storage
