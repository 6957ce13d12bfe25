#include "app/game/move_asker.h"

namespace vorek {

namespace {

class EachMoveAsker final : public MoveAsker {
public:
    EachMoveAsker(AskCommands& ask, const QString& commandLine) : ask_(ask), commandLine_(commandLine) {}

    WindowAsk askMove(const V2Board& board, int milliseconds, const QString& waiting) override {
        return ask_.ask(commandLine_, board, milliseconds, waiting);
    }

private:
    AskCommands& ask_;
    QString commandLine_;
};

}  // namespace

std::unique_ptr<MoveAsker> askEachMove(AskCommands& ask, const QString& commandLine) {
    return std::make_unique<EachMoveAsker>(ask, commandLine);
}

}  // namespace vorek
