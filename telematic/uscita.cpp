#include "telematic/uscita.h"

#include <filesystem>
#include <map>
#include <random>
#include <sstream>
#include <streambuf>
#include <thread>

#include "storage/error.h"

namespace telematic {

namespace fs = std::filesystem;
namespace sis = storage::sistema;

namespace {

// Names of a run's files, all hidden and tagged with the run: ".ZF2015.txt.palio-PID-R.tmp" is a
// new content, ".ZF2015.txt.palio-PID-R.old" an earlier file kept until the replacement is over,
// ".palio-PID-R.sostituzione" says that every new content is complete and the renames have begun.
constexpr const char* kMarca = ".palio-";
constexpr const char* kNuovo = ".tmp";
constexpr const char* kVecchio = ".old";
constexpr const char* kDiario = ".sostituzione";

std::string nuovaEtichetta() {
    std::random_device caso;
    std::ostringstream s;
    s << "palio-" << sis::idProcesso() << '-' << std::hex << caso();
    return s.str();
}

std::string nomeTemporaneo(const std::string& nome, const std::string& etichetta, const char* fine) {
    return "." + nome + "." + etichetta + fine;
}

// One of our names taken apart; valid is false for anyone else's file.
struct NomeNostro {
    bool valido = false;
    std::string etichetta, destinazione, fine;
    long processo = 0;
};

NomeNostro leggiNome(const std::string& n) {
    NomeNostro r;
    const auto p = n.rfind(kMarca);
    if (n.empty() || n[0] != '.' || p == std::string::npos) return r;
    const auto punto = n.find('.', p + 1);
    if (punto == std::string::npos) return r;
    r.etichetta = n.substr(p + 1, punto - p - 1);
    r.fine = n.substr(punto);
    const auto trattino = r.etichetta.find('-', 6);
    if (trattino == std::string::npos || trattino == 6) return r;
    for (std::size_t i = 6; i < trattino; ++i)
        if (r.etichetta[i] < '0' || r.etichetta[i] > '9') return r;
    r.processo = std::stol(r.etichetta.substr(6, trattino - 6));
    if (r.fine == kDiario) {
        r.valido = p == 0;
    } else if (r.fine == kNuovo || r.fine == kVecchio) {
        r.destinazione = n.substr(1, p - 1);
        r.valido = p > 1;
    }
    return r;
}

bool esiste(const fs::path& p) {
    std::error_code ec;
    return fs::exists(p, ec);
}

[[noreturn]] void fallisci(const std::string& percorso, const std::error_code& ec) {
    throw storage::Error("Impossibile scrivere il file " + percorso + ": " + sis::motivo(ec) + ".");
}

}  // namespace

// The run's bytes go straight to the file descriptor, so that they can be flushed to the medium.
class FileTemporaneo::Buffer : public std::streambuf {
public:
    explicit Buffer(sis::Maniglia m) : m_(m) { setp(dati_, dati_ + sizeof dati_); }
    bool svuota() {
        const auto n = static_cast<std::size_t>(pptr() - pbase());
        if (!errore_.empty() || (n > 0 && !sis::scrivi(m_, pbase(), n, &errore_))) return false;
        setp(dati_, dati_ + sizeof dati_);
        return true;
    }
    const std::string& errore() const { return errore_; }
    sis::Maniglia maniglia() const { return m_; }

protected:
    int_type overflow(int_type c) override {
        if (!svuota()) return traits_type::eof();
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(c);
            pbump(1);
        }
        return traits_type::not_eof(c);
    }
    int sync() override { return svuota() ? 0 : -1; }

private:
    sis::Maniglia m_;
    char dati_[1 << 16];
    std::string errore_;
};

FileTemporaneo::FileTemporaneo(std::string destinazione, std::string temporaneo)
    : dest_(std::move(destinazione)), tmp_(std::move(temporaneo)) {
    std::string errore;
    const auto m = sis::creaEsclusivo(tmp_, &errore);
    if (m == sis::kNessuna) throw storage::Error("Impossibile creare il file " + dest_ + ": " + errore + ".");
    sis::registraDaRimuovere(tmp_);
    buffer_ = std::make_unique<Buffer>(m);
    out_ = std::make_unique<std::ostream>(buffer_.get());
}

