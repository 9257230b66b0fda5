// Every caption whole: each window at its own size, drawn in the interface font, shows every
// label, button, header and grid cell it has without cutting a letter. Each text is measured
// with the metrics of the font its widget really uses, against the room that widget gives it.

#include <QAbstractButton>
#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTableView>
#include <QTableWidget>
#include <QTest>

#include "ui/greek_locale.h"
#include "ui/interface_font.h"
#include "windows/about_dialog.h"
#include "windows/console_window.h"
#include "windows/forms.h"
#include "windows/insert_lines_dialog.h"
#include "windows/main_window.h"
#include "windows/memory_grid.h"
#include "windows/memory_window.h"
#include "windows/register_window.h"
#include "windows/start_address_dialog.h"
#include "windows/step_window.h"

namespace {

QString Plain(QString text) {
    return text.replace(QLatin1String("&&"), QLatin1String("\x01"))
        .remove('&')
        .replace('\x01', '&');
}

// Each text too wide (or too tall) for its room, as "where: text (needs N, has M)".
class CutCaptions {
  public:
    void Check(const QString& where, const QString& text, const QFont& font, int room,
               int height = -1, int heightRoom = -1) {
        if (text.isEmpty()) return;
        const QFontMetrics metrics(font);
        int needed = 0;
        for (const QString& line : text.split('\n'))
            needed = std::max(needed, metrics.horizontalAdvance(line));
        if (needed > room)
            cut_.append(
                QStringLiteral("%1: «%2» needs %3, has %4").arg(where, text).arg(needed).arg(room));
        if (height >= 0 && metrics.height() * int(text.count('\n') + 1) > heightRoom)
            cut_.append(QStringLiteral("%1: «%2» is %3 high, has %4")
                            .arg(where, text)
                            .arg(metrics.height())
                            .arg(heightRoom));
        ++count_;
    }

    void CheckView(const QString& where, QTableView* view) {
        QStyle* style = view->style();
        QHeaderView* header = view->horizontalHeader();
        QAbstractItemModel* model = view->model();
        if (header->isVisible()) {
            const int margin = 2 * style->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
            for (int c = 0; c < model->columnCount(); ++c)
                Check(where + QStringLiteral("/header %1").arg(c),
                      model->headerData(c, Qt::Horizontal).toString(), header->font(),
                      header->sectionSize(c) - margin);
        }
        const int cellMargin =
            2 * (style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1);
        for (int r = 0; r < model->rowCount(); ++r) {
            for (int c = 0; c < model->columnCount(); ++c) {
                const QModelIndex index = model->index(r, c);
                QFont font = view->font();
                if (const QVariant own = index.data(Qt::FontRole); own.isValid())
                    font = own.value<QFont>();
                const QString text = index.data().toString();
                if (auto* cells =
                        qobject_cast<zorvan::windows::MemoryCellDelegate*>(view->itemDelegate()))
                    font = cells->CellFont(text, font, view->columnWidth(c) - cellMargin);
                Check(where + QStringLiteral("/cell %1,%2").arg(r).arg(c), text, font,
                      view->columnWidth(c) - cellMargin);
            }
        }
    }

    void CheckWindow(QWidget* window) {
        QList<QWidget*> widgets = window->findChildren<QWidget*>();
        for (QWidget* w : widgets) {
            if (!w->isVisible()) continue;
            const QString where = window->objectName() + "/" + w->objectName();
            if (auto* label = qobject_cast<QLabel*>(w); label != nullptr && !label->wordWrap()) {
                const QRect room = label->contentsRect().adjusted(
                    label->margin(), label->margin(), -label->margin(), -label->margin());
                Check(where, Plain(label->text()), label->font(),
                      room.width() - std::max(0, label->indent()), 0, room.height());
            } else if (auto* box = qobject_cast<QCheckBox*>(w)) {
                if (box->sizeHint().width() > box->width()) cut_.append(where + ": " + box->text());
            } else if (auto* radio = qobject_cast<QRadioButton*>(w)) {
                if (radio->sizeHint().width() > radio->width())
                    cut_.append(where + ": " + radio->text());
            } else if (auto* button = qobject_cast<QPushButton*>(w)) {
                QStyle* style = button->style();
                int room = button->width() -
                           style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button) -
                           2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, button);
                if (!button->icon().isNull()) room -= button->iconSize().width() + 4;
                Check(where, Plain(button->text()), button->font(), room);
            } else if (auto* view = qobject_cast<QTableView*>(w)) {
                CheckView(where, view);
            }
        }
    }

    const QStringList& cut() const { return cut_; }
    int count() const { return count_; }

  private:
    QStringList cut_;
    int count_ = 0;
};

}  // namespace

class CaptionsFitTest : public QObject {
    Q_OBJECT

    std::unique_ptr<zorvan::windows::Forms> forms_;

    void ShowAndCheck(QWidget* window, QSize client, int atLeast) {
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        if (client.isValid()) QCOMPARE(window->size(), client);
        CutCaptions captions;
        captions.CheckWindow(window);
        QVERIFY2(captions.cut().isEmpty(), qPrintable(captions.cut().join('\n')));
        QVERIFY2(captions.count() >= atLeast, qPrintable(QString::number(captions.count())));
    }

  private slots:
    void initTestCase() {
        zorvan::ui::UseInterfaceFont();
        zorvan::ui::UseGreekLocale();
        forms_ = std::make_unique<zorvan::windows::Forms>();
    }

    void cleanupTestCase() { forms_.reset(); }

    void mainWindowHeadersAndLabel() { ShowAndCheck(forms_->Form1.get(), {496, 601}, 7); }
    void startAddressDialog() { ShowAndCheck(forms_->pr_start.get(), {}, 2); }
    void insertLinesDialog() { ShowAndCheck(forms_->INSform.get(), {200, 118}, 3); }
    void aboutBox() { ShowAndCheck(forms_->About.get(), {250, 153}, 3); }
    void registerWindow() { ShowAndCheck(forms_->Reg_Form.get(), {}, 7); }
    // The step window grows past 409 x 234 to hold the debugger's row of buttons.
    void stepWindow() { ShowAndCheck(forms_->Step.get(), {}, 4); }
    void consoleWindow() { ShowAndCheck(forms_->Console.get(), {}, 1); }

    // Every cell whole, also one that holds more than two digits after an edit.
    void memoryWindowCells() {
        zorvan::windows::TMemForm* memory = forms_->MemForm.get();
        memory->show();
        QVERIFY(QTest::qWaitForWindowExposed(memory));
        for (int column = 1; column <= 3; ++column)
            memory->MemGrid->item(0, column)->setText(QStringLiteral("2FF"));
        memory->MemGrid->item(1, 1)->setText(QStringLiteral("1234"));
        ShowAndCheck(memory, {771, 491}, 16 * 18);
    }
};

QTEST_MAIN(CaptionsFitTest)
#include "captions_fit_test.moc"
