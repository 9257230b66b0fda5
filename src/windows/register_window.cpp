#include "windows/register_window.h"

#include <algorithm>

#include <QApplication>
#include <QFocusEvent>
#include <QFontDatabase>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>

#include "app/workspace.h"
#include "ui/message_boxes.h"
#include "ui/qt_text.h"
#include "windows/upper_case_validator.h"

namespace zorvan::windows {

namespace {

constexpr int kFieldTop = 36;
constexpr int kFieldHeight = 21;

struct FieldPlace {
    int x;
    int width;
};

// PC, the seven bits under their heading (a gap under "-"), AC, XR, YR, SP.
constexpr std::array<FieldPlace, app::kRegisterFieldCount> kPlaces{{{4, 40},
                                                                    {52, 14},
                                                                    {68, 14},
                                                                    {98, 14},
                                                                    {114, 14},
                                                                    {130, 14},
                                                                    {146, 14},
                                                                    {162, 14},
                                                                    {186, 26},
                                                                    {214, 26},
                                                                    {242, 26},
                                                                    {270, 26}}};

QLabel* AddLabel(QWidget* parent, const char* name, const QString& caption, int x, int y) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->move(x, y);
    label->adjustSize();
    return label;
}

}  // namespace

TReg_Form::TReg_Form(app::Workspace& workspace, Forms& forms, QWidget* parent)
    : QWidget(parent, Qt::Tool), workspace_(workspace), forms_(forms) {
    setObjectName(QStringLiteral("Reg_Form"));
    setWindowTitle(QStringLiteral("Καταχωρητές"));
    setFixedSize(300, 77);

    Bevel1 = new QFrame(this);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameShape(QFrame::Box);
    Bevel1->setFrameShadow(QFrame::Sunken);
    Bevel1->setGeometry(48, 2, 132, 60);

    Label1 = AddLabel(this, "Label1", QStringLiteral("PC"), 16, 20);
    Label2 = AddLabel(this, "Label2", QStringLiteral("Status Register"), 74, 4);
    Label7 = AddLabel(this, "Label7", QStringLiteral("N  V -  B  D   I   Z  C"), 54, 20);
    Label3 = AddLabel(this, "Label3", QStringLiteral("AC"), 190, 20);
    Label4 = AddLabel(this, "Label4", QStringLiteral("XR"), 218, 20);
    Label5 = AddLabel(this, "Label5", QStringLiteral("YR"), 246, 20);
    Label6 = AddLabel(this, "Label6", QStringLiteral("SP"), 274, 20);
    // The heading's letters stand over the fields: a fixed-pitch font keeps them there.
    QFont heading = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    heading.setPixelSize(11);
    Label7->setFont(heading);
    Label7->adjustSize();

    for (int field = 0; field < app::kRegisterFieldCount; ++field) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QStringLiteral("Edit%1").arg(field + 1));
        const app::RegisterFieldLayout layout = app::RegisterFieldLayoutOf(field);
        edit->setMaxLength(layout.maxLength);
        if (layout.upperCase) MakeUpperCase(edit);
        const FieldPlace place = kPlaces[static_cast<std::size_t>(field)];
        edit->setGeometry(place.x, kFieldTop, place.width, kFieldHeight);
        edit->setTextMargins(0, 0, 0, 0);
        edit->installEventFilter(this);
        Edits[static_cast<std::size_t>(field)] = edit;
    }
    ShowRegisters();
}

void TReg_Form::ShowRegisters() {
    const auto texts = app::ShowRegisters(workspace_.machine);
    for (int field = 0; field < app::kRegisterFieldCount; ++field) {
        QLineEdit* edit = Edits[static_cast<std::size_t>(field)];
        const QString text = ui::ToQString(texts[static_cast<std::size_t>(field)]);
        // A value wider than its field still shows all its digits.
        edit->setMaxLength(
            std::max(app::RegisterFieldLayoutOf(field).maxLength, static_cast<int>(text.size())));
        edit->setText(text);
    }
}

void TReg_Form::ClearRegisters() {
    workspace_.machine.ClearRegisters();
    update();
}

bool TReg_Form::event(QEvent* event) {
    if (frontWatch_.ComesToFront(*event)) FormActivate();
    return QWidget::event(event);
}

void TReg_Form::FormActivate() {
    ShowRegisters();
}

bool TReg_Form::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut && !checking_) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        // A field is left for another control of this window; switching windows stores nothing.
        const bool withinWindow =
            reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
            QApplication::focusWidget() != nullptr && isAncestorOf(QApplication::focusWidget());
        if (withinWindow) {
            for (int field = 0; field < app::kRegisterFieldCount; ++field) {
                if (watched == Edits[static_cast<std::size_t>(field)]) EditExit(field);
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TReg_Form::EditExit(int field) {
    QLineEdit* edit = Edits[static_cast<std::size_t>(field)];
    const auto warning =
        app::ExitRegisterField(workspace_.machine, field, ui::ToStdString(edit->text()));
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
