#include "screens/DestinoImpresion.h"

#include "output/Impresora.h"
#include "platform/ImpresoraQt.h"
#include "screens/mensajes.h"

namespace tobal {

DestinoImpresion::DestinoImpresion(Estado& st, Servicios& sv, QWidget* pantalla)
    : st_(st), sv_(sv), pantalla_(pantalla) {
    impresora = [this]() -> Impresora* {
        propia_ = ImpresoraQt::Predeterminada();
        return propia_.get();
    };
    vistaPrevia = [this](const QString& titulo, const Dibujo& dibuja) {
        tobal::VistaPrevia(pantalla_, titulo, dibuja);
    };
}

DestinoImpresion::~DestinoImpresion() = default;

Impresora* DestinoImpresion::Abre(const QString& titulo, const Dibujo& dibuja) {
    actual_ = impresora ? impresora() : nullptr;
    if (actual_) return actual_;
    Mensaje(st_, sv_, pantalla_, QStringLiteral("NO HAY IMPRESORA"),
            QStringLiteral("El sistema no tiene ninguna impresora instalada, así que no se puede imprimir "
                           "directamente. Se abre la vista previa: desde ella puede guardar la salida en un "
                           "fichero PDF o imprimirla en otra impresora."));
    VistaPrevia(titulo, dibuja);
    return nullptr;
}

void DestinoImpresion::VistaPrevia(const QString& titulo, const Dibujo& dibuja) {
    if (vistaPrevia) vistaPrevia(titulo, dibuja);
}

bool DestinoImpresion::Cierra() {
    const bool fallo = actual_ && actual_->Fallo();
    if (propia_) propia_->Termina();
    propia_.reset();
    actual_ = nullptr;
    if (fallo)
        Mensaje(st_, sv_, pantalla_, QStringLiteral("ERROR DE IMPRESIÓN"),
                QStringLiteral("La impresora no ha aceptado el trabajo de impresión: puede estar apagada, "
                               "desconectada o sin permiso. Compruébela y vuelva a imprimir, o pulse Vista "
                               "previa para elegir otra impresora o un fichero PDF."));
    return !fallo;
}

}  // namespace tobal
