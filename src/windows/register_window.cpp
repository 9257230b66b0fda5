#include "windows/register_window.h"

#include <algorithm>

#include <QApplication>
#include <QFocusEvent>
#include <QFontDatabase>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>

#include "app/step_session.h"
#include "cpu/step_history.h"
#include "grid/workspace.h"
#include "text/hex_text.h"
#include "ui/change_highlight.h"
#include "ui/message_boxes.h"
#include "ui/qt_text.h"
#include "windows/upper_case_validator.h"

namespace zorvan::windows {

namespace {

constexpr int kFieldTop = 38;
constexpr int kFieldHeight = 21;
constexpr int kBitFieldWidth = 16;
constexpr int kRegisterFieldWidth = 26;
const QString kBitHeading = QStringLiteral("N  V -  B  D   I   Z  C");
// Where each bit field's letter stands in the heading, N V B D I Z C.
constexpr std::array<int, 7> kBitLetterIndex{0, 3, 8, 11, 15, 19, 22};

// The fields' Qt object names, in field order, for tests to find them by.
constexpr std::array<const char*, app::kRegisterFieldCount> kFieldObjectNames{
    "pcField", "nField", "vField",  "bField",  "dField",  "iField",
    "zField",  "cField", "acField", "xrField", "yrField", "spField"};

// What a screen reader says for each field, in field order: PC, the seven bits, AC, XR, YR, SP.
// The registers keep their caption as the name; the bits are named with their meaning.
struct FieldSpeech {
    const char* name;
    const char* description;
};
constexpr std::array<FieldSpeech, 12> kFieldSpeech{{
    {"PC", "Μετρητής προγράμματος"},
    {"Σημαία N — αρνητικό αποτέλεσμα", "Σημαία N"},
    {"Σημαία V — υπερχείλιση", "Σημαία V"},
    {"Σημαία B — εντολή διακοπής BRK", "Σημαία B"},
    {"Σημαία D — δεκαδική λειτουργία", "Σημαία D"},
    {"Σημαία I — απενεργοποίηση διακοπών", "Σημαία I"},
    {"Σημαία Z — μηδενικό αποτέλεσμα", "Σημαία Z"},
    {"Σημαία C — κρατούμενο", "Σημαία C"},
    {"AC", "Συσσωρευτής"},
    {"XR", "Καταχωρητής X"},
    {"YR", "Καταχωρητής Y"},
    {"SP", "Δείκτης στοίβας"},
}};

QLabel* AddLabel(QWidget* parent, const char* name, const QString& caption, int x, int y) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->move(x, y);
    label->adjustSize();
    return label;
}

}  // namespace

RegisterWindow::RegisterWindow(grid::Workspace& workspace, QWidget* parent)
    : QWidget(parent, Qt::Tool), workspace_(workspace) {
    setObjectName(QStringLiteral("registerWindow"));
    setWindowTitle(QStringLiteral("Καταχωρητές"));

    // The heading's letters stand over the bit fields: a fixed-pitch font keeps them there.
    QFont headingFont = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    headingFont.setPixelSize(12);
    const QFontMetrics metrics(headingFont);
    const int letterWidth = metrics.horizontalAdvance(QLatin1Char('N'));

    const int pcX = 4;
    const int bevelX = pcX + 46;
    const int headingX = bevelX + 8;
    const int bevelWidth = letterWidth * static_cast<int>(kBitHeading.size()) + 16;
    const int registersX = bevelX + bevelWidth + 6;

    auto* bitsFrame = new QFrame(this);
    bitsFrame->setObjectName(QStringLiteral("bitsFrame"));
    bitsFrame->setFrameShape(QFrame::Box);
    bitsFrame->setFrameShadow(QFrame::Sunken);
    bitsFrame->setGeometry(bevelX, 2, bevelWidth, 64);

    AddLabel(this, "pcLabel", QStringLiteral("PC"), pcX + 12, 20);
    QLabel* statusLabel = AddLabel(this, "statusLabel", QStringLiteral("Status Register"), 0, 4);
    statusLabel->move(bevelX + (bevelWidth - statusLabel->width()) / 2, 4);
    QLabel* bitsHeading = AddLabel(this, "bitsHeading", kBitHeading, headingX, 20);
    bitsHeading->setFont(headingFont);
    bitsHeading->adjustSize();
    const std::array<const char*, 4> registerNames{"AC", "XR", "YR", "SP"};
    const std::array<const char*, 4> registerLabelNames{"acLabel", "xrLabel", "yrLabel", "spLabel"};
    for (std::size_t i = 0; i < registerNames.size(); ++i) {
        const int x = registersX + static_cast<int>(i) * (kRegisterFieldWidth + 4);
        AddLabel(this, registerLabelNames[i], QString::fromLatin1(registerNames[i]), x + 4, 20);
    }

    for (int field = 0; field < app::kRegisterFieldCount; ++field) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(
            QString::fromLatin1(kFieldObjectNames[static_cast<std::size_t>(field)]));
        const app::RegisterFieldLayout layout = app::RegisterFieldLayoutOf(field);
        edit->setMaxLength(layout.maxLength);
        if (layout.upperCase) MakeUpperCase(edit);
        if (field == app::kPcField) {
            edit->setGeometry(pcX, kFieldTop, 42, kFieldHeight);
        } else if (field <= app::kLastBitField) {
            const int letter = kBitLetterIndex[static_cast<std::size_t>(field - 1)];
            const int centre = headingX + letter * letterWidth + letterWidth / 2;
            edit->setGeometry(centre - kBitFieldWidth / 2, kFieldTop, kBitFieldWidth, kFieldHeight);
        } else {
            const int x = registersX + (field - app::kAcField) * (kRegisterFieldWidth + 4);
            edit->setGeometry(x, kFieldTop, kRegisterFieldWidth, kFieldHeight);
        }
        edit->setTextMargins(0, 0, 0, 0);
        edit->setAlignment(Qt::AlignCenter);
        edit->installEventFilter(this);
        if (static_cast<std::size_t>(field) < kFieldSpeech.size()) {
            const FieldSpeech& speech = kFieldSpeech[static_cast<std::size_t>(field)];
            edit->setAccessibleName(QString::fromUtf8(speech.name));
            edit->setAccessibleDescription(QString::fromUtf8(speech.description));
        }
        fields_[static_cast<std::size_t>(field)] = edit;
    }
    // The single return address that JSR keeps and RTS uses: shown, never typed into.
    const int returnX = registersX + 4 * (kRegisterFieldWidth + 4) + 4;
    AddLabel(this, "returnAddressLabel", QStringLiteral("Επιστρ."), returnX, 20);
    returnAddressEdit_ = new QLineEdit(this);
    returnAddressEdit_->setObjectName(QStringLiteral("returnAddressEdit"));
    returnAddressEdit_->setReadOnly(true);
    returnAddressEdit_->setFocusPolicy(Qt::ClickFocus);
    returnAddressEdit_->setGeometry(returnX, kFieldTop, 42, kFieldHeight);
    returnAddressEdit_->setAlignment(Qt::AlignCenter);
    returnAddressEdit_->setAccessibleName(QStringLiteral("Διεύθυνση επιστροφής"));
    returnAddressEdit_->setAccessibleDescription(
        QStringLiteral("Η διεύθυνση όπου γυρίζει η RTS· μόνο για ανάγνωση"));
    setFixedSize(returnX + 42 + 4, 70);
    ShowRegisters();
}

