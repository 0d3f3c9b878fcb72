#include "entry/finestraricerca.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>
#include <optional>

#include "entry/editorcertificati.h"
#include "entry/modelloelenco.h"
#include "entry/ricerca.h"
#include "storage/certificati.h"
#include "ui/dialoghi.h"

namespace entry {

FinestraRicerca::FinestraRicerca(EditorCertificati& editor, const QString& titolo, bool conMatricola, QWidget* parent)
    : QWidget(parent, Qt::Window), editor_(editor) {
    setWindowTitle(titolo);

    auto* barra = new QHBoxLayout;
    barra->addWidget(new QLabel(QStringLiteral("Dipendente"), this));
    cognome_ = new QLineEdit(this);
    cognome_->setObjectName(QStringLiteral("cognome"));
    cognome_->setPlaceholderText(QStringLiteral("Cognome"));
    nome_ = new QLineEdit(this);
    nome_->setObjectName(QStringLiteral("nome"));
    nome_->setPlaceholderText(QStringLiteral("Nome"));
    codice_ = new QLineEdit(this);
    codice_->setObjectName(QStringLiteral("codice"));
    codice_->setPlaceholderText(conMatricola ? QStringLiteral("C.F., numero o matricola")
                                             : QStringLiteral("C.F. o numero"));
    codice_->setToolTip(conMatricola ? QStringLiteral("Codice fiscale, numero del certificato o matricola")
                                     : QStringLiteral("Codice fiscale o numero del certificato"));
    esito_ = new QLabel(this);
    esito_->setObjectName(QStringLiteral("esito"));
    esito_->setStyleSheet(QStringLiteral("QLabel { color: #b00000; font-weight: bold; }"));
    barra->addWidget(cognome_, 3);
    barra->addWidget(nome_, 2);
    barra->addWidget(codice_, 3);
    barra->addWidget(esito_);
    mostraEscluso_ = new QPushButton(QStringLiteral("Mostra"), this);
    mostraEscluso_->setObjectName(QStringLiteral("MostraEscluso"));
    mostraEscluso_->setToolTip(QStringLiteral("Toglie il filtro e mostra il certificato trovato"));
    mostraEscluso_->hide();
    connect(mostraEscluso_, &QPushButton::clicked, this, &FinestraRicerca::mostraEscluso);
    barra->addWidget(mostraEscluso_);
    auto* chiudi = new QPushButton(QStringLiteral("Chiudi"), this);
    chiudi->setObjectName(QStringLiteral("Chiudi"));
    barra->addWidget(chiudi);
    connect(chiudi, &QPushButton::clicked, this, &QWidget::close);
    connect(cognome_, &QLineEdit::textChanged, this, &FinestraRicerca::cerca);
    connect(nome_, &QLineEdit::textChanged, this, &FinestraRicerca::cerca);
    connect(codice_, &QLineEdit::textChanged, this, &FinestraRicerca::cercaCodice);
    for (QLineEdit* e : {cognome_, nome_, codice_})
        connect(e, &QLineEdit::returnPressed, this, &FinestraRicerca::apriEditor);

    modello_ = new ModelloElenco(editor.connessione(), editor.elenco(), this);
    griglia_ = new QTableView(this);
    griglia_->setModel(modello_);
    griglia_->setSelectionBehavior(QAbstractItemView::SelectRows);
    griglia_->setSelectionMode(QAbstractItemView::SingleSelection);
    griglia_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    griglia_->setWordWrap(false);
    griglia_->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    griglia_->horizontalHeader()->setHighlightSections(false);
    griglia_->verticalHeader()->setDefaultSectionSize(20);
    griglia_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    griglia_->verticalHeader()->setFixedWidth(14);
    griglia_->verticalHeader()->setHighlightSections(false);
    // A compact font, as in the grids the operator knows; a column too narrow for its title
    // or for a full tax code or date is widened so that nothing is cut.
    QFont piccolo = griglia_->font();
    piccolo.setPointSizeF(8);
    griglia_->setFont(piccolo);
    griglia_->horizontalHeader()->setFont(piccolo);
    const QFontMetrics fm(piccolo);
    int larghezza = 14 + 4;
    for (int c = 0; c < modello_->columnCount(); ++c) {
        int w =
            std::max(ModelloElenco::larghezza(c),
                     fm.horizontalAdvance(modello_->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString()) + 14);
        w = std::max(w, fm.horizontalAdvance(ModelloElenco::campione(c)) + 12);
        griglia_->setColumnWidth(c, w);
        larghezza += w;
    }
    // Light green grid; the selected row stays marked when the grid has no focus.
    QPalette p = griglia_->palette();
    p.setColor(QPalette::Base, QColor(128, 255, 128));
    p.setColor(QPalette::Inactive, QPalette::Highlight, p.color(QPalette::Active, QPalette::Highlight));
    p.setColor(QPalette::Inactive, QPalette::HighlightedText, p.color(QPalette::Active, QPalette::HighlightedText));
    griglia_->setPalette(p);
    connect(griglia_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& corrente) {
                if (sincronizzando_ || !corrente.isValid()) return;
                ui::esegui(this, [&] { editor_.spostaA(static_cast<std::size_t>(corrente.row())); });
            });

