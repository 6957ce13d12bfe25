// The dialog that follows a solve from the window: the nodes made so far, the
// rate, the start node's numbers, and a Cancel button.
#pragma once

#include <QDialog>
#include <cstdint>

#include "search/stat_node.h"

class QLabel;

namespace vorek {

class SolveDialog final : public QDialog {
    Q_OBJECT

public:
    // A dialog over the window that does not block it.
    explicit SolveDialog(QWidget* window);

    void showProgress(std::uint64_t nodes, double rate, const StatNode& start);

    // The Cancel button, Escape and the close box: asks the solve to stop.
    void reject() override;

signals:
    void cancelRequested();

private:
    QLabel* nodes_ = nullptr;
    QLabel* rate_ = nullptr;
    QLabel* numbers_ = nullptr;
};

}  // namespace vorek
