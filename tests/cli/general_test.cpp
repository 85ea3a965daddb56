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
        {"--datos", d, "jornada", "0"},
        {"--datos", d, "jornada", "43"},
        {"--datos", d, "jornada", "x"},
        {"--datos", d, "jornada", "7", "--partido", "1", "A", "B"},
        {"--datos", d, "jornada", "7", "--fecha", "01/01/03", "--partido", "16", "A", "B"},
        {"--datos", d, "jornada", "7", "--fecha", "01/01/03", "--partido", "1", "A"},
        {"--datos", d, "jornada", "7", "--fecha", "01/01/03", "--partido", "3", "Cad\r\niz", "Malaga"},
        {"--datos", d, "jornada", "7", "--fecha", "01/01/03", "--partido", "3", "Cadiz", "M\talaga"},
        {"--datos", d, "jornada", "7", "--fecha", "01/01/03", "--partido", "3", "Cadiz", "A,B"}};
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
                                         {"--añadir", "\"Betis\""},
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
    EXPECT_TRUE(
        ErrorDeUso(d.Cli({"7", "--fecha", "01/01/03", "--partido", "1", "A,B", "C", "--añadir-equipos"})));
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
    EXPECT_NE(d.Cli({"7", "--fecha", "01/01/03", "--partido", "1", "Ωmega", "B"}).codigo, 0);
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

}  // namespace
}  // namespace tobal
