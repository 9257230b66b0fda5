#pragma once
// A window refreshes itself each time it comes to the front, but not when the front comes back
// to it from one of its own message boxes: the user's entry that the box complained about stays
// in its field.
//
//   bool event(QEvent* e) override {
//       if (frontWatch_.ComesToFront(*e)) RefreshOnFront();
//       return QWidget::event(e);
//   }
//   frontWatch_.WhileBoxOpen([&] { ui::ShowMessage(...); });

#include <QEvent>
#include <utility>

namespace zorvan::windows {

class FrontWatch {
  public:
    // True for an activation that is the window's own coming to the front.
    bool ComesToFront(const QEvent& event) {
        if (event.type() == QEvent::WindowDeactivate) {
            backFromBox_ = boxOpen_;
        } else if (event.type() == QEvent::WindowActivate) {
            const bool fromBox = backFromBox_;
            backFromBox_ = false;
            return !fromBox;
        }
        return false;
    }

    template <typename ShowBox>
    void WhileBoxOpen(ShowBox&& showBox) {
        boxOpen_ = true;
        std::forward<ShowBox>(showBox)();
        boxOpen_ = false;
    }

  private:
    bool boxOpen_ = false;
    bool backFromBox_ = false;
};

}  // namespace zorvan::windows
