// The screen tests run real windows on Qt's offscreen platform. A modal window the program opens while
// handling an event, and that no test has taken (prueba::CuandoVentana), fails the running test at once,
// named, and is closed, so that the test goes on instead of waiting for an answer.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTimer>
#include <cstdlib>

#include "platform/Recursos.h"
#include "platform/Teclado.h"

namespace {

class AplicacionPrueba : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* o, QEvent* e) override {
        // Shown while another event is handled (click, key, timer): the program's window, not the test's.
        if (e->type() == QEvent::Show && o->isWidgetType() && profundidad_ > 0)
            o->setProperty("tobal31_del_programa", true);
        ++profundidad_;
        const bool r = QApplication::notify(o, e);
        --profundidad_;
        return r;
    }

private:
    int profundidad_ = 0;
};

void VigilaVentanasModales() {
    static QPointer<QWidget> vista;
    static QElapsedTimer desde;
    static int vueltas = 0;
    QWidget* w = QApplication::activeModalWidget();
    if (!w || !w->isVisible() || !w->property("tobal31_del_programa").toBool() ||
        w->property("tobal31_esperada").toBool()) {
        vista = nullptr;
        return;
    }
    if (vista != w) {
        vista = w;
        desde.start();
        vueltas = 0;
        return;
    }
    // Counted in turns of the event loop as well as in time: a test whose process the machine starves for
    // a while is not blamed for a window its own handler has had no turn to take.
    if (++vueltas < 6 || desde.elapsed() < 300) return;
    QString titulo = w->windowTitle();  // and what a message window says
    for (auto* e : w->findChildren<QLineEdit*>()) titulo += " " + e->text();
    for (auto* e : w->findChildren<QPlainTextEdit*>()) titulo += " " + e->toPlainText().left(80);
    ADD_FAILURE() << "unexpected modal window " << w->metaObject()->className() << " \""
                  << titulo.trimmed().toStdString() << "\"";
    w->setProperty("tobal31_esperada", true);
    if (auto* d = qobject_cast<QDialog*>(w))
        d->reject();
    else
        w->close();
}

}  // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    AplicacionPrueba app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    tobal::IniciaRecursos();
    tobal::TraduceQt();
    tobal::RetornoTeclado::Instala();  // as the program does, for every test
    QTimer vigia;
    QObject::connect(&vigia, &QTimer::timeout, &VigilaVentanasModales);
    vigia.start(50);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
