#include "windows/console_window.h"

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
}

void TConsole::ShowConsole() {
    show();
    raise();
    activateWindow();
}

void TConsole::ShowCharacter(int ac) {
    ShowConsole();
    ConsoleMemo->setPlainText(ui::ToQString(app::ConsoleCharacter(ac)));
}

void TConsole::AskForAccumulator() {
    ShowConsole();
    ConsoleMemo->setPlainText(ui::ToQString(app::kAskForAccumulatorText));
    Edit1->setFocus();
}

void TConsole::ClearConsole() {
    ShowConsole();
    ConsoleMemo->clear();
}

void TConsole::PrintText(std::string_view cp1253Bytes) {
    ShowConsole();
    ConsoleMemo->appendPlainText(ui::ToQString(text::DecodeCp1253(cp1253Bytes, U'\uFFFD')));
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
