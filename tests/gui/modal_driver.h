#pragma once
// Drives the modal windows that a command opens while the command waits for them: each action
// in turn runs on the next modal window that comes up. Message boxes are recorded and answered
// with their only button.

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <vector>

class ModalDriver {
  public:
    using Action = std::function<void(QWidget*)>;

    explicit ModalDriver(std::vector<Action> actions) : actions_(std::move(actions)) {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
        timer_.start();
    }

    // Answers a message box with its first button, keeping its text.
    static Action Answer(QStringList* texts) {
        return [texts](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            if (box == nullptr) {
                texts->append(QStringLiteral("<not a message box: %1>")
                                  .arg(QString::fromLatin1(modal->metaObject()->className())));
                modal->close();
                return;
            }
            texts->append(box->text());
            box->buttons().front()->click();
        };
    }

    bool done() const { return next_ == actions_.size(); }

  private:
    void Poll() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr) last_ = nullptr;
        if (modal == nullptr || modal == last_ || done()) return;
        last_ = modal;
        actions_[next_++](modal);
    }

    std::vector<Action> actions_;
    std::size_t next_ = 0;
    QPointer<QWidget> last_;
    QTimer timer_;
};
