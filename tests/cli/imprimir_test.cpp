// tobal31-cli imprimir: un PDF por salida, leído con las herramientas de
// poppler (páginas y su tamaño, textos, y la tinta bajo algunas cruces).

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <regex>

#include "Soporte.h"
#include "data/Jornadas.h"
#include "reduction/Almacen.h"
#include "scoring/Escrutinio.h"

namespace tobal {
namespace {

using prueba::EstadoPrueba;

std::string Orden(const std::string& linea) {
    std::string salida;
    FILE* f = ::popen(linea.c_str(), "r");
    if (!f) return salida;
    char buf[4096];
    for (size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;) salida.append(buf, n);
    ::pclose(f);
    return salida;
}

struct Pdf {
    int paginas = 0;
    double ancho = 0, alto = 0;  // puntos
    std::string texto;
};

Pdf Lee(const std::filesystem::path& ruta) {
    Pdf p;
    const std::string info = Orden("pdfinfo '" + ruta.string() + "' 2>/dev/null");
    std::smatch m;
    if (std::regex_search(info, m, std::regex("Pages:\\s+(\\d+)"))) p.paginas = std::stoi(m[1]);
    if (std::regex_search(info, m, std::regex("Page size:\\s+([\\d.]+) x ([\\d.]+)"))) {
        p.ancho = std::stod(m[1]);
        p.alto = std::stod(m[2]);
    }
    p.texto = Orden("pdftotext -layout '" + ruta.string() + "' - 2>/dev/null");
    return p;
}

// El píxel más oscuro del cuadrado de 5 x 5 en torno a un punto dado en twips
// desde la esquina imprimible de la página (márgenes del PDF de 5 mm), a 600 ppp.
int Tinta(const std::filesystem::path& ruta, int pagina, double xTwips, double yTwips) {
    const double margen = 5 * 1440 / 25.4;
    const long x = std::lround((xTwips + margen) * 600 / 1440) - 2;
    const long y = std::lround((yTwips + margen) * 600 / 1440) - 2;
    const std::string pgm = Orden("pdftoppm -gray -r 600 -f " + std::to_string(pagina) + " -l " +
                                  std::to_string(pagina) + " -x " + std::to_string(x) + " -y " + std::to_string(y) +
                                  " -W 5 -H 5 '" + ruta.string() + "' 2>/dev/null");
    if (pgm.size() < 25) return -1;
    int minimo = 255;
    for (size_t i = pgm.size() - 25; i < pgm.size(); ++i) minimo = std::min(minimo, int(static_cast<unsigned char>(pgm[i])));
    return minimo;
}

struct CliImprimir : ::testing::Test {
    EstadoPrueba p;

