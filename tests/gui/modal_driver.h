#pragma once
// Drives the modal windows that a command opens while the command waits for them: each action
// in turn runs on the next modal window that comes up.

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <functional>
#include <vector>

class ModalDriver : public QObject {
  public:
    using Action = std::function<void(QWidget*)>;

    explicit ModalDriver(std::vector<Action> each) : actions_(std::move(each)) { startTimer(5); }

    // Answers a message box with the button of that text (its first when none is named),
    // keeping its text. Anything else is recorded and closed.
    static Action Answer(QStringList* texts, const QString& button = {}) {
        return [=](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            if (box == nullptr) {
                texts->append("<" + QString::fromLatin1(modal->metaObject()->className()) + ">");
                return void(modal->close());
            }
            texts->append(box->text());
            for (QAbstractButton* b : box->buttons()) {
                if (button.isEmpty() || b->text() == button) return b->click();
            }
            texts->append("<no button " + button + ">");
            box->buttons().front()->click();
        };
    }

    // Types over the dialog's line edit, its text selected, then Enter; keeps what it proposed.
    static Action Type(const QString& typed, QString* proposed = nullptr) {
        return [=](QWidget* modal) {
            auto* field = modal->findChild<QLineEdit*>();
            if (proposed != nullptr) *proposed = field->text();
            field->selectAll();
            QTest::keyClicks(field, typed);
            QTest::keyClick(field, Qt::Key_Return);
        };
    }

    bool done() const { return next_ == actions_.size(); }

  private:
    // A window that is hidden and shown again is the next modal window again.
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Hide && watched == last_) last_ = nullptr;
        return false;
    }

    void timerEvent(QTimerEvent*) override {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || modal == last_ || done()) return;
        last_ = modal;
        modal->installEventFilter(this);
        actions_[next_++](modal);
    }

    std::vector<Action> actions_;
    std::size_t next_ = 0;
    QPointer<QWidget> last_;
};
