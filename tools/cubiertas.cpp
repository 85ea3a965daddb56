// Writes src/reduction/CubiertasTabla.cpp: for every cell (t triples, d
// doubles, t + d <= 14, radius 1 and 2) the smallest covering this program
// reaches, and the README's table of their sizes.
//
//   cmake --build build --target cubiertas
//   build/tools/cubiertas --tabla src/reduction/CubiertasTabla.cpp --readme tabla.md
//
// Every cell tries the syndrome searches of tools/BuscaCubierta.h over the
// groups Z3^a x Z2^b small enough, with columns taken in order (which gives
// the Hamming codes), at random from fixed seeds, and from the cyclic ternary
// Golay code; then the smallest of those, of the direct sums of smaller cells
// (radii added; radius 0 being a whole development) and, at two errors, of
// the one-error covering is kept. The result only depends on the arguments.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "BuscaCubierta.h"
#include "reduction/CubiertasTabla.h"
#include "reduction/Cubierta.h"

using namespace tobal::busqueda;
using tobal::cubiertas::Receta;

namespace {

int64_t Tamano(int t, int d) {
    int64_t n = 1;
    for (int i = 0; i < t; ++i) n *= 3;
    return n << d;
}

struct PiezaHallada {
    int t, d, r;
    Grupo grupo;
    std::vector<int> s;
    uint32_t semilla;
    int64_t pasos;
    int64_t palabras;
    std::string como;
    int conjunta = 0;
};

// Ternary columns up to sign, the unit ones left out, in order.
std::vector<int> ColumnasTernarias(int a) {
    std::vector<int> r;
    for (int c = 1; c < Pot3(a); ++c) {
        int k = 0;
        while (c / Pot3(k) % 3 == 0) ++k;
        if (c / Pot3(k) % 3 == 1 && c != Pot3(k)) r.push_back(c);
    }
    return r;
}

std::vector<int> ColumnasBinarias(int b) {
    std::vector<int> r;
    for (int c = 1; c < (1 << b); ++c)
        if (c & (c - 1)) r.push_back(c);
    std::stable_sort(r.begin(), r.end(),
                     [](int x, int y) { return __builtin_popcount(x) > __builtin_popcount(y); });
    return r;
}

// n of the columns: in order (variante 0) or shuffled by the seed, repeated
// when there are fewer than n.
std::vector<int> Elige(std::vector<int> todas, int n, int variante, uint64_t semilla) {
    std::vector<int> r;
    if (todas.empty()) return n ? std::vector<int>() : r;
    if (variante) {
        Azar az(semilla);
        for (size_t i = todas.size(); i > 1; --i) std::swap(todas[i - 1], todas[az.Hasta(static_cast<int>(i))]);
    }
    for (int i = 0; i < n; ++i) r.push_back(todas[i % todas.size()]);
    return r;
}

// The parity columns of the cyclic ternary Golay code: x^i mod g for i = 5..10.
std::vector<int> ColumnasGolay() {
    for (int c = 0; c < Pot3(5); ++c) {
        if (c % 3 == 0) continue;
        std::vector<int> g(6);
        for (int k = 0; k < 5; ++k) g[k] = c / Pot3(k) % 3;
        g[5] = 1;
        std::vector<int> cols, x(5, 0);
        x[4] = 1;  // x^4
        for (int i = 5; i <= 10; ++i) {
            // x <- x * X mod g
            const int alto = x[4];
            for (int k = 4; k > 0; --k) x[k] = x[k - 1];
            x[0] = 0;
            for (int k = 0; k < 5; ++k) x[k] = ((x[k] - alto * g[k]) % 3 + 3) % 3;
            int col = 0;
            for (int k = 0; k < 5; ++k) col += x[k] * Pot3(k);
            cols.push_back(col);
        }
        Grupo gr{5, 0, 2, cols, {}};
        if (Espacio(gr).errores.size() == 243u) return cols;
    }
    std::fprintf(stderr, "no Golay code found\n");
    std::exit(1);
}

struct Celda {
    int64_t palabras = 0;
    Receta receta{};
    std::string como;
};

}  // namespace