void RegisterWindow::ShowRegisters() {
    const auto texts = app::ShowRegisters(workspace_.machine);
    for (int field = 0; field < app::kRegisterFieldCount; ++field) {
        QLineEdit* edit = fields_[static_cast<std::size_t>(field)];
        const QString text = ui::ToQString(texts[static_cast<std::size_t>(field)]);
        // A value wider than its field still shows all its digits.
        edit->setMaxLength(
            std::max(app::RegisterFieldLayoutOf(field).maxLength, static_cast<int>(text.size())));
        edit->setText(text);
    }
    returnAddressEdit_->setText(ui::ToQString(text::FormatHex4(workspace_.machine.returnAddress)));
    MarkChangedFields();
}

void RegisterWindow::MarkChangedFields() {
    for (int field = 0; field < app::kRegisterFieldCount; ++field) {
        QLineEdit* edit = fields_[static_cast<std::size_t>(field)];
        const bool marked = app::FieldChanged(workspace_.marks, field);
        if (edit->property("changed").toBool() == marked) continue;
        edit->setProperty("changed", marked);
        QPalette palette = edit->palette();
        palette.setColor(QPalette::Base, marked
                                             ? ui::kChangeHighlight
                                             : QApplication::palette(edit).color(QPalette::Base));
        edit->setPalette(palette);
    }
}

void RegisterWindow::ClearRegisters() {
    workspace_.machine.ClearRegisters();
    update();
}

bool RegisterWindow::event(QEvent* event) {
    if (frontWatch_.ComesToFront(*event)) RefreshOnFront();
    return QWidget::event(event);
}

void RegisterWindow::RefreshOnFront() {
    ShowRegisters();
}

bool RegisterWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut && !checking_) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        // A field is left for another control of this window; switching windows stores nothing.
        const bool withinWindow =
            reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
            QApplication::focusWidget() != nullptr && isAncestorOf(QApplication::focusWidget());
        if (withinWindow) {
            for (int field = 0; field < app::kRegisterFieldCount; ++field) {
                if (watched == fields_[static_cast<std::size_t>(field)]) LeaveField(field);
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void RegisterWindow::LeaveField(int field) {
    QLineEdit* edit = fields_[static_cast<std::size_t>(field)];
    const cpu::RegisterState before = cpu::RegisterState::Of(workspace_.machine);
    const auto warning =
        app::ExitRegisterField(workspace_.machine, field, ui::ToStdString(edit->text()));
    // A changed register ends the step window's history: it could not be stepped back over.
    if (cpu::RegisterState::Of(workspace_.machine) != before)
        workspace_.EndHistory(std::string(app::kEndedByRegisterEdit));
    if (!warning) return;
    // While the warning shows and the focus goes back, the field that was entered is not
    // left in the sense of a check.
    checking_ = true;
    frontWatch_.WhileBoxOpen(
        [&] { ui::ShowMessage(this, ui::ToQString(*warning), QMessageBox::Warning); });
    edit->setFocus();
    checking_ = false;
}

}  // namespace zorvan::windows
