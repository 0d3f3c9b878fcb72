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
    t += nome + " - codice " + p.codice + " - tipo " + std::string(NomeTipo(p.tipo)) + " - valore " +
         utf8(p.valore) + CR;
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

CampoCodificato Codifica(std::string_view codice, TipoCampo tipo, std::string_view valore) {
    CampoCodificato r;
    const std::string_view rifilato = Rifila(valore);
    if (rifilato.empty()) return r;
    std::string& out = r.elementi;
    out.assign(codice);
    std::string_view usato = valore;  // the value as the type's rule used it, for the reports
    std::string senzaPunti;
    auto problema = [&](ErroreCampo e, std::string_view v) {
        r.problemi.push_back({e, std::string(codice), tipo, std::string(v)});
    };
    switch (tipo) {
        case TipoCampo::CF: out = CampoAlfanumerico(codice, rifilato); break;
        case TipoCampo::AN: out = CampoAlfanumerico(codice, valore); break;
        case TipoCampo::NU:
        case TipoCampo::GiornoMese:
            senzaPunti = senzaCarattere(valore, '.');
            usato = senzaPunti;
            out += AllineaDestra(valore, 16);
            break;
        case TipoCampo::CB: out += "               1"; break;
        case TipoCampo::DT: out += "        " + senzaCarattere(valore, '/'); break;
        case TipoCampo::VP:
        case TipoCampo::NP:
        case TipoCampo::VN:
            senzaPunti = senzaCarattere(valore, '.');
            usato = senzaPunti;
            out += aDestra16(usato);
            break;
        case TipoCampo::DA: out += "            " + std::string(valore); break;
        case TipoCampo::CN: out += std::string(valore) + "     "; break;
        case TipoCampo::PC: out += rifilato == "100,00" ? std::string("             100") : aDestra16(valore); break;
        case TipoCampo::N2: out += "              " + std::string(valore); break;
        case TipoCampo::N3:
            if (valore.size() > 3) problema(ErroreCampo::Cifre, valore);
            out += aDestra16(valore);
            break;
        case TipoCampo::N1: out += "               " + std::string(valore); break;
        case TipoCampo::N10:
            if (valore.size() != 10) problema(ErroreCampo::Cifre, valore);
            out += aDestra16(valore);
            break;
        case TipoCampo::Mesi: out.clear(); return r;
    }
    if (out.size() % 24 != 0) problema(ErroreCampo::Lunghezza, usato);
    return r;
}

std::string TestoProblema(const ProblemaCampo& p, Fornitura fornitura, const std::string& nominativo) {
    const bool dip = fornitura == Fornitura::Dipendenti;
    return p.errore == ErroreCampo::Cifre ? testoCifre(p, dip, nominativo) : testoLunghezza(p, dip, nominativo);
}

std::string CampoNonPosizionale(ContestoCampi& ctx, std::string_view codice, TipoCampo tipo,
                                std::string_view valore) {
    CampoCodificato c = Codifica(codice, tipo, valore);
    if (ctx.segnalatore)
        for (const auto& p : c.problemi) ctx.segnalatore->segnala(TestoProblema(p, ctx.fornitura, ctx.NominativoCorrente));
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
