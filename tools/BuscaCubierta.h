#pragma once
// The search behind the shipped coverings (used by tools/cubiertas.cpp and
// by the test that checks the table is reproducible).
//
// A covering is sought as the set of words whose syndrome falls in a set S
// of the group A = Z3^a x Z2^b. The last a triples and the last b doubles
// carry the unit columns; the other triples carry the columns `h` (a base-3
// digits each, digit k worth 3^k) and the other doubles the columns `g` (b
// bits). The syndrome of a word is the sum of its digits times their
// columns, so it is a homomorphism onto A, and the words with a syndrome in S
// cover within R exactly when S + E = A, E being the syndromes of the changes
// of at most R signs. With a = triples and b = doubles the search is plain
// local search over the words themselves.
//
// S is found by local search with row weighting: with a covering in hand one
// syndrome leaves; then each step swaps one syndrome out and one in that
// covers a point left uncovered, and the weights of the uncovered points grow
// so the search leaves the places it keeps failing. Deterministic from the
// seed and the number of steps.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace tobal::busqueda {

struct Grupo {
    int a = 0, b = 0;
    int radio = 1;
    std::vector<int> h;  // columns of the free triples
    std::vector<int> g;  // columns of the free doubles
};

inline int Pot3(int k) {
    int p = 1;
    while (k-- > 0) p *= 3;
    return p;
}

// Syndromes in A: index u3 + 3^a * u2.
struct Espacio {
    int a, b, n3, puntos;
    std::vector<int> errores;  // E, 0 first
    std::vector<int> vecinos;  // puntos * |E|: p + E (E is symmetric)

    int Suma(int p, int q) const {
        int u = p % n3, v = q % n3, r = 0;
        for (int k = 0, w = 1; k < a; ++k, w *= 3) r += ((u / w % 3 + v / w % 3) % 3) * w;
        return r + n3 * ((p / n3) ^ (q / n3));
    }

    explicit Espacio(const Grupo& gr) : a(gr.a), b(gr.b), n3(Pot3(gr.a)), puntos(Pot3(gr.a) << gr.b) {
        // The changes of one sign, coordinate by coordinate.
        std::vector<std::vector<int>> cambios;
        auto triple = [&](int col) { cambios.push_back({col, Suma(col, col)}); };
        for (int c : gr.h) triple(c);
        for (int k = 0; k < a; ++k) triple(Pot3(k));
        for (int c : gr.g) cambios.push_back({n3 * c});
        for (int k = 0; k < b; ++k) cambios.push_back({n3 << k});
        std::vector<char> en(puntos, 0);
        en[0] = 1;
        errores.push_back(0);
        auto pon = [&](int p) {
            if (!en[p]) en[p] = 1, errores.push_back(p);
        };
        for (size_t i = 0; i < cambios.size(); ++i)
            for (int c : cambios[i]) {
                pon(c);
                if (gr.radio >= 2)
                    for (size_t j = i + 1; j < cambios.size(); ++j)
                        for (int c2 : cambios[j]) pon(Suma(c, c2));
            }
        const size_t ne = errores.size();
        vecinos.resize(static_cast<size_t>(puntos) * ne);
        for (int p = 0; p < puntos; ++p)
            for (size_t k = 0; k < ne; ++k) vecinos[p * ne + k] = Suma(p, errores[k]);
    }
};

// Small deterministic generator (the standard library's distributions are
// not the same everywhere).
struct Azar {
    uint64_t s;
    explicit Azar(uint64_t semilla) : s(semilla * 0x9E3779B97F4A7C15ull + 1) {}
    uint32_t operator()() {
        s ^= s << 13, s ^= s >> 7, s ^= s << 17;
        return static_cast<uint32_t>(s >> 11);
    }
    int Hasta(int n) { return static_cast<int>((*this)() % static_cast<uint32_t>(n)); }
};

