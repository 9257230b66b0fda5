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

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("aboutDialog"));
    setWindowTitle(QStringLiteral("About"));
    setModal(true);
    setFixedSize(250, 153);
    move(484, 281);
    // A fixed dialog border: no resizing, no minimise or maximise box, no help button.
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

    auto* frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("frame"));
    frame->setFrameStyle(QFrame::Panel | QFrame::Raised);
    frame->setLineWidth(1);
    frame->setGeometry(8, 8, 233, 97);

    QFont nameFont(QStringLiteral("MS Sans Serif"));
    nameFont.setPixelSize(13);
    QLabel* nameLabel = AddLabel(this, "nameLabel", QStringLiteral("Zorvan"), nameFont, 21, 24);

    QFont processorFont = font();
    processorFont.setPixelSize(20);
    processorFont.setBold(true);
    QLabel* processorLabel =
        AddLabel(this, "processorLabel", QStringLiteral("6502"), processorFont, 98, 48);
    // The colour a highlighted menu item has on this desktop.
    QPalette processorPalette = processorLabel->palette();
    processorPalette.setColor(QPalette::WindowText,
                              QApplication::palette("QMenu").color(QPalette::Highlight));
    processorLabel->setPalette(processorPalette);

    auto* okButton = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton),
                                     QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("okButton"));
    okButton->setGeometry(88, 120, 75, 25);
    okButton->setDefault(true);
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);

    nameLabel->raise();
    processorLabel->raise();
}

}  // namespace zorvan::windows
