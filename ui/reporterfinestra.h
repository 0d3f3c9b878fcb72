#pragma once

#include <QElapsedTimer>
#include <QString>
#include <memory>

#include "storage/reporter.h"

class QProgressDialog;
class QWidget;

namespace ui {

// A core job's reporter for a window: boxes for messages and questions, and a progress box with
// "Annulla" for long work that keeps the window responsive. The progress box exists only while
// the work runs: it is shown from a progress report after a short wait, and it is gone before any
// message box (see chiudiProgressi) and once the work reaches its end, so it never appears over
// a final message nor after the work has stopped.
class ReporterFinestra : public storage::Reporter {
public:
    ReporterFinestra(QWidget* parent, QString etichetta);
    ~ReporterFinestra() override;

    void info(const std::string& testo) override;
    void error(const std::string& testo) override;
    bool ask(const std::string& domanda) override;
    bool progress(std::size_t fatti, std::size_t totale) override;
    // True once the operator pressed "Annulla".
    bool annullato() const { return annullato_; }
    // The progress box on screen now, if any (tests look at it).
    QProgressDialog* dialogo() const { return dialogo_.get(); }

    // How long work must run before the progress box appears.
    static constexpr int kAttesaMs = 300;

protected:
    // The line under the label while the work runs: "N di M" by default.
    virtual QString avanzamento(std::size_t fatti, std::size_t totale) const;

private:
    friend void chiudiProgressi();
    void chiudi();

    QWidget* parent_;
    QString etichetta_;
    QElapsedTimer orologio_;
    std::unique_ptr<QProgressDialog> dialogo_;
    bool annullato_ = false;
};

// Closes the progress box of every job under way: called before any message box, so that no
// progress box stands beside a message, not even one a window shows after a job failed.
void chiudiProgressi();

// The message after "Annulla" of a job that changes the archive, and of a generation run.
inline const QString kAnnullatoDati = QStringLiteral("Operazione annullata: nessun dato è stato modificato.");
inline const QString kAnnullatoFile = QStringLiteral("Operazione annullata: nessun file è stato scritto.");

}  // namespace ui
