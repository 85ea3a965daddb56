#include <gtest/gtest.h>

#include <map>
#include <set>

#include "reduction/Tablas.h"

namespace tobal {
namespace {

// The table picked for (triples, doubles) as (first row - 1, bets, triples
// taken, doubles taken, factor).
struct Eleccion {
    int inicio, apuestas, triples, dobles;
    float factor;
    bool operator==(const Eleccion&) const = default;
};

Eleccion Elige(int t, int d) {
    Estadistica e;
    e.TriplesReducir = static_cast<int16_t>(t);
    e.DoblesReducir = static_cast<int16_t>(d);
    EligeTabla(e);
    return {e.InicioTabla, e.ApuestasTabla, e.TriplesTabla, e.DoblesTabla, e.FactorReduccion};
}

// Every combination of the table's rows is within one sign of a column.
void CompruebaCobertura(const Eleccion& t) {
    const int filas = t.triples + t.dobles;
    int total = 1;
    for (int r = 0; r < filas; ++r) total *= r < t.triples ? 3 : 2;
    for (int r = 0; r < filas; ++r) {
        std::string_view fila = PatronesReduccion[static_cast<size_t>(t.inicio + 1 + r)];
        ASSERT_EQ(static_cast<int>(fila.size()), t.apuestas) << "row " << t.inicio + 1 + r;
        for (char c : fila) ASSERT_TRUE(c >= '1' && c <= (r < t.triples ? '3' : '2')) << fila;
    }
    for (int comb = 0; comb < total; ++comb) {
        std::string signos;  // the combination's digit per row
        for (int r = filas - 1, resto = comb; r >= 0; --r) {
            const int base = r < t.triples ? 3 : 2;
            signos.insert(signos.begin(), static_cast<char>('1' + resto % base));
            resto /= base;
        }
        bool cubierta = false;
        for (int k = 0; k < t.apuestas && !cubierta; ++k) {
            int fallos = 0;
            for (int r = 0; r < filas; ++r)
                fallos += PatronesReduccion[static_cast<size_t>(t.inicio + 1 + r)][static_cast<size_t>(k)] != signos[static_cast<size_t>(r)];
            cubierta = fallos <= 1;
        }
        ASSERT_TRUE(cubierta) << "table at row " << t.inicio + 1 << ", combination " << signos;
    }
    EXPECT_NEAR(t.factor, static_cast<float>(total) / static_cast<float>(t.apuestas), 0.01f);
}

TEST(Tablas, CadaTablaCubreSuProductoConUnFallo) {
    std::set<int> vistas;
    for (int i = 1; i <= 23; ++i) {
        const RegistroTabla& r = TablaReduccion[static_cast<size_t>(i)];
        const Eleccion e{r.Inicio, r.Apuestas, r.TriplesTabla, r.DoblesTabla, r.Factor};
        if (!vistas.insert(e.inicio).second) continue;
        SCOPED_TRACE(i);
        CompruebaCobertura(e);
    }
    for (auto [t, d] : {std::pair{4, 0}, {3, 3}, {0, 7}}) {  // the three tables before the records
        const Eleccion e = Elige(t, d);
        vistas.insert(e.inicio);
        CompruebaCobertura(e);
    }
    EXPECT_EQ(vistas.size(), 12u);
}

TEST(Tablas, EleccionParaCadaPar) {
    // The records: (triples, doubles) -> the table, by its first row - 1.
    const std::map<std::pair<int, int>, int> registros = {
        {{3, 2}, 17}, {{3, 1}, 54}, {{3, 0}, 54}, {{2, 6}, 20}, {{2, 5}, 20}, {{2, 4}, 27},
        {{2, 3}, 27}, {{2, 2}, 17}, {{2, 1}, 54}, {{2, 0}, 54}, {{1, 6}, 32}, {{1, 5}, 39},
        {{1, 4}, 17}, {{1, 3}, 17}, {{1, 2}, 17}, {{1, 1}, 54}, {{1, 0}, 54}, {{0, 6}, 45},
        {{0, 5}, 51}, {{0, 4}, 51}, {{0, 3}, 51}, {{0, 2}, 55}, {{0, 1}, 55}};
    const std::map<int, Eleccion> tablas = {
        {0, {0, 9, 4, 0, 9.0f}},    {4, {4, 24, 3, 3, 9.0f}},   {10, {10, 16, 0, 7, 8.0f}},
        {17, {17, 3, 1, 2, 4.0f}},  {20, {20, 36, 2, 5, 8.0f}}, {27, {27, 12, 2, 3, 6.0f}},
        {32, {32, 24, 1, 6, 8.0f}}, {39, {39, 18, 1, 5, 5.33f}}, {45, {45, 12, 0, 6, 5.33f}},
        {51, {51, 2, 0, 3, 4.0f}},  {54, {54, 1, 1, 0, 3.0f}},  {55, {55, 1, 0, 1, 2.0f}}};
    for (int t = 0; t <= 14; ++t) {
        for (int d = 0; d <= 14; ++d) {
            int inicio;
            if (t >= 4) inicio = 0;
            else if (t == 3 && d >= 3) inicio = 4;
            else if (d >= 7) inicio = 10;
            else if (t == 0 && d == 0) continue;
            else inicio = registros.at({t, d});
            const Eleccion e = Elige(t, d);
            EXPECT_EQ(e, tablas.at(inicio)) << t << " triples, " << d << " doubles";
            EXPECT_LE(e.triples, t);
            EXPECT_LE(e.dobles, d);
        }
    }
    // Nothing to reduce: the previous selection stays.
    Estadistica e;
    e.TriplesReducir = 1;
    e.DoblesReducir = 5;
    EligeTabla(e);
    e.TriplesReducir = e.DoblesReducir = 0;
    EligeTabla(e);
    EXPECT_EQ(e.ApuestasTabla, 18);
    EXPECT_EQ(e.FactorReduccion, 5.33f);
}

TEST(Tablas, NombresDeMetodo) {
    EXPECT_EQ(NombreMetodoCorto(1), "Directo            ");
    EXPECT_EQ(NombreMetodoCorto(2), "Columna Probable   ");
    EXPECT_EQ(NombreMetodoCorto(3), "Selecci\xF3n de Signos");
    for (int m = 1; m <= 3; ++m) {
        EXPECT_EQ(NombreMetodoCorto(m).size(), 19u);
        EXPECT_EQ(NombreMetodoLargo(m).size(), 29u);
    }
    EXPECT_EQ(NombreMetodoLargo(3).substr(0, 29), "M\xE9todo de Selecci\xF3n de Signos");
    EXPECT_TRUE(NombreMetodoCorto(0).empty());
    EXPECT_TRUE(NombreMetodoLargo(4).empty());
}

}  // namespace
}  // namespace tobal
