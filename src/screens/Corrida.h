#pragma once
// A long run of a screen (printing, copying, scoring) on a worker thread, so
// that the window keeps repainting and its cancel button acts at once. The
// worker never touches a widget: what the run shows goes back to the
// screen's thread queued, what it asks (a message window, a file error)
// waits there for the answer.

#include <QObject>
#include <atomic>
#include <functional>

class QThread;

namespace tobal {

struct Estado;
class Informador;

class Corrida : public QObject {
    Q_OBJECT
public:
    Corrida(Estado& st, QObject* pantalla);
    ~Corrida() override;

    // Starts `trabajo` on a worker thread; `alTerminar` runs on the screen's
    // thread once it has ended. File errors the run reports meanwhile reach
    // the program's reporter on the screen's thread.
    void Empieza(std::function<void()> trabajo, std::function<void()> alTerminar);
    bool Activa() const { return hilo_ != nullptr; }

    // From the worker: `f` runs on the screen's thread, later or at once and
    // waited for.
    void EnPantalla(std::function<void()> f);
    void EnPantallaEspera(std::function<void()> f);

    // The cancel flag the run reads after every step.
    std::atomic<bool> cancelado{false};

private:
    Estado& st_;
    QThread* hilo_ = nullptr;
    Informador* informadorPantalla_ = nullptr;
};

}  // namespace tobal
