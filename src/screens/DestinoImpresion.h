#pragma once
// Where a screen prints: the system's default printer, and beside it the
// print preview, from which the user may choose another printer or a PDF
// file. Without a printer the user is told so and gets the preview; a job
// the printer refuses ends with a message, never in silence.

#include <QString>
#include <functional>
#include <memory>

class QWidget;

namespace tobal {

struct Estado;
class Servicios;
class Impresora;
class ImpresoraQt;

class DestinoImpresion {
public:
    using Dibujo = std::function<void(Impresora&)>;

    DestinoImpresion(Estado& st, Servicios& sv, QWidget* pantalla);
    ~DestinoImpresion();

    // The printer of a run (tests give a recording one); nullptr: none.
    std::function<Impresora*()> impresora;
    // The print preview of what `dibuja` prints.
    std::function<void(const QString& titulo, const Dibujo& dibuja)> vistaPrevia;

    // The printer for a run; without one, the message and the preview of
    // `dibuja`, and nullptr.
    Impresora* Abre(const QString& titulo, const Dibujo& dibuja);
    void VistaPrevia(const QString& titulo, const Dibujo& dibuja);
    // Ends the run on the printer of Abre; false, after the message, when
    // the printer did not take the job.
    bool Cierra();

private:
    Estado& st_;
    Servicios& sv_;
    QWidget* pantalla_;
    std::unique_ptr<ImpresoraQt> propia_;
    Impresora* actual_ = nullptr;
};

}  // namespace tobal
