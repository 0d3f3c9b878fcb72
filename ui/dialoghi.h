#pragma once

// The program's message boxes: information (OK), errors, and Yes/No questions where only Yes
// counts as consent. Tests install a Risponditore to read the texts and answer the questions.

#include <QString>
#include <functional>

class QWidget;

namespace ui {

class Risponditore {
public:
    virtual ~Risponditore() = default;
    virtual void informa(const QString& testo) = 0;
    virtual void errore(const QString& testo) = 0;
    virtual bool chiedi(const QString& domanda) = 0;
};

void informa(QWidget* parent, const QString& testo);
void errore(QWidget* parent, const QString& testo);
// The button Enter presses: No where answering wrongly destroys, Yes where it keeps the typing.
enum class Predefinito { No, Si };
bool chiedi(QWidget* parent, const QString& domanda, Predefinito predefinito = Predefinito::No);

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

// Runs an operator's command: a failure of the core ends it and is shown in an error box.
// True when it ran to the end.
bool esegui(QWidget* parent, const std::function<void()>& azione);

// The texts the system's own boxes use: a CR inside a message is a line break.
QString testoDaMessaggio(const std::string& utf8);

}  // namespace ui
