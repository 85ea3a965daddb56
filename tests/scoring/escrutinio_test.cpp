// El motor de escrutinio: rejilla, tablas de aciertos y de boletos, y las entradas guardadas.

#include <gtest/gtest.h>

#include <random>

#include "Soporte.h"
#include "data/Jornadas.h"
#include "scoring/Escrutinio.h"

namespace tobal {
namespace {

using namespace prueba;

const std::string kGanadora = "1X21X21X21X21X2";
const char kSignos[] = {'1', 'X', '2'};

// La columna ganadora con otro signo en los partidos dados (desde 1).
std::string Cambia(std::string col, std::initializer_list<int> partidos) {
    for (int m : partidos) col[m - 1] = col[m - 1] == '1' ? 'X' : '1';
    return col;
}

struct Escrutinio : ::testing::Test {
    prueba::EstadoPrueba p;
    std::array<double, 6> premios{0, 1000, 100, 10, 5, 1};

    ResultadoEscrutinio Escruta(const std::string& contenido) {
        EscribeBytes(p.dir() / "RED0701.TBX", contenido);
        return EscrutaColumnas(p.dir() / "RED0701.TBX", kGanadora, premios);
    }
};

TEST(RejillaGanadora, PulsarPoneQuitaYMueveLaMarca) {
    for (auto [x, y, partido, signo] : {std::array{4, 4, 1, 1},
                                        {15, 18, 1, 1},
                                        {18, 22, 2, 2},
                                        {45, 270, 15, 3},
                                        {10, 19, 0, 0},
                                        {16, 10, 1, 0},
                                        {10, 274, 0, 0}})
        EXPECT_EQ(QueGanadoraHaPulsado(x, y), (CeldaGanadora{partido, signo})) << x << "," << y;
    Rejilla g{};
    for (int m = 0; m <= 16; ++m) MarcaCeldaGanadora(g, m, m % 3 + 1);  // 0 y 16 no son partidos
    EXPECT_EQ(ColumnaGanadora(g), "X21X21X21X21X21");
    MarcaCeldaGanadora(g, 3, 2);  // otro signo mueve la marca
    EXPECT_EQ(g[3], 2);
    MarcaCeldaGanadora(g, 3, 2);  // el mismo la quita
    EXPECT_EQ(ColumnaGanadora(g), "X2");
}

TEST_F(Escrutinio, FicheroVacioPremioCeroEImportesGrandes) {
    auto r = Escruta("");
    ASSERT_EQ(r.fin, FinEscrutinio::Completo);
    EXPECT_EQ(r.LisAciertos.at(0), "Total premios:       0.00");
    for (int i = 1; i <= 16; ++i) EXPECT_EQ(r.LisAciertos.at(i), FilaAciertos(16 - i, 0, " ")) << i;
    EXPECT_TRUE(r.LisBoletos.empty());

    premios = {0, 0, 0, 0, 0, 0};
    r = Escruta(FicheroColumnas({kGanadora, Cambia(kGanadora, {1, 2, 3, 4, 5, 6, 7})}));
    EXPECT_EQ(r.LisAciertos.at(1) + "|" + r.LisAciertos.at(9), "  15       1         0.00|   7       1   ");

    premios = {0, 99999999999, 0, 0, 0, 0};  // más de 99.999.999,99: el campo crece
    r = Escruta(FicheroColumnas({kGanadora, kGanadora}));
    EXPECT_EQ(r.LisAciertos.at(0) + "|" + r.LisAciertos.at(1),
              "Total premios:199999999998.00|  15       2  199999999998.00");
    EXPECT_EQ(ImporteDeFila(r.LisAciertos.at(1)), "199999999998.00");
    EXPECT_DOUBLE_EQ(ValorImporteDeFila(r.LisAciertos.at(0)), 199999999998.0);
}

TEST(FilasEscrutinio, CuentasLargasNoMuevenElImporte) {
    const std::string f = FilaAciertos(11, 12345678, "       1.00");
    EXPECT_EQ(ImporteDeFila(f), "       1.00");
    EXPECT_EQ(CuentaDeFila(f), 12345678);
    EXPECT_EQ(FilaAciertos(5, 4782969, " "), "   5 4782969   ");
    std::array<int16_t, 16> c{};
    c[11] = 8;
    const BoletoPremiado b = LeeFilaBoleto(FilaBoleto(12345678, c));
    EXPECT_TRUE(b.boleto == 12345678 && b.columnas[5] == 8);
}

// Cada daño en cada puesto de un grupo de cuatro columnas, que se miran
// juntas, al principio del fichero y donde un registro queda a caballo entre
// dos bloques leídos (la columna 13.798), con columnas buenas detrás: ni
// tablas ni otra columna nombrada que la del lector de columnas.
TEST_F(Escrutinio, ColumnaDanadaEnCadaPuestoYEntreBloques) {
    for (const prueba::ColumnaDanada& d : prueba::ColumnasDanadas())
        for (size_t antes : {size_t{0}, size_t{13792}})
            for (size_t puesto = antes; puesto < antes + 4; ++puesto) {
                SCOPED_TRACE(d.que + " " + std::to_string(puesto));
                std::string f = FicheroColumnas(std::vector<std::string>(puesto, kGanadora)) +
                                prueba::FicheroConColumnaDanada(d);
                if (d.que != std::string("cut by the end"))
                    f += FicheroColumnas(std::vector<std::string>(8, kGanadora));
                auto r = Escruta(f);
                EXPECT_EQ(r.columnaDanada, static_cast<int64_t>(puesto) + 3);
                EXPECT_TRUE(r.fin == FinEscrutinio::SinColumnas && r.LisAciertos.empty() &&
                            r.LisBoletos.empty());
            }
}

// El escrutinio de la pantalla, que además graba el registro de la jornada, aun
// sin fichero de columnas o sin poder escrutar.
TEST(EscrutinioConRegistro, GuardaLasEntradasYEscrutaYFallosDeFicheros) {
    prueba::EstadoPrueba p;
    p.st.Jornada() = 7;
    p.st.Orden() = 1;
    p.st.Datos.FechaJornada = "00/00/00";
    EntradasEscrutinio e;
    for (int m = 1; m <= 15; ++m) e.Ganadora[m] = static_cast<int16_t>((m - 1) % 3 + 1);
    e.TextoPremios = {"", "12.5", "0", "", "99999999999", "0.5"};
    for (int k = 1; k <= 5; ++k) e.Premios[k] = ValorPremio(e.TextoPremios[k]);
    const std::filesystem::path red = p.dir() / "RED0701.TBX", jornadas = p.dir() / "JORNADAS.TBX";

    auto r = Escruta(p.st, e);  // sin fichero de columnas: sin tablas y sin mensaje
    EXPECT_EQ(r.fin, FinEscrutinio::SinColumnas);
    EXPECT_EQ(LeeRegistroJornada(p.st, 7).substr(463, 15), "123123123123123");
    std::filesystem::create_directory(red);
    EXPECT_EQ(Escruta(p.st, e).fin, FinEscrutinio::SinColumnas);
    EXPECT_EQ(p.mensajes.mensajes.size(), 1u);

    std::filesystem::remove(red);
    EscribeBytes(red, FicheroColumnas({kGanadora}));
    p.mensajes.mensajes.clear();
    r = Escruta(p.st, e);
    ASSERT_EQ(r.fin, FinEscrutinio::Completo);
    EXPECT_EQ(r.LisAciertos.at(1), "  15       1        12.50");
    const std::string reg = LeeRegistroJornada(p.st, 7);
    EXPECT_EQ(reg, "Jor0700/00/00" + std::string(450, ' ') + "123123123123123" +
                       "       12.5          0           99999999999        0.5");
    EXPECT_TRUE(p.st.RegJornada == reg && p.mensajes.mensajes.empty());
    EXPECT_TRUE(EntradasDeRegistro(reg).Ganadora == e.Ganadora &&
                EntradasDeRegistro(reg).Premios == e.Premios);

    // Columna incompleta: se guarda, sin tocar la fecha ni los equipos
    // grabados (los de memoria no son del escrutinio), y no se escruta.
    p.st.RegJornada = RegistroEditor(RegistroJornadaVacio(), 7, "14/09/03", {"ALAVES"});
    p.st.Datos.FechaJornada = "14/09/03";
    e.Ganadora[4] = 0;
    r = Escruta(p.st, e);
    EXPECT_EQ(r.fin, FinEscrutinio::Incompleta);
    EXPECT_EQ(r.ganadora, "1X2");
    EXPECT_TRUE(r.LisAciertos.empty());
    const std::string guardado = LeeRegistroJornada(p.st, 7);
    EXPECT_EQ(guardado.substr(0, 19), "Jor0700/00/00      ");
    EXPECT_EQ(guardado.substr(463, 15), "123023123123123");
    EXPECT_EQ(p.st.RegJornada, guardado);  // what the screen goes on showing is what is stored

    // Un registro que no se puede grabar se avisa y el escrutinio sigue.
    e.Ganadora[4] = 1;
    std::filesystem::remove(jornadas);
    std::filesystem::create_directory(jornadas);
    r = Escruta(p.st, e);
    EXPECT_NE(r.errorRegistro, 0);
    EXPECT_EQ(r.fin, FinEscrutinio::Completo);
    ASSERT_EQ(p.mensajes.mensajes.size(), 1u);
    EXPECT_NE(p.mensajes.mensajes[0].find("JORNADAS.TBX"), std::string::npos);
}

// Aciertos de una columna como los cuenta la tabla (un 15 es también un 14).
int Aciertos(std::string_view c, const std::string& ganadora) {
    int a = 0;
    for (int i = 0; i < 14; ++i) a += c[static_cast<size_t>(i)] == ganadora[static_cast<size_t>(i)];
    return a == 14 && c[14] == ganadora[14] ? 15 : a;
}

TEST(PropiedadEscrutinio, TablasIgualesAUnRecuentoSimple) {
    prueba::EstadoPrueba p;
    std::mt19937 azar(20261206);
    const std::array<double, 6> premios{0, 3000, 200, 30, 4, 0.5};
    for (int vuelta = 0; vuelta < 40; ++vuelta) {
        std::string ganadora;
        for (int i = 0; i < 15; ++i) ganadora += kSignos[azar() % 3];
        std::vector<std::string> cols(azar() % 300, ganadora);
        for (auto& c : cols)
            for (int e = static_cast<int>(azar() % 6); e > 0; --e) c[azar() % 15] = kSignos[azar() % 3];
        EscribeBytes(p.dir() / "RED0101.TBX", FicheroColumnas(cols));
        auto r = EscrutaColumnas(p.dir() / "RED0101.TBX", ganadora, premios);
        ASSERT_EQ(r.fin, FinEscrutinio::Completo);

        std::array<int, 16> cuenta{};
        std::vector<int32_t> esperados, boletos;
        for (size_t k = 0; k < cols.size(); ++k) {
            const int a = Aciertos(cols[k], ganadora);
            ++cuenta[a];
            cuenta[14] += a == 15;
            const int32_t boleto = static_cast<int32_t>(k / 8 + 1);
            if (a >= 11 && (esperados.empty() || esperados.back() != boleto)) esperados.push_back(boleto);
        }
        double total = 0;
        for (int h = 15; h >= 0; --h) {
            EXPECT_EQ(AciertosDeFila(r.LisAciertos.at(16 - h)), h);
            EXPECT_EQ(CuentaDeFila(r.LisAciertos.at(16 - h)), cuenta[h]) << "h=" << h;
            if (h >= 11 && cuenta[h] > 0) total += std::round(cuenta[h] * premios[16 - h] * 100) / 100;
        }
        EXPECT_NEAR(ValorImporteDeFila(r.LisAciertos.at(0)), total, 0.001);
        for (const auto& f : r.LisBoletos) boletos.push_back(LeeFilaBoleto(f).boleto);
        EXPECT_EQ(boletos, esperados);
    }
}

}  // namespace
}  // namespace tobal
