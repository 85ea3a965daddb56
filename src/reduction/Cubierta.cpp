#include "reduction/Cubierta.h"

namespace tobal {

bool CeldaCubiertaValida(int triples, int dobles, int radio) {
    return triples >= 0 && dobles >= 0 && triples + dobles <= 14 && (radio == 1 || radio == 2);
}

// Until the constructions are in, the covering is the whole development.
std::int64_t ColumnasCubierta(int triples, int dobles, int radio) {
    if (!CeldaCubiertaValida(triples, dobles, radio)) return 0;
    std::int64_t n = 1;
    for (int i = 0; i < triples; ++i) n *= 3;
    for (int i = 0; i < dobles; ++i) n *= 2;
    return n;
}

Cubierta ConstruyeCubierta(int triples, int dobles, int radio) {
    Cubierta c;
    c.triples = triples;
    c.dobles = dobles;
    c.radio = radio;
    if (!CeldaCubiertaValida(triples, dobles, radio)) return c;
    const int n = triples + dobles;
    c.palabras = static_cast<std::size_t>(ColumnasCubierta(triples, dobles, radio));
    c.digitos.assign(c.palabras * n, 0);
    std::vector<std::uint8_t> w(n, 0);
    for (std::size_t p = 0; p < c.palabras; ++p) {
        for (int i = 0; i < n; ++i) c.digitos[p * n + i] = w[i];
        for (int i = n - 1; i >= 0; --i) {
            const int base = i < triples ? 3 : 2;
            if (++w[i] < base) break;
            w[i] = 0;
        }
    }
    return c;
}

}  // namespace tobal
