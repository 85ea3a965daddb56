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
using prueba::EstadoPrueba;
using prueba::GrabaReduccionPrueba;
using Casilla = std::tuple<int, int, int>;  // hueco, partido, casilla
using Tipo = OperacionImpresa::Tipo;

std::string Miles999999() { return std::string("999") + SeparadoresLocales().miles + "999"; }

// Las casillas que debe cruzar un boleto de estas columnas, sacadas a mano del
// boleto: huecos 1..8 partidos 1..14, y el partido 15 de la primera columna en
// las tres casillas de la fila 15 (hueco 4 casilla "2", hueco 5 "X", hueco 6 "1").
std::set<Casilla> CasillasEsperadas(int primera, int cuantas) {
    std::set<Casilla> r;
    for (int c = 1; c <= cuantas; ++c) {
        const std::string col = ColumnaPrueba(primera + c - 1);
        for (int m = 1; m <= 14; ++m) r.insert({c, m, static_cast<int>(std::string("1X2").find(col[m - 1])) + 1});
        if (c == 1) {
            if (col[14] == '1') r.insert({4, 15, 3});
            if (col[14] == 'X') r.insert({5, 15, 2});
            if (col[14] == '2') r.insert({6, 15, 1});
        }
    }
    return r;
}

// Las cruces de un trabajo leídas como casillas, sin ajustes.
std::set<Casilla> CasillasVertical(const std::vector<ImpresoraGrabadora::Cruz>& cruces, int trabajo) {
    std::set<Casilla> r;
    for (const auto& k : cruces) {
        if (k.trabajo != trabajo) continue;
        EXPECT_EQ(k.ancho, 70);
        EXPECT_EQ(k.alto, 130);
        const int i = static_cast<int>(k.x - 940) / 212;
        EXPECT_EQ(static_cast<int>(k.x - 940) % 212, 0);
        EXPECT_EQ(static_cast<int>(k.y - 10) % 284, 0);
        r.insert({8 - i / 3, 15 - static_cast<int>(k.y - 10) / 284, 3 - i % 3});
    }
    return r;
}

std::set<Casilla> CasillasApaisado(const std::vector<ImpresoraGrabadora::Cruz>& cruces, double dy, double dx,
                                   int pagina) {
    std::set<Casilla> r;
    for (const auto& k : cruces) {
        if (k.pagina != pagina || k.x < dx || k.x >= dx + 5990) continue;
        EXPECT_EQ(k.ancho, 130);
        EXPECT_EQ(k.alto, 70);
        const int i = static_cast<int>(k.y - dy) / 213;
        EXPECT_EQ(static_cast<int>(k.y - dy) % 213, 0);
        EXPECT_EQ(static_cast<int>(k.x - dx - 1050) % 284, 0);
        r.insert({8 - i / 3, static_cast<int>(k.x - dx - 1050) / 284 + 1, 3 - i % 3});
    }
    return r;
}

struct Hojas : ::testing::Test {
    EstadoPrueba p;
    ImpresoraGrabadora imp;
    ControlImpresion ctl;
    std::vector<std::pair<std::string, std::string>> mensajes;
    std::vector<std::pair<int32_t, bool>> esperas;

    void SetUp() override {
        ctl.mensaje = [this](const std::string& t, const std::string& x) { mensajes.push_back({t, x}); };
    }
    int Imprime(int columnas, int desde, int hasta, bool prueba = false) {
        if (columnas) GrabaReduccionPrueba(p.st, 5, 2, columnas);
        Listado l = AbreListado(NumBoletos(columnas));
        if (desde) l.BoletoInicial = desde;
        if (hasta) l.BoletoFinal = hasta;
        return ImprimeBoletosHoja(p.st, imp, l, prueba, ctl);
    }
};

