// El resumen impreso de una reducción en la impresora grabadora.

#include <gtest/gtest.h>

#include <atomic>

#include "Soporte.h"
#include "app/Texto.h"
#include "data/Jornadas.h"
#include "output/ImpresoraGrabadora.h"
#include "output/ResumenImpreso.h"

namespace tobal {
namespace {

using Tipo = OperacionImpresa::Tipo;
constexpr double kAlto = 221;

std::string W(const char* utf8) { return Utf8ACp1252(utf8); }

struct Resumen : ::testing::Test {
    prueba::EstadoPrueba p;
    ImpresoraGrabadora imp;
    ControlImpresion ctl;

    void SetUp() override {
        std::array<std::string, 30> equipos;
        equipos[0] = "REAL MADRID";
        equipos[1] = "BARCELONA";
        equipos[4] = W("CÁDIZ");  // partido 3, sin equipo visitante
        equipos[18] = "SEVILLA";
        equipos[19] = "BETIS";
        p.st.Jornada() = 12;
        p.st.Orden() = 3;
        p.st.Datos.FechaJornada = "14/09/02";
        p.st.RegJornada = RegistroEditor(RegistroJornadaVacio(), 12, "14/09/02", equipos);
        // Cuatro triples reducidos, un doble entero, sencillos; partido 15 "X".
        Reduccion& r = p.st.ReduccionActual;
        for (int k = 1; k <= 15; ++k) r.Partidos[k] = Partido{{0, 1, 0, 0}, 1, 0, 0};
        for (int k = 1; k <= 4; ++k) r.Partidos[k] = Partido{{0, 1, 1, 1}, 3, 1, 0};
        r.Partidos[5] = Partido{{0, 1, 1, 0}, 2, 0, 0};
        r.Partidos[15] = Partido{{0, 0, 1, 0}, 1, 0, 0};
        r.ApuestasDirectas = 162;
        r.ApuestasReducidas = 18;
    }
    std::vector<std::string> Textos() const {
        std::vector<std::string> v;
        for (const auto& o : imp.De(Tipo::Texto)) v.push_back(o.texto);
        return v;
    }
};

TEST_F(Resumen, CabeceraPartidosYCifrasDelMetodoDirecto) {
    Listado l = AbreListado(3);
    EXPECT_EQ(ImprimeResumenReduccion(p.st, imp, l, ctl), 1);
    const auto t = imp.De(Tipo::Texto);
    ASSERT_GE(t.size(), 2u);
    EXPECT_EQ(t[0].texto, "     JORNADA NRO. 12 DE FECHA 14/09/02 (Orden  3)");
    EXPECT_EQ(t[0].y, 3 * kAlto);
    EXPECT_TRUE(t[0].negrita);
    EXPECT_EQ(t[0].fuente, "Courier New");
    EXPECT_EQ(t[0].tamano, 9.75);
    EXPECT_EQ(t[1].texto, std::string(36, ' ') + "Quiniela  Partidos ");
    EXPECT_EQ(t[1].y, 6 * kAlto);
    EXPECT_FALSE(t[1].negrita);
    EXPECT_EQ(t[2].texto, std::string(36, ' ') + "  base    reducidos ");

    const auto textos = Textos();
    auto linea = [&](int k) { return textos[2 + static_cast<size_t>(k)]; };
    // Campo A: el texto sobre 35 puntos; dos blancos; campo B: 27 caracteres.
    auto a = [](const std::string& t) { return t + std::string(35 - t.size(), '.') + "  "; };
    EXPECT_EQ(linea(1), a(" 1. REAL MADRID-BARCELONA") + "1 X 2       [X]            ");
    EXPECT_EQ(linea(3), a(W(" 3. CÁDIZ")) + "1 X 2       [X]            ");
    EXPECT_EQ(linea(5), a(" 5. ") + "1 X         [ ]            ");
    EXPECT_EQ(linea(6), a(" 6. ") + "1                          ");
    EXPECT_EQ(linea(10), a("10. SEVILLA-BETIS") + "1                          ");
    EXPECT_EQ(linea(15), a("15. ") + "  X                        ");
    // Partidos a una línea de distancia, con una línea vacía entre ellos.
    EXPECT_EQ(t[4].y - t[3].y, 2 * kAlto);

    const std::vector<std::string> cifras(textos.begin() + 18, textos.end());
    const std::string s(10, ' ');
    EXPECT_EQ(cifras, (std::vector<std::string>{
                          s + W("Método Directo"), s + "162 apuestas reducidas a 18",
                          s + W("Factor de reducción......: 9.00"), s + W("Importe reducidas........: 5.40 €"),
                          s + "Probabilidad 14 aciertos.: 11.11 %", s + "Probabilidad 13 aciertos.: 88.89 %"}));
    // Cuatro líneas vacías tras la del partido 15; cifras a dos líneas de distancia.
    EXPECT_EQ(t[18].y, t[17].y + 6 * kAlto);
    EXPECT_EQ(t[19].y, t[18].y + 2 * kAlto);
}

TEST_F(Resumen, MetodosColumnaProbableYSeleccionDeSignos) {
    Reduccion& r = p.st.ReduccionActual;
    r.Metodo = 2;
    r.MinErrores = 0;
    r.MaxErrores = 1;
    r.Partidos[1].SignoBase = 2;
    r.Partidos[2].SignoBase = 3;
    Listado l = AbreListado(3);
    ImprimeResumenReduccion(p.st, imp, l, ctl);
    auto textos = Textos();
    EXPECT_EQ(textos[1], std::string(36, ' ') + "Quiniela  Partidos    Columna");
    EXPECT_EQ(textos[2], std::string(36, ' ') + "  base    reducidos   probable");
    EXPECT_EQ(textos[3].substr(37), "1 X 2       [X]         X  ");
    EXPECT_EQ(textos[4].substr(37), "1 X 2       [X]           2");
    EXPECT_NE(std::find(textos.begin(), textos.end(), std::string(10, ' ') + "Errores permitidos.......: De 0 a 1"),
              textos.end());
    EXPECT_NE(std::find(textos.begin(), textos.end(), std::string(10, ' ') + "Posibilidades cubiertas..: 11.11 %"),
              textos.end());
    EXPECT_TRUE(imp.Textos("13 aciertos").empty());

    imp = ImpresoraGrabadora{};
    r.Metodo = 3;
    r.Signos = {0, 2, 1, 1};
    ImprimeResumenReduccion(p.st, imp, l, ctl);
    textos = Textos();
    EXPECT_EQ(textos[1], std::string(36, ' ') + "Quiniela  Partidos ");
    EXPECT_EQ(textos[3].substr(37), "1 X 2       [X]            ");
    EXPECT_NE(std::find(textos.begin(), textos.end(),
                        std::string(10, ' ') + "Signos 1..: 2     Signos X..: 1     Signos 2..: 1"),
              textos.end());
}

TEST_F(Resumen, CopiasSonPaginasDeUnTrabajoYCancelarParaTrasLaCopiaEnCurso) {
    std::vector<std::string> progreso;
    ctl.progreso = [&](const std::string& t) { progreso.push_back(t); };
    Listado l = AbreListado(3);
    l.Copias = 3;
    EXPECT_EQ(ImprimeResumenReduccion(p.st, imp, l, ctl), 3);
    EXPECT_EQ(imp.Trabajos(), 1);
    EXPECT_EQ(imp.Paginas(1), 3);
    const auto cab = imp.Textos("JORNADA NRO.");
    ASSERT_EQ(cab.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(cab[i].pagina, i + 1);
        EXPECT_EQ(cab[i].y, 3 * kAlto);
        EXPECT_EQ(cab[i].texto, cab[0].texto);
    }
    EXPECT_EQ(progreso.back(), "Imprimiendo la copia nro. 3 de 3");

    imp = ImpresoraGrabadora{};
    std::atomic<bool> cancelado{true};
    ctl.cancelado = &cancelado;
    EXPECT_EQ(ImprimeResumenReduccion(p.st, imp, l, ctl), 1);
    EXPECT_EQ(imp.Paginas(1), 1);
}

TEST_F(Resumen, SinApuestasReducidasLasLineasDeCocienteQuedanVacias) {
    p.st.ReduccionActual.ApuestasReducidas = 0;
    Listado l = AbreListado(0);
    ImprimeResumenReduccion(p.st, imp, l, ctl);
    EXPECT_TRUE(imp.Textos("Factor").empty());
    EXPECT_EQ(imp.Textos("Probabilidad 14")[0].texto, std::string(10, ' ') + "Probabilidad 14 aciertos.: 0.00 %");
    EXPECT_EQ(imp.Textos("apuestas reducidas a")[0].texto, std::string(10, ' ') + "162 apuestas reducidas a ");
}

}  // namespace
}  // namespace tobal
