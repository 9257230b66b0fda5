#include "windows/console_window.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "app/console_text.h"
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

TConsole::TConsole(grid::Workspace& workspace, Forms& forms, QWidget* parent)
    : QWidget(parent, Qt::Tool), workspace_(workspace), forms_(forms) {
    setObjectName(QStringLiteral("Console"));
    setWindowTitle(QStringLiteral("Κονσόλα"));
    resize(435, 405);
    move(387, 124);

    ConsoleMemo = new QPlainTextEdit(this);
    ConsoleMemo->setObjectName(QStringLiteral("ConsoleMemo"));
    ConsoleMemo->setReadOnly(true);
    ConsoleMemo->setAccessibleName(QStringLiteral("Έξοδος κονσόλας"));
    ConsoleMemo->setFont(BoldFont(13));
    ConsoleMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    ConsoleMemo->setStyleSheet(
        QStringLiteral("QPlainTextEdit { background-color: black; color: lime; }"));

    Label1 = new QLabel(QStringLiteral("AC:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(BoldFont(13));

    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setFixedWidth(41);
    Edit1->setAccessibleName(QStringLiteral("AC"));
    Edit1->setAccessibleDescription(QStringLiteral("Συσσωρευτής"));
    Edit1->installEventFilter(this);

    auto* field = new QHBoxLayout;
    field->setContentsMargins(1, 0, 0, 0);
    field->addWidget(Label1);
    field->addWidget(Edit1);
    field->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 2);
    layout->setSpacing(2);
    layout->addWidget(ConsoleMemo, 1);
    layout->addLayout(field);
    setTabOrder(ConsoleMemo, Edit1);

    showTimer_.setSingleShot(true);
    connect(&showTimer_, &QTimer::timeout, this, &TConsole::ShowPending);
}

TConsole::RunBurst::RunBurst(TConsole& console) : console_(console) {
    console_.inRun_ = true;
    console_.sinceShown_.start();
}

TConsole::RunBurst::~RunBurst() {
    console_.inRun_ = false;
    console_.ShowPending();
}

void TConsole::ShowConsole() {
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

void TConsole::ShowCharacter(int ac) {
    ShowConsole();
    // Kept as its code: a program may show millions of characters a second, each replacing the
    // last, and only the one on screen at a repaint needs its text.
    pendingCharacter_ = ac;
    pendingReplacement_.reset();
    pendingLines_.clear();
    hasPendingLines_ = false;
    ShowPendingSoon();
}

void TConsole::AskForAccumulator() {
    ShowConsole();
    activateWindow();  // the answer is typed here
    ReplaceText(ui::ToQString(app::kAskForAccumulatorText));
    ShowPending();  // the question must be on screen while the student answers it
    Edit1->setFocus();
}

void TConsole::ClearConsole() {
    ShowConsole();
    ReplaceText(QString());
}

void TConsole::PrintText(std::string_view cp1253Bytes) {
    ShowConsole();
    AppendLine(ui::ToQString(text::DecodeCp1253(cp1253Bytes, U'\uFFFD')));
}

void TConsole::ReplaceText(QString text) {
    pendingCharacter_.reset();
    pendingReplacement_ = std::move(text);
    pendingLines_.clear();
    hasPendingLines_ = false;
    ShowPendingSoon();
}

void TConsole::AppendLine(QString line) {
    if (hasPendingLines_) pendingLines_ += QLatin1Char('\n');
    pendingLines_ += line;
    hasPendingLines_ = true;
    ShowPendingSoon();
}

void TConsole::ShowPendingSoon() {
    if (showTimer_.isActive()) return;  // already due: no clock reading per call
    if (!inRun_ || sinceShown_.elapsed() >= kBurstRepaintMs) {
        ShowPending();
    } else {
        showTimer_.start(kBurstRepaintMs);
    }
}

void TConsole::ShowPending() {
    showTimer_.stop();
    sinceShown_.start();
    if (pendingCharacter_) {
        ConsoleMemo->setPlainText(ui::ToQString(app::ConsoleCharacter(*pendingCharacter_)));
    }
    if (pendingReplacement_) ConsoleMemo->setPlainText(*pendingReplacement_);
    if (hasPendingLines_) ConsoleMemo->appendPlainText(pendingLines_);
    pendingCharacter_.reset();
    pendingReplacement_.reset();
    pendingLines_.clear();
    hasPendingLines_ = false;
}

bool TConsole::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Edit1 && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            Edit1KeyPress();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TConsole::Edit1KeyPress() {
    ui::Guard(this, [this] {
        const auto line = app::EnterAccumulator(workspace_.machine, ui::ToStdString(Edit1->text()));
        if (line) ConsoleMemo->appendPlainText(ui::ToQString(*line));
    });
}

}  // namespace zorvan::windows