    void SetUp() override {
        prueba::EscribeDatosGenDefecto(p.dir());
        std::array<std::string, 30> equipos;
        equipos[0] = "REAL MADRID";
        equipos[1] = "BARCELONA";
        std::string reg = RegistroEditor(RegistroJornadaVacio(), 12, "14/09/02", equipos);
        EntradasEscrutinio e;
        const std::string ganadora = prueba::ColumnaPrueba(2);
        for (int m = 1; m <= 15; ++m)
            e.Ganadora[m] = static_cast<int16_t>(std::string("1X2").find(ganadora[m - 1]) + 1);
        e.TextoPremios = {"", "100000", "1500.5", "20", "", ""};
        PonEntradasEnRegistro(reg, 12, "14/09/02", e);
        ASSERT_EQ(GrabaRegistroJornada(p.st, 12, reg), 0);
        prueba::GrabaReduccionPrueba(p.st, 12, 1, 80);  // 10 boletos
        prueba::GrabaReduccionPrueba(p.st, 12, 2, 24);  // 3 boletos
    }
    prueba::ResultadoCli Imprime(const std::vector<std::string>& mas) {
        return prueba::EjecutaCliEn(p.dir(), {"imprimir"}, mas);
    }
    std::filesystem::path Pdf(const std::string& nombre) const { return p.dir() / nombre; }
};

TEST_F(CliImprimir, ResumenYRelacion) {
    auto r = Imprime({"resumen", "--jornada", "12", "--orden", "2", "--copias", "2", "--pdf", Pdf("r.pdf")});
    ASSERT_EQ(r.codigo, 0) << r.errores;
    auto pdf = Lee(Pdf("r.pdf"));
    EXPECT_EQ(pdf.paginas, 2);
    EXPECT_NEAR(pdf.ancho, 595, 1);
    EXPECT_NEAR(pdf.alto, 842, 1);
    // pdftotext coloca el texto por su posición: los blancos seguidos pueden cambiar.
    EXPECT_TRUE(std::regex_search(pdf.texto, std::regex("JORNADA NRO. 12 DE FECHA 14/09/02 \\(Orden +2\\)")))
        << pdf.texto;
    EXPECT_NE(pdf.texto.find("1. REAL MADRID-BARCELONA...."), std::string::npos);
    EXPECT_NE(pdf.texto.find("72 apuestas reducidas a 24"), std::string::npos);

    r = Imprime({"relacion", "--jornada", "12", "--orden", "1", "--pdf", Pdf("l.pdf")});
    ASSERT_EQ(r.codigo, 0) << r.errores;
    pdf = Lee(Pdf("l.pdf"));
    EXPECT_EQ(pdf.paginas, 1);
    EXPECT_NE(pdf.texto.find("Página..: 1"), std::string::npos) << pdf.texto;
    EXPECT_TRUE(std::regex_search(pdf.texto, std::regex("Boleto\\s+9\\s+Boleto\\s+10")));
    EXPECT_TRUE(std::regex_search(pdf.texto, std::regex("15 -  ( [12X]){8}")));

    r = Imprime({"relacion", "--jornada", "12", "--orden", "1", "--ancho", "ancho", "--desde", "2", "--pdf",
                 Pdf("a.pdf")});
    ASSERT_EQ(r.codigo, 0) << r.errores;
    pdf = Lee(Pdf("a.pdf"));
    EXPECT_NEAR(pdf.ancho, 350 * 72 / 25.4, 1);
    EXPECT_TRUE(std::regex_search(pdf.texto, std::regex("Boleto\\s+2\\s+Boleto\\s+3\\s+Boleto\\s+4\\s+Boleto\\s+5\\s+"
                                                        "Boleto\\s+6\\s+Boleto\\s+7\\s+Boleto\\s+8")));
}

TEST_F(CliImprimir, BoletosEnHojaUnoPorPaginaConLasCrucesEnLasCasillas) {
    auto r = Imprime({"boletos", "--jornada", "12", "--orden", "1", "--desde", "2", "--hasta", "4", "--pdf",
                      Pdf("b.pdf")});
    ASSERT_EQ(r.codigo, 0) << r.errores;
    auto pdf = Lee(Pdf("b.pdf"));
    EXPECT_EQ(pdf.paginas, 3);
    EXPECT_NEAR(pdf.alto, 842, 1);

    r = Imprime({"boletos", "--jornada", "12", "--orden", "1", "--prueba", "--pdf", Pdf("p.pdf")});
    ASSERT_EQ(r.codigo, 0) << r.errores;
    pdf = Lee(Pdf("p.pdf"));
    EXPECT_EQ(pdf.paginas, 1);
    EXPECT_TRUE(std::regex_search(pdf.texto, std::regex("999.999"))) << pdf.texto;
    // Fila 15 del boleto de prueba: hueco 6 casilla "1" cruzada, hueco 8 casilla
    // "2" vacía; partido 14, hueco 8 casilla "2" cruzada. Centros de casilla.
    EXPECT_LT(Tinta(Pdf("p.pdf"), 1, 940 + 8 * 212 + 35, 10 + 65), 100);
    EXPECT_EQ(Tinta(Pdf("p.pdf"), 1, 940 + 35, 10 + 65), 255);
    EXPECT_LT(Tinta(Pdf("p.pdf"), 1, 940 + 35, 294 + 65), 100);
}

TEST_F(CliImprimir, PapelContinuoDosBoletosPorPagina) {
    auto r = Imprime({"continuo", "--jornada", "12", "--orden", "2", "--pdf", Pdf("c.pdf")});
    ASSERT_EQ(r.codigo, 0) << r.errores;
    auto pdf = Lee(Pdf("c.pdf"));
    EXPECT_EQ(pdf.paginas, 2);
    EXPECT_NEAR(pdf.ancho, 595, 1);
    EXPECT_NEAR(pdf.alto, 158.5 * 72 / 25.4, 1);

    r = Imprime({"continuo", "--jornada", "12", "--orden", "2", "--prueba", "--pdf", Pdf("t.pdf")});
    ASSERT_EQ(r.codigo, 0) << r.errores;
    // Boleto derecho: la primera cruz y su marca sólida de arriba.
    EXPECT_LT(Tinta(Pdf("t.pdf"), 1, 7040 + 65, 1270 + 35), 100);
    EXPECT_LT(Tinta(Pdf("t.pdf"), 1, 5990 + 5120 + 85, 65 + 72), 50);
    EXPECT_EQ(Tinta(Pdf("t.pdf"), 1, 5990 + 5120 + 85, 65 + 200), 255);
}

TEST_F(CliImprimir, InformeDeEscrutinioDeLosResultadosGuardados) {
    auto r = Imprime({"escrutinio", "--jornada", "12", "--orden", "1", "--pdf", Pdf("e.pdf")});
    ASSERT_EQ(r.codigo, 0) << r.errores;
    auto pdf = Lee(Pdf("e.pdf"));
    EXPECT_EQ(pdf.paginas, 1);
    EXPECT_TRUE(std::regex_search(pdf.texto, std::regex("Escrutinio de la jornada nro. 12 de fecha 14/09/02 "
                                                        "\\(Orden +1\\)")))
        << pdf.texto;
    // Una de cada tres columnas es la propia columna ganadora.
    EXPECT_TRUE(std::regex_search(pdf.texto, std::regex("27 columnas de 15 aciertos.: +2,700,000.00")));
    EXPECT_TRUE(std::regex_search(pdf.texto, std::regex("Total boletos premiados.: \\d")));
}

TEST_F(CliImprimir, RechazosYErroresDeUso) {
    auto r = Imprime({"resumen", "--jornada", "12", "--orden", "7", "--pdf", Pdf("x.pdf")});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_NE(r.errores.find("ERROR EN JORNADA/ORDEN"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(Pdf("x.pdf")));

    EXPECT_TRUE(prueba::ErrorDeUso(Imprime({"carteles", "--jornada", "12", "--orden", "1", "--pdf", Pdf("x.pdf")})));
    for (const std::vector<std::string>& mal : {std::vector<std::string>{"relacion", "--prueba"},
                                                {"boletos", "--desde", "4", "--hasta", "2"},
                                                {"boletos", "--desde", "11"},
                                                {"resumen", "--copias", "0"}}) {
        std::vector<std::string> args{mal[0], "--jornada", "12", "--orden", "1", "--pdf", Pdf("x.pdf")};
        args.insert(args.end(), mal.begin() + 1, mal.end());
        EXPECT_TRUE(prueba::ErrorDeUso(Imprime(args))) << testing::PrintToString(mal);
    }
    EXPECT_FALSE(std::filesystem::exists(Pdf("x.pdf")));

    // Sin resultados guardados para la jornada 13.
    prueba::GrabaReduccionPrueba(p.st, 13, 1, 8);
    r = Imprime({"escrutinio", "--jornada", "13", "--orden", "1", "--pdf", Pdf("x.pdf")});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_NE(r.errores.find("COLUMNA GANADORA INCOMPLETA"), std::string::npos);

    // Un PDF que no se puede escribir es un fallo, no un éxito.
    r = Imprime({"resumen", "--jornada", "12", "--orden", "1", "--pdf", Pdf("no/hay/r.pdf")});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_NE(r.errores.find("no se puede imprimir"), std::string::npos);

    // Una reducción cuyo fichero de columnas ya no está no imprime nada.
    std::filesystem::remove(p.dir() / "RED1201.TBX");
    r = Imprime({"boletos", "--jornada", "12", "--orden", "1", "--pdf", Pdf("x.pdf")});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_FALSE(std::filesystem::exists(Pdf("x.pdf")));
}

}  // namespace
}  // namespace tobal
