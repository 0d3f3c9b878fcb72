#pragma once

#include <string>

#include "storage/connection.h"

// The data module: the program's one connection to the archive. It is configured once at
// start-up; a connection that could not be opened then is tried again by the next window that
// needs the data.
class TDM {
public:
    // percorsoIniziale: the archive used when the configuration step does not name another.
    explicit TDM(std::string percorsoIniziale);

    storage::Connection Conn;

    // Closes the connection and opens the archive at percorsoDb (a 0-byte file gets the tables);
    // throws storage::Error when it is missing, not a database or not an archive.
    void configura(const std::string& percorsoDb);
    // Opens the connection with the last path set when it is closed; throws storage::Error.
    void assicuraAperta();
    const std::string& percorsoDb() const { return percorsoDb_; }

private:
    std::string percorsoDb_;
};
