#pragma once

// The program's message boxes: information (OK), errors, and Yes/No questions where only Yes
// counts as consent. Tests install a Risponditore to read the texts and answer the questions.

#include <QString>
#include <exception>
#include <functional>

class QWidget;

namespace ui {

// The answers of a question that can also be given up: "Sì", "No", "Annulla".
enum class Risposta { Si, No, Annulla };

class Risponditore {
public:
    virtual ~Risponditore() = default;
    virtual void informa(const QString& testo) = 0;
    virtual void errore(const QString& testo) = 0;
    virtual bool chiedi(const QString& domanda) = 0;
    virtual Risposta chiediOAnnulla(const QString& domanda) { return chiedi(domanda) ? Risposta::Si : Risposta::No; }
};

void informa(QWidget* parent, const QString& testo);
void errore(QWidget* parent, const QString& testo);
// The button Enter presses: No where answering wrongly destroys, Yes where it keeps the typing.
enum class Predefinito { No, Si };
bool chiedi(QWidget* parent, const QString& domanda, Predefinito predefinito = Predefinito::No);
// "Sì", "No" and "Annulla" (Enter answers Yes and keeps the typing; Esc and the close box give up).
Risposta chiediOAnnulla(QWidget* parent, const QString& domanda);

// Routes every box to r while alive (tests only); boxes are shown again when it ends.
class RisponditoreInstallato {
public:
    explicit RisponditoreInstallato(Risponditore& r);
    ~RisponditoreInstallato();
    RisponditoreInstallato(const RisponditoreInstallato&) = delete;
    RisponditoreInstallato& operator=(const RisponditoreInstallato&) = delete;

private:
    Risponditore* precedente_;
};

// Ends an operator's command that has already told the operator why (a question he answered):
// esegui() ends it with no further box.
struct AzioneInterrotta : std::exception {
    const char* what() const noexcept override { return ""; }
};

// Runs an operator's command: a failure of the core ends it and is shown in an error box.
// True when it ran to the end.
bool esegui(QWidget* parent, const std::function<void()>& azione);

// The texts the system's own boxes use: a CR inside a message is a line break.
QString testoDaMessaggio(const std::string& utf8);

}  // namespace ui
