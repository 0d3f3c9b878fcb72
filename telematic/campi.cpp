#include "telematic/campi.h"

#include <algorithm>

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

// Appends v without the character tolto (0: none), right-aligned in 16 by preceding blanks; a
// value of 16 or more is neither padded nor cut. Built in place: a run encodes millions of boxes.
void aDestra16(std::string& out, std::string_view v, char tolto = 0) {
    std::size_t n = v.size();
    if (tolto)
        for (char x : v) n -= x == tolto;
    if (n < 16) out.append(16 - n, ' ');
    for (char x : v)
        if (!tolto || x != tolto) out += x;
}

constexpr char CR = '\r';

// value is Windows-1252 bytes; reports are UTF-8 text.
std::string utf8(std::string_view v) { return storage::daWindows1252(v); }

std::string testoCifre(const ProblemaCampo& p, bool dip, const std::string& nome) {
    const bool treCifre = p.tipo == TipoCampo::N3;
    std::string t;
    if (treCifre && dip)
        t = "Errore 47156 in un campo non posizionali al ";
    else
        t = "Errore 47156 in un camponon posizionali al ";
    t += CR;
    t += (treCifre && !dip) ? "Professionista " : "Dipendente ";
    t += nome + " - codice " + p.codice + " - tipo " + std::string(NomeTipo(p.tipo)) + " - valore " + utf8(p.valore) +
         CR;
    if (treCifre)
        t += dip ? "Mi aspetto un numero di massimo tre  cifre." : "Mi aspetto un numero di massimo tre  cifre";
    else
        t += "Mi aspetto un numero di massimo 10  cifre";
    if (dip) {
        t += CR;
        t += CR;
    }
    return t;
}

std::string testoLunghezza(const ProblemaCampo& p, bool dip, const std::string& nome) {
    std::string t = "Errore 47812 nei campi non posizionali al dipendente " + nome + " - codice " + p.codice +
                    " - tipo " + std::string(NomeTipo(p.tipo)) + " - valore " + utf8(p.valore);
    if (dip) t += CR;
    return t;
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

CampoCodificato Codifica(std::string_view codice, TipoCampo tipo, std::string_view valore) {
    CampoCodificato r;
    const std::string_view rifilato = Rifila(valore);
    if (rifilato.empty()) return r;
    std::string& out = r.elementi;
    if (tipo == TipoCampo::CF || tipo == TipoCampo::AN) {
        out = CampoAlfanumerico(codice, tipo == TipoCampo::CF ? rifilato : valore);
        return r;  // whole elements by construction
    }
    out.reserve(codice.size() + std::max<std::size_t>(16, valore.size() + 15));
    out.assign(codice);
    bool senzaPunti = false;  // the reports show the value without its points
    auto problema = [&](ErroreCampo e) {
        r.problemi.push_back(
            {e, std::string(codice), tipo, senzaPunti ? senzaCarattere(valore, '.') : std::string(valore)});
    };
    switch (tipo) {
    case TipoCampo::NU:
    case TipoCampo::GiornoMese:
        senzaPunti = true;
        aDestra16(out, valore, '.');
        out.resize(std::min(out.size(), codice.size() + 16));  // a longer number keeps its first 16
        break;
    case TipoCampo::CB: out += "               1"; break;
    case TipoCampo::DT:
        out.append(8, ' ');
        for (char x : valore)
            if (x != '/') out += x;
        break;
    case TipoCampo::VP:
    case TipoCampo::NP:
    case TipoCampo::VN:
        senzaPunti = true;
        aDestra16(out, valore, '.');
        break;
    case TipoCampo::DA: out.append(12, ' ').append(valore); break;
    case TipoCampo::CN: out.append(valore).append(5, ' '); break;
    case TipoCampo::PC:
        if (rifilato == "100,00")
            out += "             100";
        else
            aDestra16(out, valore);
        break;
    case TipoCampo::N2: out.append(14, ' ').append(valore); break;
    case TipoCampo::N3:
        if (valore.size() > 3) problema(ErroreCampo::Cifre);
        aDestra16(out, valore);
        break;
    case TipoCampo::N1: out.append(15, ' ').append(valore); break;
    case TipoCampo::N10:
        if (valore.size() != 10) problema(ErroreCampo::Cifre);
        aDestra16(out, valore);
        break;
    case TipoCampo::CF:
    case TipoCampo::AN:
    case TipoCampo::Mesi: out.clear(); return r;
    }
    if (out.size() % 24 != 0) problema(ErroreCampo::Lunghezza);
    return r;
}

std::string TestoProblema(const ProblemaCampo& p, Fornitura fornitura, const std::string& nominativo) {
    const bool dip = fornitura == Fornitura::Dipendenti;
    return p.errore == ErroreCampo::Cifre ? testoCifre(p, dip, nominativo) : testoLunghezza(p, dip, nominativo);
}

std::string CampoNonPosizionale(ContestoCampi& ctx, std::string_view codice, TipoCampo tipo, std::string_view valore) {
    CampoCodificato c = Codifica(codice, tipo, valore);
    if (ctx.segnalatore)
        for (const auto& p : c.problemi)
            ctx.segnalatore->segnala(TestoProblema(p, ctx.fornitura, ctx.NominativoCorrente));
    return std::move(c.elementi);
}

std::string CampoNonPosizionale(ContestoCampi& ctx, std::string_view codice, std::string_view tipo,
                                std::string_view valore) {
    if (Rifila(valore).empty()) return {};
    const auto t = TipoDaNome(tipo);
    if (!t) {
        if (ctx.reporter) ctx.reporter->error("Non hai considerato il tipo non posizionale : " + std::string(tipo));
        return {};
    }
    return CampoNonPosizionale(ctx, codice, *t, valore);
}

}  // namespace telematic
