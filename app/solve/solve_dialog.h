// The dialog that follows a solve from the window: the nodes made so far, the
// rate, the proof and disproof numbers of the position solved, the time, and
// a Cancel button; once the solve has ended, the verdict under them. The
// rows show the solver's own count and clock throughout, so the time at the
// end is the solve's one time. The dialog is as wide from the start as its
// verdict will need, and grows down to show all of its text. Where the solve
// found a line, the verdict has a stepper for it.
#pragma once

#include <QDialog>
#include <cstdint>

#include "search/solver.h"

class QDialogButtonBox;
class QFormLayout;
class QLabel;

namespace vorek {

class LineStepper;

// A proof or disproof number as the window writes it: "infinite" for the
// number that stands for infinity, the decimal number otherwise.
QString numberText(std::int32_t number);

class SolveDialog final : public QDialog {
    Q_OBJECT

public:
    // A dialog over the window that does not block it.
    explicit SolveDialog(QWidget* window);

    void showProgress(const SolveProgress& progress);
    // The solve has ended: the rows show its report, the verdict (player 1
    // playing `player1Letter`) appears under them, and Cancel becomes Close.
    void showOutcome(const SolveReport& report, char player1Letter);
    // Nothing was solved, the game being over: the text says so, the rows
    // stay empty, and the one button is Close.
    void showGameOver(const QString& text);

    // The Cancel button, Escape and the close box: asks the solve to stop,
    // or, after the end, closes the dialog.
    void reject() override;

    // Places the dialog, in screen coordinates, where it covers none of the
    // areas to keep visible (the board, a selected line), as far as the
    // screen allows: beside the window, or else over the pages at their
    // bottom or their top. Where nothing fits it stays where it is.
    void keepClearOf(const QRect& window, const QRect& pages, const QList<QRect>& keepVisible);

    // The stepper through the line found, under the verdict; hidden until
    // it is given the line's moves.
    LineStepper* line() const { return line_; }

signals:
    void cancelRequested();

private:
    void showEnd(const QString& verdict);
    void showCounts(std::uint64_t nodes, double seconds, std::int32_t pn, std::int32_t dn);

    QLabel* nodes_ = nullptr;
    QLabel* rate_ = nullptr;
    QLabel* proof_ = nullptr;
    QLabel* disproof_ = nullptr;
    QLabel* elapsed_ = nullptr;
    QWidget* busy_ = nullptr;
    // What the solve found, shown once it has ended; what more a verdict
    // has to say goes into rows of its own here.
    QFormLayout* outcomeRows_ = nullptr;
    QLabel* outcome_ = nullptr;
    LineStepper* line_ = nullptr;
    QDialogButtonBox* buttons_ = nullptr;
    bool ended_ = false;
};

}  // namespace vorek
