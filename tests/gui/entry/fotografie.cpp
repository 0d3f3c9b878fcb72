// Not a test: fills an example certificate and saves a picture of every page of both editors
// and of the two search windows, to look at them.  entry_fotografie CARTELLA
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QScrollArea>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <map>

#include "entry/editordipendenti.h"
#include "entry/editorprofessionisti.h"
#include "entry/ricercadipendenti.h"
#include "entry/ricercaprofessionisti.h"
#include "forms/pagina.h"
#include "forms/vistapagina.h"
#include "storage/connection.h"

namespace {

const std::map<QString, QString> kAnagrafica = {{"A01", "01234567897"},
                                                {"A02", "COMUNE DI ESEMPIO"},
                                                {"A03", ""},
                                                {"A04", "ROMA"},
                                                {"A05", "RM"},
                                                {"A06", "00184"},
                                                {"A07", "VIA NAZIONALE 1"},
                                                {"A08", "065551234"},
                                                {"A09", "ragioneria@comune.esempio.it"},
                                                {"A10", "841110"},
                                                {"A11", "001"},
                                                {"B01", "RSSMRA85T10H501Z"},
                                                {"B02", "ROSSI"},
                                                {"B03", "MARIO"},
                                                {"B04", "M"},
                                                {"B05", "10/12/1985"},
                                                {"B06", "ROMA"},
                                                {"B07", "RM"},
                                                {"B08", "A"},
                                                {"B09", "1"},
                                                {"B10", "X"},
                                                {"B20", "ROMA"},
                                                {"B21", "RM"},
                                                {"B22", "H501"},
                                                {"B23", "ROMA"},
                                                {"B24", "RM"},
                                                {"B25", "H501"},
                                                {"B30", "VRDLGU60A01H501X"},
                                                {"B40", "123456"},
                                                {"B41", "PARIS"},
                                                {"B42", "RUE DE RIVOLI 10"},
                                                {"B43", "029"},
                                                {"B44", "28/02/2015"},
                                                {"BFirma", "Mario Bianchi"},
                                                {"C001", "25.431,18"},
                                                {"C002", "1"},
                                                {"C006", "365"},
                                                {"C008", "01/01/2014"},
                                                {"C009", "31/12/2014"},
                                                {"c145", "15/06/2014"},
                                                {"c119", "1"},
                                                {"c116", "2013"},
                                                {"D01", "1234567890"},
                                                {"D15", "80012345678"},
                                                {"D22", "2014"},
                                                {"D37_1", "01"},
                                                {"D37_2", "01"},
                                                {"D38_1", "31"},
                                                {"D38_2", "12"},
                                                {"E01", "A"},
                                                {"E02", "2014"},
                                                {"E06", "1"}};

QString esempio(const forms::Campo& c) {
    if (c.tipo == forms::TipoCampo::Casella) return QStringLiteral("X");
    if (c.tipo == forms::TipoCampo::Elenco) return c.valori.value(1);
    auto it = kAnagrafica.find(c.colonna);
    if (it != kAnagrafica.end()) return it->second;
    if (c.colonna.startsWith("fam", Qt::CaseInsensitive)) {
        if (c.colonna.endsWith("_4")) return QStringLiteral("RSSLCU10A01H501K");
        if (c.colonna.endsWith("_1")) return QStringLiteral("X");
        return QStringLiteral("12");
    }
    if (c.colonna.startsWith("des", Qt::CaseInsensitive)) return QStringLiteral("Annotazione di esempio");
    if (c.rettangolo.width() < 40) return QStringLiteral("X");
    if (c.rettangolo.width() < 70) return QStringLiteral("12");
    return QStringLiteral("1.234,56");
}

void riempi(storage::Connection& conn, const forms::Pagina& p, const QString& tabella, const std::string& dove) {
    for (const auto& c : p.campi) {
        if (c.tabella.compare(tabella, Qt::CaseInsensitive) != 0 || c.solaLettura) continue;
        if (c.colonna.compare("ID", Qt::CaseInsensitive) == 0) continue;
        storage::Statement st(
            conn, "update " + tabella.toStdString() + " set \"" + c.colonna.toStdString() + "\" = ? where " + dove);
        st.bind(1, esempio(c).toStdString());
        st.step();
    }
}

void foto(QWidget& w, const QString& file) {
    w.grab().save(file);
    std::printf("%s\n", qPrintable(file));
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString cartella = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath();
    QDir().mkpath(cartella);
    QTemporaryDir tmp;
    const std::string db = tmp.filePath("Zefo2015.db").toStdString();
    storage::Connection::crea(db);
    storage::Connection conn;
    conn.open(db);
    conn.exec("insert into Zefo1 (ID) values (1), (2)");
    conn.exec("update Zefo1 set B02 = 'VERDI', B03 = 'ANNA' where ID = 2");
    conn.exec("insert into Zefo2 (ID, ditta, MatrDip, tipo) values (1, '0001', '000123', 'DIP')");
    conn.exec("insert into Zefo3 (Id, Cf, matricola) values (1, 'RSSMRA85T10H501Z', '000123')");
    conn.exec("insert into Professionisti (ID) values (1)");
    riempi(conn, forms::CertificatoPagina1(), "Zefo1", "ID = 1");
    riempi(conn, forms::CertificatoPagina2(), "Zefo1", "ID = 1");
    riempi(conn, forms::CertificatoPagina3(), "Zefo2", "ID = 1");
    riempi(conn, forms::CertificatoPagina4(), "Zefo2", "ID = 1");
    riempi(conn, forms::CertificatoPagina4bis(), "Zefo3", "Id = 1");
    riempi(conn, forms::CertificatoPagina5(), "Zefo2", "ID = 1");
    riempi(conn, forms::ProfessionistaPagina1(), "Professionisti", "ID = 1");
    riempi(conn, forms::ProfessionistaPagina2(), "Professionisti", "ID = 1");
    conn.exec("update Zefo1 set B02 = 'ROSSI' where ID = 1");
    conn.exec(
        "insert into Zefo1 (B01, B02, B03, B04, B05, B06, B07) values "
        "('BNCGNN70A41F205X', 'BIANCHI', 'GIOVANNA', 'F', '01/01/1970', 'MILANO', 'MI'), "
        "('DNGPLA80B12F839Y', 'D''ANGELO', 'PAOLO', 'M', '12/02/1980', 'NAPOLI', 'NA')");

    TFPagina1 f(conn);
    f.riapriElenco();
    if (!f.elenco().locate(1)) return 1;
    f.spostaA(f.elenco().position() == 0 ? 0 : f.elenco().position());
    f.primo();
    while (f.elenco().integer("ID") != 1) f.successivo();
    f.show();
    for (int i = 0; i < f.schede().count(); ++i) {
        f.schede().setCurrentIndex(i);
        app.processEvents();
        foto(f, cartella + QStringLiteral("/dipendente_%1.png").arg(i + 1));
        // the whole page, scrolled areas included
        auto* area = qobject_cast<QScrollArea*>(f.schede().widget(i));
        if (area && area->widget())
            foto(*area->widget(), cartella + QStringLiteral("/dipendente_%1_intera.png").arg(i + 1));
    }
    TFRicDip ricDip(f);
    ricDip.show();
    app.processEvents();
    ricDip.cognome().setText(QStringLiteral("ro"));
    app.processEvents();
    foto(ricDip, cartella + QStringLiteral("/ricerca_dipendente.png"));

    TFProfessionisti p(conn);
    p.riapriElenco();
    p.show();
    for (int i = 0; i < p.schede().count(); ++i) {
        p.schede().setCurrentIndex(i);
        app.processEvents();
        foto(p, cartella + QStringLiteral("/professionista_%1.png").arg(i + 1));
        auto* area = qobject_cast<QScrollArea*>(p.schede().widget(i));
        if (area && area->widget())
            foto(*area->widget(), cartella + QStringLiteral("/professionista_%1_intera.png").arg(i + 1));
    }
    TFProfesRic ricProf(p);
    ricProf.show();
    app.processEvents();
    foto(ricProf, cartella + QStringLiteral("/ricerca_professionista.png"));
    return 0;
}
