#include "platform/Sonidos.h"

#include <QSoundEffect>
#include <QUrl>

namespace tobal {

ReproductorQt::ReproductorQt() {
    for (int n :
         {Sonido::Marca, Sonido::Salida, Sonido::Abre, Sonido::Cierra, Sonido::Boton, Sonido::Pagina}) {
        auto efecto = std::make_unique<QSoundEffect>();
        efecto->setSource(QUrl(QStringLiteral("qrc:/sonidos/%1.wav").arg(n)));
        efectos_[n] = std::move(efecto);
    }
}

ReproductorQt::~ReproductorQt() = default;

void ReproductorQt::Reproduce(int numero) {
    auto it = efectos_.find(numero);
    if (it == efectos_.end()) return;
    QSoundEffect& e = *it->second;
    if (e.status() == QSoundEffect::Error) return;
    e.stop();
    e.play();
}

}  // namespace tobal
