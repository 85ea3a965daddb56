// The minimal reduction with conditions: the covering of the results that
// meet them, checked against a plain greedy covering of the same results.

#include <gtest/gtest.h>

#include <random>
#include <set>

#include "Corrida.h"
#include "reduction/Condiciones.h"
#include "reduction/CubiertaCondicionada.h"

namespace tobal {
namespace {

using prueba::Distancia;

// For random bases, states and conditions, the covering of one state
// against a plain greedy covering of the same results (each step the first
// word of greatest gain, words in the covering's order: the reduced triples
// then the reduced doubles in match order, the last fastest): never larger,
// nor than the covering without conditions; the same results counted; the
// same words again for the same input.
TEST(CubreCondiciones, NoMayorQueLaVorazNiQueLaCubiertaSinCondiciones) {
    std::mt19937 g(3131);
    for (int caso = 0; caso < 80; ++caso) {
        const int t = static_cast<int>(g() % 5), d = static_cast<int>(g() % 4), radio = 1 + caso % 2;
        Reduccion r;
        prueba::BaseAleatoria(g, r, 4, t, d, static_cast<int>(g() % 3));
        const Condiciones cs = prueba::CondicionesAleatorias(g);
        std::string estado(14, '1');
        std::vector<std::string> palabras{estado};
        std::vector<size_t> bases;
        for (size_t n : {3u, 2u})
            for (size_t m = 0; m < 14; ++m) {
                std::string s;
                for (int k = 1; k <= 3; ++k)
                    if (r.Partidos[m + 1].Signo[k]) s += "1X2"[k - 1];
                if (r.Partidos[m + 1].AReducir != 1) estado[m] = s[g() % s.size()];
                if (r.Partidos[m + 1].AReducir != 1 || s.size() != n) continue;
                bases.push_back(n);
                std::vector<std::string> mas;
                for (const auto& w : palabras)
                    for (char x : s) mas.push_back(w), mas.back()[m] = x;
                palabras.swap(mas);
            }
        std::vector<bool> cumple;
        for (auto& w : palabras) {
            for (size_t m = 0; m < 14; ++m)
                if (r.Partidos[m + 1].AReducir != 1) w[m] = estado[m];
            cumple.push_back(CumpleCondiciones(cs, w));
        }
        SCOPED_TRACE(TextoBase(r.Partidos) + " | " + estado + " R " + std::to_string(radio) + "\n" +
                     TextoFicheroCondiciones(cs));
        std::set<size_t> voraz;
        for (std::vector<bool> falta = cumple;;) {
            size_t mejor = 0, ganancia = 0;
            for (size_t x = 0; x < palabras.size(); ++x) {
                size_t gx = 0;
                for (size_t y = 0; y < palabras.size(); ++y)
                    gx += falta[y] && Distancia(palabras[x], palabras[y]) <= radio;
                if (gx > ganancia) mejor = x, ganancia = gx;
            }
            if (!ganancia) break;
            voraz.insert(mejor);
            for (size_t y = 0; y < palabras.size(); ++y)
                falta[y] = falta[y] && Distancia(palabras[mejor], palabras[y]) > radio;
        }
        CubiertaCondicionada cc(r, cs, radio), otra(r, cs, radio);
        ASSERT_TRUE(cc.Construye(estado));
        EXPECT_EQ(cc.Condicionados(), std::count(cumple.begin(), cumple.end(), true));
        const Cubierta sin = ConstruyeCubierta(t, d, radio);
        EXPECT_LE(cc.Resultado().palabras, voraz.size());
        EXPECT_LE(cc.Resultado().palabras, sin.palabras);
        // Its words are the greedy's less some, or the covering's without conditions.
        std::set<size_t> escritas, deSin;
        for (const auto& [c, a] : {std::pair{&cc.Resultado(), &escritas}, {&sin, &deSin}})
            for (size_t w = 0, i = 0; w < c->palabras; ++w, a->insert(i), i = 0)
                for (size_t k = 0; k < bases.size(); ++k) i = i * bases[k] + c->digitos[w * bases.size() + k];
        EXPECT_TRUE(std::includes(voraz.begin(), voraz.end(), escritas.begin(), escritas.end()) ||
                    std::includes(deSin.begin(), deSin.end(), escritas.begin(), escritas.end()));
        ASSERT_TRUE(otra.Construye(estado));
        EXPECT_EQ(otra.Resultado().digitos, cc.Resultado().digitos);
        EXPECT_EQ(otra.Resultado().palabras, cc.Resultado().palabras);
    }
}

// A cancel while a covering is being built stops the run and leaves the
// folder as it was.
TEST(CubreCondiciones, CancelarMientrasSeConstruyeNoDejaNada) {
    prueba::Corrida c;
    c.Prepara(4, "1X2* 1X2* 1X2* 1X2* 1X2* 1X2* 1X2* 1X2* 1X2* 1X2* 1 1 1 1 1");
    ASSERT_FALSE(LeeCondicion("X 2-6", c.st.CondicionesActuales.lista.emplace_back()));
    const auto antes = prueba::Ficheros(c.e.dir());
    std::atomic<bool> cancelar{false};
    int ultimo = 0;
    const auto res = c.Ejecuta([&](int p, const std::string&) { cancelar = (ultimo = p) >= 1; }, &cancelar);
    EXPECT_EQ(res.fin, FinReduccion::Cancelada);
    EXPECT_LT(ultimo, 100);
    EXPECT_EQ(res.columnas, 0);
    EXPECT_EQ(prueba::Ficheros(c.e.dir()), antes);
}

}  // namespace
}  // namespace tobal
