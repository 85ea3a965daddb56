// Boletos oficiales en hojas y en papel continuo, dibujados en la impresora
// grabadora: todas las posiciones en twips.

#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <tuple>

#include "Soporte.h"
#include "app/Formato.h"
#include "output/Boletos.h"
#include "output/Continuo.h"
#include "output/ImpresoraGrabadora.h"

namespace tobal {
namespace {

using prueba::ColumnaPrueba;
using Casilla = std::tuple<int, int, int>;  // hueco, partido, casilla
using Cruces = std::vector<ImpresoraGrabadora::Cruz>;
using Respuesta = ControlImpresion::Respuesta;
using Tipo = OperacionImpresa::Tipo;

// Las casillas de un boleto de estas columnas, sacadas a mano del boleto: el
// partido 15 solo de la primera columna, en la fila 15 (hueco 4 casilla "2",
// hueco 5 "X", hueco 6 "1").
std::set<Casilla> CasillasEsperadas(int primera, int cuantas) {
    std::set<Casilla> r;
    for (int c = 1; c <= cuantas; ++c) {
        const std::string col = ColumnaPrueba(primera + c - 1);
        for (int m = 1; m <= 14; ++m) r.insert({c, m, static_cast<int>(std::string("1X2").find(col[m - 1])) + 1});
        const int s = static_cast<int>(std::string("1X2").find(col[14]));
        if (c == 1) r.insert({4 + s, 15, 3 - s});
    }
    return r;
}

// Las cruces de un trabajo (hoja vertical) o de un boleto apaisado (origen dx, dy) leídas como casillas.
std::set<Casilla> CasillasVertical(const Cruces& cruces, int trabajo) {
    std::set<Casilla> r;
    for (const auto& k : cruces) {
        if (k.trabajo != trabajo) continue;
        const int x = static_cast<int>(k.x) - 940, y = static_cast<int>(k.y) - 10;
        EXPECT_TRUE(k.ancho == 70 && k.alto == 130 && x % 212 == 0 && y % 284 == 0) << k.x << "," << k.y;
        r.insert({8 - x / 212 / 3, 15 - y / 284, 3 - x / 212 % 3});
    }
    return r;
}

std::set<Casilla> CasillasApaisado(const Cruces& cruces, int dy, int dx, int pagina) {
    std::set<Casilla> r;
    for (const auto& k : cruces) {
        if (k.pagina != pagina || k.x < dx || k.x >= dx + 5990) continue;
        const int x = static_cast<int>(k.x) - dx - 1050, y = static_cast<int>(k.y) - dy;
        EXPECT_TRUE(k.ancho == 130 && k.alto == 70 && x % 284 == 0 && y % 213 == 0) << k.x << "," << k.y;
        r.insert({8 - y / 213 / 3, x / 284 + 1, 3 - y / 213 % 3});
    }
    return r;
}

struct Boletos : ::testing::Test {
    prueba::EstadoPrueba p;
    ImpresoraGrabadora imp;
    ControlImpresion ctl;
    std::vector<std::pair<std::string, std::string>> mensajes;

