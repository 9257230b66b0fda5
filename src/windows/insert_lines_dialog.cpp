#include "windows/insert_lines_dialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "ui/qt_text.h"

namespace zorvan::windows {

TINSform::TINSform(grid::Workspace&, Forms&, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("INSform"));
    setWindowTitle(QStringLiteral("Εισαγωγή Γραμμών"));
    setFixedSize(200, 118);

    Label1 = new QLabel(QStringLiteral("Αριθμός Γραμμών:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(12, 24, 100, 21);

    Edit1 = new QLineEdit(QStringLiteral("0"), this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setMaxLength(3);
    Edit1->setGeometry(116, 22, 60, 24);
    Label1->setBuddy(Edit1);

    Button1 = new QPushButton(QStringLiteral("Ok"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(16, 76, 75, 25);
    Button1->setDefault(true);

    Button2 = new QPushButton(QStringLiteral("Άκυρο"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(108, 76, 75, 25);
    Button2->setAutoDefault(false);

    connect(Button1, &QPushButton::clicked, this, &TINSform::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TINSform::Button2Click);
    // Enter in the field is Ok.
    connect(Edit1, &QLineEdit::returnPressed, this, &TINSform::Button1Click);
}

std::string TINSform::CountText() const {
    return ui::ToStdString(Edit1->text());
}

void TINSform::Button1Click() {
    done(kOk);
}

void TINSform::Button2Click() {
    done(kCancel);
}

void TINSform::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormActivate();
}

void TINSform::FormActivate() {
    Edit1->setFocus();
    Edit1->selectAll();
}

}  // namespace zorvan::windows
