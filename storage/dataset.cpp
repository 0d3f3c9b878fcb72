#include "storage/dataset.h"

#include <algorithm>

#include "storage/error.h"
#include "storage/sistema.h"

namespace storage {

Dataset::Dataset(Connection& conn) : conn_(conn) {}

void Dataset::open(Righe righe) {
    close();
    righe_ = std::move(righe);
    const std::string tabella = NomeTabella(righe_.tabella), chiave = ChiaveTabella(righe_.tabella);
    // Only the keys are read here; each row is read when it becomes current.
    chiaveSql_ = "select " + chiave + " from " + tabella;
    if (!righe_.condizione.empty()) chiaveSql_ += " where " + righe_.condizione;
    chiaveSql_ += " order by " + (righe_.ordine.empty() ? chiave : righe_.ordine);
    if (righe_.primaSola) chiaveSql_ += " limit 1";
    leggi_ = std::make_unique<Statement>(conn_, "select * from " + tabella + " where " + chiave + " = ?");
    colonne_ = Columns::of(*leggi_);
    caricaChiavi();
    stato_ = State::Browse;
    first();
}

void Dataset::caricaChiavi() {
    chiavi_.clear();
    Statement st(conn_, chiaveSql_);
    for (std::size_t i = 0; i < righe_.parametri.size(); ++i) st.bind(static_cast<int>(i + 1), righe_.parametri[i]);
    while (st.step()) chiavi_.push_back(st.integer(0));
}

void Dataset::close() {
    stato_ = State::Closed;
    chiavi_.clear();
    pos_ = 0;
    bof_ = true;
    riga_ = Row();
    modifiche_.clear();
    nulle_.clear();
    leggi_.reset();
}

void Dataset::requery() {
    if (!isOpen()) throw Error("Insieme di dati non aperto");
    std::int64_t chiave = key();
    modifiche_.clear();
    nulle_.clear();
    stato_ = State::Browse;
    caricaChiavi();
    if (!locate(chiave)) first();
}

void Dataset::leggiCorrente() {
    modifiche_.clear();
    nulle_.clear();
    if (eof()) {
        riga_ = Row(colonne_, {});
        return;
    }
    leggi_->reset();
    leggi_->bind(1, chiavi_[pos_]);
    if (leggi_->step()) {
        riga_ = Row::from(*leggi_, colonne_);
    } else {
        riga_ = Row(colonne_, {});  // deleted by someone else meanwhile: reads as empty
    }
    leggi_->reset();
}

void Dataset::postSeModificato() {
    if (stato_ == State::Edit || stato_ == State::Insert) {
        if (modified())
            post();
        else
            cancel();
    }
}

void Dataset::first() {
    postSeModificato();
    pos_ = 0;
    bof_ = true;
    leggiCorrente();
}

void Dataset::next() {
    postSeModificato();
    if (pos_ < chiavi_.size()) ++pos_;
    bof_ = false;
    leggiCorrente();
}

void Dataset::prior() {
    postSeModificato();
    if (pos_ == 0 || chiavi_.empty()) {
        bof_ = true;
    } else {
        pos_ = std::min(pos_, chiavi_.size()) - 1;
        bof_ = false;
    }
    leggiCorrente();
}

void Dataset::last() {
    postSeModificato();
    pos_ = chiavi_.empty() ? 0 : chiavi_.size() - 1;
    bof_ = chiavi_.empty();
    leggiCorrente();
}

void Dataset::moveTo(std::size_t p) {
    postSeModificato();
    pos_ = std::min(p, chiavi_.size());
    bof_ = chiavi_.empty();
    leggiCorrente();
}

std::optional<std::size_t> Dataset::positionOf(std::int64_t chiave) const {
    const auto it = std::find(chiavi_.begin(), chiavi_.end(), chiave);
    if (it == chiavi_.end()) return std::nullopt;
    return static_cast<std::size_t>(it - chiavi_.begin());
}

bool Dataset::locate(std::int64_t chiave) {
    const auto posizione = positionOf(chiave);
    if (posizione) moveTo(*posizione);
    return posizione.has_value();
}

std::int64_t Dataset::key() const {
    if (stato_ == State::Insert || eof()) return 0;
    return chiavi_[pos_];
}

std::string Dataset::text(std::string_view colonna) const {
    if (!colonne_) throw Error("Insieme di dati non aperto");
    auto i = static_cast<std::size_t>(colonne_->require(colonna));
    if (i < modifiche_.size()) {
        if (nulle_[i]) return {};
        if (modifiche_[i]) return *modifiche_[i];
    }
    if (stato_ == State::Insert) return {};
    return riga_.empty() ? std::string() : riga_.at(i);
}

std::int64_t Dataset::integer(std::string_view colonna) const { return toInteger(text(colonna)); }

void Dataset::edit() {
    if (stato_ == State::Closed) throw Error("Insieme di dati non aperto");
    if (stato_ != State::Browse) return;
    if (eof()) throw Error("Nessuna riga corrente da modificare nella tabella " + table());
    stato_ = State::Edit;
}

void Dataset::append() {
    if (stato_ == State::Closed) throw Error("Insieme di dati non aperto");
    postSeModificato();
    stato_ = State::Insert;
    modifiche_.clear();
    nulle_.clear();
}

void Dataset::setText(std::string_view colonna, std::string_view valore) {
    if (stato_ == State::Browse) edit();
    if (stato_ == State::Closed) throw Error("Insieme di dati non aperto");
    auto i = static_cast<std::size_t>(colonne_->require(colonna));
    modifiche_.resize(colonne_->size());
    nulle_.resize(colonne_->size());
    modifiche_[i] = std::string(valore);
    nulle_[i] = false;
}

void Dataset::setNull(std::string_view colonna) {
    setText(colonna, "");
    nulle_[static_cast<std::size_t>(colonne_->require(colonna))] = true;
}

bool Dataset::modified() const {
    for (std::size_t i = 0; i < modifiche_.size(); ++i)
        if (modifiche_[i] || nulle_[i]) return true;
    return false;
}

void Dataset::post() {
    if (stato_ != State::Edit && stato_ != State::Insert) return;
    std::vector<std::size_t> cambiate;
    for (std::size_t i = 0; i < modifiche_.size(); ++i)
        if (modifiche_[i] || nulle_[i]) cambiate.push_back(i);
    auto legaValori = [&](Statement& st) {
        int n = 1;
        for (auto i : cambiate) {
            if (nulle_[i])
                st.bindNull(n++);
            else
                st.bind(n++, *modifiche_[i]);
        }
        return n;
    };
    try {
        scrivi(cambiate, legaValori);
    } catch (const Error& e) {
        // The pending changes stay, so the window still shows what was typed.
        RilanciaSalvataggio(e);
    }
    stato_ = State::Browse;
    leggiCorrente();
}

void Dataset::scrivi(const std::vector<std::size_t>& cambiate, const std::function<int(Statement&)>& legaValori) {
    if (stato_ == State::Insert) {
        std::string sql;
        if (cambiate.empty()) {
            sql = "insert into " + table() + " default values";
        } else {
            std::string nomi, posti;
            for (auto i : cambiate) {
                nomi += (nomi.empty() ? "" : ", ") + colonne_->name(i);
                posti += posti.empty() ? "?" : ", ?";
            }
            sql = "insert into " + table() + " (" + nomi + ") values (" + posti + ")";
        }
        Statement st(conn_, sql);
        legaValori(st);
        st.step();
        chiavi_.push_back(conn_.lastInsertId());
        pos_ = chiavi_.size() - 1;
        bof_ = false;
    } else if (!cambiate.empty()) {
        std::string sql = "update " + table() + " set ";
        bool primo = true;
        for (auto i : cambiate) {
            // Unquoted: the server keeps the description's names in lower case and folds these to
            // match, the file ignores their case.
            sql += (primo ? "" : ", ") + colonne_->name(i) + " = ?";
            primo = false;
        }
        // A certificate carries its revision: the save goes through only over the row as read.
        const int revisione = colonne_->indexOf("Revisione");
        if (revisione >= 0) sql += ", Revisione = coalesce(Revisione, 0) + 1, RevisioneAlle = ?";
        sql += std::string(" where ") + ChiaveTabella(righe_.tabella) + " = ?";
        if (revisione >= 0) sql += " and coalesce(Revisione, 0) = ?";
        Statement st(conn_, sql);
        int n = legaValori(st);
        if (revisione >= 0) st.bind(n++, sistema::oraLocale("%H:%M"));
        st.bind(n++, chiavi_[pos_]);
        if (revisione >= 0) st.bind(n, riga_.integer("Revisione"));
        st.step();
        if (conn_.changes() == 0) {
            if (revisione >= 0) {
                Statement ora(
                    conn_, "select RevisioneAlle from " + table() + " where " + ChiaveTabella(righe_.tabella) + " = ?");
                ora.bind(1, chiavi_[pos_]);
                if (ora.step())
                    throw Error(Error::Causa::ModificatoDaAltri,
                                "Il certificato è stato modificato da un altro operatore alle " +
                                    std::string(ora.text(0)) + ": ricaricarlo?");
            }
            throw Error(Error::Causa::RigaEliminata,
                        "Il certificato è stato eliminato da un'altra operazione: le modifiche non sono "
                        "state salvate.");
        }
    }
}

void Dataset::cancel() {
    if (stato_ == State::Edit || stato_ == State::Insert) stato_ = State::Browse;
    modifiche_.clear();
    nulle_.clear();
}

void Dataset::remove() {
    if (stato_ == State::Insert) {
        cancel();
        return;
    }
    if (stato_ == State::Closed || eof()) throw Error("Nessuna riga corrente da cancellare nella tabella " + table());
    Statement st(conn_, "delete from " + table() + " where " + ChiaveTabella(righe_.tabella) + " = ?");
    st.bind(1, chiavi_[pos_]);
    st.step();
    chiavi_.erase(chiavi_.begin() + static_cast<std::ptrdiff_t>(pos_));
    stato_ = State::Browse;
    if (pos_ >= chiavi_.size() && pos_ > 0) --pos_;
    leggiCorrente();
}

}  // namespace storage
