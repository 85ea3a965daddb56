#pragma once
// What a screen test needs: a state over a temporary data folder, services
// that record sounds and help requests instead of playing or showing them,
// and a way to act on a modal window once it is open.

#include <gtest/gtest.h>

#include <QApplication>
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

// Runs `accion` on the next modal window that opens (from inside its event
// loop); gives up after five seconds so that a failed test cannot act on the
// windows of a later one.
inline void CuandoModal(std::function<void(QWidget*)> accion) {
    auto* sondeo = new QTimer;
    auto intentos = std::make_shared<int>(0);
    QObject::connect(sondeo, &QTimer::timeout, [sondeo, accion, intentos] {
        QWidget* w = QApplication::activeModalWidget();
        const bool agotado = ++*intentos > 1000;
        if (!agotado && (!w || !w->isVisible())) return;
        sondeo->stop();
        sondeo->deleteLater();
        if (!agotado) accion(w);
    });
    sondeo->start(5);
}

}  // namespace tobal::prueba