TEST_F(Hojas, BoletoDePruebaCon339CrucesYElNumeroConMiles) {
    for (int orientacion : {1, 2}) {
        imp = ImpresoraGrabadora{};
        p.st.Datos.Orientacion = static_cast<int16_t>(orientacion);
        EXPECT_EQ(Imprime(0, 0, 0, true), 1);
        const auto cruces = imp.Cruces();
        EXPECT_EQ(cruces.size(), 339u);
        const auto textos = imp.De(Tipo::Texto);
        ASSERT_EQ(textos.size(), 1u);
        EXPECT_EQ(textos[0].texto, Miles999999());
        EXPECT_EQ(textos[0].tamano, 9);
        EXPECT_EQ(cruces.front().trabajo, cruces.back().trabajo);
        EXPECT_EQ(imp.De(Tipo::FinTrabajo).size(), 1u);
        EXPECT_EQ(imp.DrawWidth(), 1);  // vuelve a las líneas finas al acabar
        for (const auto& l : imp.De(Tipo::Linea)) EXPECT_EQ(l.ancho, 2);
        if (orientacion == 1) {
            EXPECT_EQ(textos[0].x, 6500);
            EXPECT_EQ(textos[0].y, 10);
            // Primero la fila 15, desde su marca más a la izquierda: hueco 6, casilla "1".
            EXPECT_EQ(cruces[0].x, 940 + 8 * 212);
            EXPECT_EQ(cruces[0].y, 10);
            // Después el partido 14 desde el hueco 8, casilla "2".
            EXPECT_EQ(cruces[3].x, 940);
            EXPECT_EQ(cruces[3].y, 294);
        } else {
            EXPECT_EQ(textos[0].x, 0);
            EXPECT_EQ(textos[0].y, 0);
            EXPECT_EQ(cruces[0].x, 1050);
            EXPECT_EQ(cruces[0].y, 1090);
            EXPECT_EQ(cruces[0].ancho, 130);
            EXPECT_EQ(cruces[0].alto, 70);
        }
    }
    EXPECT_TRUE(mensajes.empty());
}

TEST_F(Hojas, AjustesEnDecimasDeMilimetroPor567) {
    p.st.Datos.AjusteXHoja = 10;  // 56.7 twips
    p.st.Datos.AjusteYHoja = 1;   // 5.67 twips
    Imprime(0, 0, 0, true);
    auto cruces = imp.Cruces();
    EXPECT_EQ(cruces[3].x, 997);  // 940 + 56.7
    EXPECT_EQ(cruces[3].y, 300);  // 294 + 5.67
    EXPECT_EQ(imp.De(Tipo::Texto)[0].x, 6557);
    EXPECT_EQ(imp.De(Tipo::Texto)[0].y, 16);

    imp = ImpresoraGrabadora{};
    p.st.Datos.Orientacion = 2;
    p.st.Datos.AjusteXHoja = 999;  // 5664.33
    p.st.Datos.AjusteYHoja = 0;
    Imprime(0, 0, 0, true);
    cruces = imp.Cruces();
    EXPECT_EQ(cruces[0].x, 1050 + 5664);
    EXPECT_EQ(cruces[0].y, 1090);
    EXPECT_EQ(imp.De(Tipo::Texto)[0].x, 5664);
}

TEST_F(Hojas, NueveColumnasSonDosTrabajosYUnSoloAvisoDelUltimoBoleto) {
    ctl.espera = [this](int32_t b, bool ultimo) {
        esperas.push_back({b, ultimo});
        return ControlImpresion::Respuesta::Siguiente;
    };
    EXPECT_EQ(Imprime(9, 0, 0), 2);
    ASSERT_EQ(mensajes.size(), 1u);
    EXPECT_EQ(mensajes[0].first, kTituloUltimoIncompleto);
    EXPECT_EQ(imp.Trabajos(), 2);
    EXPECT_EQ(esperas, (std::vector<std::pair<int32_t, bool>>{{1, false}, {2, true}}));
    const auto cruces = imp.Cruces();
    EXPECT_EQ(CasillasVertical(cruces, 1), CasillasEsperadas(1, 8));
    // Boleto 2: solo el hueco 1, con su partido 15.
    EXPECT_EQ(CasillasVertical(cruces, 2), CasillasEsperadas(9, 1));
    const auto numeros = imp.De(Tipo::Texto);
    ASSERT_EQ(numeros.size(), 2u);
    EXPECT_EQ(numeros[1].texto, "2");
    EXPECT_EQ(numeros[1].trabajo, 2);
}

TEST_F(Hojas, ApaisadoPoneCadaSignoEnSuCasilla) {
    p.st.Datos.Orientacion = 2;
    Imprime(16, 2, 2);
    EXPECT_EQ(imp.Trabajos(), 1);
    EXPECT_EQ(CasillasApaisado(imp.Cruces(), 1090, 0, 1), CasillasEsperadas(9, 8));
}

TEST_F(Hojas, ElPartido15SoloSaleDeLaPrimeraColumna) {
    std::vector<std::string> cols(8, "111111111111112");
    cols[0] = "11111111111111X";
    prueba::GrabaReduccionConColumnas(p.st, 5, 2, cols);
    Listado l = AbreListado(1);
    ImprimeBoletosHoja(p.st, imp, l, false, ctl);
    const auto casillas = CasillasVertical(imp.Cruces(), 1);
    EXPECT_EQ(casillas.size(), 8u * 14 + 1);
    EXPECT_TRUE(casillas.count({5, 15, 2}));
}

