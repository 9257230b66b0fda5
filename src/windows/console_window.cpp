#include "windows/console_window.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QVBoxLayout>

#include "app/headless_console.h"
#include "grid/workspace.h"
#include "text/cp1253.h"
#include "ui/error_guard.h"
#include "ui/qt_text.h"

namespace zorvan::windows {

namespace {

QFont BoldFont(int pixels) {
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixels);
    font.setBold(true);
    return font;
}

}  // namespace

ConsoleWindow::ConsoleWindow(grid::Workspace& workspace, QWidget* parent)
    : QWidget(parent, Qt::Tool), workspace_(workspace) {
    setObjectName(QStringLiteral("consoleWindow"));
    setWindowTitle(QStringLiteral("Κονσόλα"));
    resize(435, 405);
    move(387, 124);

    outputArea_ = new QPlainTextEdit(this);
    outputArea_->setObjectName(QStringLiteral("outputArea"));
    outputArea_->setReadOnly(true);
    outputArea_->setMaximumBlockCount(static_cast<int>(app::kConsoleLines));
    outputArea_->setAccessibleName(QStringLiteral("Έξοδος κονσόλας"));
    outputArea_->setFont(BoldFont(13));
    outputArea_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    outputArea_->setStyleSheet(
        QStringLiteral("QPlainTextEdit { background-color: black; color: lime; }"));

    auto* accumulatorLabel = new QLabel(QStringLiteral("AC:"), this);
    accumulatorLabel->setObjectName(QStringLiteral("accumulatorLabel"));
    accumulatorLabel->setFont(BoldFont(13));

    accumulatorEdit_ = new QLineEdit(this);
    accumulatorEdit_->setObjectName(QStringLiteral("accumulatorEdit"));
    accumulatorEdit_->setFixedWidth(41);
    accumulatorEdit_->setAccessibleName(QStringLiteral("AC"));
    accumulatorEdit_->setAccessibleDescription(QStringLiteral("Συσσωρευτής"));
    accumulatorEdit_->installEventFilter(this);

    auto* field = new QHBoxLayout;
    field->setContentsMargins(1, 0, 0, 0);
    field->addWidget(accumulatorLabel);
    field->addWidget(accumulatorEdit_);
    field->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 2);
    layout->setSpacing(2);
    layout->addWidget(outputArea_, 1);
    layout->addLayout(field);
    setTabOrder(outputArea_, accumulatorEdit_);

    showTimer_.setSingleShot(true);
    connect(&showTimer_, &QTimer::timeout, this, &ConsoleWindow::ShowPending);
}

ConsoleWindow::RunBurst::RunBurst(ConsoleWindow& console) : console_(console) {
    console_.inRun_ = true;
    console_.sinceShown_.start();
}

ConsoleWindow::RunBurst::~RunBurst() {
    console_.inRun_ = false;
    console_.ShowPending();
}

void ConsoleWindow::ReplaceShownText(const std::string& text) {
    ReplaceText(text);
    ShowPending();
}

void ConsoleWindow::ShowConsole() {
    // Shown once when hidden, never raised on every call: a program printing in a loop must not
    // flood the window system or cover the window that stops the run.
    if (isVisible()) return;
    show();
    raise();
    if (QWidget* stop = QApplication::activeModalWidget(); stop != nullptr && stop != window()) {
        stop->raise();
        stop->activateWindow();
    }
}

void ConsoleWindow::ShowCharacter(int ac) {
    ShowConsole();
    ReplaceText(app::ConsoleCharacter(ac));
}

void ConsoleWindow::AskForAccumulator() {
    ShowConsole();
    activateWindow();  // the answer is typed here
    ReplaceText(app::kAskForAccumulatorText);
    ShowPending();  // the question must be on screen while the student answers it
    accumulatorEdit_->setFocus();
}

void ConsoleWindow::ClearConsole() {
    ShowConsole();
    ReplaceText("");
}

void ConsoleWindow::PrintText(std::string_view cp1253Bytes) {
    ShowConsole();
    AppendLine(text::DecodeCp1253(cp1253Bytes, U'\uFFFD'));
}

void ConsoleWindow::ReplaceText(std::string_view text) {
    text_.Replace(text);
    pendingWhole_ = true;
    pendingLines_.clear();
    pendingLineCount_ = 0;
    ShowPendingSoon();
}

void ConsoleWindow::AppendLine(std::string_view line) {
    text_.AppendLine(line);
    // More lines than the window keeps: the text is shown whole instead, which is bounded.
    if (!pendingWhole_ && pendingLineCount_ >= app::kConsoleLines) {
        pendingWhole_ = true;
        pendingLines_.clear();
        pendingLineCount_ = 0;
    }
    if (!pendingWhole_) {
        if (pendingLineCount_ != 0) pendingLines_ += QLatin1Char('\n');
        pendingLines_ += ui::ToQString(line);
        ++pendingLineCount_;
    }
    ShowPendingSoon();
}

void ConsoleWindow::ShowPendingSoon() {
    if (showDue_) return;  // no clock reading per call
    if (!inRun_ || sinceShown_.elapsed() >= kBurstRepaintMs) {
        ShowPending();
    } else {
        showTimer_.start(kBurstRepaintMs);
        showDue_ = true;
    }
}

void ConsoleWindow::ShowPending() {
    showTimer_.stop();
    showDue_ = false;
    sinceShown_.start();
    if (pendingWhole_) {
        outputArea_->setPlainText(ui::ToQString(text_.Shown()));
        // As a terminal does: the latest lines in view, not the oldest that are kept.
        outputArea_->verticalScrollBar()->setValue(outputArea_->verticalScrollBar()->maximum());
    }
    if (pendingLineCount_ != 0) outputArea_->appendPlainText(pendingLines_);
    pendingWhole_ = false;
    pendingLines_.clear();
    pendingLineCount_ = 0;
}

bool ConsoleWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == accumulatorEdit_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            HandAccumulatorToProgram();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void ConsoleWindow::HandAccumulatorToProgram() {
    ui::Guard(this, [this] {
        const int previousAc = workspace_.machine.AC;
        const auto line =
            app::EnterAccumulator(workspace_.machine, ui::ToStdString(accumulatorEdit_->text()));
        if (!line) return;
        AppendLine(*line);
        ShowPending();
        emit AnswerEntered(previousAc);
    });
}

}  // namespace zorvan::windows
