#include "ui/message_boxes.h"

#include <QApplication>
#include <QPushButton>

namespace zorvan::ui {

namespace {

QString Title() {
    return QApplication::applicationName().isEmpty() ? QStringLiteral("Zorvan")
                                                     : QApplication::applicationName();
}

}  // namespace

bool AskYesNo(QWidget* parent, const QString& text, QMessageBox::Icon icon) {
    QMessageBox box(icon, Title(), text, QMessageBox::NoButton, parent);
    QPushButton* yes = box.addButton(QStringLiteral("Ναι"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("Όχι"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

int AskYesNoOrCancel(QWidget* parent, const QString& text, QMessageBox::Icon icon) {
    QMessageBox box(icon, Title(), text, QMessageBox::NoButton, parent);
    QPushButton* yes = box.addButton(QStringLiteral("Ναι"), QMessageBox::YesRole);
    QPushButton* no = box.addButton(QStringLiteral("Όχι"), QMessageBox::NoRole);
    // The box keeps its two buttons; Esc and the close box press this unseen one.
    QPushButton* cancel = box.addButton(QMessageBox::Cancel);
    cancel->hide();
    box.setDefaultButton(yes);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == yes) return 1;
    if (box.clickedButton() == no) return 0;
    return -1;
}

void ShowMessage(QWidget* parent, const QString& text, QMessageBox::Icon icon) {
    QMessageBox box(icon, Title(), text, QMessageBox::NoButton, parent);
    QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    box.exec();
}

void ShowError(QWidget* parent, const QString& text) {
    ShowMessage(parent, text, QMessageBox::Critical);
}

}  // namespace zorvan::ui
