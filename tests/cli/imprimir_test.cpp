// tobal31-cli imprimir: un PDF por salida, leído con las herramientas de
// poppler (páginas y su tamaño, textos, fuentes, y la tinta bajo algunas cruces).

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <regex>

#include "Soporte.h"
#include "data/Jornadas.h"
#include "scoring/Escrutinio.h"

namespace tobal {
namespace {

using prueba::Contiene;
using prueba::Orden;

#ifdef TOBAL31_CON_QT
constexpr bool kImprime = true;
#else
constexpr bool kImprime = false;
#endif
#define SIN_QT_SE_SALTA() \
    if (!kImprime) GTEST_SKIP() << "tobal31-cli built without Qt (TOBAL31_GUI=OFF) prints nothing"
// What the tool says where it would print, without Qt.
const char* const kSinImpresion = "SIN IMPRESIÓN";

// El píxel más oscuro del cuadrado de 5 x 5 en torno a un punto de la página 1
// dado en twips desde la esquina del papel (un PDF no tiene márgenes), a 600
// ppp; -1 fuera de la página.
int Tinta(const std::filesystem::path& pdf, double x, double y) {
    const auto px = [](double t) { return std::to_string(std::lround(t * 600 / 1440) - 2); };
    const std::string pgm = Orden("pdftoppm -gray -r 600 -l 1 -x " + px(x) + " -y " + px(y) + " -W 5 -H 5 '" +
                                  pdf.string() + "'");
    if (pgm.size() < 25) return -1;
    return static_cast<unsigned char>(*std::min_element(pgm.end() - 25, pgm.end(), [](char a, char b) {
        return static_cast<unsigned char>(a) < static_cast<unsigned char>(b);
    }));
}

struct CliImprimir : ::testing::Test {
    prueba::EstadoPrueba p;

