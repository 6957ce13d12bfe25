#include "opponent/engine_viewer.h"

namespace vorek {

std::optional<EngineView> viewOf(const ThinkEnd& end) {
    if (end.move < 0) return std::nullopt;
    EngineView view{.eval = std::nullopt, .winrate = std::nullopt, .best = end.move};
    if (end.best) {
        view.eval = end.best->eval;
        view.winrate = end.best->winrate;
    }
    return view;
}

EngineViewer::EngineViewer(EngineSetup setup, AskLog* log) : session_(std::move(setup), queue_.sink(), log) {}

EngineViewer::~EngineViewer() { session_.end().wait(); }

std::optional<ThinkEnd> EngineViewer::think(const V2Board& position, int milliseconds,
                                            const std::atomic<bool>* interrupt) {
    const int think = session_.analyse(position, ThinkRequest{.milliseconds = milliseconds, .lines = 1});
    if (think == 0) return std::nullopt;
    return awaitThink(queue_, session_, think, interrupt, [](const EngineEvent&) {});
}

}  // namespace vorek
