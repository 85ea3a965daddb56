// Boletos oficiales en hojas y en papel continuo, dibujados en la impresora
// grabadora: todas las posiciones en twips.

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
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
using Tipo = OperacionImpresa::Tipo;

// Las casillas de un boleto de estas columnas, sacadas a mano del boleto: el
// partido 15 solo de la primera columna, en la fila 15 (hueco 4 casilla "2",
// hueco 5 "X", hueco 6 "1").
std::set<Casilla> CasillasEsperadas(int primera, int cuantas) {
    std::set<Casilla> r;
    for (int c = 1; c <= cuantas; ++c) {
        const std::string col = ColumnaPrueba(primera + c - 1);
        for (int m = 1; m <= 14; ++m)
            r.insert({c, m, static_cast<int>(std::string("1X2").find(col[m - 1])) + 1});
        const int s = static_cast<int>(std::string("1X2").find(col[14]));
        if (c == 1) r.insert({4 + s, 15, 3 - s});
    }
    return r;
}

// Las cruces leídas como casillas: en hoja vertical las del trabajo n; en
// apaisado las de la página n del boleto que empieza en (dx, dy).
std::set<Casilla> Casillas(const Cruces& cruces, int n, bool apaisado = false, int dx = 940, int dy = 10) {
    std::set<Casilla> r;
    const int paso = apaisado ? 213 : 212;
    for (const auto& k : cruces) {
        const int x = static_cast<int>(k.x) - dx - (apaisado ? 1050 : 0), y = static_cast<int>(k.y) - dy;
        if ((apaisado ? k.pagina : k.trabajo) != n || x < -1050 || x >= 4940) continue;
        const int i = (apaisado ? y : x) / paso, fila = apaisado ? x : y;
        EXPECT_TRUE((apaisado ? y : x) % paso == 0 && fila % 284 == 0 && k.ancho + k.alto == 200 &&
                    (k.ancho == 130) == apaisado)
            << k.x << "," << k.y;
        r.insert({8 - i / 3, apaisado ? fila / 284 + 1 : 15 - fila / 284, 3 - i % 3});
    }
    return r;
}

struct Boletos : ::testing::Test {
    prueba::EstadoPrueba p;
    ImpresoraGrabadora imp;
    ControlImpresion ctl;
    std::vector<std::pair<std::string, std::string>> mensajes;  // título y texto

    void SetUp() override {
        ctl.mensaje = [this](const std::string& t, const std::string& x) { mensajes.push_back({t, x}); };
    }
    // Sin columnas, el boleto de prueba.
    int Hoja(int columnas, int desde = 1, int hasta = 0, int registradas = 0) {
        if (columnas) prueba::GrabaReduccionPrueba(p.st, 5, 2, columnas);
        if (registradas) p.st.ReduccionActual.ApuestasReducidas = registradas;
        Listado l = AbreListado(NumBoletos(p.st.ReduccionActual.ApuestasReducidas));
        l.BoletoInicial = desde;
        if (hasta) l.BoletoFinal = hasta;
        return ImprimeBoletosHoja(p.st, imp, l, columnas == 0, ctl);
    }
    ResultadoContinuo Continuo(int columnas) {
        if (columnas) prueba::GrabaReduccionPrueba(p.st, 5, 2, columnas);
        Listado l = AbreListado(NumBoletos(columnas));
        return ImpriContinuo(p.st, imp, l, columnas == 0, ctl);
    }
};

