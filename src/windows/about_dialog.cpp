#include "windows/about_dialog.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QStyle>

namespace zorvan::windows {

namespace {

QLabel* AddLabel(QWidget* parent, const char* name, const QString& caption, const QFont& font,
                 int left, int top) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setFont(font);
    label->move(left, top);
    label->adjustSize();
    return label;
}

}  // namespace

TAbout::TAbout(grid::Workspace&, Forms&, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("About"));
    setWindowTitle(QStringLiteral("About"));
    setModal(true);
    setFixedSize(250, 153);
    move(484, 281);
    // A fixed dialog border: no resizing, no minimise or maximise box, no help button.
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

    Bevel1 = new QFrame(this);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Bevel1->setLineWidth(1);
    Bevel1->setGeometry(8, 8, 233, 97);

    QFont nameFont(QStringLiteral("MS Sans Serif"));
    nameFont.setPixelSize(13);
    Label1 = AddLabel(this, "Label1", QStringLiteral("Zorvan"), nameFont, 21, 24);

    QFont processorFont = font();
    processorFont.setPixelSize(20);
    processorFont.setBold(true);
    Label2 = AddLabel(this, "Label2", QStringLiteral("6502"), processorFont, 98, 48);
    // The colour a highlighted menu item has on this desktop.
    QPalette processorPalette = Label2->palette();
    processorPalette.setColor(QPalette::WindowText,
                              QApplication::palette("QMenu").color(QPalette::Highlight));
    Label2->setPalette(processorPalette);

    BitBtn1 = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton),
                              QStringLiteral("OK"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGeometry(88, 120, 75, 25);
    BitBtn1->setDefault(true);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);

    Label1->raise();
    Label2->raise();
}

}  // namespace zorvan::windows
