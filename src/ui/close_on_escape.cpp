#include "ui/close_on_escape.h"

#include <QEvent>
#include <QKeyEvent>

namespace zorvan::ui {
namespace {

class EscapeCloser : public QObject {
  public:
    explicit EscapeCloser(QWidget* window) : QObject(window), window_(window) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // A key the focused control left unaccepted comes up to the window itself.
        if (watched == window_ && event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier) {
                window_->close();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    QWidget* window_;
};

}  // namespace

void CloseOnEscape(QWidget* window) {
    window->installEventFilter(new EscapeCloser(window));
}

}  // namespace zorvan::ui
