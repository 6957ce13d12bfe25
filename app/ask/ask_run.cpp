#include "app/ask/ask_run.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QTimer>
#include <QWidget>
#include <atomic>
#include <memory>
#include <string>
#include <system_error>
#include <thread>

#include "opponent/ask_opponent.h"

namespace vorek {

namespace {

// How often the window looks at the ask and shows its log meanwhile.
constexpr int LOOK_EVERY_MS = 20;

}  // namespace

AskRun::AskRun(QWidget& window, std::initializer_list<QWidget*> resting)
    : window_(window), focus_(window.focusWidget()) {
    for (QWidget* widget : resting) {
        resting_.push_back({widget, widget->testAttribute(Qt::WA_ForceDisabled)});
        widget->setEnabled(false);
    }
    QApplication::setOverrideCursor(Qt::BusyCursor);
    window_.installEventFilter(this);
    qApp->installEventFilter(this);
}

AskRun::~AskRun() {
    qApp->removeEventFilter(this);
    window_.removeEventFilter(this);
    QApplication::restoreOverrideCursor();
    for (const Resting& r : resting_)
        if (r.widget) r.widget->setEnabled(!r.disabledBefore);
    if (focus_ && focus_->isEnabled()) focus_->setFocus();
}

bool AskRun::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        stop_ = true;
        return true;
    }
    if (watched != &window_ || event->type() != QEvent::Close) return false;
    closeRequested_ = true;
    event->ignore();
    return true;
}

// The ask's thread tells its end through an atomic flag that this thread
// looks at, so that nothing passes between them but through the standard
// library's own synchronisation. The loop ends early only when the
// application quits; then the rest of the ask is waited for here. With no
// thread to spare the ask runs on this one, and the window waits without
// painting.
AskOutcome AskRun::ask(std::string_view commandLine, const V2Board& board, const std::filesystem::path& folder,
                       int milliseconds, AskLog& log, const std::function<void()>& whileWaiting) {
    const std::unique_ptr<V2Board> copy = board.clone();
    const std::string line(commandLine);
    AskOutcome outcome;
    std::atomic<bool> done{false};
    const auto askNow = [&] {
        outcome = askOpponent(line, *copy, folder, milliseconds, log, &stop_);
        done.store(true, std::memory_order_release);
    };
    std::thread worker;
    try {
        worker = std::thread(askNow);
    } catch (const std::system_error&) {
        askNow();  // no thread to spare
    }
    QEventLoop loop;
    QTimer look;
    connect(&look, &QTimer::timeout, &loop, [&] {
        whileWaiting();
        if (done.load(std::memory_order_acquire)) loop.quit();
    });
    look.start(LOOK_EVERY_MS);
    if (!done.load(std::memory_order_acquire)) loop.exec();
    if (worker.joinable()) worker.join();
    whileWaiting();
    return outcome;
}

}  // namespace vorek