// De un fichero de columnas dañado no se imprime nada, ni el aviso del último
// boleto: un solo mensaje nombra la primera columna dañada. Las tres salidas
// que leen columnas; cada clase de daño es cosa del lector de columnas.
TEST_F(Boletos, FicheroDanadoNoImprimeNada) {
    const std::vector<std::pair<const char*, std::function<void(Listado&)>>> salidas = {
        {"hoja", [&](Listado& l) { ImprimeBoletosHoja(p.st, imp, l, false, ctl); }},
        {"continuo", [&](Listado& l) { ImpriContinuo(p.st, imp, l, false, ctl); }},
        {"relacion", [&](Listado& l) { ImprimeRelacion(p.st, imp, l, ctl); }}};
    prueba::GrabaReduccionPrueba(p.st, 5, 2, 9);
    prueba::EscribeBytes(p.dir() / "RED0502.TBX",
                         prueba::FicheroConColumnaDanada(prueba::ColumnasDanadas()[4]));
    for (const auto& [nombre, imprime] : salidas) {
        SCOPED_TRACE(nombre);
        p.mensajes.mensajes.clear();
        p.st.ErrorFichero = 0;
        Listado l = AbreListado(2);
        imprime(l);
        EXPECT_TRUE(imp.ops.empty() && mensajes.empty());
        EXPECT_EQ(p.mensajes.mensajes, std::vector<std::string>{TextoColumnasDanadas("RED0502.TBX", 3)});
        EXPECT_EQ(p.st.ErrorFichero, kErrorColumnasDanadas);
    }
}

// Boleto de prueba: 339 cruces y "999.999" por boleto. Los ajustes entran en
// décimas de milímetro por 5.67 twips; se mira la primera cruz y el número del
// último boleto dibujado (en continuo, el derecho).
TEST_F(Boletos, BoletoDePruebaEnCadaFormatoConSusAjustes) {
    struct Caso {
        bool continuo;
        int orientacion, ajusteX, ajusteY;
        double cruzX, cruzY, numX, numY;
    };
    for (const Caso& c :
         {Caso{false, 1, 10, 1, 2693, 16, 6557, 16}, Caso{false, 2, 0, 0, 1050, 1090, 0, 0},
          Caso{false, 2, 999, 0, 1050 + 5664, 1090, 5664, 0}, Caso{true, 1, 100, 3, 7607, 1287, 6557, 17}}) {
        SCOPED_TRACE(testing::Message()
                     << c.continuo << " " << c.orientacion << " " << c.ajusteX << "," << c.ajusteY);
        imp = ImpresoraGrabadora{};
        p.st.Datos.Orientacion = static_cast<int16_t>(c.orientacion);
        auto [ax, ay] = c.continuo ? std::tie(p.st.Datos.AjusteXContinuo, p.st.Datos.AjusteYContinuo)
                                   : std::tie(p.st.Datos.AjusteXHoja, p.st.Datos.AjusteYHoja);
        ax = static_cast<int16_t>(c.ajusteX);
        ay = static_cast<int16_t>(c.ajusteY);
        EXPECT_TRUE(c.continuo ? Continuo(0) == ResultadoContinuo::Impreso : Hoja(0) == 1);
        const size_t boletos = c.continuo ? 2 : 1;
        const auto cruces = imp.Cruces();
        ASSERT_EQ(cruces.size(), 339 * boletos);
        // Every cross of the sideways sheet on its box (the upright sheet's: with columns, below).
        EXPECT_TRUE(c.orientacion != 2 || c.ajusteX != 0 ||
                    Casillas(cruces, 1, true, 0, 1090).size() == 339u);
        EXPECT_EQ(std::tie(cruces[339 * (boletos - 1)].x, cruces[339 * (boletos - 1)].y),
                  std::tie(c.cruzX, c.cruzY));
        EXPECT_EQ(cruces[0].x, c.cruzX - (c.continuo ? 5990 : 0));  // on the form, the left ticket too
        const auto textos = imp.De(Tipo::Texto);
        ASSERT_EQ(textos.size(), boletos);
        EXPECT_EQ(textos.back().texto, std::string("999") + SeparadoresLocales().miles + "999");
        EXPECT_EQ(std::tie(textos.back().x, textos.back().y), std::tie(c.numX, c.numY));
        EXPECT_EQ(std::make_pair(imp.Trabajos(), imp.Paginas(1)), std::make_pair(1, 1));
    }
    EXPECT_TRUE(mensajes.empty());
}

