#include "telematic/campi.h"

#include "storage/cp1252.h"

namespace telematic {

namespace {

std::string senzaCarattere(std::string_view v, char c) {
    std::string out;
    out.reserve(v.size());
    for (char x : v)
        if (x != c) out += x;
    return out;
}

// Right-aligned in 16 by preceding blanks; a value of 16 or more is neither padded nor cut.
std::string aDestra16(std::string_view v) {
    std::string out;
    if (v.size() < 16) out.assign(16 - v.size(), ' ');
    out += v;
    return out;
}

constexpr char CR = '\r';

void segnala(ContestoCampi& ctx, const std::string& testo) {
    if (ctx.segnalatore) ctx.segnalatore->segnala(testo);
}

// value is Windows-1252 bytes; reports are UTF-8 text.
std::string utf8(std::string_view v) { return storage::daWindows1252(v); }

void errore47156(ContestoCampi& ctx, std::string_view codice, std::string_view tipo,
                 std::string_view valore, bool treCifre) {
    const bool dip = ctx.fornitura == Fornitura::Dipendenti;
    std::string t;
    if (treCifre && dip)
        t = "Errore 47156 in un campo non posizionali al ";
    else
        t = "Errore 47156 in un camponon posizionali al ";
    t += CR;
    t += (treCifre && !dip) ? "Professionista " : "Dipendente ";
    t += ctx.NominativoCorrente + " - codice " + std::string(codice) + " - tipo " +
         std::string(tipo) + " - valore " + utf8(valore) + CR;
    if (treCifre)
        t += dip ? "Mi aspetto un numero di massimo tre  cifre." : "Mi aspetto un numero di massimo tre  cifre";
    else
        t += "Mi aspetto un numero di massimo 10  cifre";
    if (dip) {
        t += CR;
        t += CR;
    }
    segnala(ctx, t);
}

void errore47812(ContestoCampi& ctx, std::string_view codice, std::string_view tipo,
                 std::string_view valore) {
    std::string t = "Errore 47812 nei campi non posizionali al dipendente " + ctx.NominativoCorrente +
                    " - codice " + std::string(codice) + " - tipo " + std::string(tipo) +
                    " - valore " + utf8(valore);
    if (ctx.fornitura == Fornitura::Dipendenti) t += CR;
    segnala(ctx, t);
}

}  // namespace

std::string AllineaSinistra(std::string_view v, std::size_t w) {
    if (v.size() >= w) return std::string(v.substr(0, w));
    std::string out(v);
    out.append(w - v.size(), ' ');
    return out;
}

std::string AllineaDestra(std::string_view valore, std::size_t w) {
    std::string v = senzaCarattere(valore, '.');
    if (v.size() >= w) return v.substr(0, w);
    return std::string(w - v.size(), ' ') + v;
}

std::string RiempiZeri(std::string_view valore, std::size_t w) {
    std::string v = senzaCarattere(valore, '.');
    if (v.size() >= w) return v.substr(0, w);
    return std::string(w - v.size(), '0') + v;
}

std::string_view Rifila(std::string_view s) {
    while (!s.empty() && static_cast<unsigned char>(s.front()) <= 32) s.remove_prefix(1);
    while (!s.empty() && static_cast<unsigned char>(s.back()) <= 32) s.remove_suffix(1);
    return s;
}

std::string CampoAlfanumerico(std::string_view codice, std::string_view valore) {
    std::string out;
    std::string resto(valore);
    while (resto.size() > 16) {
        out += codice;
        out += resto.substr(0, 16);
        resto = "+" + resto.substr(16);
    }
    out += codice;
    out += AllineaSinistra(resto, 16);
    return out;
}

std::string CampoMesi(std::string_view codice, const std::array<std::string_view, 12>& mesi) {
    std::string flag;
    for (auto m : mesi) flag += Rifila(m).empty() ? '0' : '1';
    if (flag == "000000000000") return {};
    return std::string(codice) + "    " + flag;
}

std::string CampoNonPosizionale(ContestoCampi& ctx, std::string_view codice, std::string_view tipo,
                                std::string_view valore) {
    const std::string_view rifilato = Rifila(valore);
    if (rifilato.empty()) return {};
    const std::string c(codice);
    std::string out;
    std::string usato(valore);  // the value as the type's rule used it, for the reports
    if (tipo == "CF") {
        out = CampoAlfanumerico(codice, rifilato);
    } else if (tipo == "AN") {
        out = CampoAlfanumerico(codice, valore);
    } else if (tipo == "NU") {
        usato = senzaCarattere(valore, '.');
        out = c + AllineaDestra(valore, 16);
    } else if (tipo == "CB") {
        out = c + "               1";
    } else if (tipo == "DT") {
        out = c + "        " + senzaCarattere(valore, '/');
    } else if (tipo == "VP" || tipo == "NP" || tipo == "VN") {
        usato = senzaCarattere(valore, '.');
        out = c + aDestra16(usato);
    } else if (tipo == "DA") {
        out = c + "            " + std::string(valore);
    } else if (tipo == "CN") {
        out = c + std::string(valore) + "     ";
    } else if (tipo == "PC") {
        out = rifilato == "100,00" ? c + "             100" : c + aDestra16(valore);
    } else if (tipo == "N2") {
        out = c + "              " + std::string(valore);
    } else if (tipo == "N3") {
        if (valore.size() > 3) errore47156(ctx, codice, tipo, valore, true);
        out = c + aDestra16(valore);
    } else if (tipo == "N1") {
        out = c + "               " + std::string(valore);
    } else if (tipo == "N10") {
        if (valore.size() != 10) errore47156(ctx, codice, tipo, valore, false);
        out = c + aDestra16(valore);
    } else {
        if (ctx.reporter)
            ctx.reporter->error("Non hai considerato il tipo non posizionale : " + std::string(tipo));
        return {};
    }
    if (out.size() % 24 != 0) errore47812(ctx, codice, tipo, usato);
    return out;
}

}  // namespace telematic
