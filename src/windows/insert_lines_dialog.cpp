#include "windows/insert_lines_dialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "ui/qt_text.h"

namespace zorvan::windows {

InsertLinesDialog::InsertLinesDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("insertLinesDialog"));
    setWindowTitle(QStringLiteral("Εισαγωγή Γραμμών"));
    setFixedSize(200, 118);

    auto* lineCountLabel = new QLabel(QStringLiteral("Αριθμός Γραμμών:"), this);
    lineCountLabel->setObjectName(QStringLiteral("lineCountLabel"));
    lineCountLabel->setGeometry(12, 24, 100, 21);

    lineCountEdit_ = new QLineEdit(QStringLiteral("0"), this);
    lineCountEdit_->setObjectName(QStringLiteral("lineCountEdit"));
    lineCountEdit_->setMaxLength(3);
    lineCountEdit_->setGeometry(116, 22, 60, 24);
    lineCountLabel->setBuddy(lineCountEdit_);

    auto* okButton = new QPushButton(QStringLiteral("Ok"), this);
    okButton->setObjectName(QStringLiteral("okButton"));
    okButton->setGeometry(16, 76, 75, 25);
    okButton->setDefault(true);

    auto* cancelButton = new QPushButton(QStringLiteral("Άκυρο"), this);
    cancelButton->setObjectName(QStringLiteral("cancelButton"));
    cancelButton->setGeometry(108, 76, 75, 25);
    cancelButton->setAutoDefault(false);

    const auto ok = [this] { done(kOk); };
    connect(okButton, &QPushButton::clicked, this, ok);
    connect(cancelButton, &QPushButton::clicked, this, [this] { done(kCancel); });
    // Enter in the field is Ok.
    connect(lineCountEdit_, &QLineEdit::returnPressed, this, ok);
}

std::string InsertLinesDialog::CountText() const {
    return ui::ToStdString(lineCountEdit_->text());
}

void InsertLinesDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    SelectLineCount();
}

void InsertLinesDialog::SelectLineCount() {
    lineCountEdit_->setFocus();
    lineCountEdit_->selectAll();
}

}  // namespace zorvan::windows
