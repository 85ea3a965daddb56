#pragma once
// Where the keyboard goes when a window of the program closes. A window
// manager hands it to the window left on top; without one (a bare X server,
// a kiosk) nobody does, and the menu would no longer answer the keyboard.
// Once installed, the program hands it over itself: to the modal window that
// is still open, else to the window that opened the closed one.

#include <QObject>

namespace tobal {

class RetornoTeclado : public QObject {
public:
    using QObject::QObject;
    // Installs one on the application; the application owns it.
    static void Instala();

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;
};

}  // namespace tobal
