#include <gtest/gtest.h>

#include <map>
#include <set>

#include "reduction/Tablas.h"

namespace tobal {
namespace {

// A selected table: first row - 1, bets, triples and doubles taken, factor.
struct Tabla {
    int inicio, apuestas, triples, dobles;
    float factor;
    bool operator==(const Tabla&) const = default;
};

Tabla Elige(int t, int d, Estadistica e = {}) {
    e.TriplesReducir = static_cast<int16_t>(t);
    e.DoblesReducir = static_cast<int16_t>(d);
    EligeTabla(e);
    return {e.InicioTabla, e.ApuestasTabla, e.TriplesTabla, e.DoblesTabla, e.FactorReduccion};
}

// Every combination of the table's rows is within one sign of a column.
void CompruebaCobertura(const Tabla& t) {
    SCOPED_TRACE(t.inicio);
    const int filas = t.triples + t.dobles;
    std::vector<std::string_view> f;
    int total = 1;
    for (int r = 0; r < filas; ++r) {
        f.push_back(PatronesReduccion[static_cast<size_t>(t.inicio + 1 + r)]);
        total *= r < t.triples ? 3 : 2;
        ASSERT_EQ(static_cast<int>(f[r].size()), t.apuestas);
        for (char c : f[r]) ASSERT_TRUE(c >= '1' && c <= (r < t.triples ? '3' : '2')) << f[r];
    }
    for (int comb = 0; comb < total; ++comb) {
        bool cubierta = false;
        for (int k = 0; k < t.apuestas && !cubierta; ++k) {
            int fallos = 0;
            for (int r = filas - 1, resto = comb; r >= 0; resto /= (r < t.triples ? 3 : 2), --r)
                fallos += f[r][k] != '1' + resto % (r < t.triples ? 3 : 2);
            cubierta = fallos <= 1;
        }
        ASSERT_TRUE(cubierta) << "combination " << comb;
    }
    EXPECT_NEAR(t.factor, static_cast<float>(total) / static_cast<float>(t.apuestas), 0.01f);
}

TEST(Tablas, CadaTablaCubreSuProductoConUnFallo) {
    std::set<int> vistas;
    for (int i = 1; i <= 23; ++i) {
        const RegistroTabla& r = TablaReduccion[static_cast<size_t>(i)];
        if (vistas.insert(r.Inicio).second) CompruebaCobertura({r.Inicio, r.Apuestas, r.TriplesTabla, r.DoblesTabla, r.Factor});
    }
    for (auto [t, d] : {std::pair{4, 0}, {3, 3}, {0, 7}}) {  // the three tables chosen before the records
        vistas.insert(Elige(t, d).inicio);
        CompruebaCobertura(Elige(t, d));
    }
    EXPECT_EQ(vistas.size(), 12u);
}

TEST(Tablas, EleccionParaCadaPar) {
    const std::map<int, Tabla> tablas = {
        {0, {0, 9, 4, 0, 9.0f}},    {4, {4, 24, 3, 3, 9.0f}},    {10, {10, 16, 0, 7, 8.0f}},
        {17, {17, 3, 1, 2, 4.0f}},  {20, {20, 36, 2, 5, 8.0f}},  {27, {27, 12, 2, 3, 6.0f}},
        {32, {32, 24, 1, 6, 8.0f}}, {39, {39, 18, 1, 5, 5.33f}}, {45, {45, 12, 0, 6, 5.33f}},
        {51, {51, 2, 0, 3, 4.0f}},  {54, {54, 1, 1, 0, 3.0f}},   {55, {55, 1, 0, 1, 2.0f}}};
    // The records' table for triples 0..3 (rows) and doubles 0..6 (columns).
    const int registros[4][7] = {{-1, 55, 55, 51, 51, 51, 45},
                                 {54, 54, 17, 17, 17, 39, 32},
                                 {54, 54, 17, 27, 27, 20, 20},
                                 {54, 54, 17, -1, -1, -1, -1}};
    for (int t = 0; t <= 14; ++t) {
        for (int d = 0; d <= 14; ++d) {
            const int inicio = t >= 4 ? 0 : t == 3 && d >= 3 ? 4 : d >= 7 ? 10 : registros[t][d];
            if (inicio < 0) continue;
            EXPECT_EQ(Elige(t, d), tablas.at(inicio)) << t << " triples, " << d << " doubles";
        }
    }
    // Nothing to reduce: the previous selection stays.
    Estadistica e;
    e.TriplesReducir = 1, e.DoblesReducir = 5;
    EligeTabla(e);
    EXPECT_EQ(Elige(0, 0, e), tablas.at(39));
    EXPECT_EQ(e.FactorReduccion, 5.33f);
}

TEST(Tablas, NombresDeMetodo) {
    EXPECT_EQ(NombreMetodoCorto(1), "Directo            ");
    EXPECT_EQ(NombreMetodoCorto(3), "Selecci\xF3n de Signos");
    EXPECT_EQ(NombreMetodoLargo(3), "M\xE9todo de Selecci\xF3n de Signos");
    EXPECT_TRUE(NombreMetodoCorto(0).empty());
    EXPECT_TRUE(NombreMetodoLargo(4).empty());
}

}  // namespace
}  // namespace tobal
