#pragma once

// The sending line of the certificate editors' header: the identifiers the Agency's receipt gave
// the certificate (protocol and progressive), the operation it is marked for, and when it was last
// written to a supply. Typed values are saved with the certificate, and dropped with it.

#include <QWidget>
#include <cstdint>

#include "storage/invii.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace entry {

class TestataInvio : public QWidget {
    Q_OBJECT
public:
    TestataInvio(storage::Connection& conn, storage::Elenco elenco, QWidget* parent);

    // Shows what is stored of this certificate; 0 (no stored certificate) empties and disables
    // the boxes. The same certificate again keeps what was typed.
    void segui(std::int64_t id);
    // The certificate shown, 0 for none.
    std::int64_t id() const { return id_; }
    // Reads the stored values again, dropping what was typed.
    void ricarica();
    // Reads the stored values again (a supply or a receipts import changed them elsewhere); a box
    // whose typing is not yet saved keeps it.
    void rileggiTenendo();
    // Something typed differs from what is stored.
    bool modificata() const;
    // Writes what was typed. A wrong value throws storage::Error with nothing written, so the
    // caller saves this before the certificate's rows.
    void salva();

    QLineEdit& protocollo() { return *protocollo_; }
    QLineEdit& progressivo() { return *progressivo_; }
    QComboBox& operazione() { return *operazione_; }

signals:
    // The operator typed or chose something.
    void modificato();

private:
    storage::Operazione operazioneScelta() const;
    void mostra();

    storage::Connection& conn_;
    storage::Elenco elenco_;
    std::int64_t id_ = 0;
    storage::StatoInvio salvato_;
    QLineEdit* protocollo_;
    QLineEdit* progressivo_;
    QComboBox* operazione_;
    QLabel* scritto_;
    bool caricando_ = false;
};

}  // namespace entry
