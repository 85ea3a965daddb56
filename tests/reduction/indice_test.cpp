#include <gtest/gtest.h>

#include "Soporte.h"
#include "data/Jornadas.h"
#include "reduction/Almacen.h"
#include "reduction/Indice.h"

namespace tobal {
namespace {

using namespace prueba;

std::string Registro(int j, int o, int metodo, std::array<int, 5> params, int directas, int reducidas) {
    auto c = [](int v) { return static_cast<int16_t>(v); };
    Reduccion r;
    r.Jornada = c(j), r.Orden = c(o), r.Metodo = c(metodo), r.MinErrores = c(params[0]), r.MaxErrores = c(params[1]);
    r.Signos = {0, c(params[2]), c(params[3]), c(params[4])};
    r.ApuestasDirectas = directas, r.ApuestasReducidas = reducidas;
    return RegistroBase(r);
}

TEST(Indice, LineasYCabeceras) {
    const std::string reg7 = RegistroEditor(RegistroJornadaVacio(), 7, "15/03/03", {});

    const std::string l2 = LineaIndice(Registro(7, 12, 2, {3, 11, 0, 0, 0}, 4782969, 1234), reg7);
    EXPECT_EQ(l2, "  7 15/03/03  12  Columna Probable      3  11                 4782969        1234");
    const std::string l3 = LineaIndice(Registro(12, 1, 3, {0, 0, 5, 4, 5}, 19683, 45), reg7);
    EXPECT_EQ(l3, " 12            1  Selecci\xF3n de Signos            5   4   5      19683          45");
    const std::string l1 = LineaIndice(Registro(7, 3, 1, {0, 0, 0, 0, 0}, 1, 1), RegistroJornadaVacio());
    EXPECT_EQ(l1, "  7            3  Directo                                           1           1");
    for (const auto& l : {l1, l2, l3}) EXPECT_EQ(l.size(), 81u);

    // A method digit that is not 1 to 3, and digits that are letters: still
    // 81 characters, no crash.
    std::string raro = Registro(7, 4, 1, {0, 0, 0, 0, 0}, 9, 9);
    raro[4] = '7';
    raro.replace(15, 7, "abcdefg");
    EXPECT_EQ(LineaIndice(raro, reg7).size(), 81u);
    EXPECT_EQ(LineaIndice("07", reg7).size(), 81u);
}

TEST(Indice, CargaYPaginas) {
    EstadoPrueba e;
    std::string bases;
    for (int k = 0; k < 50; ++k) {
        bases += Registro(1 + k / 30, 1 + k % 30, 1, {0, 0, 0, 0, 0}, 9, 3) + "\r\n";
        if (k % 10 == 0) bases += RegistroLibre() + "\r\n";
    }
    bases += "0x05 damaged line\r\n";
    EscribeBytes(e.dir() / "BASES.TBX", bases);
    e.st.Jornada() = 2;
    e.st.Orden() = 15;  // the 45th reduction
    Indice ind = CargaIndice(e.st);
    ASSERT_EQ(ind.lineas.size(), 50u);
    EXPECT_EQ(ind.actual, 44);
    EXPECT_EQ(ind.superior, 40);
    EXPECT_EQ(ind.lineas[44].substr(0, 16), "  2           15");
    EXPECT_TRUE(e.mensajes.mensajes.empty());

    EXPECT_TRUE(HayPaginaSiguiente(20, 50) && HayPaginaSiguiente(0, 21) && HayPaginaAnterior(20));
    EXPECT_FALSE(HayPaginaSiguiente(40, 50) || HayPaginaSiguiente(0, 20) || HayPaginaAnterior(0));

    ASSERT_TRUE(EligeLineaIndice(e.st, ind, 3));
    EXPECT_EQ(e.st.Jornada(), 2);
    EXPECT_EQ(e.st.Orden(), 14);
    EXPECT_EQ(e.st.IndiceElegido, Verdadero);
    e.st.IndiceElegido = Falso;
    EXPECT_FALSE(EligeLineaIndice(e.st, ind, 10));  // page 40-49 has 10 lines
    EXPECT_EQ(e.st.IndiceElegido, Falso);

    // Not found: first page. Missing file: empty, with the report.
    e.st.Jornada() = 9;
    EXPECT_EQ(CargaIndice(e.st).superior, 0);
    EscribeBytes(e.dir() / "BASES.TBX", RegistroLibre() + "\r\n" + RegistroLibre() + "\r\n");
    EXPECT_TRUE(CargaIndice(e.st).lineas.empty());
    std::filesystem::remove(e.dir() / "BASES.TBX");
    EXPECT_TRUE(CargaIndice(e.st).lineas.empty());
    EXPECT_EQ(e.mensajes.mensajes.size(), 1u);
}

TEST(Indice, PulsacionesEnLaCarpeta) {
    // Lines start 34 pixels down, 16 apart; only rows 3-14 of each pick.
    const std::array<int, 4> casos[] = {{37, 0, 50, 0},   {48, 0, 50, 0},      {36, 0, 50, 99},    {49, 0, 50, 99},
                                        {53, 0, 50, 1},   {349, 0, 50, 19},    {350, 0, 50, 99},   {20, 0, 50, 99},
                                        {0, 0, 50, 99},   {183, 40, 50, 9},    {199, 40, 50, 99},  {40, 0, 0, 99}};
    for (const auto& [y, superior, total, linea] : casos) EXPECT_EQ(HallaCualLinea(y, superior, total), linea) << y;

    const int w = 600, h = 400;
    int linea = -1;
    EXPECT_EQ(ZonaEnCarpeta(w - 10, h - 5, w, h, 0, 21, linea), ZonaCarpeta::Siguiente);
    EXPECT_EQ(ZonaEnCarpeta(w - 10, h - 5, w, h, 0, 20, linea), ZonaCarpeta::Nada);
    EXPECT_EQ(ZonaEnCarpeta(10, h - 5, w, h, 20, 21, linea), ZonaCarpeta::Anterior);
    EXPECT_EQ(ZonaEnCarpeta(10, h - 5, w, h, 0, 21, linea), ZonaCarpeta::Nada);
    EXPECT_EQ(ZonaEnCarpeta(100, 34 + 16 + 5, w, h, 0, 21, linea), ZonaCarpeta::Linea);
    EXPECT_EQ(linea, 1);
    EXPECT_EQ(ZonaEnCarpeta(15, 34 + 16 + 5, w, h, 0, 21, linea), ZonaCarpeta::Nada);
    EXPECT_EQ(ZonaEnCarpeta(w - 6, 34 + 16 + 5, w, h, 0, 21, linea), ZonaCarpeta::Nada);
    EXPECT_EQ(ZonaEnCarpeta(100, 34 + 5, w, h, 0, 0, linea), ZonaCarpeta::Nada);  // empty folder
}

}  // namespace
}  // namespace tobal
