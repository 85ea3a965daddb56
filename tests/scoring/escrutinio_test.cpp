// El motor de escrutinio: rejilla, tablas de aciertos y de boletos, y las entradas guardadas.

#include <gtest/gtest.h>

#include <random>

#include "Soporte.h"
#include "app/Texto.h"
#include "data/Jornadas.h"
#include "reduction/Almacen.h"
#include "scoring/Escrutinio.h"

namespace tobal {
namespace {

using prueba::EscribeBytes;
using prueba::FicheroColumnas;
using prueba::EstadoPrueba;

const std::string kGanadora = "1X21X21X21X21X2";

// La columna ganadora con otro signo en los partidos dados (desde 1).
std::string Cambia(std::string col, std::initializer_list<int> partidos) {
    for (int m : partidos) col[m - 1] = col[m - 1] == '1' ? 'X' : '1';
    return col;
}

struct Escrutinio : ::testing::Test {
    EstadoPrueba p;
    std::array<double, 6> premios{0, 1000, 100, 10, 5, 1};

    ResultadoEscrutinio Escruta(const std::string& contenido, std::string_view ganadora = kGanadora) {
        EscribeBytes(p.dir() / "RED0701.TBX", contenido);
        return EscrutaColumnas(p.dir() / "RED0701.TBX", ganadora, premios);
    }
};

TEST(RejillaGanadora, PulsacionSegunLaGeometriaDeLasCeldas) {
    EXPECT_EQ(QueGanadoraHaPulsado(4, 4), (CeldaGanadora{1, 1}));
    EXPECT_EQ(QueGanadoraHaPulsado(15, 18), (CeldaGanadora{1, 1}));
    EXPECT_EQ(QueGanadoraHaPulsado(18, 22), (CeldaGanadora{2, 2}));
    EXPECT_EQ(QueGanadoraHaPulsado(45, 270), (CeldaGanadora{15, 3}));
    // Huecos entre celdas, y fuera del dibujo.
    EXPECT_EQ(QueGanadoraHaPulsado(10, 19), (CeldaGanadora{0, 0}));
    EXPECT_EQ(QueGanadoraHaPulsado(16, 10), (CeldaGanadora{1, 0}));
    EXPECT_EQ(QueGanadoraHaPulsado(10, 3), (CeldaGanadora{0, 0}));
    EXPECT_EQ(QueGanadoraHaPulsado(10, 274), (CeldaGanadora{0, 0}));
    EXPECT_EQ(QueGanadoraHaPulsado(48, 10), (CeldaGanadora{1, 0}));
}

TEST(RejillaGanadora, PulsarPoneQuitaYMueveLaMarca) {
    Rejilla g{};
    MarcaCeldaGanadora(g, 3, 2);
    EXPECT_EQ(g[3], 2);
    MarcaCeldaGanadora(g, 3, 1);
    EXPECT_EQ(g[3], 1);
    MarcaCeldaGanadora(g, 3, 1);
    EXPECT_EQ(g[3], 0);
    MarcaCeldaGanadora(g, 16, 1);
    MarcaCeldaGanadora(g, 0, 1);
    for (int m = 1; m <= 15; ++m) MarcaCeldaGanadora(g, m, m % 3 + 1);
    EXPECT_EQ(ColumnaGanadora(g), "X21X21X21X21X21");
    MarcaCeldaGanadora(g, 4, g[4]);
    EXPECT_EQ(ColumnaGanadora(g), "X21");
}

TEST_F(Escrutinio, QuinceAciertosCuentanTambienEnLosCatorce) {
    auto r = Escruta(FicheroColumnas({kGanadora, Cambia(kGanadora, {15}), Cambia(kGanadora, {3, 15}),
                              Cambia(kGanadora, {3})}));
    ASSERT_EQ(r.fin, FinEscrutinio::Completo);
    ASSERT_EQ(r.LisAciertos.size(), 17u);
    EXPECT_EQ(r.LisAciertos[1], "  15       1      1000.00");
    EXPECT_EQ(r.LisAciertos[2], "  14       2       200.00");
    // El 15 acertado con solo 13 de los 14 primeros es un 13, igual que 13 con el 15 fallado.
    EXPECT_EQ(r.LisAciertos[3], "  13       2        20.00");
    EXPECT_EQ(r.LisAciertos[4], "  12       0   ");
    EXPECT_EQ(r.LisAciertos[0], "Total premios:    1220.00");
    ASSERT_EQ(r.LisBoletos.size(), 1u);
    EXPECT_EQ(r.LisBoletos[0], "     1    1  1  2      ");
    EXPECT_EQ(r.LisBoletos[0].size(), 23u);
    EXPECT_DOUBLE_EQ(r.total, 1220);
    EXPECT_DOUBLE_EQ(r.importe[2], 200);
    EXPECT_EQ(r.premios, premios);
}

TEST_F(Escrutinio, BoletosDeOchoColumnasEnElOrdenDelFichero) {
    std::vector<std::string> cols(16, Cambia(kGanadora, {1, 2, 3, 4}));  // 10 aciertos: ninguna fila
    cols[8] = Cambia(kGanadora, {1, 2, 3});                              // boleto 2, 11 aciertos
    auto r = Escruta(FicheroColumnas(cols));
    EXPECT_EQ(r.LisBoletos, std::vector<std::string>{"     2                1"});
    EXPECT_EQ(r.LisAciertos[6], "  10      15   ");
    EXPECT_EQ(r.LisAciertos[5], "  11       1         1.00");

    cols.resize(9);  // el boleto 2 tiene una columna
    r = Escruta(FicheroColumnas(cols));
    EXPECT_EQ(r.LisBoletos, std::vector<std::string>{"     2                1"});
    cols[8] = cols[0];
    cols.insert(cols.end(), 8, kGanadora);  // columnas 10 a 17
    r = Escruta(FicheroColumnas(cols));
    EXPECT_EQ(r.LisBoletos, (std::vector<std::string>{"     2    7            ", "     3    1            "}));
    EXPECT_EQ(r.LisAciertos[1], "  15       8      8000.00");
}

TEST_F(Escrutinio, FicheroDeColumnasVacioDaCerosYNingunBoleto) {
    auto r = Escruta("");
    ASSERT_EQ(r.fin, FinEscrutinio::Completo);
    EXPECT_EQ(r.LisAciertos[0], "Total premios:       0.00");
    for (int i = 1; i <= 16; ++i) {
        EXPECT_EQ(CuentaDeFila(r.LisAciertos[i]), 0);
        EXPECT_EQ(AciertosDeFila(r.LisAciertos[i]), 16 - i);
        EXPECT_EQ(ImporteDeFila(r.LisAciertos[i]), " ");
    }
    EXPECT_TRUE(r.LisBoletos.empty());
}

TEST_F(Escrutinio, PremioCeroMuestraImporteCeroYLasCategoriasBajasNinguno) {
    premios = {0, 0, 0, 0, 0, 0};
    auto r = Escruta(FicheroColumnas({kGanadora, Cambia(kGanadora, {1, 2, 3, 4, 5, 6, 7})}));
    EXPECT_EQ(r.LisAciertos[1], "  15       1         0.00");
    EXPECT_EQ(r.LisAciertos[9], "   7       1   ");
    EXPECT_EQ(r.LisAciertos[0], "Total premios:       0.00");
}

TEST_F(Escrutinio, ImportesQueNoCabenCrecenYSeLeenEnteros) {
    premios = {0, 99999999999, 0, 0, 0, 0};
    auto r = Escruta(FicheroColumnas({kGanadora, kGanadora}));
    EXPECT_EQ(r.LisAciertos[1], "  15       2  199999999998.00");
    EXPECT_EQ(ImporteDeFila(r.LisAciertos[1]), "199999999998.00");
    EXPECT_DOUBLE_EQ(ValorImporteDeFila(r.LisAciertos[0]), 199999999998.0);
    EXPECT_EQ(r.LisAciertos[0], "Total premios:199999999998.00");
}

TEST(FilasEscrutinio, CuentasLargasNoMuevenElImporte) {
    std::string f = FilaAciertos(5, 4782969, " ");
    EXPECT_EQ(f, "   5 4782969   ");
    EXPECT_EQ(CuentaDeFila(f), 4782969);
    EXPECT_EQ(TextoCuentaDeFila(f), "4782969");
    EXPECT_EQ(TextoCuentaDeFila("  12     345  "), "   345");
    f = FilaAciertos(11, 12345678, "       1.00");
    EXPECT_EQ(ImporteDeFila(f), "       1.00");
    EXPECT_EQ(CuentaDeFila(f), 12345678);

    std::array<int16_t, 16> c{};
    c[15] = 1;
    c[11] = 8;
    BoletoPremiado b = LeeFilaBoleto(FilaBoleto(12345678, c));
    EXPECT_EQ(b.boleto, 12345678);
    EXPECT_EQ(b.columnas[1], 1);
    EXPECT_EQ(b.columnas[5], 8);
    EXPECT_EQ(b.columnas[3], 0);
}

TEST_F(Escrutinio, LineasDanadasSeRellenanOCortanAQuince) {
    std::string s = "\"1X21X21X21X21X\"\r\n"               // corta: el 15 en blanco, 14 aciertos
                    "\"1X21X21X21X21X2222\"\r\n"           // larga: se corta, 15 aciertos
                    "1X21X21X21X21X2\r\n"                  // sin comillas
                    "\"1x21X21X21X21X2\"\r\n"              // otro carácter: 13 aciertos
                    "\r\n"                                 // línea vacía: 0 aciertos
                    "\"\xff\x01\"\r\n"                     // basura
                    + std::string(70000, '1') + "\r\n"    // una línea enorme
                    + "\"1X21X21X21X21X2\"";               // sin fin de línea
    auto r = Escruta(s);
    ASSERT_EQ(r.fin, FinEscrutinio::Completo);
    EXPECT_EQ(r.cuenta[15], 3);
    EXPECT_EQ(r.cuenta[14], 4);
    EXPECT_EQ(r.cuenta[13], 1);
    int64_t suma = 0;
    for (int h = 0; h <= 14; ++h) suma += r.cuenta[h];
    EXPECT_EQ(suma, r.columnas);  // un 15 cuenta también como 14
}

TEST_F(Escrutinio, SinFicheroNoHayTablas) {
    auto r = EscrutaColumnas(p.dir() / "RED0999.TBX", kGanadora, premios);
    EXPECT_EQ(r.fin, FinEscrutinio::SinColumnas);
    EXPECT_EQ(r.errorColumnas, 53);
    EXPECT_TRUE(r.LisAciertos.empty());
}

// El escrutinio de la pantalla, que además graba el registro de la jornada.
struct EscrutinioConRegistro : ::testing::Test {
    EstadoPrueba p;
    EntradasEscrutinio e;
    EscrutinioConRegistro() {
        p.st.Jornada() = 7;
        p.st.Orden() = 1;
        p.st.Datos.FechaJornada = "00/00/00";
        for (int m = 1; m <= 15; ++m) e.Ganadora[m] = static_cast<int16_t>((m - 1) % 3 + 1);
        e.TextoPremios = {"", "12.5", "0", "", "99999999999", "0.5"};
        for (int k = 1; k <= 5; ++k) e.Premios[k] = ValorPremio(e.TextoPremios[k]);
    }
};

TEST_F(EscrutinioConRegistro, GuardaLasEntradasEnUnRegistroSinUsoYEscruta) {
    EscribeBytes(p.dir() / "RED0701.TBX", FicheroColumnas({kGanadora}));
    auto r = Escruta(p.st, e);
    ASSERT_EQ(r.fin, FinEscrutinio::Completo);
    EXPECT_EQ(r.LisAciertos[1], "  15       1        12.50");
    EXPECT_EQ(r.errorRegistro, 0);
    std::string reg = LeeRegistroJornada(p.st, 7);
    EXPECT_EQ(reg.substr(0, 13), "Jor0700/00/00");
    EXPECT_EQ(reg.substr(13, 450), std::string(450, ' '));
    EXPECT_EQ(reg.substr(463, 15), "123123123123123");
    EXPECT_EQ(reg.substr(478), "       12.5          0           99999999999        0.5");
    EXPECT_EQ(p.st.RegJornada, reg);
    EXPECT_TRUE(p.mensajes.mensajes.empty());

    // Al cargarlo de nuevo da las mismas entradas.
    EntradasEscrutinio leidas = EntradasDeRegistro(reg);
    EXPECT_EQ(leidas.Ganadora, e.Ganadora);
    EXPECT_EQ(leidas.TextoPremios, e.TextoPremios);
    EXPECT_EQ(leidas.Premios, e.Premios);
}

TEST_F(EscrutinioConRegistro, ColumnaIncompletaSeGuardaPeroNoSeEscruta) {
    EscribeBytes(p.dir() / "RED0701.TBX", FicheroColumnas({kGanadora}));
    std::array<std::string, 30> equipos;
    equipos[0] = "ALAVES";
    p.st.RegJornada = RegistroEditor(RegistroJornadaVacio(), 7, "14/09/03", equipos);
    p.st.Datos.FechaJornada = "14/09/03";
    e.Ganadora[4] = 0;
    auto r = Escruta(p.st, e);
    EXPECT_EQ(r.fin, FinEscrutinio::Incompleta);
    EXPECT_EQ(r.ganadora, "1X2");
    EXPECT_TRUE(r.LisAciertos.empty());
    std::string reg = LeeRegistroJornada(p.st, 7);
    EXPECT_EQ(reg.substr(0, 19), "Jor0714/09/03ALAVES");
    EXPECT_EQ(reg.substr(463, 15), "123023123123123");
}

TEST_F(EscrutinioConRegistro, SinFicheroDeColumnasCallaYLosDemasErroresSeAvisan) {
    auto r = Escruta(p.st, e);
    EXPECT_EQ(r.fin, FinEscrutinio::SinColumnas);
    EXPECT_TRUE(p.mensajes.mensajes.empty());
    EXPECT_EQ(LeeRegistroJornada(p.st, 7).substr(463, 15), "123123123123123");

    std::filesystem::create_directory(p.dir() / "RED0701.TBX");
    r = Escruta(p.st, e);
    EXPECT_EQ(r.fin, FinEscrutinio::SinColumnas);
    EXPECT_EQ(p.mensajes.mensajes.size(), 1u);
    EXPECT_NE(p.st.ErrorFichero, 0);
}

TEST_F(EscrutinioConRegistro, RegistroQueNoSePuedeGrabarSeAvisaYElEscrutinioSigue) {
    std::filesystem::create_directory(p.dir() / "JORNADAS.TBX");
    EscribeBytes(p.dir() / "RED0701.TBX", FicheroColumnas({kGanadora}));
    auto r = Escruta(p.st, e);
    EXPECT_NE(r.errorRegistro, 0);
    EXPECT_EQ(r.fin, FinEscrutinio::Completo);
    ASSERT_EQ(p.mensajes.mensajes.size(), 1u);
    EXPECT_NE(p.mensajes.mensajes[0].find("JORNADAS.TBX"), std::string::npos);
}

// Con reducciones y columnas ganadoras al azar, las tablas coinciden con un
// recuento simple de cada columna.
TEST(PropiedadEscrutinio, TablasIgualesAUnRecuentoSimple) {
    EstadoPrueba p;
    std::mt19937 azar(20261206);
    const char signos[] = {'1', 'X', '2'};
    for (int vuelta = 0; vuelta < 40; ++vuelta) {
        std::string ganadora;
        for (int i = 0; i < 15; ++i) ganadora += signos[azar() % 3];
        const int n = static_cast<int>(azar() % 300);
        std::vector<std::string> cols;
        for (int k = 0; k < n; ++k) {
            std::string c = ganadora;
            const int errores = static_cast<int>(azar() % 6);
            for (int e = 0; e < errores; ++e) c[azar() % 15] = signos[azar() % 3];
            cols.push_back(c);
        }
        EscribeBytes(p.dir() / "RED0101.TBX", FicheroColumnas(cols));
        std::array<double, 6> premios{0, 3000, 200, 30, 4, 0.5};
        auto r = EscrutaColumnas(p.dir() / "RED0101.TBX", ganadora, premios);
        ASSERT_EQ(r.fin, FinEscrutinio::Completo);

        std::array<int, 16> cuenta{};
        std::vector<std::string> esperados;
        for (int b = 0; b * 8 < n; ++b) {
            bool premiado = false;
            for (int k = b * 8; k < std::min(n, b * 8 + 8); ++k) {
                int a = 0;
                for (int i = 0; i < 14; ++i) a += cols[k][i] == ganadora[i];
                if (a == 14 && cols[k][14] == ganadora[14]) ++a;
                ++cuenta[a];
                if (a == 15) ++cuenta[14];
                premiado = premiado || a >= 11;
            }
            if (premiado) esperados.push_back(std::to_string(b + 1));
        }
        double total = 0;
        for (int h = 15; h >= 0; --h) {
            const std::string& fila = r.LisAciertos[16 - h];
            EXPECT_EQ(AciertosDeFila(fila), h);
            EXPECT_EQ(CuentaDeFila(fila), cuenta[h]) << "h=" << h;
            if (h >= 11 && cuenta[h] > 0) total += std::round(cuenta[h] * premios[16 - h] * 100) / 100;
        }
        EXPECT_NEAR(ValorImporteDeFila(r.LisAciertos[0]), total, 0.001);
        std::vector<std::string> boletos;
        for (const auto& f : r.LisBoletos) boletos.push_back(std::to_string(LeeFilaBoleto(f).boleto));
        EXPECT_EQ(boletos, esperados);
    }
}

// Un fichero de varios bloques con líneas dañadas aquí y allá, algunas a
// caballo entre dos bloques: las tablas coinciden con las líneas del lector de
// columnas rellenadas o cortadas a 15.
TEST(PropiedadEscrutinio, LineasDanadasEnCualquierSitioComoElLectorDeColumnas) {
    EstadoPrueba p;
    std::mt19937 azar(7);
    const char signos[] = {'1', 'X', '2'};
    const std::string ganadora = "1X21X21X21X21X2";
    std::string fichero;
    while (fichero.size() < 3'500'000) {
        std::string c = ganadora;
        for (int e = static_cast<int>(azar() % 5); e > 0; --e) c[azar() % 15] = signos[azar() % 3];
        switch (azar() % 60) {
            case 0: fichero += "\"" + c.substr(0, azar() % 15) + "\"\r\n"; break;      // corta
            case 1: fichero += "\"" + c + "12X\"\r\n"; break;                          // larga
            case 2: fichero += "\"" + c + "\"\n"; break;                                // solo LF
            case 3: c[azar() % 15] = '"'; fichero += LineaColumna(c); break;            // comilla dentro
            case 4: c[azar() % 15] = 'x'; fichero += LineaColumna(c); break;            // otro carácter
            case 5: fichero += c + "\r\n"; break;                                       // sin comillas
            case 6: fichero += "\r\n"; break;                                           // vacía
            case 7: fichero += std::string(azar() % 3000, 'X') + "\r\n"; break;         // muy larga
            default: fichero += LineaColumna(c);
        }
    }
    fichero += "\"" + ganadora;  // última línea sin su fin
    EscribeBytes(p.dir() / "RED0101.TBX", fichero);
    const std::array<double, 6> premios{0, 1, 1, 1, 1, 1};
    auto r = EscrutaColumnas(p.dir() / "RED0101.TBX", ganadora, premios);
    ASSERT_EQ(r.fin, FinEscrutinio::Completo);

    LectorColumnas lector;
    ASSERT_EQ(lector.Abre(p.dir() / "RED0101.TBX"), 0);
    std::array<int32_t, 16> cuenta{};
    std::array<int16_t, 16> enBoleto{};
    std::vector<std::string> boletos;
    std::string_view col;
    int64_t n = 0;
    while (lector.Siguiente(col)) {
        std::string c = Ajusta(col, 15);
        int a = 0;
        for (int i = 0; i < 14; ++i) a += c[i] == ganadora[i];
        if (a == 14 && c[14] == ganadora[14]) a = 15;
        if (n % 8 == 0 && n > 0) {
            AgregaLisBoletos(boletos, static_cast<int32_t>(n / 8), enBoleto);
            enBoleto.fill(0);
        }
        ++n;
        ++cuenta[a];
        if (a == 15) ++cuenta[14];
        ++enBoleto[a];
    }
    AgregaLisBoletos(boletos, static_cast<int32_t>((n + 7) / 8), enBoleto);
    EXPECT_EQ(r.columnas, n);
    EXPECT_EQ(r.cuenta, cuenta);
    EXPECT_EQ(r.LisBoletos, boletos);
}

}  // namespace
}  // namespace tobal
