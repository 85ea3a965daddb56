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

const std::string kPagina = Utf8ACp1252("Página..: ");
constexpr double kAlto = 221;  // Courier New 9.75 en la impresora grabadora

// "Boleto" y el número de cada boleto, como en el encabezado de un bloque.
std::string Encabezado(std::initializer_list<int> boletos) {
    std::string r(10, ' ');
    for (int b : boletos) r += "Boleto" + AlineaDerecha(std::to_string(b), 6) + std::string(9, ' ');
    return r;
}

struct Relacion : ::testing::Test {
    prueba::EstadoPrueba p;
    ImpresoraGrabadora imp;
    ControlImpresion ctl;
    std::vector<std::string> progreso;

    void SetUp() override {
        ctl.progreso = [this](const std::string& t) { progreso.push_back(t); };
    }
    int Imprime(int columnas) {
        prueba::GrabaReduccionPrueba(p.st, 5, 2, columnas);
        Listado l = AbreListado(NumBoletos(columnas));
        return ImprimeRelacion(p.st, imp, l, ctl);
    }
    std::vector<OperacionImpresa> Encabezados() const { return imp.Textos("          Boleto"); }
    std::vector<OperacionImpresa> Filas() const { return imp.Textos(" -  "); }
};

TEST_F(Relacion, DiezBoletosEnPapelEstrechoSonTresBloquesEnUnaPagina) {
    EXPECT_EQ(Imprime(80), 3);
    const auto cabecera = imp.Textos("JORNADA NRO.");
    ASSERT_EQ(cabecera.size(), 1u);
    EXPECT_EQ(cabecera[0].texto, std::string(20, ' ') + "JORNADA NRO.  5 DE FECHA 01/09/02 (Orden  2)" +
                                     std::string(14, ' ') + kPagina + "1");
    const auto cab = Encabezados();
    ASSERT_EQ(cab.size(), 3u);
    EXPECT_EQ(
        std::vector<std::string>({cab[0].texto, cab[1].texto, cab[2].texto}),
        std::vector<std::string>({Encabezado({1, 2, 3, 4}), Encabezado({5, 6, 7, 8}), Encabezado({9, 10})}));
    // Cabecera (5 líneas) y por bloque 4 líneas vacías, 2 de encabezado, una
    // vacía y 15 filas, con 60 twips antes de la del partido 15.
    const auto filas = Filas();
    ASSERT_EQ(filas.size(), 45u);
    EXPECT_EQ(std::vector<double>({cab[0].y, cab[1].y, filas[13].y - filas[12].y, filas[14].y - filas[13].y}),
              std::vector<double>({9 * kAlto, 31 * kAlto + 60, kAlto, kAlto + 60}));
    // Bloque 1, partido 1: columnas 1..32, cada signo bajo el encabezado de su boleto.
    std::string esperada = "    1 -  ";
    for (int b = 0; b < 4; ++b) {
        for (int c = 1; c <= 8; ++c) esperada += std::string(" ") + ColumnaPrueba(8 * b + c)[0];
        esperada += std::string(5, ' ');
    }
    EXPECT_EQ(filas[0].texto, esperada);
    EXPECT_EQ(filas[44].texto.substr(9 + 42), std::string(42, ' '));  // bloque 3: dos boletos y blancos
    EXPECT_EQ(filas[44].texto[9 + 21 + 15], ColumnaPrueba(80)[14]);
    EXPECT_EQ(progreso,
              (std::vector<std::string>{"Imprimiendo el boleto nro. 4", "Imprimiendo el boleto nro. 8",
                                        "Imprimiendo el boleto nro. 10"}));
}

TEST_F(Relacion, CuartoBloqueEnPaginaNuevaBajoLaCabecera) {
    EXPECT_EQ(Imprime(13 * 8 - 3), 4);  // el último boleto tiene cinco columnas
    EXPECT_EQ(imp.Paginas(1), 2);
    const auto cabecera = imp.Textos("JORNADA NRO.");
    ASSERT_EQ(cabecera.size(), 2u);
    EXPECT_EQ(std::tie(cabecera[1].pagina, cabecera[1].y), std::make_tuple(2, 3 * kAlto));
    EXPECT_TRUE(prueba::Contiene(cabecera[1].texto, kPagina + "2"));
    EXPECT_EQ(Encabezados().at(3).texto, Encabezado({13}));
    std::string fila15;
    for (int c = 97; c <= 101; ++c) fila15 += std::string(" ") + ColumnaPrueba(c)[14];
    ASSERT_FALSE(Filas().empty());
    EXPECT_EQ(Filas().back().texto.substr(9, 16), fila15 + std::string(6, ' '));
}

TEST_F(Relacion, CancelarAcabaElBloqueYCierraElTrabajo) {
    std::atomic<bool> cancelado{true};
    ctl.cancelado = &cancelado;
    EXPECT_EQ(Imprime(80), 1);
    EXPECT_EQ(Filas().size(), 15u);
    EXPECT_EQ(imp.De(OperacionImpresa::Tipo::FinTrabajo).size(), 1u);
}

TEST(CamposListado, ReglasDeLosCampos) {
    EXPECT_EQ(
        std::vector<int>({NumBoletos(0), NumBoletos(1), NumBoletos(16), NumBoletos(17), CierraMargen("999"),
                          CierraMargen("-7"), CierraMargen(""), static_cast<int>(LongitudCampoBoleto(1234))}),
        std::vector<int>({0, 1, 2, 3, 999, 0, 0, 4}));
    EXPECT_EQ(std::vector<std::string>({FiltraBoleto("0", 7), FiltraBoleto("56", 7), FiltraCopias("0"),
                                        FiltraCopias("1234"), FiltraMargen("-5"), FiltraMargen("1234")}),
              std::vector<std::string>({"", "5", "", "123", "0", "123"}));
    // Cerrar un extremo del intervalo puede mover el otro; vacío o fuera, a su límite.
    Listado l = AbreListado(7);
    for (const auto& [inicial, texto, desde, hasta] :
         std::vector<std::tuple<bool, const char*, int, int>>{{false, "", 1, 7},
                                                              {false, "3", 1, 3},
                                                              {true, "5", 5, 5},
                                                              {false, "2", 2, 2},
                                                              {true, "", 1, 2},
                                                              {false, "9", 1, 7},
                                                              {true, "9", 7, 7}}) {
        (inicial ? CierraBoletoInicial : CierraBoletoFinal)(l, texto);
        EXPECT_EQ(std::make_pair(l.BoletoInicial, l.BoletoFinal), std::make_pair(desde, hasta))
            << inicial << texto;
    }
    CierraCopias(l, "999");
    EXPECT_EQ(l.Copias, 999);
    CierraCopias(l, "");
    EXPECT_EQ(l.Copias, 1);
}

}  // namespace
}  // namespace tobal
