#include "reduction/Cubierta.h"

#include "reduction/CubiertasTabla.h"
#include "reduction/Tablas.h"

namespace tobal {

namespace {

using cubiertas::Receta;

const Receta& RecetaDe(int triples, int dobles, int radio) {
    return cubiertas::Recetas[(triples * 15 + dobles) * 2 + radio - 1];
}

std::int64_t Desarrollo(int triples, int dobles) {
    std::int64_t n = 1;
    for (int i = 0; i < triples; ++i) n *= 3;
    return n << dobles;
}

// Words of t + d digits, one after another.
using Palabras = std::vector<std::uint8_t>;

// Every word of the cell, in order, the last digit running fastest.
Palabras Todas(int triples, int dobles) {
    const int n = triples + dobles;
    const auto total = static_cast<std::size_t>(Desarrollo(triples, dobles));
    Palabras r(total * n);
    std::vector<std::uint8_t> w(n, 0);
    for (std::size_t p = 0; p < total; ++p) {
        std::copy(w.begin(), w.end(), r.begin() + static_cast<std::ptrdiff_t>(p * n));
        for (int i = n - 1; i >= 0; --i) {
            if (++w[i] < (i < triples ? 3 : 2)) break;
            w[i] = 0;
        }
    }
    return r;
}

// The words whose syndrome is in the piece's set: for each syndrome, every
// value of the free triples and doubles in order, the solved ones last.
Palabras DePieza(const cubiertas::Pieza& p) {
    const int t = p.triples, d = p.dobles, n = t + d;
    const int libresT = t - p.a, libresD = d - p.b;
    const std::uint16_t* h = cubiertas::Columnas + p.columnasH;
    const std::uint16_t* g = cubiertas::Columnas + p.columnasG;
    int n3 = 1;
    for (int k = 0; k < p.a; ++k) n3 *= 3;
    const Palabras libres = Todas(libresT, libresD);
    const auto cuantasLibres = static_cast<std::size_t>(Desarrollo(libresT, libresD));
    Palabras r;
    r.reserve(static_cast<std::size_t>(p.numSindromes) * cuantasLibres * n);
    std::vector<std::uint8_t> w(n);
    for (int k = 0; k < p.numSindromes; ++k) {
        const int s = cubiertas::Sindromes[p.sindromes + k];
        const int s3 = s % n3, s2 = s / n3;
        for (std::size_t l = 0; l < cuantasLibres; ++l) {
            const std::uint8_t* x = libres.data() + l * (libresT + libresD);
            int suma3[16] = {}, suma2 = 0;
            for (int i = 0; i < libresT; ++i) {
                w[i] = x[i];
                for (int j = 0, c = h[i]; j < p.a; ++j, c /= 3) suma3[j] += x[i] * (c % 3);
            }
            for (int i = 0; i < libresD; ++i) {
                w[t + i] = x[libresT + i];
                if (x[libresT + i]) suma2 ^= g[i];
            }
            for (int j = 0, c = s3; j < p.a; ++j, c /= 3) w[libresT + j] = static_cast<std::uint8_t>(((c % 3) - suma3[j] % 3 + 3) % 3);
            for (int j = 0; j < p.b; ++j) w[t + libresD + j] = static_cast<std::uint8_t>(((s2 ^ suma2) >> j) & 1);
            r.insert(r.end(), w.begin(), w.end());
        }
    }
    return r;
}

Palabras Construye(int triples, int dobles, int radio) {
    const int n = triples + dobles;
    if (radio == 0) return Todas(triples, dobles);
    if (n <= radio) return Palabras(n, 0);
    const Receta& re = RecetaDe(triples, dobles, radio);
    switch (re.tipo) {
        case cubiertas::kPieza:
            return DePieza(cubiertas::Piezas[re.pieza]);
        case cubiertas::kRadioUno:
            return Construye(triples, dobles, 1);
        case cubiertas::kSuma: {
            const int t1 = re.t1, d1 = re.d1, t2 = triples - t1, d2 = dobles - d1;
            const Palabras a = Construye(t1, d1, re.r1), b = Construye(t2, d2, radio - re.r1);
            const std::size_t na = a.size() / (t1 + d1), nb = b.size() / (t2 + d2);
            Palabras r(na * nb * n);
            auto* o = r.data();
            for (std::size_t i = 0; i < na; ++i) {
                const auto* x = a.data() + i * (t1 + d1);
                for (std::size_t j = 0; j < nb; ++j) {
                    const auto* y = b.data() + j * (t2 + d2);
                    o = std::copy(x, x + t1, o);
                    o = std::copy(y, y + t2, o);
                    o = std::copy(x + t1, x + t1 + d1, o);
                    o = std::copy(y + t2, y + t2 + d2, o);
                }
            }
            return r;
        }
        default:
            return Todas(triples, dobles);
    }
}

}  // namespace

bool CeldaCubiertaValida(int triples, int dobles, int radio) {
    return triples >= 0 && dobles >= 0 && triples + dobles <= 14 && (radio == 1 || radio == 2);
}

std::int64_t ColumnasCubierta(int triples, int dobles, int radio) {
    if (!CeldaCubiertaValida(triples, dobles, radio)) return 0;
    return RecetaDe(triples, dobles, radio).palabras;
}

Cubierta ConstruyeCubierta(int triples, int dobles, int radio) {
    Cubierta c;
    c.triples = triples;
    c.dobles = dobles;
    c.radio = radio;
    if (!CeldaCubiertaValida(triples, dobles, radio)) return c;
    c.digitos = Construye(triples, dobles, radio);
    const int n = triples + dobles;
    c.palabras = n ? c.digitos.size() / n : 1;
    return c;
}

std::int64_t ColumnasMetodoDirecto(int triples, int dobles) {
    if (triples < 0 || dobles < 0 || triples + dobles > 14) return 0;
    if (triples + dobles == 0) return 1;
    Estadistica e{};
    e.TriplesReducir = static_cast<int16_t>(triples);
    e.DoblesReducir = static_cast<int16_t>(dobles);
    EligeTabla(e);
    return e.ApuestasTabla * Desarrollo(triples - e.TriplesTabla, dobles - e.DoblesTabla);
}

}  // namespace tobal
