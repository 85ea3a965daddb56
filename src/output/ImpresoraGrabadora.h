#pragma once
// A printer that keeps every operation, in twips, for tests. Line heights
// follow the metrics of the fixed-pitch font the layouts use (ascent plus
// descent 2320/2048 of the size), rounded to whole twips.

#include <string>
#include <vector>

#include "output/Impresora.h"

namespace tobal {

struct OperacionImpresa {
    enum Tipo { Trabajo, Pagina, FinTrabajo, Texto, Linea, Rectangulo };
    Tipo tipo;
    int trabajo = 0;                      // 1-based job number
    int pagina = 0;                       // 1-based physical page within the job
    double x = 0, y = 0, x2 = 0, y2 = 0;  // lines: ends; rectangles: x2/y2 width/height
    std::string texto;                    // Windows-1252
    std::string fuente;
    double tamano = 0;
    bool negrita = false;
    int ancho = 0;  // line width
};

class ImpresoraGrabadora : public Impresora {
public:
    // Driver behaviour for the continuous forms' page size.
    bool admitePapelUsuario = true;
    bool respetaAlto = true;
    int altoA4 = 16838;
    // A printer that fails every job (it keeps the operations all the same).
    bool falla = false;
    bool Fallo() const override { return falla; }

    std::vector<OperacionImpresa> ops;

    int PaperSize(int papel) override;
    int Height() const override { return alto_; }
    int Height(int twips) override;
    int papel() const { return papel_; }

    // Helpers for checks.
    std::vector<OperacionImpresa> De(OperacionImpresa::Tipo t) const;
    int Trabajos() const;
    // Pages of job `trabajo` (1-based).
    int Paginas(int trabajo = 1) const;
    // Crosses: the lines taken in pairs in drawing order, each given by its
    // box; throws std::logic_error when a pair is not a cross.
    struct Cruz {
        double x, y, ancho, alto;
        int trabajo, pagina;
    };
    std::vector<Cruz> Cruces() const;
    // Texts whose content contains `trozo`.
    std::vector<OperacionImpresa> Textos(const std::string& trozo) const;

protected:
    void IniciaTrabajo() override;
    void PaginaSiguiente() override;
    void TerminaTrabajo() override;
    void DibujaTexto(double x, double y, const std::string& texto) override;
    void DibujaLinea(double x1, double y1, double x2, double y2) override;
    void DibujaRectangulo(double x, double y, double ancho, double alto) override;
    double AltoLinea() override;

private:
    OperacionImpresa Nueva(OperacionImpresa::Tipo t) const;
    void Anota(OperacionImpresa::Tipo t, double x, double y, double x2, double y2,
               const std::string& texto = {});
    int trabajo_ = 0;
    int paginaFisica_ = 0;
    int papel_ = kPapelA4;
    int alto_ = 16838;
};

}  // namespace tobal
