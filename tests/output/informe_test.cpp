// El informe de escrutinio en la impresora grabadora.

#include <gtest/gtest.h>

#include "app/Texto.h"
#include "data/Jornadas.h"
#include "output/ImpresoraGrabadora.h"
#include "output/InformeEscrutinio.h"

namespace tobal {
namespace {

using Tipo = OperacionImpresa::Tipo;
constexpr double kAlto = 221;

std::string W(const char* utf8) { return Utf8ACp1252(utf8); }

// Filas como las lista la pantalla de escrutinio.
std::string Fila(int h, int cuenta, const std::string& importe) {
    return "  " + AlineaDerecha(std::to_string(h), 2) + "  " + AlineaDerecha(std::to_string(cuenta), 6) + "  " +
           (importe.empty() ? std::string(" ") : AlineaDerecha(importe, 11));
}
std::string FilaBoleto(int b, const std::string& cuentas) {  // cuentas: 5 caracteres
    std::string f = AlineaDerecha(std::to_string(b), 6) + "    ";
    for (size_t i = 0; i < 5; ++i) f += std::string(i ? 2 : 0, ' ') + cuentas[i];
    return f;
}

DatosInforme Datos(int boletos) {
    DatosInforme d;
    d.jornada = 7;
    d.orden = 3;
    d.fecha = "12/10/02";
    std::array<std::string, 30> equipos;
    equipos[0] = "REAL MADRID";
    equipos[1] = "BARCELONA";
    equipos[2] = W("ATLÉTICO");  // partido 2 sin equipo visitante
    equipos[18] = "UNA SOCIEDAD DE";
    equipos[19] = "NOMBRE LARGUISIM";
    d.regJornada = RegistroEditor(RegistroJornadaVacio(), 7, d.fecha, equipos);
    d.ganadora = "1X21X21X21X21X2";
    d.premios = {0, 1234567.5, 2500, 30.25, 0, 0};
    d.aciertos.push_back("Total premios:" + AlineaDerecha("1239607.75", 11));
    d.aciertos.push_back(Fila(15, 1, "1234567.50"));
    d.aciertos.push_back(Fila(14, 2, "5000.00"));
    d.aciertos.push_back(Fila(13, 1, "30.25"));
    d.aciertos.push_back(Fila(12, 3, "0.00"));
    d.aciertos.push_back(Fila(11, 0, ""));
    for (int h = 10; h >= 0; --h) d.aciertos.push_back(Fila(h, h == 10 ? 7 : 0, ""));
    for (int b = 1; b <= boletos; ++b) d.boletos.push_back(FilaBoleto(b, b == 1 ? "11 3 " : "   1 "));
    return d;
}

const OperacionImpresa& En(const ImpresoraGrabadora& imp, double x, double y, int pagina = 1) {
    for (const auto& o : imp.ops)
        if (o.tipo == Tipo::Texto && o.x == x && o.y == y && o.pagina == pagina) return o;
    throw std::runtime_error("no text at " + std::to_string(x) + "," + std::to_string(y));
}

TEST(Informe, CabeceraYColumnaGanadoraDesdeArriba) {
    ImpresoraGrabadora imp;
    ImprimeInformeEscrutinio(imp, Datos(1));
    const auto t = imp.De(Tipo::Texto);
    EXPECT_EQ(t[0].texto, "   Escrutinio de la jornada nro.  7 de fecha 12/10/02 (Orden  3)");
    EXPECT_EQ(t[0].y, kAlto);
    EXPECT_TRUE(t[0].negrita);
    EXPECT_EQ(t[0].fuente, "Courier New");
    EXPECT_EQ(t[0].tamano, 9.75);
    EXPECT_EQ(t[1].texto, std::string(13, ' ') + "Columna ganadora");
    EXPECT_EQ(t[1].y, 4 * kAlto);
    EXPECT_FALSE(t[1].negrita);
    EXPECT_EQ(t[2].texto, std::string(41, '-'));
    auto puntos = [](const std::string& s) { return s + std::string(37 - s.size(), '.') + "  "; };
    EXPECT_EQ(t[3].texto, puntos(" 1. REAL MADRID - BARCELONA") + "1");
    EXPECT_EQ(t[3].y, 6 * kAlto);
    EXPECT_EQ(t[4].texto, puntos(W(" 2. ATLÉTICO")) + "X");
    EXPECT_EQ(t[5].texto, puntos(" 3. ") + "2");
    // Una pareja de nombres larga se corta a los 37 caracteres.
    EXPECT_EQ(t[12].texto, "10. UNA SOCIEDAD DE - NOMBRE LARGUISI  1");
    EXPECT_EQ(t[17].texto, puntos("15. ") + "2");
}

TEST(Informe, PremiosAciertosYTotalEnSuSitio) {
    ImpresoraGrabadora imp;
    ImprimeInformeEscrutinio(imp, Datos(1));
    const std::string euro = W(" €");
    EXPECT_EQ(En(imp, 6000, 1500).texto, W("Premios a repartir por categoría"));
    EXPECT_EQ(En(imp, 6000, 1700).texto, std::string(32, '*'));
    EXPECT_EQ(En(imp, 6050, 2150).texto, " 15 aciertos.:  1,234,567.50" + euro);
    EXPECT_EQ(En(imp, 6050, 2500).texto, " 14 aciertos.:      2,500.00" + euro);
    EXPECT_EQ(En(imp, 6050, 3550).texto, " 11 aciertos.:          0.00" + euro);

    EXPECT_EQ(En(imp, 1800, 5400).texto, W("         Aciertos agrupados por categoría"));
    EXPECT_EQ(En(imp, 1800, 5650).texto, " " + std::string(47, '='));
    EXPECT_EQ(En(imp, 1800, 5950).texto, "     1 columna  de 15 aciertos.:  1,234,567.50" + euro);
    EXPECT_EQ(En(imp, 1800, 6200).texto, "     2 columnas de 14 aciertos.:      5,000.00" + euro);
    EXPECT_EQ(En(imp, 1800, 6700).texto, "     3 columnas de 12 aciertos.:          0.00" + euro);
    EXPECT_EQ(En(imp, 1800, 6950).texto, "     0 columnas de 11 aciertos");
    EXPECT_EQ(En(imp, 1800, 7200).texto, "     7 columnas de 10 aciertos");
    EXPECT_EQ(En(imp, 1800, 9700).texto, "     0 columnas de  0 aciertos");
    EXPECT_EQ(En(imp, 2850, 10100).texto, "Total importe premios.:  1,239,607.75" + euro);
}

TEST(Informe, FilasDeBoletosBajoSusCategorias) {
    ImpresoraGrabadora imp;
    ImprimeInformeEscrutinio(imp, Datos(2));
    EXPECT_EQ(En(imp, 2800, 11000).texto, W("Localización de aciertos en boletos"));
    EXPECT_EQ(En(imp, 2800, 11160).texto, std::string(35, '-'));
    const std::string cabecera = En(imp, 2800, 11400).texto;
    EXPECT_EQ(cabecera, "Boleto nro.  15   14   13   12   11");
    EXPECT_EQ(En(imp, 2800, 11560).texto, std::string(35, '='));
    const std::string fila = En(imp, 2800, 11850).texto;
    EXPECT_EQ(fila, "     1        1    1         3     ");
    // Cada cuenta bajo la última cifra de su categoría.
    EXPECT_EQ(fila[14], '1');
    EXPECT_EQ(cabecera.substr(13, 2), "15");
    EXPECT_EQ(fila[29], '3');
    EXPECT_EQ(cabecera.substr(28, 2), "12");
    EXPECT_EQ(En(imp, 2800, 12100).texto, "     2                       1     ");
    EXPECT_EQ(En(imp, 2800, 12400).texto, "    Total boletos premiados.: 2");
    EXPECT_EQ(imp.Trabajos(), 1);
    EXPECT_EQ(imp.Paginas(1), 1);
}

TEST(Informe, SinBoletosPremiadosElTotalVaEn11900) {
    ImpresoraGrabadora imp;
    ImprimeInformeEscrutinio(imp, Datos(0));
    EXPECT_EQ(En(imp, 2800, 11900).texto, "    Total boletos premiados.: 0");
}

TEST(Informe, FilasMasAllaDe15000SiguenEnPaginaNuevaBajoLaCabecera) {
    ImpresoraGrabadora imp;
    ImprimeInformeEscrutinio(imp, Datos(1500));
    EXPECT_EQ(imp.Trabajos(), 1);
    // 13 filas en la página 1 (hasta 14850), 58 en cada una de las siguientes (750..15000).
    EXPECT_EQ(En(imp, 2800, 14850).texto.substr(0, 6), "    13");
    EXPECT_EQ(En(imp, 2800, 300, 2).texto, "Boleto nro.  15   14   13   12   11");
    EXPECT_EQ(En(imp, 2800, 460, 2).texto, std::string(35, '='));
    EXPECT_EQ(En(imp, 2800, 750, 2).texto.substr(0, 6), "    14");
    EXPECT_EQ(En(imp, 2800, 15000, 2).texto.substr(0, 6), "    71");
    EXPECT_EQ(En(imp, 2800, 750, 3).texto.substr(0, 6), "    72");
    const int paginas = 1 + (1500 - 13 + 57) / 58;
    EXPECT_EQ(imp.Paginas(1), paginas);
    const auto total = imp.Textos("Total boletos premiados");
    ASSERT_EQ(total.size(), 1u);
    EXPECT_EQ(total[0].texto, "    Total boletos premiados.: 1,500");
    EXPECT_EQ(total[0].pagina, paginas);
}

}  // namespace
}  // namespace tobal
