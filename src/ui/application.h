#pragma once
// The application object: its title is "Zorvan", and a failure that escapes any event handler is
// shown in an error box while the event loop goes on.

#include <QApplication>

namespace zorvan::ui {

class Application : public QApplication {
    Q_OBJECT

  public:
    Application(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace zorvan::ui
