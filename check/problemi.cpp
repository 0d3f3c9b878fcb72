#include "check/controllo.h"

namespace check {

const char* TestoGravita(Gravita g) { return g == Gravita::Errore ? "Errore" : "Avviso"; }

std::size_t ContaErrori(const std::vector<Problema>& problemi) {
    std::size_t n = 0;
    for (const auto& p : problemi) n += p.gravita == Gravita::Errore;
    return n;
}

std::string RigaProblema(const Problema& p) {
    std::string r = TestoGravita(p.gravita);
    r += " - ";
    if (p.origine == Origine::File) {
        if (p.record > 0) {
            r += "record " + std::to_string(p.record);
            if (p.posizione > 0) r += " pos. " + std::to_string(p.posizione);
            r += " - ";
        }
    }
    switch (p.origine) {
    case Origine::Sostituto: r += "Sostituto d'imposta"; break;
    case Origine::QuadroCt: r += "Quadro CT"; break;
    case Origine::Dipendente: r += "Certificato " + std::to_string(p.id); break;
    case Origine::Professionista: r += "Professionista " + std::to_string(p.id); break;
    case Origine::File:
        r += p.id > 0 || !p.codiceFiscale.empty() ? "Certificato " + std::to_string(p.id) : "File";
        break;
    }
    std::string nome = p.nominativo;
    while (!nome.empty() && nome.back() == ' ') nome.pop_back();
    while (!nome.empty() && nome.front() == ' ') nome.erase(0, 1);
    if (!nome.empty()) r += " " + nome;
    if (!p.codiceFiscale.empty()) r += " (" + p.codiceFiscale + ")";
    if (!p.colonna.empty() || !p.campo.empty()) {
        r += " -";
        if (!p.colonna.empty()) r += " " + p.colonna;
        if (!p.campo.empty()) r += " " + p.campo;
    }
    r += ": " + p.testo;
    return r;
}

}  // namespace check
