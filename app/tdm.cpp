#include "app/tdm.h"

#include "storage/archivi.h"

TDM::TDM(std::string percorsoIniziale) : percorsoDb_(std::move(percorsoIniziale)) {}

void TDM::configura(const std::string& percorsoDb) {
    percorsoDb_ = percorsoDb;
    storage::apriArchivio(Conn, percorsoDb_);
}

void TDM::assicuraAperta() {
    if (!Conn.isOpen()) Conn.open(percorsoDb_);
}