TEST_F(Hojas, UnIntervaloLeeSoloSusColumnasYParaAlFinalDelFichero) {
    Imprime(40, 3, 3);
    EXPECT_EQ(imp.Trabajos(), 1);
    EXPECT_EQ(CasillasVertical(imp.Cruces(), 1), CasillasEsperadas(17, 8));
    EXPECT_EQ(imp.De(Tipo::Texto)[0].texto, "3");

    // Un intervalo que pasa del final del fichero: solo los boletos 4 y 5.
    imp = ImpresoraGrabadora{};
    GrabaReduccionPrueba(p.st, 5, 2, 40);
    p.st.ReduccionActual.ApuestasReducidas = 80;  // el registro promete más de lo que tiene el fichero
    Listado l = AbreListado(10);
    l.BoletoInicial = 4;
    EXPECT_EQ(ImprimeBoletosHoja(p.st, imp, l, false, ctl), 2);
    EXPECT_EQ(CasillasVertical(imp.Cruces(), 2), CasillasEsperadas(33, 8));
}

TEST_F(Hojas, RepetirReimprimeElMismoBoletoYCancelarPara) {
    int llamadas = 0;
    ctl.espera = [&](int32_t, bool) {
        ++llamadas;
        return llamadas == 1 ? ControlImpresion::Respuesta::Repetir : ControlImpresion::Respuesta::Cancelar;
    };
    EXPECT_EQ(Imprime(24, 0, 0), 2);
    EXPECT_EQ(imp.Trabajos(), 2);
    auto uno = imp.Cruces();
    std::vector<ImpresoraGrabadora::Cruz> a, b;
    for (auto& k : uno) (k.trabajo == 1 ? a : b).push_back(k);
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i) EXPECT_TRUE(a[i].x == b[i].x && a[i].y == b[i].y);
    EXPECT_EQ(imp.De(Tipo::Texto)[1].texto, "1");
}

TEST_F(Hojas, SinFicheroDeColumnasNoImprimeNiDiceNada) {
    p.st.Jornada() = 7;
    Listado l = AbreListado(3);
    EXPECT_EQ(ImprimeBoletosHoja(p.st, imp, l, false, ctl), 0);
    EXPECT_TRUE(imp.ops.empty());
    EXPECT_TRUE(p.mensajes.mensajes.empty());
    EXPECT_EQ(p.st.ErrorFichero, 53);
    EXPECT_EQ(p.st.NomFichero, "RED0701.TBX");
}

struct Continuo : Hojas {
    ResultadoContinuo Continua(int columnas, bool prueba = false) {
        if (columnas) GrabaReduccionPrueba(p.st, 5, 2, columnas);
        Listado l = AbreListado(NumBoletos(columnas));
        return ImpriContinuo(p.st, imp, l, prueba, ctl);
    }
};

TEST_F(Continuo, TresBoletosOcupanDosPaginasDeUnTrabajo) {
    EXPECT_EQ(Continua(24), ResultadoContinuo::Impreso);
    EXPECT_EQ(imp.Trabajos(), 1);
    EXPECT_EQ(imp.Paginas(1), 2);
    EXPECT_EQ(imp.papel(), kPapelA4);
    EXPECT_EQ(imp.Height(), 8986);
    const auto numeros = imp.De(Tipo::Texto);
    ASSERT_EQ(numeros.size(), 3u);
    EXPECT_EQ(std::make_tuple(numeros[0].texto, numeros[0].x, numeros[0].y, numeros[0].pagina),
              std::make_tuple(std::string("1"), 0.0, 0.0, 1));
    EXPECT_EQ(std::make_tuple(numeros[1].texto, numeros[1].x, numeros[1].y, numeros[1].pagina),
              std::make_tuple(std::string("2"), 5990.0, 0.0, 1));
    EXPECT_EQ(std::make_tuple(numeros[2].texto, numeros[2].x, numeros[2].pagina),
              std::make_tuple(std::string("3"), 0.0, 2));
    const auto cruces = imp.Cruces();
    EXPECT_EQ(CasillasApaisado(cruces, 1270, 0, 1), CasillasEsperadas(1, 8));
    EXPECT_EQ(CasillasApaisado(cruces, 1270, 5990, 1), CasillasEsperadas(9, 8));
    EXPECT_EQ(CasillasApaisado(cruces, 1270, 0, 2), CasillasEsperadas(17, 8));
    EXPECT_TRUE(CasillasApaisado(cruces, 1270, 5990, 2).empty());
    // Nueve marcas sólidas por boleto; las del boleto derecho, 5990 más allá.
    const auto rect = imp.De(Tipo::Rectangulo);
    ASSERT_EQ(rect.size(), 27u);
    EXPECT_EQ(std::make_tuple(rect[9].x, rect[9].y, rect[9].x2, rect[9].y2),
              std::make_tuple(5990.0 + 5120, 65.0, 170.0, 145.0));
    EXPECT_EQ(std::make_tuple(rect[17].x, rect[17].y, rect[17].x2, rect[17].y2),
              std::make_tuple(5990.0 + 4048, 8748.0, 227.0, 57.0));
}