    connect(griglia_, &QTableView::doubleClicked, this, &FinestraRicerca::apriEditor);
    connect(&editor, &EditorCertificati::elencoCambiato, this, [this] {
        modello_->ricarica();
        seguiEditor();
    });
    connect(&editor, &EditorCertificati::certificatoCambiato, this, [this] {
        modello_->aggiorna();
        seguiEditor();
    });
    connect(&editor, &EditorCertificati::datiCambiati, this, [this] { modello_->aggiorna(); });

    auto* tutto = new QVBoxLayout(this);
    tutto->setContentsMargins(4, 4, 4, 4);
    tutto->addLayout(barra);
    if (conMatricola) {
        // One click shows one kind, or all, in surname order.
        auto* tipi = new QHBoxLayout;
        tipi->addWidget(new QLabel(QStringLiteral("Filtro:"), this));
        const auto scelta = [&](const QString& parola, std::optional<storage::Tipo> tipo) {
            auto* b = new QPushButton(parola, this);
            b->setObjectName(QStringLiteral("filtro") + parola);
            b->setAutoDefault(false);
            connect(b, &QPushButton::clicked, this, [this, tipo] {
                try {
                    editor_.filtraSolo(tipo);
                    cerca();
                } catch (const ui::AzioneInterrotta&) {
                    // the editor has asked its question already
                } catch (const std::exception& ex) {
                    ui::errore(this, ui::testoDaMessaggio(ex.what()));
                }
            });
            tipi->addWidget(b);
        };
        scelta(QStringLiteral("Tutti"), std::nullopt);
        for (storage::Tipo t : storage::kTipi) scelta(QString::fromLatin1(storage::CodiceTipo(t)), t);
        tipi->addStretch(1);
        tutto->addLayout(tipi);
    }
    tutto->addWidget(griglia_, 1);
    resize(larghezza + 30, 420);
}

void FinestraRicerca::showEvent(QShowEvent* e) {
    if (!collocata_) {
        collocata_ = true;
        colloca();
    }
    QWidget::showEvent(e);
    seguiEditor();
}

void FinestraRicerca::colloca() {
    const bool sopraLEditor = editor_.isVisible();
    const QScreen* s = sopraLEditor ? editor_.screen() : screen();
    if (!s) return;
    const QRect area = s->availableGeometry();
    // Before the first show the window manager's frame is not known: a usual title bar and border.
    const bool cornice = frameGeometry().size() != size();
    const QRect dentro = geometry(), fuori = frameGeometry();
    const QMargins bordi = cornice ? QMargins(dentro.left() - fuori.left(), dentro.top() - fuori.top(),
                                              fuori.right() - dentro.right(), fuori.bottom() - dentro.bottom())
                                   : QMargins(2, 30, 2, 2);
    const QSize dim = size().boundedTo(area.size().shrunkBy(bordi));
    QRect esterno(QPoint(0, 0), dim.grownBy(bordi));
    if (sopraLEditor)
        esterno.moveBottomRight(editor_.frameGeometry().bottomRight());
    else
        esterno.moveCenter(area.center());
    esterno.moveRight(std::min(esterno.right(), area.right()));
    esterno.moveBottom(std::min(esterno.bottom(), area.bottom()));
    esterno.moveLeft(std::max(esterno.left(), area.left()));
    esterno.moveTop(std::max(esterno.top(), area.top()));
    if (dim != size()) resize(dim);
    move(esterno.topLeft());
}

