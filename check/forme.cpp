#include "check/forme.h"

#include "check/codicefiscale.h"
#include "check/province.h"
#include "telematic/campi.h"

namespace check {

using telematic::TipoCampo;

namespace {

bool cifra(char c) { return c >= '0' && c <= '9'; }

bool soloCifre(std::string_view s) {
    if (s.empty()) return false;
    for (char c : s)
        if (!cifra(c)) return false;
    return true;
}

int numero(std::string_view s) {
    int n = 0;
    for (char c : s) n = n * 10 + (c - '0');
    return n;
}

std::string_view senzaSpaziIniziali(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    return s;
}

std::string_view senzaSpaziFinali(std::string_view s) {
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

bool soloSpazi(std::string_view s) { return senzaSpaziIniziali(s).empty(); }

std::string tra(std::string_view v) { return "«" + std::string(v) + "»"; }

// Digits, a comma and exactly two decimals; the integer part may carry "." thousands groups.
bool importo(std::string_view s, bool conPunti) {
    const auto virgola = s.find(',');
    if (virgola == std::string_view::npos) return false;
    const std::string_view intero = s.substr(0, virgola), decimali = s.substr(virgola + 1);
    if (decimali.size() != 2 || !soloCifre(decimali) || intero.empty()) return false;
    if (soloCifre(intero)) return true;
    if (!conPunti) return false;
    // 1.234.567: a first group of one to three digits, then groups of exactly three.
    std::size_t inizio = 0, gruppo = 0;
    while (true) {
        const auto punto = intero.find('.', inizio);
        const auto pezzo =
            intero.substr(inizio, punto == std::string_view::npos ? std::string_view::npos : punto - inizio);
        if (!soloCifre(pezzo)) return false;
        if (gruppo == 0 ? pezzo.size() > 3 : pezzo.size() != 3) return false;
        ++gruppo;
        if (punto == std::string_view::npos) break;
        inizio = punto + 1;
    }
    return true;
}

// Hundredths of a percentage written as an amount; -1 when it is not one.
long centesimi(std::string_view s) {
    const auto virgola = s.find(',');
    long intero = 0;
    for (char c : s.substr(0, virgola)) intero = intero * 10 + (c - '0');
    return intero * 100 + numero(s.substr(virgola + 1));
}

std::string erroreImporto(std::string_view v, bool conSegno, bool conPunti) {
    std::string_view s = v;
    if (conSegno && !s.empty() && s.front() == '-') s.remove_prefix(1);
    if (importo(s, conPunti)) return {};
    return "importo non valido " + tra(v) +
           (conPunti ? ": attese cifre, punti delle migliaia, virgola e due decimali (es. 1.234,56)"
                     : ": attese cifre, virgola e due decimali");
}

std::string erroreNumero(std::string_view v, std::size_t min, std::size_t max, const char* descrizione) {
    if (!soloCifre(v)) return "numero non valido " + tra(v) + ": " + descrizione;
    if (v.size() < min || v.size() > max) return "numero non valido " + tra(v) + ": " + descrizione;
    return {};
}

std::string errorePercentuale(std::string_view v) {
    if (v == "100") return {};
    if (!importo(v, false))
        return "percentuale non valida " + tra(v) + ": attesa nella forma 50,00 (al massimo 100,00)";
    if (centesimi(v) > 10000) return "percentuale oltre 100 " + tra(v);
    return {};
}

std::string erroreGiornoMese(std::string_view v) {
    if (v.size() != 4 || !soloCifre(v) || !DataValida(numero(v.substr(0, 2)), numero(v.substr(2, 2)), 2000))
        return "giorno e mese non validi " + tra(v) + ": attesi nella forma GGMM";
    return {};
}

bool maiuscola(char c) { return c >= 'A' && c <= 'Z'; }

}  // namespace

std::string ErroreForma(telematic::Forma forma, std::string_view v) {
    using telematic::Forma;
    switch (forma) {
    case Forma::Libera: return {};
    case Forma::CodiceFiscale: return ErroreCodiceFiscale(v);
    case Forma::Cap:
        if (v.size() == 5 && soloCifre(v)) return {};
        return "CAP non valido " + tra(v) + ": attese cinque cifre";
    case Forma::Provincia:
        if (v.size() == 2 && maiuscola(v[0]) && maiuscola(v[1])) return {};
        return "sigla della provincia non valida " + tra(v) + ": attese due lettere maiuscole (es. RM)";
    case Forma::CodiceComune:
        if (v.size() == 4 && maiuscola(v[0]) && soloCifre(v.substr(1))) return {};
        return "codice del comune non valido " + tra(v) + ": attesi una lettera maiuscola e tre cifre (es. H501)";
    case Forma::Telefono:
        if (soloCifre(v)) return {};
        return "numero di telefono non valido " + tra(v) + ": attese solo cifre, senza spazi né separatori";
    }
    return {};
}

std::string AvvisoForma(telematic::Forma forma, std::string_view v) {
    if (forma == telematic::Forma::Provincia && ErroreForma(forma, v).empty() && !ProvinciaItaliana(v))
        return "la sigla " + tra(v) + " non è tra quelle delle province italiane";
    return forma == telematic::Forma::CodiceFiscale ? AvvisoCodiceFiscale(v) : std::string();
}

bool DataValida(int g, int m, int a) {
    static constexpr int giorni[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (a < 1 || m < 1 || m > 12 || g < 1) return false;
    const bool bisestile = (a % 4 == 0 && a % 100 != 0) || a % 400 == 0;
    return g <= giorni[m - 1] + (m == 2 && bisestile ? 1 : 0);
}

std::string ErroreData(std::string_view v) {
    if (v.size() != 10 || v[2] != '/' || v[5] != '/' || !soloCifre(v.substr(0, 2)) || !soloCifre(v.substr(3, 2)) ||
        !soloCifre(v.substr(6, 4)))
        return "data non valida " + tra(v) + ": attesa nella forma GG/MM/AAAA";
    const int a = numero(v.substr(6, 4));
    if (!DataValida(numero(v.substr(0, 2)), numero(v.substr(3, 2)), a) || a < 1900)
        return "la data " + tra(v) + " non esiste";
    return {};
}

std::string ErroreValoreArchivio(TipoCampo tipo, std::string_view valore) {
    // Right-aligned types tolerate the blanks that alignment would add anyway.
    const std::string_view v = senzaSpaziIniziali(valore);
    switch (tipo) {
    case TipoCampo::CF: return ErroreCodiceFiscale(telematic::Rifila(valore));
    case TipoCampo::DT: return ErroreData(valore);
    case TipoCampo::DA:
        if (valore.size() != 4 || !soloCifre(valore))
            return "anno non valido " + tra(valore) + ": attese quattro cifre";
        return {};
    case TipoCampo::VP: return erroreImporto(v, false, true);
    case TipoCampo::VN: return erroreImporto(v, true, true);
    case TipoCampo::NP:
    case TipoCampo::NU: return erroreNumero(v, 1, 99, "attese solo cifre");
    case TipoCampo::N1: return erroreNumero(valore, 1, 1, "attesa una cifra");
    case TipoCampo::N2: return erroreNumero(valore, 2, 2, "attese due cifre (es. 05)");
    case TipoCampo::N3: return erroreNumero(v, 1, 3, "attese al massimo tre cifre");
    case TipoCampo::N10: return erroreNumero(v, 10, 10, "attese esattamente dieci cifre");
    case TipoCampo::CN: return ErroreCodiceNumerico(valore);
    case TipoCampo::PC: {
        const auto f = v.find_last_not_of(" \t\r\n");
        return errorePercentuale(v.substr(0, f + 1));
    }
    case TipoCampo::GiornoMese: return erroreGiornoMese(v);
    case TipoCampo::AN:
    case TipoCampo::CB:
    case TipoCampo::Mesi: return {};
    }
    return {};
}

std::string ErroreValoreFile(TipoCampo tipo, std::string_view v) {
    auto prefissoVuoto = [&](std::size_t n) { return soloSpazi(v.substr(0, n)); };
    switch (tipo) {
    case TipoCampo::AN: return {};
    case TipoCampo::CF:
        if (!v.empty() && v.front() == ' ') return "codice fiscale " + tra(v) + " non allineato a sinistra";
        return ErroreCodiceFiscale(senzaSpaziFinali(v));
    case TipoCampo::CB: return v == "               1" ? std::string() : "casella " + tra(v) + " diversa da 1";
    case TipoCampo::DT:
        if (!prefissoVuoto(8) || !soloCifre(v.substr(8)))
            return "data " + tra(v) + " non nella forma GGMMAAAA allineata a destra";
        // The archive's rule: a real day, in a year from 1900.
        if (!DataValida(numero(v.substr(8, 2)), numero(v.substr(10, 2)), numero(v.substr(12, 4))) ||
            numero(v.substr(12, 4)) < 1900)
            return "la data " + tra(v.substr(8)) + " non esiste";
        return {};
    case TipoCampo::DA:
        if (!prefissoVuoto(12) || !soloCifre(v.substr(12))) return "anno " + tra(v) + " non di quattro cifre";
        return {};
    case TipoCampo::N1:
    case TipoCampo::N2: {
        const std::size_t n = tipo == TipoCampo::N1 ? 1 : 2;
        if (!prefissoVuoto(16 - n) || !soloCifre(v.substr(16 - n)))
            return "numero " + tra(v) + (n == 1 ? " non di una cifra" : " non di due cifre");
        return {};
    }
    case TipoCampo::CN:
        if (!soloSpazi(v.substr(11))) return "codice fiscale numerico " + tra(v) + " non di 11 cifre";
        return ErroreCodiceNumerico(v.substr(0, 11));
    case TipoCampo::Mesi: {
        if (!prefissoVuoto(4)) return "mesi " + tra(v) + " non nella forma attesa";
        const std::string_view f = v.substr(4);
        if (f.size() != 12 || f.find_first_not_of("01") != std::string_view::npos)
            return "mesi " + tra(v) + " non nella forma attesa (dodici cifre 0 o 1)";
        return {};
    }
    default: break;
    }
    // The rest are right-aligned.
    const std::string_view s = senzaSpaziIniziali(v);
    if (s.empty() || s.find(' ') != std::string_view::npos) return "valore " + tra(v) + " non allineato a destra";
    switch (tipo) {
    case TipoCampo::VP: return erroreImporto(s, false, false);
    case TipoCampo::VN: return erroreImporto(s, true, false);
    case TipoCampo::NP:
    case TipoCampo::NU: return erroreNumero(s, 1, 16, "attese solo cifre");
    case TipoCampo::N3: return erroreNumero(s, 1, 3, "attese al massimo tre cifre");
    case TipoCampo::N10: return erroreNumero(s, 10, 10, "attese esattamente dieci cifre");
    case TipoCampo::PC: return errorePercentuale(s);
    case TipoCampo::GiornoMese: return erroreGiornoMese(s);
    default: return {};
    }
}

}  // namespace check