    void SetUp() override {
        ctl.mensaje = [this](const std::string& t, const std::string& x) { mensajes.push_back({t, x}); };
    }
    Listado Prepara(int columnas, int desde = 0, int hasta = 0) {
        if (columnas) prueba::GrabaReduccionPrueba(p.st, 5, 2, columnas);
        Listado l = AbreListado(NumBoletos(columnas));
        if (desde) l.BoletoInicial = desde;
        if (hasta) l.BoletoFinal = hasta;
        return l;
    }
    int Hoja(int columnas, int desde = 0, int hasta = 0, bool prueba = false) {
        Listado l = Prepara(columnas, desde, hasta);
        return ImprimeBoletosHoja(p.st, imp, l, prueba, ctl);
    }
    ResultadoContinuo Continuo(int columnas, bool prueba = false) {
        Listado l = Prepara(columnas);
        return ImpriContinuo(p.st, imp, l, prueba, ctl);
    }
};

// Boleto de prueba: 339 cruces y "999.999" por boleto. Los ajustes entran en
// décimas de milímetro por 5.67 twips; se mira la primera cruz y el número del
// último boleto dibujado (en continuo, el derecho).
TEST_F(Boletos, BoletoDePruebaEnCadaFormatoConSusAjustes) {
    struct Caso {
        bool continuo;
        int orientacion, ajusteX, ajusteY;
        double cruzX, cruzY, numX, numY;
    };
    for (const Caso& c : {Caso{false, 1, 0, 0, 940 + 8 * 212, 10, 6500, 10}, Caso{false, 1, 10, 1, 2693, 16, 6557, 16},
                          Caso{false, 2, 0, 0, 1050, 1090, 0, 0}, Caso{false, 2, 999, 0, 1050 + 5664, 1090, 5664, 0},
                          Caso{true, 1, 0, 0, 7040, 1270, 5990, 0}, Caso{true, 1, 100, 3, 7607, 1287, 6557, 17}}) {
        SCOPED_TRACE(testing::Message() << c.continuo << " " << c.orientacion << " " << c.ajusteX << "," << c.ajusteY);
        imp = ImpresoraGrabadora{};
        p.st.Datos.Orientacion = static_cast<int16_t>(c.orientacion);
        auto [ax, ay] = c.continuo ? std::tie(p.st.Datos.AjusteXContinuo, p.st.Datos.AjusteYContinuo)
                                   : std::tie(p.st.Datos.AjusteXHoja, p.st.Datos.AjusteYHoja);
        ax = static_cast<int16_t>(c.ajusteX);
        ay = static_cast<int16_t>(c.ajusteY);
        if (c.continuo) EXPECT_EQ(Continuo(0, true), ResultadoContinuo::Impreso);
        else EXPECT_EQ(Hoja(0, 0, 0, true), 1);
        const size_t boletos = c.continuo ? 2 : 1;
        const auto cruces = imp.Cruces();
        ASSERT_EQ(cruces.size(), 339 * boletos);
        EXPECT_EQ(cruces[339 * (boletos - 1)].x, c.cruzX);
        EXPECT_EQ(cruces[339 * (boletos - 1)].y, c.cruzY);
        const auto textos = imp.De(Tipo::Texto);
        ASSERT_EQ(textos.size(), boletos);
        EXPECT_EQ(textos.back().texto, std::string("999") + SeparadoresLocales().miles + "999");
        EXPECT_EQ(textos.back().x, c.numX);
        EXPECT_EQ(textos.back().y, c.numY);
        EXPECT_EQ(imp.Trabajos(), 1);
        EXPECT_EQ(imp.Paginas(1), 1);
    }
    EXPECT_TRUE(mensajes.empty());
}

// También el partido 15, marcado una vez por boleto desde su primera columna.
TEST_F(Boletos, NueveColumnasSonDosTrabajosConSusCasillasYUnAvisoDelUltimo) {
    std::vector<std::pair<int32_t, bool>> esperas;
    ctl.espera = [&](int32_t b, bool ultimo) {
        esperas.push_back({b, ultimo});
        return Respuesta::Siguiente;
    };
    EXPECT_EQ(Hoja(9), 2);
    ASSERT_EQ(mensajes.size(), 1u);
    EXPECT_EQ(mensajes[0].first, kTituloUltimoIncompleto);
    EXPECT_EQ(esperas, (std::vector<std::pair<int32_t, bool>>{{1, false}, {2, true}}));
    EXPECT_EQ(CasillasVertical(imp.Cruces(), 1), CasillasEsperadas(1, 8));
    EXPECT_EQ(CasillasVertical(imp.Cruces(), 2), CasillasEsperadas(9, 1));
    EXPECT_EQ(imp.De(Tipo::Texto)[1].texto, "2");
}

TEST_F(Boletos, UnIntervaloLeeSoloSusColumnasYParaAlFinalDelFichero) {
    EXPECT_EQ(Hoja(40, 3, 3), 1);
    EXPECT_EQ(CasillasVertical(imp.Cruces(), 1), CasillasEsperadas(17, 8));
    EXPECT_EQ(imp.De(Tipo::Texto)[0].texto, "3");

    imp = ImpresoraGrabadora{};
    Listado l = Prepara(40, 4, 10);
    p.st.ReduccionActual.ApuestasReducidas = 80;  // el registro promete más de lo que tiene el fichero
    EXPECT_EQ(ImprimeBoletosHoja(p.st, imp, l, false, ctl), 2);
    EXPECT_EQ(CasillasVertical(imp.Cruces(), 2), CasillasEsperadas(33, 8));
}

TEST_F(Boletos, RepetirReimprimeElMismoBoletoYCancelarPara) {
    int llamadas = 0;
    ctl.espera = [&](int32_t, bool) { return ++llamadas == 1 ? Respuesta::Repetir : Respuesta::Cancelar; };
    EXPECT_EQ(Hoja(24), 2);
    EXPECT_EQ(CasillasVertical(imp.Cruces(), 2), CasillasEsperadas(1, 8));
    EXPECT_EQ(imp.De(Tipo::Texto)[1].texto, "1");
}

TEST_F(Boletos, ContinuoTresBoletosEnDosPaginasDe158MilimetrosYMedio) {
    EXPECT_EQ(Continuo(24), ResultadoContinuo::Impreso);
    EXPECT_EQ(imp.Trabajos(), 1);
    EXPECT_EQ(imp.Paginas(1), 2);
    EXPECT_EQ(imp.papel(), kPapelA4);
    EXPECT_EQ(imp.Height(), 8986);  // del A4 de 16838 twips
    const auto n = imp.De(Tipo::Texto);
    ASSERT_EQ(n.size(), 3u);
    EXPECT_EQ(std::tie(n[1].texto, n[1].x, n[1].y, n[1].pagina), std::make_tuple("2", 5990.0, 0.0, 1));
    EXPECT_EQ(std::tie(n[2].texto, n[2].x, n[2].y, n[2].pagina), std::make_tuple("3", 0.0, 0.0, 2));
    const auto cruces = imp.Cruces();
    EXPECT_EQ(CasillasApaisado(cruces, 1270, 0, 1), CasillasEsperadas(1, 8));
    EXPECT_EQ(CasillasApaisado(cruces, 1270, 5990, 1), CasillasEsperadas(9, 8));
    EXPECT_EQ(CasillasApaisado(cruces, 1270, 0, 2), CasillasEsperadas(17, 8));
    EXPECT_TRUE(CasillasApaisado(cruces, 1270, 5990, 2).empty());
    const auto marcas = imp.De(Tipo::Rectangulo);  // nueve marcas sólidas por boleto
    ASSERT_EQ(marcas.size(), 27u);
    EXPECT_EQ(std::tie(marcas[9].x, marcas[9].y, marcas[9].x2, marcas[9].y2),
              std::make_tuple(5990.0 + 5120, 65.0, 170.0, 145.0));

    EXPECT_EQ(AltoPaginaContinuo(16838), 8986);
    imp = ImpresoraGrabadora{};
    imp.altoA4 = 16840;  // un controlador que cuenta el A4 en puntos
    Continuo(0, true);
    EXPECT_EQ(imp.Height(), 8987);
}

TEST_F(Boletos, ControladorQueRechazaOIgnoraElAltoDelContinuoNoImprimeNada) {
    for (bool admite : {false, true}) {
        imp = ImpresoraGrabadora{};
        mensajes.clear();
        imp.admitePapelUsuario = admite;
        imp.respetaAlto = false;
        EXPECT_EQ(Continuo(16), admite ? ResultadoContinuo::SinAltura : ResultadoContinuo::SinPapelUsuario);
        EXPECT_EQ(mensajes, (std::vector<std::pair<std::string, std::string>>{
                                {kTituloTamanoBoletos, admite ? kTextoSinAltura : kTextoSinPapelUsuario}}));
        EXPECT_TRUE(imp.ops.empty());
    }
}

TEST_F(Boletos, CancelarElContinuoCierraElTrabajoSinPaginaEnBlanco) {
    std::atomic<bool> cancelado{false};
    ctl.cancelado = &cancelado;
    int pasos = 0;
    ctl.progreso = [&](const std::string&) { cancelado = ++pasos == 2; };
    EXPECT_EQ(Continuo(80), ResultadoContinuo::Cancelado);
    EXPECT_EQ(imp.De(Tipo::Texto).size(), 2u);
    EXPECT_EQ(imp.De(Tipo::FinTrabajo).size(), 1u);
    EXPECT_EQ(imp.Paginas(1), 1);
}

}  // namespace
}  // namespace tobal
