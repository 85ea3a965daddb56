#pragma once
// What a screen test needs: a state over a temporary data folder, services
// that record sounds and help requests instead of playing or showing them,
// and a way to act on a modal window once it is open.

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <vector>

#include "Soporte.h"
#include "platform/Ayuda.h"
#include "platform/Servicios.h"
#include "platform/Sonidos.h"

namespace tobal::prueba {

class AyudaGrabadora : public Ayudante {
public:
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
// loop), polling every few milliseconds.
inline void CuandoModal(std::function<void(QWidget*)> accion, QWidget* distintaDe = nullptr) {
    auto* sondeo = new QTimer;
    QObject::connect(sondeo, &QTimer::timeout, [sondeo, accion, distintaDe] {
        QWidget* w = QApplication::activeModalWidget();
        if (!w || w == distintaDe || !w->isVisible()) return;
        sondeo->stop();
        sondeo->deleteLater();
        accion(w);
    });
    sondeo->start(5);
}

}  // namespace tobal::prueba
