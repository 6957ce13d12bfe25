#include "app/window_controller.h"

#include <stdexcept>

#include "search/root_build.h"

namespace vorek {

WindowMode WindowController::restingMode() const {
    return rootKind_ == SourceKind::Record ? WindowMode::GAME : WindowMode::IDLE;
}

void WindowController::begin(WindowMode work) {
    if (work == WindowMode::IDLE || work == WindowMode::GAME)
        throw std::logic_error("a mode of rest is not begun");
    mode_ = work;
}

void WindowController::end() { mode_ = restingMode(); }

void WindowController::replaceTree(PositionSource source) {
    current_ = nullptr;
    disposal_.dispose(std::move(root_));
    root_ = buildRootNode(std::move(source.board)).root;
    current_ = root_.get();
    labels_ = source.labels;
    rootKind_ = source.kind;
    if (mode_ == WindowMode::IDLE || mode_ == WindowMode::GAME) mode_ = restingMode();
}

void WindowController::dropTree() {
    current_ = nullptr;
    disposal_.dispose(std::move(root_));
}

V2Board& WindowController::shownBoard() {
    if (editor_ != nullptr) return editor_->board();
    if (SolveLine* line = shownLine()) return line->board();
    return current_->ensureBoard();
}

const StoneLabels& WindowController::shownLabels() const {
    const SolveLine* line = shownLine();
    return line != nullptr ? line->labels() : labels_;
}

char WindowController::player1Letter() const {
    return editor_ != nullptr ? editor_->letterToMove() : shownLabels().player1Letter;
}

void WindowController::startEditing(std::unique_ptr<PositionEditor> editor) {
    editor_ = std::move(editor);
    begin(WindowMode::EDITING);
}

std::unique_ptr<PositionEditor> WindowController::finishEditing() {
    end();
    return std::move(editor_);
}

void WindowController::keepLine(std::unique_ptr<SolveLine> line) {
    dropLine();
    line_ = std::move(line);
}

bool WindowController::stepLine(int step) {
    if (line_ == nullptr || !allows(Command::STEP_LINE)) return false;
    line_->stepTo(step);
    const bool atRest = line_->step() == line_->restingStep();
    if (!atRest && mode_ != WindowMode::SHOWING_LINE) begin(WindowMode::SHOWING_LINE);
    if (atRest && mode_ == WindowMode::SHOWING_LINE) end();
    return true;
}

void WindowController::dropLine() {
    if (mode_ == WindowMode::SHOWING_LINE) end();
    line_.reset();
}

}  // namespace vorek
