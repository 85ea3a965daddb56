#include "output/Impresora.h"

#include <cmath>

namespace tobal {

double Twips(double valor) { return std::nearbyint(valor); }

void Impresora::Prepara() {
    if (!trabajoAbierto_) {
        IniciaTrabajo();
        trabajoAbierto_ = true;
    }
    for (; paginasPendientes_ > 0; --paginasPendientes_) PaginaSiguiente();
}

void Impresora::Print(std::string_view texto) {
    if (!texto.empty()) {
        Prepara();
        DibujaTexto(CurrentX, CurrentY, std::string(texto));
    }
    CurrentX = 0;
    CurrentY += AltoLinea();
}

void Impresora::Line(double dx, double dy) {
    Prepara();
    DibujaLinea(CurrentX, CurrentY, CurrentX + dx, CurrentY + dy);
    CurrentX += dx;
    CurrentY += dy;
}

void Impresora::RectanguloLleno(double x, double y, double ancho, double alto) {
    Prepara();
    DibujaRectangulo(x, y, ancho, alto);
}

void Impresora::NewPage() {
    ++pagina_;
    ++paginasPendientes_;
    CurrentX = 0;
    CurrentY = 0;
}

void Impresora::EndDoc() {
    if (trabajoAbierto_) TerminaTrabajo();
    trabajoAbierto_ = false;
    paginasPendientes_ = 0;
    pagina_ = 1;
    CurrentX = 0;
    CurrentY = 0;
}

}  // namespace tobal
