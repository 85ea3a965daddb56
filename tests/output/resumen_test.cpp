// El resumen impreso de una reducción en la impresora grabadora.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>

#include "Soporte.h"
#include "app/Texto.h"
#include "data/Jornadas.h"
#include "output/ImpresoraGrabadora.h"
#include "output/ResumenImpreso.h"

namespace tobal {
namespace {

constexpr double kAlto = 221;
const std::string k10(10, ' '), k36(36, ' ');

std::string W(const char* utf8) { return Utf8ACp1252(utf8); }

struct Resumen : ::testing::Test {
    prueba::EstadoPrueba p;
    ImpresoraGrabadora imp;
    ControlImpresion ctl;
    Listado l = AbreListado(3);
    std::vector<std::string> textos;  // los de la última impresión

    void SetUp() override {
        p.st.Jornada() = 12;
        p.st.Orden() = 3;
        p.st.Datos.FechaJornada = "14/09/02";
        // Partido 3 sin equipo visitante.
        p.st.RegJornada = RegistroEditor(RegistroJornadaVacio(), 12, "14/09/02",
                                         {"REAL MADRID", "BARCELONA", "", "", W("CÁDIZ")});
        // Cuatro triples reducidos, un doble entero, sencillos; partido 15 "X".
        Reduccion& r = p.st.ReduccionActual;
        for (int k = 1; k <= 15; ++k) r.Partidos[k] = Partido{{0, 1, 0, 0}, 1, 0, 0};
        for (int k = 1; k <= 4; ++k) r.Partidos[k] = Partido{{0, 1, 1, 1}, 3, 1, 0};
        r.Partidos[5] = Partido{{0, 1, 1, 0}, 2, 0, 0};
        r.Partidos[15] = Partido{{0, 0, 1, 0}, 1, 0, 0};
        r.ApuestasDirectas = 162;
        r.ApuestasReducidas = 18;
    }
    void Imprime() {
        imp = ImpresoraGrabadora{};
        ImprimeResumenReduccion(p.st, imp, l, ctl);
        textos.clear();
        for (const auto& o : imp.De(OperacionImpresa::Tipo::Texto)) textos.push_back(o.texto);
    }
    bool Tiene(const std::string& linea) const {
        return std::count(textos.begin(), textos.end(), linea) == 1;
    }
};

TEST_F(Resumen, CabeceraPartidosCifrasDelMetodoDirectoYCopias) {
    Imprime();
    ASSERT_EQ(textos.size(), 24u);
    const auto t = imp.De(OperacionImpresa::Tipo::Texto);
    EXPECT_EQ(textos[0], "     JORNADA NRO. 12 DE FECHA 14/09/02 (Orden  3)");
    EXPECT_TRUE(t[0].negrita && !t[1].negrita && t[0].fuente == "Courier New" && t[0].tamano == 9.75);
    EXPECT_EQ(std::vector<double>({t[0].y, t[1].y, t[4].y - t[3].y, t[18].y - t[17].y, t[19].y - t[18].y}),
              std::vector<double>({3 * kAlto, 6 * kAlto, 2 * kAlto, 6 * kAlto, 2 * kAlto}));
    EXPECT_EQ(textos[1], k36 + "Quiniela  Partidos ");
    EXPECT_EQ(textos[2], k36 + "  base    reducidos ");
    // Campo A: el texto sobre 35 puntos; dos blancos; campo B: 27 caracteres.
    auto a = [](const std::string& t) { return t + std::string(35 - t.size(), '.') + "  "; };
    EXPECT_EQ(textos[3], a(" 1. REAL MADRID-BARCELONA") + "1 X 2       [X]            ");
    EXPECT_EQ(textos[5], a(W(" 3. CÁDIZ")) + "1 X 2       [X]            ");
    EXPECT_EQ(textos[7], a(" 5. ") + "1 X         [ ]            ");
    EXPECT_EQ(textos[8], a(" 6. ") + "1                          ");
    EXPECT_EQ(textos[17], a("15. ") + "  X                        ");
    EXPECT_EQ(std::vector<std::string>(textos.begin() + 18, textos.end()),
              (std::vector<std::string>{
                  k10 + W("Método Directo"), k10 + "162 apuestas reducidas a 18",
                  k10 + W("Factor de reducción......: 9.00"), k10 + W("Importe reducidas........: 5.40 €"),
                  k10 + "Probabilidad 14 aciertos.: 11.11 %", k10 + "Probabilidad 13 aciertos.: 88.89 %"}));

    // Cancelar para tras la copia en curso.
    l.Copias = 3;
    std::atomic<bool> cancelado{true};
    ctl.cancelado = &cancelado;
    Imprime();
    EXPECT_EQ(imp.Paginas(1), 1);
}

TEST_F(Resumen, MetodosColumnaProbableYSeleccionDeSignosYSinApuestasReducidas) {
    Reduccion& r = p.st.ReduccionActual;
    r.Metodo = 2;
    r.MaxErrores = 1;
    r.Partidos[1].SignoBase = 2;
    r.Partidos[2].SignoBase = 3;
    Imprime();
    EXPECT_EQ(textos.at(1), k36 + "Quiniela  Partidos    Columna");
    EXPECT_EQ(textos.at(3).substr(37), "1 X 2       [X]         X  ");
    EXPECT_EQ(textos.at(4).substr(37), "1 X 2       [X]           2");
    EXPECT_TRUE(Tiene(k10 + "Errores permitidos.......: De 0 a 1"));
    EXPECT_TRUE(Tiene(k10 + "Posibilidades cubiertas..: 11.11 %"));
    EXPECT_TRUE(imp.Textos("13 aciertos").empty());

    r.Metodo = 3;
    r.Signos = {0, 2, 1, 1};
    Imprime();
    EXPECT_EQ(textos.at(3).substr(37), "1 X 2       [X]            ");
    EXPECT_TRUE(Tiene(k10 + "Signos 1..: 2     Signos X..: 1     Signos 2..: 1"));

    // Sin apuestas reducidas las líneas de cociente quedan vacías.
    r.Metodo = 1;
    r.ApuestasReducidas = 0;
    Imprime();
    EXPECT_TRUE(imp.Textos("Factor").empty());
    EXPECT_TRUE(Tiene(k10 + "Probabilidad 14 aciertos.: 0.00 %"));
    EXPECT_TRUE(Tiene(k10 + "162 apuestas reducidas a "));
}

// Conditions follow the figures, one line each, then the failures allowed;
// so many that they would pass the sheet's end go on to a new page.
TEST_F(Resumen, CondicionesTrasLasCifras) {
    Condiciones& cs = p.st.CondicionesActuales;
    cs.lista = {Condicion{Medida::Equis, 2, 5}, Condicion{Medida::Seguidos, 1, 4, 0x7F}};
    cs.fallos = 1;
    Imprime();
    ASSERT_EQ(textos.size(), 27u);
    EXPECT_EQ(std::vector<std::string>(textos.begin() + 24, textos.end()),
              (std::vector<std::string>{k10 + "Condiciones..............: X 2-5",
                                        k10 + std::string(27, ' ') + "seguidos 1-4 partidos 1-7",
                                        k10 + "Fallos permitidos........: 1"}));
    const auto t = imp.De(OperacionImpresa::Tipo::Texto);
    EXPECT_EQ(std::vector<double>({t[24].y - t[23].y, t[25].y - t[24].y, t[26].y - t[25].y}),
              std::vector<double>({2 * kAlto, kAlto, 2 * kAlto}));

    cs.lista.assign(20, Condicion{Medida::Unos, 0, 14});
    Imprime();
    ASSERT_EQ(textos.size(), 45u);
    EXPECT_EQ(imp.Paginas(1), 2);
    EXPECT_EQ(imp.Textos("Fallos permitidos").at(0).pagina, 2);
    for (const auto& o : imp.De(OperacionImpresa::Tipo::Texto))
        EXPECT_LE(o.y + kAlto, 16838 - 720) << o.texto;
}

}  // namespace
}  // namespace tobal
