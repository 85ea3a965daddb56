#pragma once
// The services every screen uses besides the shared state: click sounds,
// help, the short pause. One object created by the program's main (tests
// build their own) and passed by reference with the state.

#include <functional>

namespace tobal {

struct Estado;
class Reproductor;
class Ayudante;

class Servicios {
public:
    explicit Servicios(Estado& st);

    // Plays sound `numero` when the sounds are on (Sonido "Si" in any letter
    // case), then lets pending window events through.
    void Sonar(int numero);
    // A help button: sound 9, then the page of `contexto` (0: contents).
    void Ayuda(int contexto);
    // Waits `centesimas` hundredths of a second.
    void Pausa(int centesimas);

    Estado& st;
    Reproductor* reproductor = nullptr;  // none: silence
    Ayudante* ayudante = nullptr;        // none: help is not shown
    std::function<void(int)> pausa;      // default: tobal::Pausa
};

}  // namespace tobal