TEST_F(Continuo, PrimeraCruzDelBoletoDerechoYAjustes) {
    Continua(16);
    auto cruces = imp.Cruces();
    auto derecha = std::find_if(cruces.begin(), cruces.end(), [](auto& k) { return k.x >= 5990; });
    ASSERT_NE(derecha, cruces.end());
    EXPECT_EQ(derecha->x, 7040);
    EXPECT_EQ(derecha->y, 1270);

    imp = ImpresoraGrabadora{};
    p.st.Datos.AjusteXContinuo = 100;  // 567 twips
    p.st.Datos.AjusteYContinuo = 3;    // 17.01
    Continua(0, true);
    cruces = imp.Cruces();
    EXPECT_EQ(cruces.size(), 2u * 339);
    EXPECT_EQ(cruces[0].x, 567 + 1050);
    EXPECT_EQ(cruces[0].y, 17 + 1270);
    EXPECT_EQ(cruces[339].x, 567 + 5990 + 1050);
    const auto textos = imp.De(Tipo::Texto);
    ASSERT_EQ(textos.size(), 2u);
    EXPECT_EQ(textos[1].texto, Miles999999());
    EXPECT_EQ(textos[1].x, 567 + 5990);
    EXPECT_EQ(imp.Paginas(1), 1);
    EXPECT_EQ(imp.Trabajos(), 1);
}

TEST_F(Continuo, PaginaDe158MilimetrosYMedio) {
    EXPECT_EQ(AltoPaginaContinuo(16838), 8986);
    imp.altoA4 = 16840;  // un controlador que cuenta el A4 en puntos
    imp.Height(1000);
    Continua(0, true);
    EXPECT_EQ(imp.Height(), 8987);  // 8987.07, del alto que dio el controlador para el A4
}

TEST_F(Continuo, ControladorQueRechazaOIgnoraElTamanoNoImprimeNada) {
    imp.admitePapelUsuario = false;
    EXPECT_EQ(Continua(16), ResultadoContinuo::SinPapelUsuario);
    ASSERT_EQ(mensajes.size(), 1u);
    EXPECT_EQ(mensajes[0].first, kTituloTamanoBoletos);
    EXPECT_EQ(mensajes[0].second, kTextoSinPapelUsuario);
    EXPECT_TRUE(imp.ops.empty());

    mensajes.clear();
    imp.admitePapelUsuario = true;
    imp.respetaAlto = false;
    EXPECT_EQ(Continua(16, true), ResultadoContinuo::SinAltura);
    ASSERT_EQ(mensajes.size(), 1u);
    EXPECT_EQ(mensajes[0].second, kTextoSinAltura);
    EXPECT_TRUE(imp.ops.empty());
}

TEST_F(Continuo, CancelarCierraElTrabajoConLosBoletosDibujados) {
    std::atomic<bool> cancelado{false};
    ctl.cancelado = &cancelado;
    std::vector<std::string> progreso;
    ctl.progreso = [&](const std::string& t) {
        progreso.push_back(t);
        if (progreso.size() == 2) cancelado = true;
    };
    EXPECT_EQ(Continua(80), ResultadoContinuo::Cancelado);
    EXPECT_EQ(progreso.back(), "Imprimiendo el boleto nro. 2");
    EXPECT_EQ(imp.De(Tipo::Texto).size(), 2u);
    EXPECT_EQ(imp.De(Tipo::FinTrabajo).size(), 1u);
    EXPECT_EQ(imp.Paginas(1), 1);  // el salto de página tras el boleto 2 no saca una página en blanco
}

}  // namespace
}  // namespace tobal
