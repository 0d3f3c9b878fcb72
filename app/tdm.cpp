#include "app/tdm.h"

TDM::TDM(std::string percorsoIniziale) : percorsoDb_(std::move(percorsoIniziale)) {}

void TDM::configura(const std::string& percorsoDb) {
    Conn.close();
    percorsoDb_ = percorsoDb;
    Conn.open(percorsoDb_);
}

void TDM::assicuraAperta() {
    if (!Conn.isOpen()) Conn.open(percorsoDb_);
}
