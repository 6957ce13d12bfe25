// The dialog that follows a solve from the window: the nodes made so far, the
// rate, the start node's numbers, the time, and a Cancel button.
#pragma once

#include <QDialog>
#include <cstdint>

#include "search/solver.h"

class QDialogButtonBox;
class QLabel;

namespace vorek {

class SolveDialog final : public QDialog {
    Q_OBJECT

public:
    // A dialog over the window that does not block it.
    explicit SolveDialog(QWidget* window);

    void showProgress(const SolveProgress& progress, double elapsedSeconds);
    // The solve has ended: shows how, and Cancel becomes Close.
    void showOutcome(const QString& text);

    // The Cancel button, Escape and the close box: asks the solve to stop,
    // or, after the end, closes the dialog.
    void reject() override;

signals:
    void cancelRequested();

private:
    QLabel* nodes_ = nullptr;
    QLabel* rate_ = nullptr;
    QLabel* numbers_ = nullptr;
    QLabel* elapsed_ = nullptr;
    QLabel* outcome_ = nullptr;
    QWidget* busy_ = nullptr;
    QDialogButtonBox* buttons_ = nullptr;
    bool ended_ = false;
};

}  // namespace vorek
