// El informe de escrutinio en la impresora grabadora.

#include <gtest/gtest.h>

#include <map>

#include "app/Texto.h"
#include "data/Jornadas.h"
#include "output/ImpresoraGrabadora.h"
#include "output/InformeEscrutinio.h"
#include "scoring/Escrutinio.h"
#include "scoring/Premios.h"

namespace tobal {
namespace {

DatosInforme Datos(int boletos) {
    DatosInforme d;
    d.jornada = 7;
    d.orden = 3;
    d.fecha = "12/10/02";
    std::array<std::string, 30> equipos{"REAL MADRID", "BARCELONA",
                                        Utf8ACp1252("ATLÉTICO")};  // partido 2 sin visitante
    equipos[18] = "UNA SOCIEDAD DE";
    equipos[19] = "NOMBRE LARGUISIM";
    d.regJornada = RegistroEditor(RegistroJornadaVacio(), 7, d.fecha, equipos);
    d.ganadora = "1X21X21X21X21X2";
    d.premios = {0, 1234567.5, 2500, 30.25, 0, 0};
    // The rows as the scoring lists them.
    d.aciertos = {FilaTotal(CampoImporte(1239607.75)),     FilaAciertos(15, 1, CampoImporte(1234567.5)),
                  FilaAciertos(14, 2, CampoImporte(5000)), FilaAciertos(13, 1, CampoImporte(30.25)),
                  FilaAciertos(12, 3, CampoImporte(0)),    FilaAciertos(11, 0, " ")};
    for (int h = 10; h >= 0; --h) d.aciertos.push_back(FilaAciertos(h, h == 10 ? 7 : 0, " "));
    // Boleto 1: una de 15, una de 14, tres de 12; los demás, una de 12.
    for (int b = 1; b <= boletos; ++b)
        d.boletos.push_back(AlineaDerecha(std::to_string(b), 6) +
                            (b == 1 ? "    1  1     3   " : std::string(13, ' ') + "1   "));
    return d;
}

TEST(Informe, CadaTextoEnSuSitioYLasFilasDeBoletosPasadoEl15000EnPaginaNueva) {
    const std::string euro = Utf8ACp1252(" €"), cabecera = "Boleto nro.  15   14   13   12   11";
    struct Caso {
        int boletos;
        double x, y;
        int pagina;
        std::string texto;
    };
    const std::vector<Caso> casos = {
        {2, 0, 221, 1, "   Escrutinio de la jornada nro.  7 de fecha 12/10/02 (Orden  3)"},
        {2, 0, 7 * 221, 1, Utf8ACp1252(" 2. ATLÉTICO") + std::string(25, '.') + "  X"},
        {2, 0, 15 * 221, 1, "10. UNA SOCIEDAD DE - NOMBRE LARGUISI  1"},
        {2, 6050, 2150, 1, " 15 aciertos.:  1,234,567.50" + euro},
        {2, 1800, 6200, 1, "     2 columnas de 14 aciertos.:      5,000.00" + euro},
        {2, 1800, 6950, 1, "     0 columnas de 11 aciertos"},
        {2, 2850, 10100, 1, "Total importe premios.:  1,239,607.75" + euro},
        {2, 2800, 11400, 1, cabecera},
        // Cada cuenta bajo la última cifra de su categoría.
        {2, 2800, 11850, 1, "     1        1    1         3     "},
        {2, 2800, 12400, 1, "    Total boletos premiados.: 2"},
        {0, 2800, 11900, 1, "    Total boletos premiados.: 0"},
        // 13 filas en la página 1 (hasta 14850), 58 en las siguientes (750..15000): 1463 antes de la 27.
        {1500, 2800, 14850, 1, "    13" + std::string(23, ' ') + "1     "},
        {1500, 2800, 300, 2, cabecera},
        {1500, 2800, 750 + 250 * 36 + 300, 27, "    Total boletos premiados.: 1,500"},
    };
    std::map<int, ImpresoraGrabadora> imps;
    for (int b : {0, 2, 1500}) ImprimeInformeEscrutinio(imps[b], Datos(b));
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.texto);
        const ImpresoraGrabadora& imp = imps[c.boletos];
        EXPECT_EQ(imp.Trabajos(), 1);
        EXPECT_EQ(imp.Paginas(1), c.boletos == 1500 ? 27 : 1);
        const auto t = std::find_if(imp.ops.begin(), imp.ops.end(), [&](const OperacionImpresa& o) {
            return o.tipo == OperacionImpresa::Tipo::Texto && o.x == c.x && o.y == c.y &&
                   o.pagina == c.pagina;
        });
        ASSERT_NE(t, imp.ops.end());
        EXPECT_EQ(t->texto, c.texto);
        EXPECT_EQ(t->negrita, c.y == 221);
        EXPECT_EQ(std::make_pair(t->fuente, t->tamano), std::make_pair(std::string("Courier New"), 9.75));
    }
    // The title, the winning column's heading and rule, and its 15 matches: no more.
    EXPECT_EQ(std::count_if(imps[2].ops.begin(), imps[2].ops.end(),
                            [](const OperacionImpresa& o) {
                                return o.tipo == OperacionImpresa::Tipo::Texto && o.x == 0;
                            }),
              18);
}

}  // namespace
}  // namespace tobal
