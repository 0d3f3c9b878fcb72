#pragma once

// "Sfoglia…" beside a box that holds a file or folder path, and the folder the file dialogs
// start from: the archive's own.

#include <QString>
#include <QStringList>

class QLineEdit;
class QPushButton;
class QWidget;

namespace storage {
class Connection;
}

namespace ui {

// The folder of the archive open on conn; the home folder when none is open.
QString cartellaDati(const storage::Connection& conn);

enum class Scelta { FileDaLeggere, Cartella };

// Where a file dialog for this box starts: the box's path when that file or folder exists (or
// the folder that holds it), otherwise the first of the folders given that exists, otherwise the
// home folder.
QString inizioSfoglia(const QString& testo, Scelta scelta, const QStringList& ripieghi);

// A "Sfoglia…" button that lets the operator choose the box's file or folder; the choice
// replaces the box's text. Named "Sfoglia" + the box's object name, for tests and scripts.
// With an empty box it starts in the archive's folder.
QPushButton* bottoneSfoglia(QLineEdit* campo, Scelta scelta, const storage::Connection& conn, const QString& titolo);

// "Sfoglia…" for a file to import: with an empty box it starts in the folder last chosen with
// this button, else in the export folder given, never among the archive's own files; the filter
// ("File delle paghe (*.43 *.03)") comes first, "Tutti i file (*)" after it.
QPushButton* bottoneSfogliaImportazione(QLineEdit* campo, const QString& titolo, const QString& filtro,
                                        const QString& cartellaEsportazioni);

}  // namespace ui