int main(int argc, char** argv) {
    const char* salidaTabla = nullptr;
    const char* salidaReadme = nullptr;
    double esfuerzo = 1.0;
    int variantes = 3;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--tabla")) salidaTabla = argv[i + 1];
        else if (!std::strcmp(argv[i], "--readme")) salidaReadme = argv[i + 1];
        else if (!std::strcmp(argv[i], "--esfuerzo")) esfuerzo = std::atof(argv[i + 1]);
        else if (!std::strcmp(argv[i], "--variantes")) variantes = std::atoi(argv[i + 1]);
    }
    const std::vector<int> golay = ColumnasGolay();
    if (argc == 9 && !std::strcmp(argv[1], "--prueba")) {
        // --prueba t d r a b variants steps: the searches of one group alone.
        const int t = std::atoi(argv[2]), d = std::atoi(argv[3]), r = std::atoi(argv[4]);
        const int a = std::atoi(argv[5]), b = std::atoi(argv[6]), nv = std::atoi(argv[7]);
        const int64_t pasos = std::atoll(argv[8]);
        for (int v = 0; v < nv; ++v) {
            Grupo gr{a, b, r, Elige(ColumnasTernarias(a), t - a, v, 1000 + v), Elige(ColumnasBinarias(b), d - b, v, 2000 + v)};
            const std::vector<int> s = BuscaSindromes(Espacio(gr), v, pasos);
            std::printf("v%d |S|=%zu -> %lld\n", v, s.size(), static_cast<long long>(s.size() * Tamano(t - a, d - b)));
            std::fflush(stdout);
        }
        return 0;
    }

    // mejor[t][d][r], r = 0..2.
    std::vector<std::vector<std::vector<Celda>>> mejor(15, std::vector<std::vector<Celda>>(15, std::vector<Celda>(3)));
    std::vector<PiezaHallada> piezas;
    auto tamano = [&](int t, int d, int r) -> int64_t {
        if (r == 0) return Tamano(t, d);
        if (t + d <= r) return 1;
        return mejor[t][d][r].palabras;
    };

    for (int n = 1; n <= 14; ++n)
        for (int r = 1; r <= 2; ++r)
            for (int t = n; t >= 0; --t) {
                const int d = n - t;
                Celda& c = mejor[t][d][r];
                if (n <= r) {
                    c.palabras = 1;
                    c.receta = {tobal::cubiertas::kUnaPalabra, 0, 0, 0, -1, 1};
                    c.como = "one column";
                    continue;
                }
                c.palabras = Tamano(t, d) + 1;
                if (r == 2) {
                    c.palabras = mejor[t][d][1].palabras;
                    c.receta = {tobal::cubiertas::kRadioUno, 0, 0, 0, -1, c.palabras};
                    c.como = "as at one error";
                }
                // Direct sums: the first part holds the first triple, or the
                // first double when there are no triples.
                for (int t1 = 0; t1 <= t; ++t1)
                    for (int d1 = 0; d1 <= d; ++d1) {
                        const int n1 = t1 + d1;
                        if (n1 == 0 || n1 == n) continue;
                        for (int r1 = 0; r1 <= r; ++r1) {
                            const int64_t w = tamano(t1, d1, r1) * tamano(t - t1, d - d1, r - r1);
                            if (w < c.palabras) {
                                c.palabras = w;
                                c.receta = {tobal::cubiertas::kSuma, static_cast<int8_t>(t1), static_cast<int8_t>(d1),
                                            static_cast<int8_t>(r1), -1, w};
                                c.como = "sum of " + std::to_string(t1) + "+" + std::to_string(d1) + " r" +
                                         std::to_string(r1) + " and " + std::to_string(t - t1) + "+" +
                                         std::to_string(d - d1) + " r" + std::to_string(r - r1);
                            }
                        }
                    }
                // Searches, smallest groups first.
                const int64_t limite = r == 1 ? 2187 : 6561;
                std::vector<std::tuple<int64_t, int, int>> grupos;
                for (int a = 0; a <= t; ++a)
                    for (int b = 0; b <= d; ++b) {
                        const int64_t na = Tamano(a, b);
                        if (na > limite || na == 1) continue;
                        if ((a == 0 && t > 0) || (b == 0 && d > 0)) continue;
                        grupos.emplace_back(na, a, b);
                    }
                std::sort(grupos.begin(), grupos.end());
                for (auto [na, a, b] : grupos) {
                    const int64_t mult = Tamano(t - a, d - b);
                    // The triples alone at one error get more column draws.
                    const int sorteos = d == 0 && r == 1 && t >= 7 ? std::max(variantes, 8) : variantes;
                    const int totalVariantes = (t - a > 0 || d - b > 0) ? sorteos + 1 : 1;
                    for (int v = 0; v < totalVariantes + (r == 2 && a == 5 && t - a <= 6 ? 1 : 0); ++v) {
                        const uint64_t semilla = static_cast<uint64_t>((((t * 15 + d) * 3 + r) * 16 + a) * 16 + b) * 16 + v;
                        Grupo gr{a, b, r, {}, {}};
                        if (v == totalVariantes) {
                            gr.h.assign(golay.begin(), golay.begin() + (t - a));
                        } else {
                            gr.h = Elige(ColumnasTernarias(a), t - a, v, semilla * 2 + 1);
                        }
                        gr.g = Elige(ColumnasBinarias(b), d - b, v, semilla * 2 + 2);
                        if (static_cast<int>(gr.h.size()) != t - a || static_cast<int>(gr.g.size()) != d - b) continue;
                        Espacio es(gr);
                        const int64_t cota = (na + es.errores.size() - 1) / es.errores.size();
                        if (cota * mult >= c.palabras) continue;
                        // Whole spaces get the long searches; the groups with
                        // free signs are many and get short ones.
                        const bool entero = t == a && d == b;
                        const int64_t porPunto = entero ? (r == 1 ? 500 : 50) : (r == 1 ? 60 : 15);
                        // A step costs about |E|^2.
                        const int64_t ne = static_cast<int64_t>(es.errores.size());
                        const int64_t pasos = static_cast<int64_t>(
                            esfuerzo * std::min<int64_t>({entero && r == 1 ? 1000000 : 200000,
                                                          std::max<int64_t>(5000, porPunto * na),
                                                          (entero ? 1000000000 : 100000000) / (ne * ne)}));
                        const std::vector<int> s = BuscaSindromes(es, semilla, pasos);
                        const int64_t w = static_cast<int64_t>(s.size()) * mult;
                        std::fprintf(stderr, "%2d+%-2d r%d  A=3^%d*2^%d v%d  |S|=%zu  -> %lld (best %lld)\n", t, d, r, a,
                                     b, v, s.size(), static_cast<long long>(w), static_cast<long long>(c.palabras));
                        if (w < c.palabras) {
                            c.palabras = w;
                            c.receta = {tobal::cubiertas::kPieza, 0, 0, 0, static_cast<int16_t>(piezas.size()), w};
                            const char* tipo = v == 0 ? "in order" : v == totalVariantes ? "Golay" : "at random";
                            c.como = "search, " + std::to_string(s.size()) + " syndromes of 3^" + std::to_string(a) +
                                     "x2^" + std::to_string(b) + " (columns " + tipo + ")";
                            if (s.size() == 1) c.como = "syndrome 0 of 3^" + std::to_string(a) + "x2^" + std::to_string(b) +
                                                        " (columns " + tipo + ")";
                            piezas.push_back({t, d, r, gr, s, static_cast<uint32_t>(semilla), pasos, w, c.como});
                        }
                    }
                    // Columns and syndromes together, for the small groups.
                    if (r != 1 || na > 243 || (t == a && d == b)) continue;
                    const int cotaConjunta = static_cast<int>((na + 2 * (t + d)) / (1 + 2 * t + d));
                    for (int64_t k = (c.palabras - 1) / mult; k >= std::max(1, cotaConjunta); --k) {
                        const int64_t pasos = static_cast<int64_t>(esfuerzo * 100000);
                        Grupo gr{a, b, r, {}, {}};
                        std::vector<int> s;
                        uint64_t semilla = 0;
                        bool hallada = false;
                        for (int intento = 0; intento < 3 && !hallada; ++intento) {
                            semilla = static_cast<uint64_t>((((t * 15 + d) * 3 + r) * 16 + a) * 16 + b) * 1024 + k * 4 + intento;
                            gr = Grupo{a, b, r, {}, {}};
                            hallada = BuscaConjunta(gr, t, d, static_cast<int>(k), semilla, pasos, s);
                        }
                        std::fprintf(stderr, "%2d+%-2d r%d  A=3^%d*2^%d together k=%lld: %s\n", t, d, r, a, b,
                                     static_cast<long long>(k), hallada ? "found" : "no");
                        if (!hallada) break;
                        c.palabras = static_cast<int64_t>(s.size()) * mult;
                        c.receta = {tobal::cubiertas::kPieza, 0, 0, 0, static_cast<int16_t>(piezas.size()), c.palabras};
                        c.como = "search, " + std::to_string(s.size()) + " syndromes of 3^" + std::to_string(a) + "x2^" +
                                 std::to_string(b) + " (columns sought with them)";
                        piezas.push_back({t, d, r, gr, s, static_cast<uint32_t>(semilla), pasos, c.palabras, c.como,
                                          static_cast<int>(k)});
                        k = static_cast<int64_t>(s.size());
                    }
                }
                std::fprintf(stderr, "== %2d+%-2d r%d: %lld  %s\n", t, d, r, static_cast<long long>(c.palabras),
                             c.como.c_str());
            }

    // Only the pieces some cell uses are shipped.
    std::map<int, int> usadas;
    for (int t = 0; t <= 14; ++t)
        for (int d = 0; t + d <= 14; ++d)
            for (int r = 1; r <= 2; ++r)
                if (mejor[t][d][r].receta.tipo == tobal::cubiertas::kPieza) usadas[mejor[t][d][r].receta.pieza] = 0;
    int siguiente = 0;
    for (auto& [k, v] : usadas) v = siguiente++;

    if (salidaTabla) {
        FILE* f = std::fopen(salidaTabla, "w");
        if (!f) return 1;
        std::fprintf(f, "// Written by tools/cubiertas; do not edit by hand.\n");
        std::fprintf(f, "#include \"reduction/CubiertasTabla.h\"\n\nnamespace tobal::cubiertas {\n\n");
        std::vector<int> columnas, sindromes;
        std::fprintf(f, "const Pieza Piezas[] = {\n");
        for (auto [k, v] : usadas) {
            const PiezaHallada& p = piezas[k];
            std::fprintf(f, "    {%d, %d, %d, %d, %d, %zu, %zu, %zu, %zu, %uu, %lld, %d},  // %s\n", p.t, p.d, p.r,
                         p.grupo.a, p.grupo.b, columnas.size(), columnas.size() + p.grupo.h.size(), sindromes.size(),
                         p.s.size(), p.semilla, static_cast<long long>(p.pasos), p.conjunta, p.como.c_str());
            columnas.insert(columnas.end(), p.grupo.h.begin(), p.grupo.h.end());
            columnas.insert(columnas.end(), p.grupo.g.begin(), p.grupo.g.end());
            sindromes.insert(sindromes.end(), p.s.begin(), p.s.end());
        }
        std::fprintf(f, "};\n\n");
        auto lista = [&](const char* nombre, const std::vector<int>& v) {
            std::fprintf(f, "const uint16_t %s[] = {", nombre);
            for (size_t i = 0; i < v.size(); ++i) std::fprintf(f, "%s%d,", i % 16 ? " " : "\n    ", v[i]);
            std::fprintf(f, "%s};\n\n", v.empty() ? "0" : "\n");
        };
        lista("Columnas", columnas);
        lista("Sindromes", sindromes);
        std::fprintf(f, "const Receta Recetas[15 * 15 * 2] = {\n");
        for (int t = 0; t <= 14; ++t)
            for (int d = 0; d <= 14; ++d)
                for (int r = 1; r <= 2; ++r) {
                    if (t + d > 14) {
                        std::fprintf(f, "    {},\n");
                        continue;
                    }
                    const Celda& c = t + d == 0 ? Celda{1, {tobal::cubiertas::kUnaPalabra, 0, 0, 0, -1, 1}, ""}
                                                : mejor[t][d][r];
                    const Receta& x = c.receta;
                    std::fprintf(f, "    {%d, %d, %d, %d, %d, %lld},  // %d+%d r%d\n", x.tipo, x.t1, x.d1, x.r1,
                                 x.tipo == tobal::cubiertas::kPieza ? usadas[x.pieza] : -1,
                                 static_cast<long long>(c.palabras), t, d, r);
                }
        std::fprintf(f, "};\n\n}  // namespace tobal::cubiertas\n");
        std::fclose(f);
    }
    if (salidaReadme) {
        FILE* f = std::fopen(salidaReadme, "w");
        if (!f) return 1;
        std::fprintf(f, "| triples + doubles | direct method | one error | how | two errors | how |\n");
        std::fprintf(f, "|---|---:|---:|---|---:|---|\n");
        for (int n = 1; n <= 14; ++n)
            for (int t = n; t >= 0; --t) {
                const int d = n - t;
                std::fprintf(f, "| %d + %d | %lld | %lld | %s | %lld | %s |\n", t, d, static_cast<long long>(tobal::ColumnasMetodoDirecto(t, d)),
                             static_cast<long long>(mejor[t][d][1].palabras), mejor[t][d][1].como.c_str(),
                             static_cast<long long>(mejor[t][d][2].palabras), mejor[t][d][2].como.c_str());
            }
        std::fclose(f);
    }
    return 0;
}
