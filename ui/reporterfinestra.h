#pragma once

#include <QString>
#include <memory>

#include "storage/reporter.h"

class QProgressDialog;
class QWidget;

namespace ui {

// A core job's reporter for a window: boxes for messages and questions, and a progress dialog
// with "Annulla" for long work that keeps the window responsive.
class ReporterFinestra : public storage::Reporter {
public:
    ReporterFinestra(QWidget* parent, QString etichetta);
    ~ReporterFinestra() override;

    void info(const std::string& testo) override;
    void error(const std::string& testo) override;
    bool ask(const std::string& domanda) override;
    bool progress(std::size_t fatti, std::size_t totale) override;
    bool annullato() const { return annullato_; }

private:
    QWidget* parent_;
    QString etichetta_;
    std::unique_ptr<QProgressDialog> dialogo_;
    bool annullato_ = false;
};

}  // namespace ui