// The smallest S found in `pasos` steps, sorted.
inline std::vector<int> BuscaSindromes(const Espacio& es, uint64_t semilla, int64_t pasos) {
    const int np = es.puntos;
    const int ne = static_cast<int>(es.errores.size());
    const int* vec = es.vecinos.data();
    std::vector<int> cubre(np, 0), peso(np, 1), marca(np, -1);
    std::vector<int64_t> puntos(np, 0);  // in S: minus the weight it alone covers; out: the uncovered weight it would cover
    std::vector<int> enS(np, -1), sol, descubiertos, posDesc(np, -1);
    Azar azar(semilla);

    auto quitaDesc = [&](int p) {
        const int i = posDesc[p], u = descubiertos.back();
        descubiertos[i] = u, posDesc[u] = i;
        descubiertos.pop_back(), posDesc[p] = -1;
    };
    auto otro = [&](int p, int excepto) {
        for (int k = 0; k < ne; ++k) {
            const int q = vec[p * ne + k];
            if (enS[q] >= 0 && q != excepto) return q;
        }
        return -1;
    };
    auto pon = [&](int q) {
        enS[q] = static_cast<int>(sol.size());
        sol.push_back(q);
        for (int k = 0; k < ne; ++k) {
            const int p = vec[q * ne + k];
            if (++cubre[p] == 1) {
                quitaDesc(p);
                for (int j = 0; j < ne; ++j) puntos[vec[p * ne + j]] -= peso[p];
            } else if (cubre[p] == 2) {
                puntos[otro(p, q)] += peso[p];
            }
        }
        int64_t s = 0;
        for (int k = 0; k < ne; ++k) {
            const int p = vec[q * ne + k];
            if (cubre[p] == 1) s -= peso[p];
        }
        puntos[q] = s;
    };
    auto saca = [&](int q) {
        const int i = enS[q], u = sol.back();
        sol[i] = u, enS[u] = i;
        sol.pop_back(), enS[q] = -1;
        for (int k = 0; k < ne; ++k) {
            const int p = vec[q * ne + k];
            if (--cubre[p] == 0) {
                posDesc[p] = static_cast<int>(descubiertos.size());
                descubiertos.push_back(p);
                for (int j = 0; j < ne; ++j) puntos[vec[p * ne + j]] += peso[p];
            } else if (cubre[p] == 1) {
                puntos[otro(p, -1)] -= peso[p];
            }
        }
        int64_t s = 0;
        for (int k = 0; k < ne; ++k) {
            const int p = vec[q * ne + k];
            if (cubre[p] == 0) s += peso[p];
        }
        puntos[q] = s;
    };

    // Start: every point is uncovered; take each uncovered point in turn.
    for (int p = 0; p < np; ++p) posDesc[p] = p, descubiertos.push_back(p), puntos[p] = 0;
    for (int p = 0; p < np; ++p)
        for (int k = 0; k < ne; ++k) puntos[vec[p * ne + k]] += 1;
    for (int p = 0; p < np; ++p)
        if (!cubre[p]) pon(p);
    std::vector<int> mejor = sol;

    auto peorDeS = [&](int excepto) {
        int elegido = -1;
        for (int q : sol) {
            if (q == excepto) continue;
            if (elegido < 0 || puntos[q] > puntos[elegido] ||
                (puntos[q] == puntos[elegido] && marca[q] < marca[elegido]))
                elegido = q;
        }
        return elegido;
    };
    int anadido = -1;
    for (int64_t paso = 0; paso < pasos; ++paso) {
        while (descubiertos.empty()) {
            mejor = sol;
            if (sol.size() <= 1) {
                std::sort(mejor.begin(), mejor.end());
                return mejor;
            }
            saca(peorDeS(-1));
        }
        const int fuera = peorDeS(anadido);
        if (fuera < 0) break;
        saca(fuera);
        marca[fuera] = static_cast<int>(paso);
        const int p = descubiertos[azar.Hasta(static_cast<int>(descubiertos.size()))];
        int dentro = -1;
        for (int k = 0; k < ne; ++k) {
            const int q = vec[p * ne + k];
            if (enS[q] >= 0 || q == fuera) continue;
            if (dentro < 0 || puntos[q] > puntos[dentro] || (puntos[q] == puntos[dentro] && marca[q] < marca[dentro]))
                dentro = q;
        }
        if (dentro < 0) dentro = fuera;
        pon(dentro);
        marca[dentro] = static_cast<int>(paso);
        anadido = dentro;
        for (int u : descubiertos) {
            ++peso[u];
            for (int k = 0; k < ne; ++k) ++puntos[vec[u * ne + k]];
        }
    }
    std::sort(mejor.begin(), mejor.end());
    return mejor;
}

// Columns and S sought together, for one error: simulated annealing that
// changes one column or one syndrome at a time and counts the points of A
// left uncovered. True when k syndromes (or fewer) cover; gr.h, gr.g and s
// are then the result.
inline bool BuscaConjunta(Grupo& gr, int triples, int dobles, int k, uint64_t semilla, int64_t pasos,
                          std::vector<int>& s) {
    const int n3 = Pot3(gr.a), puntos = n3 << gr.b;
    const Espacio base(Grupo{gr.a, gr.b, 1, {}, {}});
    Azar azar(semilla);
    const int lt = triples - gr.a, ld = dobles - gr.b;
    if ((lt > 0 && n3 == 1) || (ld > 0 && gr.b == 0)) return false;
    gr.h.assign(lt, 0), gr.g.assign(ld, 0);
    for (int& c : gr.h) c = 1 + azar.Hasta(n3 - 1);
    for (int& c : gr.g) c = 1 + azar.Hasta((1 << gr.b) - 1);
    s.assign(k, 0);
    for (int& x : s) x = azar.Hasta(puntos);
    std::vector<int> errores;
    std::vector<char> cubierto(puntos);
    auto descubiertos = [&]() {
        errores.assign(base.errores.begin(), base.errores.end());
        for (int c : gr.h) errores.push_back(c), errores.push_back(base.Suma(c, c));
        for (int c : gr.g) errores.push_back(n3 * c);
        std::fill(cubierto.begin(), cubierto.end(), 0);
        for (int x : s)
            for (int e : errores) cubierto[base.Suma(x, e)] = 1;
        return static_cast<int>(std::count(cubierto.begin(), cubierto.end(), 0));
    };
    int actual = descubiertos();
    const int cambiables = lt + ld + k;
    for (int64_t paso = 0; paso < pasos && actual > 0; ++paso) {
        // The temperature falls linearly from 2 to 0.05; worse by w is taken
        // with probability exp(-w / temperature).
        const double temperatura = 0.05 + 1.95 * static_cast<double>(pasos - paso) / static_cast<double>(pasos);
        const int cual = azar.Hasta(cambiables);
        int* sitio = cual < lt ? &gr.h[cual] : cual < lt + ld ? &gr.g[cual - lt] : &s[cual - lt - ld];
        const int antes = *sitio;
        *sitio = cual < lt ? 1 + azar.Hasta(n3 - 1) : cual < lt + ld ? 1 + azar.Hasta((1 << gr.b) - 1) : azar.Hasta(puntos);
        const int nuevo = descubiertos();
        const bool toma = nuevo <= actual ||
                          static_cast<double>(azar() % 1000000) < 1e6 * std::exp((actual - nuevo) / temperatura);
        if (toma) actual = nuevo;
        else *sitio = antes;
    }
    std::sort(s.begin(), s.end());
    s.erase(std::unique(s.begin(), s.end()), s.end());
    return actual == 0;
}

}  // namespace tobal::busqueda
