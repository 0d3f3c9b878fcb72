#include "storage/server.h"

#include <cctype>
#include <cstdio>
#include <optional>
#include <vector>

#include "storage/connection.h"
#include "storage/error.h"
#include "storage/motore_pg.h"

#if PALIO_LIBPQ
#include "storage/libpq.h"
#endif

namespace storage {

namespace {

bool uri(const std::string& s) { return s.find("://") != std::string::npos; }

std::string codificato(const std::string& s) {
    std::string r;
    for (unsigned char c : s) {
        if (std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~') {
            r += static_cast<char>(c);
        } else {
            char b[4];
            std::snprintf(b, sizeof b, "%%%02X", c);
            r += b;
        }
    }
    return r;
}

std::string decodificato(const std::string& s) {
    std::string r;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size() && std::isxdigit(static_cast<unsigned char>(s[i + 1])) &&
            std::isxdigit(static_cast<unsigned char>(s[i + 2]))) {
            r += static_cast<char>(std::stoi(s.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            r += s[i];
        }
    }
    return r;
}

// A URI cut into its parts, each as written (still encoded).
struct PartiUri {
    std::string schema, utente, password, hostPorta, database;
    std::vector<std::string> parametri;  // "chiave=valore", in order
    bool conPassword = false;
};

PartiUri tagliaUri(const std::string& s) {
    PartiUri p;
    const auto dopo = s.find("://");
    p.schema = s.substr(0, dopo + 3);
    std::string resto = s.substr(dopo + 3);
    if (const auto q = resto.find('?'); q != std::string::npos) {
        std::size_t i = q + 1;
        while (i <= resto.size()) {
            std::size_t fine = resto.find('&', i);
            if (fine == std::string::npos) fine = resto.size();
            if (fine > i) p.parametri.push_back(resto.substr(i, fine - i));
            i = fine + 1;
        }
        resto.erase(q);
    }
    if (const auto barra = resto.find('/'); barra != std::string::npos) {
        p.database = resto.substr(barra + 1);
        resto.erase(barra);
    }
    if (const auto chiocciola = resto.rfind('@'); chiocciola != std::string::npos) {
        const std::string chi = resto.substr(0, chiocciola);
        const auto due = chi.find(':');
        p.utente = chi.substr(0, due);
        if (due != std::string::npos) {
            p.password = chi.substr(due + 1);
            p.conPassword = true;
        }
        resto.erase(0, chiocciola + 1);
    }
    p.hostPorta = resto;
    return p;
}

// One "chiave=valore" entry of a key=value string: where it stands and its value, unquoted.
struct Voce {
    std::string chiave, valore;
    std::size_t inizio, fine;
};

std::vector<Voce> voci(const std::string& s) {
    std::vector<Voce> v;
    std::size_t i = 0;
    auto spazi = [&] {
        while (i < s.size() && std::isspace(static_cast<unsigned char>(s[i]))) ++i;
    };
    while (true) {
        spazi();
        if (i >= s.size()) break;
        Voce x{};
        x.inizio = i;
        while (i < s.size() && s[i] != '=' && !std::isspace(static_cast<unsigned char>(s[i]))) x.chiave += s[i++];
        spazi();
        if (i < s.size() && s[i] == '=') ++i;
        spazi();
        if (i < s.size() && s[i] == '\'') {
            for (++i; i < s.size() && s[i] != '\''; ++i) {
                if (s[i] == '\\' && i + 1 < s.size()) ++i;
                x.valore += s[i];
            }
            if (i < s.size()) ++i;
        } else {
            while (i < s.size() && !std::isspace(static_cast<unsigned char>(s[i]))) {
                if (s[i] == '\\' && i + 1 < s.size()) ++i;
                x.valore += s[i++];
            }
        }
        x.fine = i;
        v.push_back(std::move(x));
    }
    return v;
}

std::optional<std::string> parametro(const std::vector<std::string>& parametri, const std::string& chiave) {
    for (const auto& p : parametri)
        if (p.rfind(chiave + "=", 0) == 0) return decodificato(p.substr(chiave.size() + 1));
    return std::nullopt;
}

}  // namespace

std::string IndirizzoServer(const DatiServer& d) {
    std::string r = "postgresql://";
    if (!d.utente.empty()) r += codificato(d.utente) + "@";
    // An IPv6 address goes in brackets, so that its colons are not taken for the port's.
    r += d.host.find(':') != std::string::npos ? "[" + d.host + "]" : codificato(d.host);
    if (!d.porta.empty()) r += ":" + codificato(d.porta);
    r += "/" + codificato(d.database);
    if (!d.schema.empty()) r += "?schema=" + codificato(d.schema);
    return r;
}

DatiServer DatiDellIndirizzo(const std::string& indirizzo) {
    DatiServer d;
    if (uri(indirizzo)) {
        const PartiUri p = tagliaUri(indirizzo);
        d.utente = decodificato(p.utente);
        d.database = decodificato(p.database);
        std::string hp = p.hostPorta;
        if (!hp.empty() && hp.front() == '[') {
            const auto chiusa = hp.find(']');
            d.host = hp.substr(1, chiusa == std::string::npos ? std::string::npos : chiusa - 1);
            hp = chiusa == std::string::npos ? std::string() : hp.substr(chiusa + 1);
            if (!hp.empty() && hp.front() == ':') d.porta = decodificato(hp.substr(1));
        } else {
            const auto due = hp.rfind(':');
            d.host = decodificato(hp.substr(0, due));
            if (due != std::string::npos) d.porta = decodificato(hp.substr(due + 1));
        }
        // Parameters name what the URI's body leaves out.
        for (auto [chiave, campo] :
             {std::pair{"host", &d.host}, std::pair{"port", &d.porta}, std::pair{"dbname", &d.database},
              std::pair{"user", &d.utente}, std::pair{"schema", &d.schema}})
            if (auto v = parametro(p.parametri, chiave); v && (campo->empty() || std::string(chiave) == "schema"))
                *campo = *v;
        return d;
    }
    for (const Voce& v : voci(indirizzo)) {
        if (v.chiave == "host" || v.chiave == "hostaddr") d.host = v.valore;
        if (v.chiave == "port") d.porta = v.valore;
        if (v.chiave == "dbname") d.database = v.valore;
        if (v.chiave == "user") d.utente = v.valore;
        if (v.chiave == "schema") d.schema = v.valore;
    }
    return d;
}

std::string SenzaPassword(const std::string& indirizzo) {
    if (!Connection::indirizzoServer(indirizzo)) return indirizzo;
    if (uri(indirizzo)) {
        const PartiUri p = tagliaUri(indirizzo);
        bool parametroPassword = false;
        for (const auto& x : p.parametri) parametroPassword = parametroPassword || x.rfind("password=", 0) == 0;
        if (!p.conPassword && !parametroPassword) return indirizzo;
        std::string r = p.schema + (p.utente.empty() && !p.conPassword ? "" : p.utente + "@") + p.hostPorta;
        if (!p.database.empty() || indirizzo.find('/', p.schema.size()) != std::string::npos) r += "/" + p.database;
        std::string q;
        for (const auto& x : p.parametri)
            if (x.rfind("password=", 0) != 0) q += (q.empty() ? "?" : "&") + x;
        return r + q;
    }
    std::string r = indirizzo;
    const auto v = voci(indirizzo);
    for (auto it = v.rbegin(); it != v.rend(); ++it)
        if (it->chiave == "password") {
            std::size_t fine = it->fine;
            while (fine < r.size() && std::isspace(static_cast<unsigned char>(r[fine]))) ++fine;
            r.erase(it->inizio, fine - it->inizio);
        }
    while (!r.empty() && std::isspace(static_cast<unsigned char>(r.back()))) r.pop_back();
    return r;
}

std::string DescriviArchivio(const std::string& percorso) {
    if (!Connection::indirizzoServer(percorso)) return percorso;
    const DatiServer d = DatiDellIndirizzo(percorso);
    const std::string schema = "schema " + (d.schema.empty() ? std::string("palio2015") : d.schema);
    if (d.host.empty()) {
        for (const Voce& v : voci(uri(percorso) ? std::string() : percorso))
            if (v.chiave == "service") return schema + " del servizio " + v.valore;
        if (auto s = uri(percorso) ? parametro(tagliaUri(percorso).parametri, "service") : std::nullopt)
            return schema + " del servizio " + *s;
    }
    std::string dove = d.host.empty() ? std::string("localhost") : d.host;
    if (!d.porta.empty()) dove += ":" + d.porta;
    if (!d.database.empty()) dove += "/" + d.database;
    return schema + " su " + dove;
}

std::string ConAttesaMassima(const std::string& indirizzo, int secondi) {
    if (!Connection::indirizzoServer(indirizzo)) return indirizzo;
    const std::string voce = "connect_timeout=" + std::to_string(secondi);
    if (uri(indirizzo)) return indirizzo + (indirizzo.find('?') == std::string::npos ? "?" : "&") + voce;
    return indirizzo + " " + voce;
}

#if PALIO_LIBPQ

ProvaCollegamento ProvaServer(const std::string& indirizzo) {
    if (!Connection::indirizzoServer(indirizzo)) throw Error("L'indirizzo " + indirizzo + " non è di un server.");
    const auto a = motore::leggiIndirizzo(indirizzo);
    const DatiServer d = DatiDellIndirizzo(indirizzo);
    const std::string server = d.host.empty() ? std::string("del servizio") : d.host;
    // The address's own settings come last and win over these.
    const char* chiavi[] = {"connect_timeout", "application_name", "client_encoding", "dbname", nullptr};
    const char* valori[] = {"10", "palio2015", "UTF8", a.conninfo.c_str(), nullptr};
    ProvaCollegamento p;
    const motore::Libpq& pq = motore::libpq();
    PGconn* c = pq.PQconnectdbParams(chiavi, valori, 1);
    if (!c) throw Error("Memoria insufficiente: chiudere altri programmi e riprovare.");
    if (pq.PQstatus(c) != CONNECTION_OK) {
        // libpq's lines, indented by tabs, read as one sentence in a message box.
        for (const char* t = pq.PQerrorMessage(c); *t; ++t) {
            const bool spazio = std::isspace(static_cast<unsigned char>(*t));
            if (!spazio)
                p.motore += *t;
            else if (!p.motore.empty() && p.motore.back() != ' ')
                p.motore += ' ';
        }
        while (!p.motore.empty() && p.motore.back() == ' ') p.motore.pop_back();
        const std::string utente = pq.PQuser(c) ? pq.PQuser(c) : d.utente;
        if (pq.PQconnectionNeedsPassword(c)) {
            p.esito = EsitoCollegamento::AccessoRifiutato;
            p.frase = "Autenticazione rifiutata: il server " + server + " chiede la password dell'utente " + utente +
                      ", che non è nel file delle password di PostgreSQL né nel file dei servizi. La password non si "
                      "scrive nella configurazione di Palio 2015: va in quei file.";
        } else if (pq.PQconnectionUsedPassword(c)) {
            p.esito = EsitoCollegamento::AccessoRifiutato;
            p.frase = "Autenticazione rifiutata: il server " + server + " non accetta la password dell'utente " +
                      utente + " scritta nel file delle password di PostgreSQL o nel file dei servizi: correggerla lì.";
        } else if (pq.PQpingParams(chiavi, valori, 1) == PQPING_NO_RESPONSE) {
            p.esito = EsitoCollegamento::NonRisponde;
            p.frase = "Il server " + server + " non risponde" +
                      (d.porta.empty() ? std::string() : " sulla porta " + d.porta) +
                      ": controllare il nome del server e la porta, e che il server sia acceso e raggiungibile.";
        } else {
            p.esito = EsitoCollegamento::Fallito;
            p.frase = "Il server " + server +
                      " ha rifiutato il collegamento: controllare il database e l'utente, o "
                      "chiedere a chi gestisce il server di consentire l'accesso da questo computer.";
        }
        pq.PQfinish(c);
        return p;
    }
    const char* parametri[] = {a.schema.c_str()};
    PGresult* r = pq.PQexecParams(c, "select count(*) from pg_namespace where nspname = $1", 1, nullptr, parametri,
                                  nullptr, nullptr, 0);
    const bool letto = pq.PQresultStatus(r) == PGRES_TUPLES_OK && pq.PQntuples(r) == 1;
    const bool presente = letto && std::string(pq.PQgetvalue(r, 0, 0)) != "0";
    if (!letto) p.motore = pq.PQresultErrorMessage(r);
    pq.PQclear(r);
    pq.PQfinish(c);
    if (!letto) {
        p.frase = "Il server " + server + " non ha risposto alla domanda sullo schema " + a.schema + ".";
        return p;
    }
    p.esito = presente ? EsitoCollegamento::Pronto : EsitoCollegamento::SchemaMancante;
    if (!presente) p.frase = "Sul server " + server + " non c'è lo schema " + a.schema + ".";
    return p;
}

#else

ProvaCollegamento ProvaServer(const std::string& indirizzo) {
    // The engine's own refusal: this build has no server engine.
    motore::leggiIndirizzo(indirizzo);
    return {};
}

#endif

}  // namespace storage
