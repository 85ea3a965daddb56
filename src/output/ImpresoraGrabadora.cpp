#include "output/ImpresoraGrabadora.h"

#include <cmath>
#include <stdexcept>

namespace tobal {

int ImpresoraGrabadora::PaperSize(int papel) {
    if (papel == kPapelUsuario && !admitePapelUsuario) return kErrorPropiedad;
    if (papel != kPapelUsuario && papel != kPapelA4) return kErrorPropiedad;
    papel_ = papel;
    if (papel == kPapelA4) alto_ = altoA4;
    return 0;
}

int ImpresoraGrabadora::Height(int twips) {
    if (twips <= 0) return kErrorPropiedad;
    if (respetaAlto) alto_ = twips;
    return 0;
}

OperacionImpresa ImpresoraGrabadora::Nueva(OperacionImpresa::Tipo t) const {
    OperacionImpresa op;
    op.tipo = t;
    op.trabajo = trabajo_;
    op.pagina = paginaFisica_;
    op.fuente = FontName();
    op.tamano = FontSize();
    op.negrita = FontBold();
    op.ancho = DrawWidth();
    return op;
}

void ImpresoraGrabadora::IniciaTrabajo() {
    ++trabajo_;
    paginaFisica_ = 1;
    ops.push_back(Nueva(OperacionImpresa::Trabajo));
}

void ImpresoraGrabadora::PaginaSiguiente() {
    ++paginaFisica_;
    ops.push_back(Nueva(OperacionImpresa::Pagina));
}

void ImpresoraGrabadora::TerminaTrabajo() { ops.push_back(Nueva(OperacionImpresa::FinTrabajo)); }

void ImpresoraGrabadora::Anota(OperacionImpresa::Tipo t, double x, double y, double x2, double y2,
                               const std::string& texto) {
    OperacionImpresa op = Nueva(t);
    op.x = x;
    op.y = y;
    op.x2 = x2;
    op.y2 = y2;
    op.texto = texto;
    ops.push_back(std::move(op));
}

void ImpresoraGrabadora::DibujaTexto(double x, double y, const std::string& texto) {
    Anota(OperacionImpresa::Texto, x, y, 0, 0, texto);
}

void ImpresoraGrabadora::DibujaLinea(double x1, double y1, double x2, double y2) {
    Anota(OperacionImpresa::Linea, x1, y1, x2, y2);
}

void ImpresoraGrabadora::DibujaRectangulo(double x, double y, double ancho, double alto) {
    Anota(OperacionImpresa::Rectangulo, x, y, ancho, alto);
}

double ImpresoraGrabadora::AltoLinea() { return std::round(FontSize() * 20.0 * 2320.0 / 2048.0); }

std::vector<OperacionImpresa> ImpresoraGrabadora::De(OperacionImpresa::Tipo t) const {
    std::vector<OperacionImpresa> r;
    for (const auto& op : ops)
        if (op.tipo == t) r.push_back(op);
    return r;
}

int ImpresoraGrabadora::Trabajos() const { return static_cast<int>(De(OperacionImpresa::Trabajo).size()); }

int ImpresoraGrabadora::Paginas(int trabajo) const {
    int n = 0;
    for (const auto& op : ops)
        if (op.trabajo == trabajo &&
            (op.tipo == OperacionImpresa::Trabajo || op.tipo == OperacionImpresa::Pagina))
            ++n;
    return n;
}

std::vector<ImpresoraGrabadora::Cruz> ImpresoraGrabadora::Cruces() const {
    std::vector<Cruz> r;
    auto lineas = De(OperacionImpresa::Linea);
    if (lineas.size() % 2) throw std::logic_error("odd number of strokes");
    for (size_t i = 0; i < lineas.size(); i += 2) {
        const auto& a = lineas[i];
        const auto& b = lineas[i + 1];
        // First stroke down to the right, second up to the right from the
        // lower-left corner.
        if (!(b.x == a.x && b.y == a.y2 && b.x2 == a.x2 && b.y2 == a.y && a.x2 > a.x && a.y2 > a.y))
            throw std::logic_error("strokes do not form a cross");
        r.push_back({a.x, a.y, a.x2 - a.x, a.y2 - a.y, a.trabajo, a.pagina});
    }
    return r;
}

std::vector<OperacionImpresa> ImpresoraGrabadora::Textos(const std::string& trozo) const {
    std::vector<OperacionImpresa> r;
    for (const auto& op : ops)
        if (op.tipo == OperacionImpresa::Texto && op.texto.find(trozo) != std::string::npos) r.push_back(op);
    return r;
}

}  // namespace tobal
