#include "app/ask_run.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QThread>
#include <QWidget>
#include <memory>
#include <string>

#include "opponent/ask_opponent.h"

namespace vorek {

AskRun::AskRun(QWidget& window, std::initializer_list<QWidget*> resting)
    : window_(window), focus_(window.focusWidget()) {
    for (QWidget* widget : resting) {
        resting_.push_back({widget, widget->testAttribute(Qt::WA_ForceDisabled)});
        widget->setEnabled(false);
    }
    QApplication::setOverrideCursor(Qt::BusyCursor);
    window_.installEventFilter(this);
}

AskRun::~AskRun() {
    window_.removeEventFilter(this);
    QApplication::restoreOverrideCursor();
    for (const Resting& r : resting_)
        if (r.widget) r.widget->setEnabled(!r.disabledBefore);
    if (focus_ && focus_->isEnabled()) focus_->setFocus();
}

bool AskRun::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &window_ || event->type() != QEvent::Close) return false;
    closeRequested_ = true;
    event->ignore();
    return true;
}

// The loop ends early only when the application quits; then the rest of the
// ask is waited for here. With no thread to spare the ask runs on this one,
// and the window waits without painting.
AskOutcome AskRun::ask(std::string_view commandLine, const V2Board& board, const std::filesystem::path& folder,
                       int milliseconds, AskLog& log) {
    const std::unique_ptr<V2Board> copy = board.clone();
    const std::string line(commandLine);
    AskOutcome outcome;
    const auto askNow = [&] { outcome = askOpponent(line, *copy, folder, milliseconds, log); };
    const std::unique_ptr<QThread> worker(QThread::create(askNow));
    QEventLoop loop;
    connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit);
    worker->start();
    if (worker->isRunning() || worker->isFinished())
        loop.exec();
    else
        askNow();
    worker->wait();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
    return outcome;
}

}  // namespace vorek
