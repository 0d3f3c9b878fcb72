#pragma once

#include <optional>
#include <string>

namespace storage {

// The platform's folder separator, used where the original program wrote "\".
#ifdef _WIN32
inline constexpr char kSeparatore = '\\';
#else
inline constexpr char kSeparatore = '/';
#endif

inline constexpr const char* kNomeDatabase = "Zefo2015.db";

// Where the one-line configuration file lives: $XDG_CONFIG_HOME/ravo/zefo2015.ini, else
// ~/.config/ravo/zefo2015.ini (on Windows the historical C:\RAVO\Zefo2015\zefo2015.ini).
std::string percorsoConfigurazione();

// The home folder joined with a relative path ("RAVO/Zefo2015/FileXInvio").
std::string cartellaUtente(const std::string& relativo);

// First line of the configuration file, exactly as read but for its line end.
// Throws Error when the file cannot be read.
std::string leggiCartellaDati(const std::string& percorsoIni);

// Writes the folder as the first line, creating the configuration folder when needed.
void scriviCartellaDati(const std::string& percorsoIni, const std::string& cartella);

// CartellaDati + separator + "Zefo2015.db", built as written (a trailing separator is not removed).
std::string percorsoDatabase(const std::string& cartellaDati);

// The message of a missing database file, followed by the tested path.
std::string messaggioDatabaseMancante(const std::string& percorsoDb);

// The archive folder of a command: the given one, else the configuration file's first line.
std::string cartellaArchivio(const std::optional<std::string>& data, const std::string& percorsoIni);

}  // namespace storage
