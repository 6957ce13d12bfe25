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
    disposal_.dispose(std::move(root_));
    root_ = buildRootNode(std::move(source.board)).root;
    labels_ = source.labels;
    rootKind_ = source.kind;
    if (mode_ == WindowMode::IDLE || mode_ == WindowMode::GAME) mode_ = restingMode();
}

void WindowController::dropTree() { disposal_.dispose(std::move(root_)); }

void WindowController::startEditing(std::unique_ptr<PositionEditor> editor) {
    editor_ = std::move(editor);
    begin(WindowMode::EDITING);
}

std::unique_ptr<PositionEditor> WindowController::finishEditing() {
    end();
    return std::move(editor_);
}

}  // namespace vorek