FileTemporaneo::~FileTemporaneo() {
    if (aperto_) sis::chiudi(buffer_->maniglia(), nullptr);
    if (!posato_) {
        std::error_code ec;
        fs::remove(sis::nativo(tmp_), ec);
    }
    sis::dimenticaDaRimuovere(tmp_);
}

void FileTemporaneo::verifica() {
    if (*out_ && buffer_->errore().empty()) return;
    throw storage::Error("Errore di scrittura del file " + dest_ +
                         (buffer_->errore().empty() ? "." : ": " + buffer_->errore() + "."));
}

void FileTemporaneo::chiudi() {
    out_->flush();
    verifica();
    std::string errore;
    const bool sincronizzato = sis::sincronizza(buffer_->maniglia(), &errore);
    aperto_ = false;
    if (!sis::chiudi(buffer_->maniglia(), sincronizzato ? &errore : nullptr) || !sincronizzato)
        throw storage::Error("Errore di scrittura del file " + dest_ + ": " + errore + ".");
}

std::string MessaggioCartellaOccupata(const std::string& cartella) {
    return "Un'altra generazione sta scrivendo nella cartella " + cartella + ".";
}

CartellaUscita::CartellaUscita(std::string cartella) : cartella_(std::move(cartella)), etichetta_(nuovaEtichetta()) {
    rinomina_ = [](const fs::path& da, const fs::path& a) {
        std::error_code ec;
        fs::rename(da, a, ec);
        return ec;
    };
}

CartellaUscita::~CartellaUscita() = default;

