#include "windows/run_stop_window.h"

#include <chrono>

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace zorvan::windows {

namespace {

// A slice of the event loop lasts about kSliceMs.
constexpr qint64 kSliceMs = 40;

}  // namespace

RunStopWindow::RunStopWindow(app::SlicedRun& run, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::CustomizeWindowHint | Qt::WindowStaysOnTopHint),
      run_(run) {
    setObjectName(QStringLiteral("RunStopWindow"));
    setWindowTitle(QStringLiteral("Εκτέλεση"));
    setModal(true);

    countLabel_ = new QLabel(this);
    countLabel_->setObjectName(QStringLiteral("countLabel"));
    countLabel_->setMinimumWidth(260);
    stopButton_ = new QPushButton(QStringLiteral("Διακοπή"), this);
    stopButton_->setObjectName(QStringLiteral("stopButton"));
    stopButton_->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(stopButton_);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(countLabel_);
    layout->addLayout(buttons);
    ShowCount();

    connect(stopButton_, &QPushButton::clicked, this, &RunStopWindow::StopRun);
    timer_.setInterval(0);
    connect(&timer_, &QTimer::timeout, this, &RunStopWindow::RunSlices);
    timer_.start();
    qApp->installEventFilter(this);
}

bool RunStopWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape && timer_.isActive()) {
        StopRun();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void RunStopWindow::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || !isMinimized()) return;
    // After the window manager has finished minimising, or it minimises again over the restore.
    QTimer::singleShot(0, this, [this] {
        setWindowState(windowState() & ~Qt::WindowMinimized);
        show();
        raise();
        activateWindow();
    });
}

void RunStopWindow::RunSlices() {
    const std::int64_t start = runClockMs(run_);
    while (run_.Slice(app::kInstructionsPerCheck) == cpu::RunEnd::kRunning) {
        if (runClockMs(run_) - start >= kSliceMs) {
            ShowCount();
            return;
        }
    }
    qApp->removeEventFilter(this);
    timer_.stop();
    accept();
}

void RunStopWindow::StopRun() {
    qApp->removeEventFilter(this);
    timer_.stop();
    run_.Stop();
    accept();
}

void RunStopWindow::reject() {
    StopRun();
}

std::function<std::int64_t(const app::SlicedRun&)> runClockMs = [](const app::SlicedRun&) {
    return std::int64_t(std::chrono::duration_cast<std::chrono::milliseconds>(
                            std::chrono::steady_clock::now().time_since_epoch())
                            .count());
};

void RunToEnd(app::SlicedRun& run, int stopWindowDelayMs, QWidget* parent) {
    const std::int64_t start = runClockMs(run);
    app::RunWithStopWindow(
        run, [&] { return runClockMs(run) - start >= stopWindowDelayMs; },
        [&] {
            RunStopWindow stopWindow(run, parent);
            stopWindow.exec();
        });
}

void RunStopWindow::ShowCount() {
    countLabel_->setText(QStringLiteral("Εντολές που εκτελέστηκαν: %1").arg(run_.ExecutedCount()));
}

}  // namespace zorvan::windows
