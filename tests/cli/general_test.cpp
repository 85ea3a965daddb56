#include <gtest/gtest.h>

#include "Soporte.h"
#include "data/Jornadas.h"
#include "reduction/Almacen.h"

namespace tobal {
namespace {

using namespace prueba;

// Arguments are checked before anything is read or created.
TEST(CliGeneral, ErroresDeUso) {
    CarpetaTemporal c;
    const std::string d = c.ruta().string();
    const std::vector<std::vector<std::string>> usos = {
        {},
        {"noexiste"},
        {"--datos"},
        {"--datos", (c / "nohay").string(), "indice"},
        {"--datos", d, "indice", "sobra"},
        {"--datos", d, "equipos", "--jornada", "3"},
        {"--datos", d, "borrar", "--desde", "0", "--hasta", "3"},
        {"--datos", d, "borrar", "--desde", "3"},
        {"--datos", d, "borrar", "--hasta", "x"},
        {"--datos", d, "jornada"},
        {"--datos", d, "jornada", "43"},
        {"--datos", d, "jornada", "7", "--partido", "1", "A", "B"},
        {"--datos", d, "jornada", "7", "--fecha", "01/01/03", "--partido", "16", "A", "B"},
        {"--datos", d, "jornada", "7", "--fecha", "01/01/03", "--partido", "1", "A"},
        {"--datos", d, "jornada", "7", "--fecha", "01/01/03", "--partido", "3", "Cadiz", "M\talaga"}};
    for (const auto& args : usos) EXPECT_TRUE(ErrorDeUso(EjecutaCli(args))) << testing::PrintToString(args);
    EXPECT_TRUE(fs::is_empty(c.ruta()));
}

// The index lines are the library's; here the headers, the text in UTF-8 and
// the refusals.
TEST(CliIndice, CabecerasLineasEnUtf8YRechazo) {
    CarpetaTemporal c;
    EscribeDatosGenDefecto(c.ruta());
    Reduccion b;
    b.Jornada = 12, b.Orden = 1, b.Metodo = 3;
    EscribeBytes(c / "BASES.TBX", RegistroLibre() + "\r\n" + RegistroBase(b) + "\r\n");
    const std::string cabecera =
        "                                       Errores     Signos     Apuestas   Apuestas\n"
        "Jor  Fecha   Ord  Método de reducción  Min Max   1   X   2    Directas   Reducidas\n";
    auto r = EjecutaCliEn(c.ruta(), {"indice"});
    EXPECT_TRUE(r.codigo == 0 && r.errores.empty()) << r.errores;
    EXPECT_EQ(r.salida.substr(0, cabecera.size()), cabecera);
    EXPECT_TRUE(Contiene(r.salida, " 12            1  Selección de Signos"));
    EXPECT_EQ(std::count(r.salida.begin(), r.salida.end(), '\n'), 3);
    fs::remove(c / "BASES.TBX");
    EXPECT_EQ(EjecutaCliEn(c.ruta(), {"indice"}).salida, cabecera);
    fs::create_directory(c / "BASES.TBX");
    r = EjecutaCliEn(c.ruta(), {"indice"});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_TRUE(Contiene(r.errores, "EEB ERROR "));
}

// Matchdays 6 to 8 with names, results and prizes.
struct Carpeta {
    CarpetaTemporal c;
    std::string antes = std::string(5 * 533, ' ');
    Carpeta() {
        EscribeDatosGenDefecto(c.ruta());
        std::array<std::string, 30> eq;
        for (int s = 0; s < 30; ++s) eq[s] = "Equipo " + std::to_string(s + 1);
        eq[0] = "M\xE1laga";
        for (int j = 6; j <= 8; ++j)
            antes += RegistroEditor(std::string(463, ' ') + std::string(15, '1') + std::string(55, '9'), j,
                                    "15/03/03", eq);
        EscribeBytes(c / "JORNADAS.TBX", antes);
    }
    ResultadoCli Cli(const std::vector<std::string>& args) {
        return EjecutaCliEn(c.ruta(), {"jornada"}, args);
    }
    std::string Jornadas() { return Bytes(c / "JORNADAS.TBX"); }
};

TEST(CliJornada, MuestraYGrabaComoElEditor) {
    Carpeta d;
    auto r = d.Cli({"7"});
    EXPECT_EQ(r.codigo, 0);
    EXPECT_EQ(std::count(r.salida.begin(), r.salida.end(), '\n'), 16);
    EXPECT_TRUE(Contiene(r.salida, "15/03/03"));
    EXPECT_TRUE(Contiene(r.salida, "Málaga - Equipo 2\n"));
    EXPECT_TRUE(Contiene(r.salida, "Equipo 29 - Equipo 30\n"));
    r = d.Cli({"3"});
    EXPECT_TRUE(r.codigo == 0 && r.salida == "La jornada 3 no tiene datos.\n") << r.salida;
    r = d.Cli({"7", "--fecha", "5/3/03", "--partido", "1", "Real Sociedad de Fútbol", "Betis", "--partido",
               "15", "  Cádiz ", "Eibar"});
    ASSERT_EQ(r.codigo, 0) << r.errores;
    EXPECT_EQ(r.errores,
              "El nombre \"Real Sociedad de Fútbol\" se corta a 15 caracteres: \"Real Sociedad d\".\n");
    EXPECT_FALSE(fs::exists(d.c / "EQUIPOS.TBX"));
    // Key, date and the two matches given; the other matches, the results
    // and prizes and the other records kept byte for byte.
    std::string esperado = d.antes;
    esperado.replace(6 * 533, 43, "Jor0705/03/03Real Sociedad dBetis          ");
    esperado.replace(6 * 533 + 433, 30,
                     "C\xE1"
                     "diz          Eibar          ");
    EXPECT_EQ(d.Jornadas(), esperado);
}

TEST(CliEquipos, AnadeYQuitaConLasReglasDeLaLista) {
    CarpetaTemporal c;
    EscribeDatosGenDefecto(c.ruta());
    const auto equipos = [&](std::vector<std::string> args) {
        return EjecutaCliEn(c.ruta(), {"equipos"}, args);
    };
    // Names the list cannot hold, or nothing to add: nothing written.
    for (std::vector<std::string> mal : {std::vector<std::string>{"--añadir"},
                                         {"--añadir", "Deportivo Alavés"},
                                         {"--añadir", "Betis", "Ωmega"},
                                         {"--añadir", "  "},
                                         {"--añadir", "A,B"},
                                         {"--añadir", "Foo\nBar"},
                                         {"--añadir", "Foo\x7f"},
                                         {"--añadir", "A", "--quitar", "B"}})
        EXPECT_TRUE(ErrorDeUso(equipos(mal))) << testing::PrintToString(mal);
    // Listed without the file: the program's message, an empty list, nothing created.
    auto r = equipos({});
    EXPECT_TRUE(r.codigo == 0 && r.salida.empty());
    EXPECT_TRUE(Contiene(r.errores, "No se encuentra el fichero de equipos EQUIPOS.TBX."));
    EXPECT_FALSE(fs::exists(c / "EQUIPOS.TBX"));

    r = equipos({"--añadir", " Betis ", "Málaga", "Real Valladolid"});
    EXPECT_EQ(r.codigo, 0) << r.errores;
    EXPECT_EQ(r.salida, "3 equipos añadidos; la lista tiene 3 equipos.\n");
    EXPECT_EQ(Bytes(c / "EQUIPOS.TBX"), "Betis\r\nM\xE1laga\r\nReal Valladolid\r\n");
    EXPECT_EQ(equipos({}).salida, "Betis\nMálaga\nReal Valladolid\n");
    r = equipos({"--añadir", "Betis", "Eibar"});
    EXPECT_EQ(r.salida, "1 equipo añadido; la lista tiene 4 equipos.\n");
    EXPECT_EQ(r.errores, "\"Betis\" ya está en la lista.\n");
    // One name missing: nothing taken away.
    r = equipos({"--quitar", "Betis", "Osasuna"});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_TRUE(Contiene(r.errores, "\"Osasuna\" no está en la lista"));
    r = equipos({"--quitar", "Málaga", "Betis"});
    EXPECT_EQ(r.salida, "2 equipos quitados; la lista tiene 2 equipos.\n");
    EXPECT_EQ(Bytes(c / "EQUIPOS.TBX"), "Real Valladolid\r\nEibar\r\n");
}

TEST(CliJornada, AnadeLosEquiposNuevosALaLista) {
    Carpeta d;
    EscribeBytes(d.c / "EQUIPOS.TBX", "Betis\r\n");
    EXPECT_TRUE(ErrorDeUso(d.Cli({"7", "--fecha", "01/01/03", "--añadir-equipos"})));
    EXPECT_EQ(d.Jornadas(), d.antes);
    auto r = d.Cli({"7", "--fecha", "01/01/03", "--partido", "1", "Betis", "Real Sociedad de Fútbol",
                    "--partido", "2", "Cádiz", "Betis", "--añadir-equipos"});
    ASSERT_EQ(r.codigo, 0) << r.errores;
    EXPECT_TRUE(Contiene(r.errores, "Añadidos a la lista de equipos: \"Real Sociedad d\" \"Cádiz\".\n"));
    EXPECT_EQ(Bytes(d.c / "EQUIPOS.TBX"),
              "Betis\r\nReal Sociedad d\r\nC\xE1"
              "diz\r\n");
}

TEST(CliJornada, Rechazos) {
    Carpeta d;
    auto r = d.Cli({"7", "--fecha", "31/02/03"});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_TRUE(Contiene(r.errores, "ERROR EN LA FECHA"));
    EXPECT_EQ(d.Cli({"7", "--fecha", "15/03"}).codigo, 1);
    EXPECT_EQ(d.Jornadas(), d.antes);
    fs::remove(d.c / "JORNADAS.TBX");
    fs::create_directory(d.c / "JORNADAS.TBX");
    r = d.Cli({"7", "--fecha", "01/01/03"});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_TRUE(Contiene(r.errores, "LJO ERROR "));
}

TEST(CliBorrar, BorraElIntervaloSinPreguntar) {
    Carpeta d;
    Reduccion r;
    r.Jornada = 7;
    EscribeBytes(d.c / "BASES.TBX", RegistroBase(r) + "\r\n");
    EscribeBytes(d.c / "RED0701.TBX", "x");
    EXPECT_TRUE(ErrorDeUso(EjecutaCliEn(d.c.ruta(), {"borrar", "--desde", "8", "--hasta", "7"})));
    const auto res = EjecutaCliEn(d.c.ruta(), {"borrar", "--desde", "7", "--hasta", "7"});
    EXPECT_EQ(res.codigo, 0);
    EXPECT_TRUE(res.errores.empty()) << res.errores;
    EXPECT_EQ(d.Jornadas(), d.antes.replace(6 * 533, 533, std::string(533, ' ')));
    EXPECT_FALSE(fs::exists(d.c / "RED0701.TBX"));
}

const std::string kGanadora = "1X21X21X21X21X2";

struct CliEscrutar : ::testing::Test {
    EstadoPrueba p;

