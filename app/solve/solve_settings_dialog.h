// "Solve Settings...": the node, time and memory budgets of the window's
// solves and the rules they follow.
#pragma once

#include <QDialog>

#include "app/solve/solve_settings.h"

class QDoubleSpinBox;
class QRadioButton;
class QSpinBox;

namespace vorek {

class SolveSettingsDialog final : public QDialog {
    Q_OBJECT

public:
    SolveSettingsDialog(const SolveSettings& settings, QWidget* window);

    // The settings as the dialog shows them now.
    SolveSettings settings() const;

private:
    QSpinBox* nodes_;           // thousands of nodes; 0: no limit
    QDoubleSpinBox* seconds_;   // 0: no limit
    QSpinBox* memory_;          // megabytes
    QRadioButton* exact_;
    QRadioButton* window_;
};

}  // namespace vorek
