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

// Una fila por salida: argumentos, páginas, tamaño de página en puntos y
// textos. pdftotext coloca el texto por su posición: los blancos seguidos pueden cambiar.
TEST_F(CliImprimir, UnPdfPorSalida) {
    const double a4Ancho = 595, a4Alto = 842;
    struct Caso {
        std::vector<std::string> args;
        int paginas;
        double ancho, alto;
        std::vector<std::string> textos;
    };
    const std::vector<Caso> casos = {
        {{"resumen", "--orden", "2", "--copias", "2"}, 2, a4Ancho, a4Alto,
         {R"(JORNADA NRO. 12 DE FECHA 14/09/02 \(Orden +2\))", R"(1\. REAL MADRID-BARCELONA\.{4})",
          "72 apuestas reducidas a 24"}},
        {{"relacion", "--orden", "1"}, 1, a4Ancho, a4Alto,
         {R"(Página\.\.: 1)", R"(Boleto\s+9\s+Boleto\s+10)", "15 -  ( [12X]){8}"}},
        {{"relacion", "--orden", "1", "--ancho", "ancho", "--desde", "2"}, 1, 350 * 72 / 25.4, a4Alto,
         {R"(Boleto\s+2\s+(Boleto\s+\d\s+){5}Boleto\s+8)"}},
        {{"boletos", "--orden", "1", "--desde", "2", "--hasta", "4"}, 3, a4Ancho, a4Alto, {}},
        {{"continuo", "--orden", "2"}, 2, a4Ancho, 158.5 * 72 / 25.4, {}},
        {{"escrutinio", "--orden", "1"}, 1, a4Ancho, a4Alto,
         {R"(Escrutinio de la jornada nro. 12 de fecha 14/09/02 \(Orden +1\))",
          // Una de cada tres columnas es la propia columna ganadora.
          "27 columnas de 15 aciertos.: +2,700,000.00", R"(Total boletos premiados.: \d)"}},
    };
    for (size_t i = 0; i < casos.size(); ++i) {
        const Caso& c = casos[i];
        SCOPED_TRACE(testing::PrintToString(c.args));
        const auto pdf = Pdf(std::to_string(i) + ".pdf");
        std::vector<std::string> args{c.args[0], "--jornada", "12", "--pdf", pdf};
        args.insert(args.end(), c.args.begin() + 1, c.args.end());
        const auto r = Imprime(args);
        ASSERT_EQ(r.codigo, 0) << r.errores;
        const auto leido = Lee(pdf);
        EXPECT_EQ(leido.paginas, c.paginas);
        EXPECT_NEAR(leido.ancho, c.ancho, 1);
        EXPECT_NEAR(leido.alto, c.alto, 1);
        for (const auto& t : c.textos) EXPECT_TRUE(std::regex_search(leido.texto, std::regex(t))) << t << "\n" << leido.texto;
        // Courier New sale con su gemelo métrico de paso fijo.
        if (!c.textos.empty()) EXPECT_NE(Orden("pdffonts '" + pdf.string() + "'").find("LiberationMono"), std::string::npos);
    }
}

TEST_F(CliImprimir, BoletoDePruebaConLasCrucesEnLasCasillas) {
    const auto r = Imprime({"boletos", "--jornada", "12", "--orden", "1", "--prueba", "--pdf", Pdf("p.pdf")});
    ASSERT_EQ(r.codigo, 0) << r.errores;
    const auto pdf = Lee(Pdf("p.pdf"));
    EXPECT_EQ(pdf.paginas, 1);
    EXPECT_TRUE(std::regex_search(pdf.texto, std::regex("999.999"))) << pdf.texto;
    // Fila 15: hueco 6 casilla "1" cruzada, hueco 8 casilla "2" vacía; partido
    // 14, hueco 8 casilla "2" cruzada. Centros de casilla.
    EXPECT_LT(Tinta(Pdf("p.pdf"), 1, 940 + 8 * 212 + 35, 10 + 65), 100);
    EXPECT_EQ(Tinta(Pdf("p.pdf"), 1, 940 + 35, 10 + 65), 255);
    EXPECT_LT(Tinta(Pdf("p.pdf"), 1, 940 + 35, 294 + 65), 100);
}

// Un rechazo sale con 1 y su mensaje; un error de uso ("" aquí), con 2. Ninguno deja un PDF.
TEST_F(CliImprimir, RechazosYErroresDeUso) {
    prueba::GrabaReduccionPrueba(p.st, 13, 1, 8);  // jornada sin resultados guardados
    std::filesystem::remove(p.dir() / "RED1201.TBX");
    const std::vector<std::pair<std::vector<std::string>, std::string>> casos = {
        {{"resumen", "--orden", "7"}, "ERROR EN JORNADA/ORDEN"},
        {{"escrutinio", "--jornada", "13"}, "COLUMNA GANADORA INCOMPLETA"},
        {{"boletos"}, "no hay nada que imprimir"},  // su fichero de columnas ya no está
        {{"carteles"}, ""},
        {{"relacion", "--prueba"}, ""},
        {{"boletos", "--orden", "2", "--desde", "3", "--hasta", "2"}, ""},
        {{"boletos", "--orden", "2", "--desde", "4"}, ""},
        {{"resumen", "--copias", "0"}, ""}};
    for (const auto& [mas, error] : casos) {
        SCOPED_TRACE(testing::PrintToString(mas));
        std::vector<std::string> args = mas;
        for (const char* o : {"--jornada", "--orden"})
            if (std::find(args.begin(), args.end(), o) == args.end()) args.insert(args.end(), {o, o[2] == 'j' ? "12" : "1"});
        args.insert(args.end(), {"--pdf", Pdf("x.pdf")});
        const auto r = Imprime(args);
        if (error.empty()) {
            EXPECT_TRUE(prueba::ErrorDeUso(r));
        } else {
            EXPECT_EQ(r.codigo, 1);
            EXPECT_NE(r.errores.find(error), std::string::npos) << r.errores;
        }
        EXPECT_FALSE(std::filesystem::exists(Pdf("x.pdf")));
    }
    // Un PDF que no se puede escribir es un fallo, no un éxito.
    const auto r = Imprime({"resumen", "--jornada", "12", "--orden", "2", "--pdf", Pdf("no/hay/r.pdf")});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_NE(r.errores.find("no se puede imprimir"), std::string::npos);
}

}  // namespace
}  // namespace tobal
