#include "ui/page_preview.h"

#include <QEvent>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QWidget>

namespace zorvan::ui {
namespace {

const char* const kSample =
    "ΑΡΧΗ 0200 LDA #05 φόρτωσε το πέντε\n"
    "     0202 STA 0300 γράψε το στη μνήμη\n"
    "     0205 INX αύξησε τον δείκτη\n"
    "     0206 BNE ΑΡΧΗ ξανά από την αρχή\n"
    "     0208 BRK τέλος του προγράμματος";

// Over the preview: its page, drawn by the preview without its filler (its text colour made the
// page's colour), and a Greek listing in the page's area.
class GreekText : public QWidget {
  public:
    GreekText(QWidget* preview, QColor ink) : QWidget(preview), preview_(preview), ink_(ink) {
        setObjectName(QStringLiteral("greekPagePreview"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setGeometry(preview->rect());
        preview->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Resize) setGeometry(preview_->rect());
        return false;
    }

    void paintEvent(QPaintEvent*) override {
        // The page is where the preview painted its paper colour.
        QPixmap drawn(preview_->size());
        drawn.fill(Qt::transparent);
        preview_->render(&drawn, QPoint(), QRegion(), QWidget::DrawWindowBackground);
        const QImage image = drawn.toImage();
        const QRgb paper = preview_->palette().color(QPalette::Base).rgb();
        QRect page;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if ((image.pixel(x, y) & 0xFFFFFF) == (paper & 0xFFFFFF)) page |= QRect(x, y, 1, 1);
            }
        }
        if (page.width() < 20 || page.height() < 20) return;
        QPainter painter(this);
        QFont font = painter.font();
        font.setPixelSize(std::max(4, page.height() / 40));
        painter.setFont(font);
        painter.setPen(ink_);
        const int inset = page.width() / 10;
        painter.drawText(page.adjusted(inset, inset, -inset, -inset), Qt::TextWordWrap,
                         QString::fromUtf8(kSample));
    }

  private:
    QWidget* preview_;
    QColor ink_;
};

class PreviewWatch : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Show || !watched->isWidgetType()) return false;
        auto* widget = static_cast<QWidget*>(watched);
        QWidget* holder = widget->parentWidget();
        if (holder == nullptr || holder->objectName() != QLatin1String("preview") ||
            qstrcmp(widget->metaObject()->className(), "QWidget") != 0 ||
            widget->findChild<QWidget*>(QStringLiteral("greekPagePreview"),
                                        Qt::FindDirectChildrenOnly) != nullptr) {
            return false;
        }
        bool inPageSetup = false;
        for (QWidget* above = holder; above != nullptr; above = above->parentWidget())
            inPageSetup = inPageSetup || above->inherits("QPageSetupWidget");
        if (!inPageSetup) return false;
        QPalette palette = widget->palette();
        const QColor ink = palette.color(QPalette::Dark);
        // The filler and the margin lines share this colour: on the paper they vanish.
        palette.setColor(QPalette::Dark, palette.color(QPalette::Base));
        widget->setPalette(palette);
        (new GreekText(widget, ink))->show();
        return false;
    }
};

}  // namespace

void UseGreekPagePreviews(QObject* application) {
    application->installEventFilter(new PreviewWatch(application));
}

}  // namespace zorvan::ui
