#pragma once

// The agent's frontispiece and the Quadro CT page, always shown in the preview first; they read
// the rows as now stored, so changes not saved do not print.

#include "print/ui/uscita.h"
#include "storage/connection.h"

class QWidget;

namespace print {

void StampaSostituto(storage::Connection& conn, QWidget* parent);
void StampaSostituto(storage::Connection& conn, QWidget* parent, Uscita& uscita);
void StampaQuadroCT(storage::Connection& conn, QWidget* parent);
void StampaQuadroCT(storage::Connection& conn, QWidget* parent, Uscita& uscita);

}  // namespace print
