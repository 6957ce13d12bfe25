#include "app/window_controller.h"

#include <stdexcept>

namespace vorek {

WindowMode WindowController::restingMode() const {
    return origin_.gameFirstLetter != 0 ? WindowMode::GAME : WindowMode::IDLE;
}

void WindowController::begin(WindowMode work) {
    if (work == WindowMode::IDLE || work == WindowMode::GAME)
        throw std::logic_error("a mode of rest is not begun");
    mode_ = work;
}

void WindowController::end() { mode_ = restingMode(); }

void WindowController::replaceTree(std::unique_ptr<StatNode> root, const PositionOrigin& origin) {
    disposal_.dispose(std::move(root_));
    root_ = std::move(root);
    origin_ = origin;
    if (mode_ == WindowMode::IDLE || mode_ == WindowMode::GAME) mode_ = restingMode();
}

void WindowController::startEditing(std::unique_ptr<PositionEditor> editor) {
    editor_ = std::move(editor);
    begin(WindowMode::EDITING);
}

std::unique_ptr<PositionEditor> WindowController::finishEditing() {
    end();
    return std::move(editor_);
}

}  // namespace vorek