std::unique_ptr<CartellaUscita> CartellaUscita::blocca(const std::string& cartella, std::chrono::milliseconds attesa) {
    std::unique_ptr<CartellaUscita> c(new CartellaUscita(cartella));
    const std::string percorso = sis::utf8(sis::nativo(cartella) / kNomeBlocco);
    const auto limite = std::chrono::steady_clock::now() + attesa;
    std::string errore;
    while (!c->blocco_.prova(percorso, &errore)) {
        if (!errore.empty())
            throw storage::Error("Impossibile scrivere nella cartella " + cartella + ": " + errore + ".");
        if (std::chrono::steady_clock::now() >= limite) return nullptr;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    c->riordina();
    return c;
}

// Under the lock no other run of ours writes here, so what a run that is gone left is settled:
// a replacement whose new contents were complete is finished, anything else is removed.
void CartellaUscita::riordina() {
    struct Resti {
        bool diario = false;
        std::vector<std::pair<fs::path, NomeNostro>> file;
    };
    std::map<std::string, Resti> perRun;
    std::error_code ec;
    for (fs::directory_iterator it(sis::nativo(cartella_), ec), fine; !ec && it != fine; it.increment(ec)) {
        NomeNostro n = leggiNome(sis::utf8(it->path().filename()));
        if (!n.valido || n.etichetta == etichetta_) continue;
        if (n.processo != sis::idProcesso() && sis::processoVivo(n.processo)) continue;
        auto& r = perRun[n.etichetta];
        if (n.fine == kDiario) r.diario = true;
        r.file.emplace_back(it->path(), std::move(n));
    }
    for (auto& [etichetta, r] : perRun) {
        fs::path diario;
        for (const auto& [percorso, n] : r.file) {
            std::error_code e;
            if (n.fine == kNuovo && r.diario)
                fs::rename(percorso, sis::nativo(cartella_) / sis::nativo(n.destinazione), e);
            else if (n.fine == kDiario)
                diario = percorso;
            else
                fs::remove(percorso, e);
        }
        sis::sincronizzaCartella(cartella_);
        if (!diario.empty()) fs::remove(diario, ec);
    }
    if (!perRun.empty()) sis::sincronizzaCartella(cartella_);
}

std::unique_ptr<FileTemporaneo> CartellaUscita::crea(const std::string& nome) {
    const fs::path dest = sis::nativo(cartella_) / sis::nativo(nome);
    const std::string solo = sis::utf8(dest.filename());
    // Earlier versions wrote every run to this one fixed name; such a leftover is nobody's now.
    std::error_code ec;
    fs::remove(dest.parent_path() / sis::nativo("." + solo + ".tmp"), ec);
    return std::unique_ptr<FileTemporaneo>(new FileTemporaneo(
        sis::utf8(dest), sis::utf8(dest.parent_path() / sis::nativo(nomeTemporaneo(solo, etichetta_, kNuovo)))));
}

void CartellaUscita::sostituisci(const std::vector<FileTemporaneo*>& file) {
    for (auto* f : file) f->chiudi();
    const fs::path dir = sis::nativo(cartella_);
    const std::string diario = sis::utf8(dir / ("." + etichetta_ + kDiario));
    const auto vecchio = [&](const FileTemporaneo& f) {
        const fs::path d = sis::nativo(f.destinazione());
        return d.parent_path() / sis::nativo(nomeTemporaneo(sis::utf8(d.filename()), etichetta_, kVecchio));
    };
    // A termination request now would stop the renames halfway: it waits until they are done.
    sis::SegnaliRinviati rinvio;
    std::string errore;
    const auto m = sis::creaEsclusivo(diario, &errore);
    if (m == sis::kNessuna || !sis::sincronizza(m, &errore) || !sis::chiudi(m, &errore))
        throw storage::Error("Impossibile scrivere nella cartella " + cartella_ + ": " + errore + ".");
    sis::sincronizzaCartella(cartella_);

    // Each step done as (where the file is now, where it was); on a failure they are undone last
    // first.
    std::vector<std::pair<fs::path, fs::path>> fatti;
    std::error_code ec;
    std::string guasto;  // the operator's file the failed step was about
    const auto sposta = [&](const fs::path& da, const fs::path& a, const std::string& di) {
        if (ec) return;
        ec = rinomina_(da, a);
        if (ec)
            guasto = di;
        else
            fatti.emplace_back(a, da);
    };
    FileTemporaneo& primo = *file.front();
    // The main file's earlier content stays reachable until the others are in place.
    if (file.size() > 1 && esiste(sis::nativo(primo.destinazione()))) {
        fs::create_hard_link(sis::nativo(primo.destinazione()), vecchio(primo), ec);
        if (ec) {
            ec.clear();
            fs::copy_file(sis::nativo(primo.destinazione()), vecchio(primo), ec);
        }
        if (ec)
            guasto = primo.destinazione();
        else
            fatti.emplace_back(vecchio(primo), sis::nativo(primo.destinazione()));  // its only copy by then
    }
    for (std::size_t i = 1; i < file.size(); ++i)
        if (esiste(sis::nativo(file[i]->destinazione())))
            sposta(sis::nativo(file[i]->destinazione()), vecchio(*file[i]), file[i]->destinazione());
    for (auto* f : file) sposta(sis::nativo(f->temporaneo()), sis::nativo(f->destinazione()), f->destinazione());
    sis::sincronizzaCartella(cartella_);
    if (ec) {
        const auto causa = ec;
        for (auto it = fatti.rbegin(); it != fatti.rend(); ++it) {
            std::error_code e;
            // Renaming a link over the same file does nothing: the extra name has to go.
            if (fs::equivalent(it->first, it->second, e))
                fs::remove(it->first, e);
            else
                fs::rename(it->first, it->second, e);
        }
        sis::sincronizzaCartella(cartella_);
        fs::remove(sis::nativo(diario), ec);
        sis::sincronizzaCartella(cartella_);
        fallisci(guasto, causa);
    }
    for (auto* f : file) {
        f->posato_ = true;
        fs::remove(vecchio(*f), ec);
    }
    fs::remove(sis::nativo(diario), ec);
    sis::sincronizzaCartella(cartella_);
}

}  // namespace telematic
