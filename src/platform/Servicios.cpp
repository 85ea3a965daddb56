#include "platform/Servicios.h"

#include <QCoreApplication>

#include "app/Estado.h"
#include "data/DatosGen.h"
#include "platform/Ayuda.h"
#include "platform/Pausa.h"
#include "platform/Sonidos.h"

namespace tobal {

Servicios::Servicios(Estado& estado) : st(estado), pausa([](int c) { tobal::Pausa(c); }) {}

void Servicios::Sonar(int numero) {
    if (SonidoActivado(st) && reproductor) reproductor->Reproduce(numero);
    QCoreApplication::processEvents();
}

void Servicios::Ayuda(int contexto) {
    Sonar(Sonido::Boton);
    if (ayudante) ayudante->Muestra(contexto);
}

void Servicios::Pausa(int centesimas) {
    if (pausa) pausa(centesimas);
}

}  // namespace tobal
