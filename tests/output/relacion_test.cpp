// La relación de boletos en la impresora grabadora, y las reglas de los campos
// de la pantalla de impresión.

#include <gtest/gtest.h>

#include <atomic>

#include "Soporte.h"
#include "app/Texto.h"
#include "output/Impresora.h"
#include "output/ImpresoraGrabadora.h"
#include "output/Relacion.h"

namespace tobal {
namespace {

using prueba::ColumnaPrueba;
using prueba::EstadoPrueba;
using prueba::GrabaReduccionPrueba;
using Tipo = OperacionImpresa::Tipo;

const std::string kPagina = Utf8ACp1252("Página..: ");
constexpr double kAlto = 221;  // Courier New 9.75 en la impresora grabadora

struct Relacion : ::testing::Test {
    EstadoPrueba p;
    ImpresoraGrabadora imp;
    ControlImpresion ctl;
    std::vector<std::string> progreso;

    void SetUp() override {
        ctl.progreso = [this](const std::string& t) { progreso.push_back(t); };
    }
    int Imprime(int columnas, int ancho = 0, int desde = 1) {
        GrabaReduccionPrueba(p.st, 5, 2, columnas);
        Listado l = AbreListado(NumBoletos(columnas));
        l.AnchoPapel = static_cast<int16_t>(ancho);
        l.BoletoInicial = desde;
        return ImprimeRelacion(p.st, imp, l, ctl);
    }
    std::vector<OperacionImpresa> Cabeceras() const { return imp.Textos("          Boleto"); }
};

TEST_F(Relacion, DiezBoletosEnPapelEstrechoSonTresBloquesEnUnaPagina) {
    EXPECT_EQ(Imprime(80), 3);
    EXPECT_EQ(imp.Trabajos(), 1);
    EXPECT_EQ(imp.Paginas(1), 1);
    EXPECT_EQ(imp.De(Tipo::FinTrabajo).size(), 1u);

    const auto cabecera = imp.Textos("JORNADA NRO.");
    ASSERT_EQ(cabecera.size(), 1u);
    EXPECT_EQ(cabecera[0].texto, std::string(20, ' ') + "JORNADA NRO.  5 DE FECHA 01/09/02 (Orden  2)" +
                                     std::string(14, ' ') + kPagina + "1");
    EXPECT_EQ(cabecera[0].y, 3 * kAlto);
    EXPECT_EQ(cabecera[0].fuente, "Courier New");
    EXPECT_EQ(cabecera[0].tamano, 9.75);
    EXPECT_FALSE(cabecera[0].negrita);

    const auto cab = Cabeceras();
    ASSERT_EQ(cab.size(), 3u);
    const std::string b = "Boleto";
    const std::string sep(9, ' ');
    EXPECT_EQ(cab[0].texto, std::string(10, ' ') + b + "     1" + sep + b + "     2" + sep + b + "     3" + sep + b +
                                "     4" + sep);
    EXPECT_EQ(cab[2].texto, std::string(10, ' ') + b + "     9" + sep + b + "    10" + sep);
    EXPECT_EQ(imp.Textos("---------------")[2].texto, std::string(10, ' ') + std::string(15, '-') +
                                                          std::string(6, ' ') + std::string(15, '-') +
                                                          std::string(6, ' '));
    // Cabecera (5 líneas) y por bloque 4 líneas vacías, 2 de encabezado, una
    // vacía y 15 filas, con 60 twips antes de la última.
    EXPECT_EQ(cab[0].y, (5 + 4) * kAlto);
    EXPECT_EQ(cab[1].y, (5 + 22 + 4) * kAlto + 60);
    EXPECT_EQ(progreso, (std::vector<std::string>{"Imprimiendo el boleto nro. 4", "Imprimiendo el boleto nro. 8",
                                                  "Imprimiendo el boleto nro. 10"}));
}

TEST_F(Relacion, FilasConLosSignosDeCadaBoletoBajoSuEncabezado) {
    Imprime(80);
    const auto filas = imp.Textos(" -  ");
    ASSERT_EQ(filas.size(), 45u);
    // Bloque 1, partido 1: columnas 1..32.
    std::string esperada = "    1 -  ";
    for (int t = 0; t < 4; ++t) {
        for (int c = 1; c <= 8; ++c) esperada += std::string(" ") + ColumnaPrueba(8 * t + c)[0];
        esperada += std::string(5, ' ');
    }
    EXPECT_EQ(filas[0].texto, esperada);
    EXPECT_EQ(filas[0].texto.size(), 93u);
    // "Boleto" va sobre el primer signo de su boleto.
    EXPECT_EQ(Cabeceras()[0].texto.find("Boleto"), 10u);
    EXPECT_EQ(filas[0].texto.find_first_of("1X2", 8), 10u);
    // El partido 15 va 60 twips más abajo que el paso de las otras filas.
    EXPECT_EQ(filas[13].y - filas[12].y, kAlto);
    EXPECT_EQ(filas[14].y - filas[13].y, kAlto + 60);
    EXPECT_EQ(filas[14].texto.substr(0, 9), "   15 -  ");
    // Bloque 3: boletos 9 y 10, el resto en blanco.
    const std::string& ultima = filas[44].texto;
    EXPECT_EQ(ultima.substr(9 + 42), std::string(42, ' '));
    EXPECT_EQ(ultima[9 + 21 + 15], ColumnaPrueba(80)[14]);
}

TEST_F(Relacion, CuartoBloqueEnPaginaNuevaBajoLaCabecera) {
    EXPECT_EQ(Imprime(13 * 8 - 3), 4);  // el último boleto tiene cinco columnas
    EXPECT_EQ(imp.Paginas(1), 2);
    const auto cabecera = imp.Textos("JORNADA NRO.");
    ASSERT_EQ(cabecera.size(), 2u);
    EXPECT_EQ(cabecera[1].pagina, 2);
    EXPECT_EQ(cabecera[1].y, 3 * kAlto);
    EXPECT_NE(cabecera[1].texto.find(kPagina + "2"), std::string::npos);
    const auto cab = Cabeceras();
    EXPECT_EQ(cab[3].pagina, 2);
    EXPECT_EQ(cab[3].texto, std::string(10, ' ') + "Boleto    13" + std::string(9, ' '));
    // Partido 15 del boleto 13: sus cinco columnas y luego blancos.
    std::string fila15;
    for (int c = 97; c <= 101; ++c) fila15 += std::string(" ") + ColumnaPrueba(c)[14];
    EXPECT_EQ(imp.Textos(" -  ").back().texto.substr(9, 16), fila15 + std::string(6, ' '));
}

TEST_F(Relacion, PapelAnchoConSieteBoletosYElNumeroDePaginaMasAlla) {
    Imprime(80, 1);
    const auto cab = Cabeceras();
    ASSERT_EQ(cab.size(), 2u);
    EXPECT_EQ(cab[1].texto, std::string(10, ' ') + "Boleto     8" + std::string(9, ' ') + "Boleto     9" +
                                std::string(9, ' ') + "Boleto    10" + std::string(9, ' '));
    EXPECT_EQ(imp.Textos(" -  ")[0].texto.size(), 156u);
    const std::string cabecera = imp.Textos("JORNADA NRO.")[0].texto;
    EXPECT_EQ(cabecera.find(kPagina), 20u + 44 + 14 + 50);
}

TEST_F(Relacion, IntervaloEmpiezaEnSuBoletoYSinFicheroNoSeImprimeNada) {
    Imprime(80, 0, 6);
    const auto cab = Cabeceras();
    ASSERT_EQ(cab.size(), 2u);
    EXPECT_EQ(cab[0].texto.substr(10, 12), "Boleto     6");
    EXPECT_EQ(imp.Textos(" -  ")[0].texto.substr(9, 2), std::string(" ") + ColumnaPrueba(41)[0]);

    imp = ImpresoraGrabadora{};
    p.st.Orden() = 9;
    Listado l = AbreListado(10);
    EXPECT_EQ(ImprimeRelacion(p.st, imp, l, ctl), 0);
    EXPECT_TRUE(imp.ops.empty());
    EXPECT_TRUE(p.mensajes.mensajes.empty());
}

TEST_F(Relacion, CancelarAcabaElBloqueYCierraElTrabajo) {
    std::atomic<bool> cancelado{true};
    ctl.cancelado = &cancelado;
    EXPECT_EQ(Imprime(80), 1);
    EXPECT_EQ(imp.Textos(" -  ").size(), 15u);
    EXPECT_EQ(imp.De(Tipo::FinTrabajo).size(), 1u);
}

TEST(CamposListado, IntervaloDeBoletosSegunLasReglasDelCampo) {
    EXPECT_EQ(NumBoletos(0), 0);
    EXPECT_EQ(NumBoletos(1), 1);
    EXPECT_EQ(NumBoletos(16), 2);
    EXPECT_EQ(NumBoletos(17), 3);

    Listado l = AbreListado(7);
    EXPECT_EQ(l.BoletoInicial, 1);
    EXPECT_EQ(l.BoletoFinal, 7);
    EXPECT_EQ(LongitudCampoBoleto(7), 1u);
    EXPECT_EQ(LongitudCampoBoleto(1234), 4u);
    EXPECT_EQ(FiltraBoleto("0", 7), "");
    EXPECT_EQ(FiltraBoleto("56", 7), "5");
    CierraBoletoFinal(l, "");
    EXPECT_EQ(l.BoletoFinal, 7);
    CierraBoletoFinal(l, "3");
    CierraBoletoInicial(l, "5");
    EXPECT_EQ(l.BoletoInicial, 5);
    EXPECT_EQ(l.BoletoFinal, 5);
    CierraBoletoFinal(l, "2");
    EXPECT_EQ(l.BoletoInicial, 2);
    EXPECT_EQ(l.BoletoFinal, 2);
    CierraBoletoInicial(l, "");
    EXPECT_EQ(l.BoletoInicial, 1);
    CierraBoletoFinal(l, "9");
    EXPECT_EQ(l.BoletoFinal, 7);
    CierraBoletoInicial(l, "9");
    EXPECT_EQ(l.BoletoInicial, 7);
}

TEST(CamposListado, CopiasYMargenes) {
    Listado l = AbreListado(3);
    EXPECT_EQ(l.Copias, 1);
    EXPECT_EQ(FiltraCopias("0"), "");
    EXPECT_EQ(FiltraCopias("1234"), "123");
    CierraCopias(l, "12");
    EXPECT_EQ(l.Copias, 12);
    CierraCopias(l, "");
    EXPECT_EQ(l.Copias, 1);

    EXPECT_EQ(FiltraMargen("-5"), "0");
    EXPECT_EQ(FiltraMargen("1234"), "123");
    EXPECT_EQ(CierraMargen("999"), 999);
    EXPECT_EQ(CierraMargen("-7"), 0);
    EXPECT_EQ(CierraMargen(""), 0);
    EXPECT_DOUBLE_EQ(AjusteTwips(999), 5664.33);
}

}  // namespace
}  // namespace tobal
