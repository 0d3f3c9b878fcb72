#include "check/completamento.h"

#include "telematic/campi.h"

namespace check {

using telematic::Forma;
using telematic::Regola;
using telematic::Rifila;
using telematic::TipoCampo;

namespace {

bool cifre(std::string_view s) {
    for (char c : s)
        if (c < '0' || c > '9') return false;
    return true;
}

std::string maiuscole(std::string_view v) {
    std::string r(Rifila(v));
    for (char& c : r)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return r;
}

// "1.234.567": the dots are thousands separators (a first group of 1 to 3 digits, then groups of
// 3); the digits without them, or empty when the dots are not such separators.
std::string senzaMigliaia(std::string_view s) {
    std::string r;
    std::size_t gruppo = 0, lunghezza = 0;
    for (std::size_t i = 0; i <= s.size(); ++i) {
        if (i == s.size() || s[i] == '.') {
            if (gruppo == 0 ? (lunghezza == 0 || lunghezza > 3) : lunghezza != 3) return {};
            ++gruppo;
            lunghezza = 0;
            continue;
        }
        if (s[i] < '0' || s[i] > '9') return {};
        r += s[i];
        ++lunghezza;
    }
    return r;
}

}  // namespace

std::string CompletaImporto(std::string_view valore, bool conSegno) {
    std::string_view s = Rifila(valore);
    const bool negativo = conSegno && !s.empty() && s.front() == '-';
    if (negativo) s.remove_prefix(1);
    if (s.empty()) return {};
    std::string intero, decimali;
    const auto virgola = s.find(',');
    if (virgola != std::string_view::npos) {
        decimali = std::string(s.substr(virgola + 1));
        const std::string_view prima = s.substr(0, virgola);
        intero = prima.find('.') == std::string_view::npos ? std::string(prima) : senzaMigliaia(prima);
        if (prima.empty()) intero = "0";
        if (intero.empty() || !cifre(intero) || decimali.size() > 2 || !cifre(decimali)) return {};
    } else if (const auto punto = s.find('.'); punto != std::string_view::npos) {
        const std::string_view dopo = s.substr(punto + 1);
        // One dot followed by one or two digits is a decimal point; otherwise thousands dots.
        if (dopo.find('.') == std::string_view::npos && !dopo.empty() && dopo.size() <= 2 && cifre(dopo)) {
            intero = std::string(s.substr(0, punto));
            decimali = std::string(dopo);
            if (intero.empty()) intero = "0";
            if (!cifre(intero)) return {};
        } else {
            intero = senzaMigliaia(s);
            if (intero.empty()) return {};
        }
    } else {
        if (!cifre(s)) return {};
        intero = std::string(s);
    }
    while (intero.size() > 1 && intero.front() == '0') intero.erase(0, 1);
    while (decimali.size() < 2) decimali += '0';
    std::string raggruppato;
    for (std::size_t i = 0; i < intero.size(); ++i) {
        if (i > 0 && (intero.size() - i) % 3 == 0) raggruppato += '.';
        raggruppato += intero[i];
    }
    return (negativo ? "-" : "") + raggruppato + "," + decimali;
}

std::string Completa(const telematic::CampoSezione& c, std::string_view valore) {
    if (Rifila(valore).empty()) return std::string(valore);
    if ((c.regola == Regola::Semplice && c.tipo == TipoCampo::CF) || c.forma == Forma::CodiceFiscale ||
        c.forma == Forma::Provincia || c.forma == Forma::CodiceComune || c.codice == "DC001039")
        return maiuscole(valore);
    const std::string_view t = Rifila(valore);
    const bool importo = c.tipo == TipoCampo::VP || c.tipo == TipoCampo::VN || c.tipo == TipoCampo::PC;
    if (importo && (c.regola == Regola::Semplice || (c.regola == Regola::Percentuale && t != "C"))) {
        std::string r = CompletaImporto(t, c.tipo == TipoCampo::VN);
        return r.empty() ? std::string(valore) : r;
    }
    const bool dueCifre = (c.regola == Regola::Semplice && c.tipo == TipoCampo::N2) ||
                          (c.regola == Regola::Unione && c.tipo == TipoCampo::GiornoMese);
    if (dueCifre && t.size() == 1 && cifre(t)) return "0" + std::string(t);
    return std::string(valore);
}

}  // namespace check
