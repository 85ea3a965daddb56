#pragma once
// The numbered click sounds. Whether a sound is wanted is decided by Sonar
// (Servicios.h); a Reproductor only plays what it is asked to.

#include <map>
#include <memory>
#include <vector>

class QSoundEffect;

namespace tobal {

namespace Sonido {
inline constexpr int Marca = 1;    // a sign marked or unmarked in a grid
inline constexpr int Salida = 5;   // leaving a screen or the program
inline constexpr int Abre = 6;     // a field or list opened, a menu option
inline constexpr int Cierra = 7;   // a field or list closed
inline constexpr int Boton = 9;    // any other button
inline constexpr int Pagina = 10;  // a page of the index turned
}  // namespace Sonido

class Reproductor {
public:
    virtual ~Reproductor() = default;
    virtual void Reproduce(int numero) = 0;
};

// Plays the WAVE resources with Qt Multimedia, without waiting. A missing
// sound or audio device gives silence.
class ReproductorQt : public Reproductor {
public:
    ReproductorQt();
    ~ReproductorQt() override;
    void Reproduce(int numero) override;

private:
    // One loaded effect per number, kept so that a sound still playing is
    // never freed under the audio system.
    std::map<int, std::unique_ptr<QSoundEffect>> efectos_;
};

// Keeps the numbers asked for; for tests.
class ReproductorGrabador : public Reproductor {
public:
    void Reproduce(int numero) override { pedidos.push_back(numero); }
    std::vector<int> pedidos;
};

}  // namespace tobal