// También el partido 15, marcado una vez por boleto desde su primera columna.
TEST_F(Boletos, NueveColumnasSonDosTrabajosConSusCasillas) {
    EXPECT_EQ(Hoja(9), 2);
    EXPECT_EQ(Casillas(imp.Cruces(), 1), CasillasEsperadas(1, 8));
    EXPECT_EQ(Casillas(imp.Cruces(), 2), CasillasEsperadas(9, 1));
    EXPECT_EQ(imp.De(Tipo::Texto).at(1).texto, "2");
    // The screen prints them one at a time and offers no Siguiente on the last.
    Listado l = AbreListado(2);
    CorridaHoja corrida(p.st, l);
    ASSERT_TRUE(corrida.Abre());
    for (bool ultimo : {false, true}) {
        corrida.Lee();
        EXPECT_EQ(corrida.Ultimo(), ultimo);
        corrida.Avanza();
    }
}

TEST_F(Boletos, UnIntervaloLeeSoloSusColumnasYParaAlFinalDelFichero) {
    EXPECT_EQ(Hoja(40, 4, 0, 80), 2);  // el registro promete más de lo que tiene el fichero
    EXPECT_EQ(Casillas(imp.Cruces(), 1), CasillasEsperadas(25, 8));
}

TEST_F(Boletos, ContinuoTresBoletosEnDosPaginasDe158MilimetrosYMedio) {
    EXPECT_EQ(Continuo(24), ResultadoContinuo::Impreso);
    // Alto de página 8986 twips, del A4 de 16838.
    EXPECT_EQ(std::make_tuple(imp.Trabajos(), imp.Paginas(1), imp.papel(), imp.Height()),
              std::make_tuple(1, 2, kPapelA4, 8986));
    const auto n = imp.De(Tipo::Texto);
    ASSERT_EQ(n.size(), 3u);
    EXPECT_EQ(std::tie(n[1].texto, n[1].x, n[1].y, n[1].pagina), std::make_tuple("2", 5990.0, 0.0, 1));
    EXPECT_EQ(std::tie(n[2].texto, n[2].x, n[2].y, n[2].pagina), std::make_tuple("3", 0.0, 0.0, 2));
    for (int i = 0; i < 4; ++i)  // izquierdo y derecho de cada página; el cuarto, vacío
        EXPECT_EQ(Casillas(imp.Cruces(), 1 + i / 2, true, 5990 * (i % 2), 1270),
                  CasillasEsperadas(1 + 8 * i, i < 3 ? 8 : 0));
    // Nine solid marks a ticket, where the form reader looks for them.
    const double kMarcas[9][4] = {{5120, 65, 170, 145},  {5120, 8593, 170, 145}, {964, 8748, 227, 57},
                                  {1651, 8748, 227, 57}, {1994, 8748, 227, 57},  {2337, 8748, 227, 57},
                                  {2680, 8748, 227, 57}, {3706, 8748, 227, 57},  {4048, 8748, 227, 57}};
    const auto marcas = imp.De(Tipo::Rectangulo);
    ASSERT_EQ(marcas.size(), 27u);
    for (size_t i = 0; i < marcas.size(); ++i) {
        const double* k = kMarcas[i % 9];
        EXPECT_EQ(std::make_tuple(marcas[i].x, marcas[i].y, marcas[i].x2, marcas[i].y2, marcas[i].pagina),
                  std::make_tuple((i / 9 == 1 ? 5990 : 0) + k[0], k[1], k[2], k[3], i < 18 ? 1 : 2))
            << "marca " << i;
    }

    imp = ImpresoraGrabadora{};
    imp.altoA4 = 16840;  // un controlador que cuenta el A4 en puntos
    Continuo(0);
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
    EXPECT_EQ(std::make_tuple(imp.De(Tipo::Texto).size(), imp.De(Tipo::FinTrabajo).size(), imp.Paginas(1)),
              std::make_tuple(2u, 1u, 1));
}

}  // namespace
}  // namespace tobal