    void SetUp() override { EscribeDatosGenDefecto(p.dir()); }
    ResultadoCli Escrutar(const std::vector<std::string>& mas, const std::string& orden = "3") {
        return EjecutaCliEn(p.dir(), {"escrutar", "--jornada", "12", "--orden", orden}, mas);
    }
};

TEST_F(CliEscrutar, MuestraLasDosTablasYGuardaLasEntradas) {
    GrabaReduccionConColumnas(p.st, 12, 3, {kGanadora, "1X21X21X21X21X1", "2X21X21X21X21X2"});
    // La coma es siempre decimal: "12,50,..." es un único importe, y faltan cuatro.
    for (std::vector<std::string> mas :
         {std::vector<std::string>{"--ganadora", "1x21X21X21X21X2", "--premios", "12,50,.125,1e3,,0"},
          {"--ganadora", "1X21X21X21X21XA"},
          {"--ganadora", kGanadora, "--premios", "1250 0 0 0"},
          {"--ganadora", kGanadora, "--premios", "1 2 3 4 5 6"}})
        EXPECT_TRUE(ErrorDeUso(Escrutar(mas))) << testing::PrintToString(mas);
    // Un importe dudoso nombra su categoría; lo que tiene mal lo prueban los importes.
    auto r = Escrutar({"--ganadora", kGanadora, "--premios", "0 1.500 0 0 0"});
    EXPECT_TRUE(ErrorDeUso(r));
    EXPECT_TRUE(
        Contiene(r.errores, "14 aciertos (\"1.500\") se puede leer de dos formas; escriba 1500 o 1,50"));
    EXPECT_FALSE(Contiene(Bytes(p.dir() / "JORNADAS.TBX"), "Jor12"));

    // La columna ganadora admite blancos; los importes, blancos y ";".
    r = Escrutar({"--ganadora", "1x2 1X2 1X2 1X2 1X2", "--premios", "1.250,00; 0,12 13 ;0 0"});
    ASSERT_EQ(r.codigo, 0) << r.errores;
    EXPECT_EQ(r.salida.substr(0, 4 * 38),
              "Aciertos     Columnas         Importe\n"
              "Total premios:                1263.24\n"
              "  15                1         1250.00\n"
              "  14                2            0.24\n")
        << r.salida;
    EXPECT_EQ(r.salida.substr(r.salida.size() - 89),
              "   0                0\n\nBoleto nro.    15   14   13   12   11\n         1      1    1    1\n")
        << r.salida;
    const std::string reg = LeeRegistroJornada(p.st, 12);
    EXPECT_EQ(reg.substr(0, 13), "Jor1200/00/00");
    EXPECT_EQ(reg.substr(463), "123123123123123       1250       0.12         13          0          0");

    // Sin --premios se usan de nuevo los premios guardados.
    r = Escrutar({"--ganadora", kGanadora});
    ASSERT_EQ(r.codigo, 0) << r.errores;
    EXPECT_EQ(r.salida.substr(38, 38), "Total premios:                1263.24\n");
}

TEST_F(CliEscrutar, ColumnaIncompletaOReduccionQueNoExiste) {
    GrabaReduccionConColumnas(p.st, 12, 3, {kGanadora});
    auto r = Escrutar({"--ganadora", kGanadora}, "4");
    EXPECT_EQ(r.codigo, 1);
    EXPECT_TRUE(Contiene(r.errores,
                         "ERROR EN JORNADA/ORDEN\nNo existe una reducción de la jornada 12 con el número de "
                         "orden 4. La orden indice lista las reducciones guardadas."));
    EXPECT_FALSE(Contiene(Bytes(p.dir() / "JORNADAS.TBX"), "Jor12"));

    r = Escrutar({"--ganadora", "1X21X-1X21X21X2"});  // se guarda y se rechaza
    EXPECT_EQ(r.codigo, 1);
    EXPECT_EQ(r.salida, "");
    EXPECT_TRUE(
        Contiene(r.errores,
                 "COLUMNA GANADORA INCOMPLETA\nLa columna ganadora se ha guardado, pero tiene partidos sin "
                 "resultado (-)"));
    EXPECT_EQ(LeeRegistroJornada(p.st, 12).substr(463, 15), "123120123123123");
}

struct CliExportar : ::testing::Test {
    EstadoPrueba p;
    CarpetaTemporal destino;