// The grid marks the editor's current row.
void FinestraRicerca::seguiEditor() {
    const storage::Dataset& elenco = editor_.elenco();
    sincronizzando_ = true;
    if (elenco.isOpen() && !elenco.eof() && elenco.position() < static_cast<std::size_t>(modello_->rowCount())) {
        const QModelIndex i = modello_->index(static_cast<int>(elenco.position()), 0);
        griglia_->selectionModel()->setCurrentIndex(i, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        if (isVisible()) griglia_->scrollTo(i);
    } else {
        griglia_->selectionModel()->clearSelection();
    }
    sincronizzando_ = false;
}

QString FinestraRicerca::esito() const { return esito_->text(); }

void FinestraRicerca::segnaEsito(QLineEdit* casella, bool trovato, const QString& come) {
    for (QLineEdit* e : {cognome_, nome_, codice_})
        e->setStyleSheet(!trovato && e == casella ? QStringLiteral("QLineEdit { background: #ffd6d6; }") : QString());
    esito_->setStyleSheet(trovato ? QStringLiteral("QLabel { color: #205020; }")
                                  : QStringLiteral("QLabel { color: #b00000; font-weight: bold; }"));
    esito_->setText(trovato ? come : QStringLiteral("non trovato"));
    escluso_ = 0;
    mostraEscluso_->hide();
}

void FinestraRicerca::mostraEscluso() {
    const std::int64_t id = escluso_;
    if (id == 0) return;
    try {
        if (editor_.filtraSolo(std::nullopt) && editor_.vaiACertificato(id)) segnaEsito(nullptr, true);
    } catch (const ui::AzioneInterrotta&) {
        // the editor has asked its question already
    } catch (const std::exception& ex) {
        ui::errore(this, ui::testoDaMessaggio(ex.what()));
    }
}

void FinestraRicerca::cerca() {
    try {
        const QString c = cognome_->text(), n = nome_->text();
        if (c.isEmpty() && n.isEmpty()) {  // empty boxes leave the current row alone
            segnaEsito(nullptr, true);
            return;
        }
        const auto pos = TrovaNellElenco(editor_.connessione(), editor_.elenco(), c, n);
        segnaEsito(n.isEmpty() ? cognome_ : nome_, pos.has_value());
        if (pos) {
            editor_.spostaA(*pos);
        } else if (const auto fuori = TrovaFuoriDallElenco(editor_.connessione(), editor_.elenco(), c, n)) {
            // Someone the filter hides: said, and offered.
            esito_->setText(QStringLiteral("%1 è escluso dal filtro").arg(fuori->cognome));
            escluso_ = fuori->id;
            mostraEscluso_->show();
        }
    } catch (const ui::AzioneInterrotta&) {
        // the editor has asked its question already
    } catch (const std::exception& ex) {
        ui::errore(this, ui::testoDaMessaggio(ex.what()));
    }
}

void FinestraRicerca::cercaCodice() {
    try {
        const QString t = codice_->text();
        if (t.trimmed().isEmpty()) {
            segnaEsito(nullptr, true);
            return;
        }
        const auto trovato = TrovaPerCodice(editor_.connessione(), editor_.elenco(), t);
        segnaEsito(codice_, trovato.has_value(), trovato ? trovato->come : QString());
        if (trovato) editor_.spostaA(trovato->posizione);
    } catch (const ui::AzioneInterrotta&) {
        // the editor has asked its question already
    } catch (const std::exception& ex) {
        ui::errore(this, ui::testoDaMessaggio(ex.what()));
    }
}

void FinestraRicerca::apriEditor() {
    const storage::Dataset& elenco = editor_.elenco();
    if (!elenco.isOpen() || elenco.eof()) return;
    if (!editor_.isVisible()) {
        editor_.paginaIniziale();
        editor_.show();
    }
    editor_.raise();
    editor_.activateWindow();
}

}  // namespace entry
