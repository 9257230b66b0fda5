#include "windows/run_stop_window.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace zorvan::windows {

namespace {

// Instructions between two looks at the clock; a slice of the event loop lasts about kSliceMs.
constexpr std::int64_t kInstructionsPerCheck = 20'000;
constexpr qint64 kSliceMs = 40;

}  // namespace

RunStopWindow::RunStopWindow(app::SlicedRun& run, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::CustomizeWindowHint | Qt::WindowStaysOnTopHint),
      run_(run) {
    setObjectName(QStringLiteral("RunStopWindow"));
    setWindowTitle(QStringLiteral("Εκτέλεση"));
    setModal(true);

    CountLabel = new QLabel(this);
    CountLabel->setObjectName(QStringLiteral("CountLabel"));
    CountLabel->setMinimumWidth(260);
    StopButton = new QPushButton(QStringLiteral("Διακοπή"), this);
    StopButton->setObjectName(QStringLiteral("StopButton"));
    StopButton->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(StopButton);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(CountLabel);
    layout->addLayout(buttons);
    ShowCount();

    connect(StopButton, &QPushButton::clicked, this, &RunStopWindow::StopRun);
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

void RunStopWindow::RunSlices() {
    QElapsedTimer clock;
    clock.start();
    while (run_.Slice(kInstructionsPerCheck) == cpu::RunEnd::kRunning) {
        if (clock.elapsed() >= kSliceMs) {
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

void RunStopWindow::ShowCount() {
    CountLabel->setText(QStringLiteral("Εντολές που εκτελέστηκαν: %1").arg(run_.ExecutedCount()));
}

}  // namespace zorvan::windows