    void SetUp() override {
        EscribeBytes(p.dir() / "DATOSGEN.TBX",
                     "12,\"01/09/02\",1,1,0,0,0,0,1,42,\"0.3 \",\"07\",\"00123\",\"Si\"\r\n");
        std::array<std::string, 30> equipos;
        ASSERT_EQ(
            GrabaRegistroJornada(p.st, 12, RegistroEditor(RegistroJornadaVacio(), 12, "14/09/03", equipos)),
            0);
    }
    ResultadoCli Exportar(int columnas) {
        std::vector<std::string> v;
        for (int i = 0; i < columnas; ++i) v.push_back(i % 2 ? "2X12X12X12X12X1" : kGanadora);
        if (columnas) GrabaReduccionConColumnas(p.st, 12, 2, v);
        return EjecutaCliEn(
            p.dir(), {"exportar", "--jornada", "12", "--orden", "2", "--destino", destino.ruta().string()});
    }
};

TEST_F(CliExportar, EscribeElFicheroDeApuestasComoLaCopiaADisco) {
    auto r = Exportar(2);
    ASSERT_EQ(r.codigo, 0) << r.errores;
    // The records are the disk copy's; here the name, the settings it takes and the messages.
    EXPECT_EQ(Bytes(destino / "AD243").substr(0, 21), "C01243121409030700123");
    EXPECT_EQ(Bytes(destino / "AD243").size(), 2u * 125);
    EXPECT_EQ(r.errores, "");
    EXPECT_TRUE(
        Contiene(r.salida, "Se ha copiado a la unidad " + destino.ruta().string() + " el archivo AD243"));

    r = Exportar(9);
    ASSERT_EQ(r.codigo, 0) << r.errores;
    EXPECT_EQ(r.errores.rfind("ÚLTIMO BOLETO INCOMPLETO\nCon esta reducción,", 0), 0u) << r.errores;

    r = Exportar(11651 * 8);  // los volúmenes siguientes junto al primero
    ASSERT_EQ(r.codigo, 0) << r.errores;
    EXPECT_TRUE(Contiene(r.salida, "Volumen 2: " + (destino / "AD243.02").string()));
}

}  // namespace
}  // namespace tobal
