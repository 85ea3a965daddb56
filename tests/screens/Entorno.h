#pragma once
// What a screen test needs: a state over a temporary data folder, services
// that record sounds and help requests instead of playing or showing them,
// and a way to act on a modal window once it is open.

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "Soporte.h"
#include "app/Estado.h"
#include "platform/Ayuda.h"
#include "platform/BotonImagen.h"
#include "platform/Servicios.h"
#include "platform/Sonidos.h"

namespace tobal::prueba {

struct AyudaGrabadora : Ayudante {
    void Muestra(int contexto) override { pedidas.push_back(contexto); }
    std::vector<int> pedidas;
};

struct Entorno {
    Entorno() {
        sv.reproductor = &sonidos;
        sv.ayudante = &ayuda;
        sv.pausa = [](int) {};
    }
    EstadoPrueba e;
    Estado& st = e.st;
    ReproductorGrabador sonidos;
    AyudaGrabadora ayuda;
    Servicios sv{e.st};
};

// Types any text, accents and characters outside Latin-1 included (the
// test library's own typing takes ASCII only), one key event a character.
inline void TecleaTexto(QWidget* w, const QString& texto) {
    for (int i = 0; i < texto.size(); ++i) {
        const int n = texto[i].isHighSurrogate() && i + 1 < texto.size() ? 2 : 1;
        const QString c = texto.mid(i, n);
        i += n - 1;
        QKeyEvent pulsa(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, c);
        QKeyEvent suelta(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, c);
        QApplication::sendEvent(w, &pulsa);
        QApplication::sendEvent(w, &suelta);
    }
}

// Runs `accion` on the next modal window of type T that opens, whatever
// other modal window (a screen shown with show()) is up meanwhile; gives up
// after five seconds.
template <class T>
void CuandoVentana(std::function<void(T*)> accion) {
    auto* sondeo = new QTimer;
    auto intentos = std::make_shared<int>(0);
    QObject::connect(sondeo, &QTimer::timeout, [sondeo, accion, intentos] {
        auto* w = qobject_cast<T*>(QApplication::activeModalWidget());
        const bool agotado = ++*intentos > 1000;
        if (!agotado && (!w || !w->isVisible())) return;
        sondeo->stop();
        sondeo->deleteLater();
        if (!agotado) accion(w);
    });
    sondeo->start(5);
}

// Runs `accion` on the next modal window that opens, whatever its type.
inline void CuandoModal(std::function<void(QWidget*)> accion) { CuandoVentana<QWidget>(std::move(accion)); }

}  // namespace tobal::prueba
