#pragma once

#include <QWidget>
#include <vector>

class QProgressBar;

// The small window shown while the program starts.
class TFAttendere : public QWidget {
    Q_OBJECT
public:
    explicit TFAttendere(QWidget* parent = nullptr);

    // Moves the bar to the step and paints it at once: nothing else runs the event loop yet.
    void passo(int valore);
    int valore() const;
    // The values the bar went through, in order.
    const std::vector<int>& passi() const { return passi_; }

private:
    QProgressBar* ProgressBar1;
    std::vector<int> passi_;
};
