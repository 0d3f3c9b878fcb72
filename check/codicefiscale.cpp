#include "check/codicefiscale.h"

namespace check {

namespace {

bool cifra(char c) { return c >= '0' && c <= '9'; }
bool lettera(char c) { return c >= 'A' && c <= 'Z'; }
bool minuscola(char c) { return c >= 'a' && c <= 'z'; }

// Values of a character in an odd position (1st, 3rd, ...): digits map like the letter of
// the same rank, A and 0 give 1, B and 1 give 0, and so on.
constexpr int kDispari[26] = {1,  0,  5, 7, 9, 13, 15, 17, 19, 21, 2,  4,  18,
                              20, 11, 3, 6, 8, 12, 14, 16, 10, 22, 25, 24, 23};

int rango(char c) { return cifra(c) ? c - '0' : c - 'A'; }

// Positions (0-based) that hold digits, or in homonymy cases their substitute letters.
constexpr int kPosizioniNumeriche[] = {6, 7, 9, 10, 12, 13, 14};
constexpr std::string_view kOmocodia = "LMNPQRSTUV";  // substitutes of 0 to 9
constexpr std::string_view kMesi = "ABCDEHLMPRST";

bool posizioneNumerica(std::size_t i) {
    for (int p : kPosizioniNumeriche)
        if (static_cast<std::size_t>(p) == i) return true;
    return false;
}

std::string posizione(std::size_t i) { return "in posizione " + std::to_string(i + 1); }

}  // namespace

int CifraDelCodice(char c) {
    if (cifra(c)) return c - '0';
    auto k = kOmocodia.find(c);
    return k == std::string_view::npos ? -1 : static_cast<int>(k);
}

int MeseDelCodice(char c) {
    const auto k = kMesi.find(c);
    return k == std::string_view::npos ? 0 : static_cast<int>(k) + 1;
}

char CarattereControlloPersonale(std::string_view s) {
    if (s.size() < 15) return '\0';
    int somma = 0;
    for (std::size_t i = 0; i < 15; ++i) {
        const char c = s[i];
        if (!cifra(c) && !lettera(c)) return '\0';
        somma += (i % 2 == 0) ? kDispari[rango(c)] : rango(c);
    }
    return static_cast<char>('A' + somma % 26);
}

char CifraControlloNumerica(std::string_view s) {
    if (s.size() < 10) return '\0';
    int somma = 0;
    for (std::size_t i = 0; i < 10; ++i) {
        if (!cifra(s[i])) return '\0';
        int d = s[i] - '0';
        if (i % 2 == 1) {
            d *= 2;
            if (d > 9) d -= 9;
        }
        somma += d;
    }
    return static_cast<char>('0' + (10 - somma % 10) % 10);
}

std::string ErroreCodiceNumerico(std::string_view s) {
    if (s.size() != 11) return "il codice fiscale numerico deve avere 11 cifre, ne ha " + std::to_string(s.size());
    for (std::size_t i = 0; i < s.size(); ++i)
        if (!cifra(s[i])) return "il codice fiscale numerico contiene un carattere non numerico " + posizione(i);
    const char atteso = CifraControlloNumerica(s);
    if (s[10] != atteso)
        return std::string("la cifra di controllo del codice fiscale è errata (attesa ") + atteso + ")";
    return {};
}

std::string ErroreCodiceFiscale(std::string_view s) {
    if (s.size() == 11 && cifra(s[0])) return ErroreCodiceNumerico(s);
    if (s.size() != 16)
        return "il codice fiscale deve avere 16 caratteri (persona fisica) o 11 cifre, ne ha " +
               std::to_string(s.size());
    for (std::size_t i = 0; i < 16; ++i) {
        const char c = s[i];
        if (minuscola(c)) return "il codice fiscale contiene lettere minuscole";
        if (posizioneNumerica(i)) {
            if (CifraDelCodice(c) < 0)
                return "il codice fiscale ha un carattere non ammesso " + posizione(i) +
                       " (attesa una cifra o una lettera di omocodia)";
        } else if (!lettera(c)) {
            return "il codice fiscale ha un carattere non ammesso " + posizione(i) + " (attesa una lettera)";
        }
    }
    if (MeseDelCodice(s[8]) == 0) return "il codice fiscale ha una lettera del mese non valida in posizione 9";
    const int giorno = CifraDelCodice(s[9]) * 10 + CifraDelCodice(s[10]);
    if (!((giorno >= 1 && giorno <= 31) || (giorno >= 41 && giorno <= 71)))
        return "il codice fiscale ha un giorno di nascita non valido in posizione 10-11";
    const char atteso = CarattereControlloPersonale(s);
    if (s[15] != atteso)
        return std::string("il carattere di controllo del codice fiscale è errato (atteso ") + atteso + ")";
    return {};
}

std::string AvvisoCodiceFiscale(std::string_view s) {
    if (s.size() != 16 || !ErroreCodiceFiscale(s).empty()) return {};
    const int mese = MeseDelCodice(s[8]);
    int giorno = CifraDelCodice(s[9]) * 10 + CifraDelCodice(s[10]);
    if (giorno > 40) giorno -= 40;
    const int anno = CifraDelCodice(s[6]) * 10 + CifraDelCodice(s[7]);
    // The century is not in the code: a year divisible by four may be a leap year.
    static const int giorni[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const int massimo = mese == 2 && anno % 4 != 0 ? 28 : giorni[mese - 1];
    if (giorno <= massimo) return {};
    const auto due = [](int n) {
        return std::string(1, static_cast<char>('0' + n / 10)) + static_cast<char>('0' + n % 10);
    };
    return "il codice fiscale indica una data di nascita che non esiste (" + due(giorno) + "/" + due(mese) + ")";
}

}  // namespace check
