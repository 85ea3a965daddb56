#include "screens/Corrida.h"

#include <QThread>
#include <string>

#include "app/Estado.h"
#include "app/Informador.h"

namespace tobal {

namespace {

// Sends the run's file-error reports to the screen's thread and waits until
// the user has read them, as the run would on a single thread.
class InformadorDesdeHilo : public Informador {
public:
    InformadorDesdeHilo(Corrida& c, Informador* destino) : c_(c), destino_(destino) {}
    void ErrorFichero(const std::string& texto) override {
        if (destino_) c_.EnPantallaEspera([this, texto] { destino_->ErrorFichero(texto); });
    }

private:
    Corrida& c_;
    Informador* destino_;
};

}  // namespace

Corrida::Corrida(Estado& st, QObject* pantalla) : QObject(pantalla), st_(st) {}

Corrida::~Corrida() {
    if (hilo_) {
        cancelado = true;
        hilo_->wait();
    }
}

void Corrida::Empieza(std::function<void()> trabajo, std::function<void()> alTerminar) {
    cancelado = false;
    informadorPantalla_ = st_.informador;
    hilo_ = QThread::create([this, trabajo = std::move(trabajo)] {
        InformadorDesdeHilo informador(*this, informadorPantalla_);
        st_.informador = &informador;
        trabajo();
        st_.informador = informadorPantalla_;
    });
    connect(hilo_, &QThread::finished, this, [this, alTerminar = std::move(alTerminar)] {
        hilo_->deleteLater();
        hilo_ = nullptr;
        if (alTerminar) alTerminar();
    });
    hilo_->start();
}

void Corrida::EnPantalla(std::function<void()> f) {
    QMetaObject::invokeMethod(this, std::move(f), Qt::QueuedConnection);
}

void Corrida::EnPantallaEspera(std::function<void()> f) {
    if (QThread::currentThread() == thread())
        f();
    else
        QMetaObject::invokeMethod(this, std::move(f), Qt::BlockingQueuedConnection);
}

}  // namespace tobal
