#include "ui/dialoghi.h"

#include <QMessageBox>
#include <exception>

#include "storage/motivi.h"
#include "ui/reporterfinestra.h"

namespace ui {

namespace {
Risponditore* gRisponditore = nullptr;
const QString kTitolo = QStringLiteral("Palio 2015");
}  // namespace

namespace {
// A reason the system or the database engine gave in English, inside the text, goes into Italian.
QString inItaliano(const QString& testo) {
    return QString::fromStdString(storage::MotiviInItaliano(testo.toStdString()));
}
}  // namespace

void informa(QWidget* parent, const QString& daMostrare) {
    chiudiProgressi();
    const QString testo = inItaliano(daMostrare);
    if (gRisponditore) return gRisponditore->informa(testo);
    QMessageBox::information(parent, kTitolo, testo);
}

void errore(QWidget* parent, const QString& daMostrare) {
    chiudiProgressi();
    const QString testo = inItaliano(daMostrare);
    if (gRisponditore) return gRisponditore->errore(testo);
    QMessageBox::warning(parent, kTitolo, testo);
}

bool chiedi(QWidget* parent, const QString& domanda, Predefinito predefinito) {
    chiudiProgressi();
    if (gRisponditore) return gRisponditore->chiedi(domanda);
    return QMessageBox::question(parent, kTitolo, domanda, QMessageBox::Yes | QMessageBox::No,
                                 predefinito == Predefinito::Si ? QMessageBox::Yes : QMessageBox::No) ==
           QMessageBox::Yes;
}

Risposta chiediOAnnulla(QWidget* parent, const QString& domanda) {
    chiudiProgressi();
    if (gRisponditore) return gRisponditore->chiediOAnnulla(domanda);
    const auto b = QMessageBox::question(parent, kTitolo, domanda,
                                         QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    return b == QMessageBox::Yes ? Risposta::Si : b == QMessageBox::No ? Risposta::No : Risposta::Annulla;
}

RisponditoreInstallato::RisponditoreInstallato(Risponditore& r) : precedente_(gRisponditore) { gRisponditore = &r; }

RisponditoreInstallato::~RisponditoreInstallato() { gRisponditore = precedente_; }

QString testoDaMessaggio(const std::string& utf8) {
    QString t = QString::fromStdString(storage::MotiviInItaliano(utf8));
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QChar('\r'), QChar('\n'));
    return t;
}

bool esegui(QWidget* parent, const std::function<void()>& azione) {
    try {
        azione();
        return true;
    } catch (const AzioneInterrotta&) {
        return false;
    } catch (const std::exception& e) {
        errore(parent, testoDaMessaggio(e.what()));
        return false;
    }
}

}  // namespace ui
