#pragma once

#include <QString>
#include <functional>

class QToolBar;
class QWidget;

namespace agente {

// The toolbar of the agent's windows: image buttons whose words are their tooltips.
QToolBar* barraComandi(QWidget* finestra, const std::function<void()>& salva, const std::function<void()>& stampa,
                       const std::function<void()>& chiudi);

}  // namespace agente