    // Jornada 12 con su escrutinio: orden 1 de 10 boletos, orden 2 de 3.
    void SetUp() override {
        prueba::EscribeDatosGenDefecto(p.dir());
        std::string reg =
            RegistroEditor(RegistroJornadaVacio(), 12, "14/09/02", {"REAL MADRID", "BARCELONA"});
        EntradasEscrutinio e;
        for (int m = 1; m <= 15; ++m)
            e.Ganadora[m] =
                static_cast<int16_t>(std::string("1X2").find(prueba::ColumnaPrueba(2)[m - 1]) + 1);
        e.TextoPremios = {"", "100000", "1500.5", "20", "", ""};
        PonEntradasEnRegistro(reg, 12, "14/09/02", e);
        ASSERT_EQ(GrabaRegistroJornada(p.st, 12, reg), 0);
        prueba::GrabaReduccionPrueba(p.st, 12, 1, 80);
        prueba::GrabaReduccionPrueba(p.st, 12, 2, 24);
    }
    // La jornada 12 y la orden 1 salvo que se den otras.
    prueba::ResultadoCli Imprime(std::vector<std::string> args, const std::string& pdf) {
        for (const char* o : {"--jornada", "--orden"})
            if (std::find(args.begin(), args.end(), o) == args.end())
                args.insert(args.end(), {o, o[2] == 'j' ? "12" : "1"});
        args.insert(args.end(), {"--pdf", Pdf(pdf)});
        return prueba::EjecutaCliEn(p.dir(), {"imprimir"}, args);
    }
    std::string Pdf(const std::string& nombre) const { return (p.dir() / nombre).string(); }
};

// Páginas, tamaño de página en puntos y textos de cada salida. pdftotext
// coloca el texto por su posición: los blancos seguidos pueden cambiar.
TEST_F(CliImprimir, UnPdfPorSalida) {
    SIN_QT_SE_SALTA();
    struct Caso {
        std::vector<std::string> args;
        int paginas;
        double ancho, alto;
        std::vector<std::string> textos;
        std::string hecho;  // what the tool says it printed
    };
    const Caso casos[] = {
        Caso({"resumen", "--orden", "2", "--copias", "2"}, 2, 595, 842,
             {R"(JORNADA NRO. 12 DE FECHA 14/09/02 \(Orden +2\))", R"(1\. REAL MADRID-BARCELONA\.{4})",
              "72 apuestas reducidas a 24"},
             "2 copias del resumen"),
        Caso({"relacion"}, 1, 595, 842,
             {R"(Página\.\.: 1)", R"(Boleto\s+9\s+Boleto\s+10)", "15 -  ( [12X]){8}"},
             "3 bloques de la relación"),
        Caso({"relacion", "--ancho", "ancho", "--desde", "2"}, 1, 350 * 72 / 25.4, 842,
             {R"(Boleto\s+2\s+(Boleto\s+\d\s+){5}Boleto\s+8)"}, "2 bloques de la relación"),
        Caso({"boletos", "--desde", "2", "--hasta", "4"}, 3, 595, 842, {}, "3 boletos"),
        Caso({"boletos", "--desde", "4", "--hasta", "4"}, 1, 595, 842, {}, "1 boleto"),
        Caso({"continuo", "--orden", "2"}, 2, 595, 158.5 * 72 / 25.4, {}, "boletos en papel continuo"),
        // Una de cada tres columnas es la propia columna ganadora.
        Caso({"escrutinio"}, 1, 595, 842,
             {R"(Escrutinio de la jornada nro. 12 de fecha 14/09/02 \(Orden +1\))",
              "27 columnas de 15 aciertos.: +2,700,000.00", R"(Total boletos premiados.: \d)"},
             "informe del escrutinio"),
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        std::filesystem::remove(Pdf("a.pdf"));
        const auto r = Imprime(c.args, "a.pdf");
        ASSERT_EQ(r.codigo, 0) << r.errores;
        EXPECT_EQ(r.errores, "");
        EXPECT_EQ(r.salida, "Impreso: " + c.hecho + " en " + Pdf("a.pdf") + "\n");
        const std::string info = Orden("pdfinfo " + Pdf("a.pdf"));
        const std::string texto = Orden("pdftotext -layout " + Pdf("a.pdf") + " -");
        std::smatch m;
        ASSERT_TRUE(std::regex_search(
            info, m, std::regex(R"(Pages:\s+(\d+)[\s\S]*Page size:\s+([\d.]+) x ([\d.]+))")));
        EXPECT_EQ(std::stoi(m[1]), c.paginas);
        EXPECT_NEAR(std::stod(m[2]), c.ancho, 1);
        EXPECT_NEAR(std::stod(m[3]), c.alto, 1);
        for (const auto& t : c.textos)
            EXPECT_TRUE(std::regex_search(texto, std::regex(t))) << t << "\n" << texto;
        // Courier New sale con su gemelo métrico de paso fijo.
        EXPECT_EQ(Orden("pdffonts " + Pdf("a.pdf")).find("LiberationMono") != std::string::npos,
                  !c.textos.empty());
    }
}

TEST_F(CliImprimir, BoletoDePruebaConLasCrucesEnLasCasillas) {
    SIN_QT_SE_SALTA();
    const auto r = Imprime({"boletos", "--prueba"}, "p.pdf");
    ASSERT_EQ(r.codigo, 0) << r.errores;
    EXPECT_TRUE(std::regex_search(Orden("pdftotext " + Pdf("p.pdf") + " -"), std::regex("999.999")));
    // Fila 15: hueco 6 casilla "1" cruzada, hueco 8 casilla "2" vacía; partido
    // 14, hueco 8 casilla "2" cruzada. Centros de casilla.
    EXPECT_LT(Tinta(Pdf("p.pdf"), 940 + 8 * 212 + 35, 10 + 65), 100);
    EXPECT_EQ(Tinta(Pdf("p.pdf"), 940 + 35, 10 + 65), 255);
    EXPECT_LT(Tinta(Pdf("p.pdf"), 940 + 35, 294 + 65), 100);
}

// En un terminal, la relación enseña su avance hasta la barra llena; fuera
// de un terminal (los casos de arriba) no escribe nada en la salida de errores.
TEST_F(CliImprimir, BarraDeAvanceEnUnTerminal) {
    SIN_QT_SE_SALTA();
    const auto r = prueba::EjecutaCliEnTerminal(
        p.dir(), {"imprimir", "relacion", "--jornada", "12", "--orden", "1", "--pdf", Pdf("b.pdf")});
    ASSERT_EQ(r.codigo, 0) << r.errores;
    EXPECT_TRUE(Contiene(r.errores, "\rImprimiendo el boleto nro. 4 ["));
    EXPECT_TRUE(Contiene(r.errores, "[####################]"));
    EXPECT_FALSE(Contiene(r.errores, "[#####################"));
}

// Las nueve marcas sólidas de cada boleto de una página continua caen dentro
// de la página, donde el diseño dice: las de abajo llegan a 8.805 de 8.980
// twips (449 puntos).
TEST_F(CliImprimir, MarcasDelContinuoDentroDeSuPagina) {
    const auto r = Imprime({"continuo", "--orden", "2"}, "c.pdf");
    ASSERT_EQ(r.codigo, 0) << r.errores;
    const double centros[9][2] = {{5205, 137},  {5205, 8665}, {1077, 8776}, {1764, 8776}, {2107, 8776},
                                  {2450, 8776}, {2793, 8776}, {3819, 8776}, {4161, 8776}};
    for (double ox : {0, 5990})
        for (const auto& c : centros)
            EXPECT_LT(Tinta(Pdf("c.pdf"), ox + c[0], c[1]), 100) << ox + c[0] << "," << c[1];
    EXPECT_EQ(Tinta(Pdf("c.pdf"), 600, 8776), 255);  // entre las marcas, papel
}

// Un rechazo sale con 1 y su mensaje; un error de uso, con 2. Ninguno deja un PDF.
// Sin Qt, lo que llega a imprimir se rechaza diciéndolo.
TEST_F(CliImprimir, RechazosYErroresDeUso) {
    prueba::GrabaReduccionPrueba(p.st, 13, 1, 8);  // jornada sin resultados guardados
    std::filesystem::remove(p.dir() / "RED1201.TBX");
    struct Caso {
        std::vector<std::string> args;
        int codigo;
        std::string error;
    };
    const Caso casos[] = {
        Caso({"resumen", "--orden", "7"}, 1, "ERROR EN JORNADA/ORDEN"),
        Caso({"escrutinio", "--jornada", "13"}, 1,
             "SIN ESCRUTINIO\nLa jornada 13 no tiene guardada una columna ganadora completa. Haga antes el "
             "escrutinio con la orden escrutar."),
        // Su fichero de columnas ya no está.
        Caso({"boletos"}, 1, kImprime ? "no hay nada que imprimir" : kSinImpresion),
        Caso({"carteles"}, 2, ""), Caso({"relacion", "--prueba"}, 2, ""),
        Caso({"resumen", "--copias", "0"}, 2, ""),
        Caso({"boletos", "--orden", "2", "--desde", "3", "--hasta", "2"}, 2, ""),
        // Nombra los boletos que hay, no un --hasta que no se ha dado.
        Caso({"boletos", "--orden", "2", "--desde", "4"}, 2, "solo tiene 3 boletos")};
    for (const Caso& c : casos) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        const auto r = Imprime(c.args, "x.pdf");
        if (c.codigo == 2) {
            EXPECT_TRUE(prueba::ErrorDeUso(r));
        }
        EXPECT_EQ(r.codigo, c.codigo);
        EXPECT_TRUE(Contiene(r.errores, c.error));
        EXPECT_FALSE(std::filesystem::exists(Pdf("x.pdf")));
    }
    // Un PDF que no se puede escribir es un fallo, no un éxito.
    const auto r = Imprime({"resumen", "--orden", "2"}, "no/hay/r.pdf");
    EXPECT_EQ(r.codigo, 1);
    EXPECT_TRUE(Contiene(r.errores, kImprime ? "no se puede imprimir" : kSinImpresion));
}

}  // namespace
}  // namespace tobal
