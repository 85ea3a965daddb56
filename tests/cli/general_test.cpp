#include <gtest/gtest.h>

#include "Soporte.h"
#include "data/Jornadas.h"

namespace tobal {
namespace {

using namespace prueba;

const std::string kGanadora = "1X21X21X21X21X2";
const std::string kCuatroTriples = "1X2* 1X2* 1X2* 1X2* 1 1 1 1 1 1 1 1 1 1 X";

// Arguments are checked before anything is read or created: exit 2 and,
// where the reason is more than "which argument", the reason.
TEST(CliGeneral, ErroresDeUso) {
    CarpetaTemporal c;
    for (const std::vector<std::string>& args : {std::vector<std::string>{},
                                                 {"noexiste"},
                                                 {"--datos"},
                                                 {"--datos", (c / "nohay").string(), "indice"}})
        EXPECT_TRUE(ErrorDeUso(EjecutaCli(args))) << testing::PrintToString(args);
    const std::vector<std::string> esc{"escrutar", "--jornada", "12", "--orden", "3", "--ganadora"};
    const std::vector<std::string> red{"reducir", "--jornada", "12", "--orden", "3", "--metodo"};
    const auto con = [](std::vector<std::string> a, const std::vector<std::string>& mas) {
        a.insert(a.end(), mas.begin(), mas.end());
        return a;
    };
    const std::pair<std::vector<std::string>, std::string> usos[] = {
        {{"indice", "sobra"}, ""},
        {{"equipos", "--jornada", "3"}, ""},
        {{"equipos", "--añadir"}, ""},
        {{"equipos", "--añadir", "Deportivo Alavés"}, ""},
        {{"equipos", "--añadir", "Betis", "Ωmega"}, ""},
        {{"equipos", "--añadir", "  "}, ""},
        {{"equipos", "--añadir", "A,B"}, ""},
        {{"equipos", "--añadir", "Foo\x7f"}, ""},
        {{"equipos", "--añadir", "Foo\x1f"}, ""},
        {{"equipos", "--añadir", "A", "--quitar", "B"}, ""},
        {{"borrar", "--desde", "0", "--hasta", "3"}, ""},
        {{"borrar", "--desde", "8", "--hasta", "7"}, ""},
        {{"jornada"}, ""},
        {{"jornada", "43"}, ""},
        {{"jornada", "7", "--partido", "1", "A", "B"}, ""},
        {{"jornada", "7", "--fecha", "01/01/03", "--añadir-equipos"}, ""},
        {{"jornada", "7", "--fecha", "01/01/03", "--partido", "16", "A", "B"}, ""},
        {{"jornada", "7", "--fecha", "01/01/03", "--partido", "1", "A"}, ""},
        {{"jornada", "7", "--fecha", "01/01/03", "--partido", "3", "Cadiz", "M\talaga"}, ""},
        {con(esc, {"1x21X21X21X21X2", "--premios", "1250 0 0 0"}), ""},
        {con(esc, {"1X21X21X21X21XA"}), ""},
        {con(esc, {kGanadora, "--premios", "1 2 3 4 5 6"}), ""},
        {con(esc, {kGanadora, "--premios", "0 1.500 0 0 0"}),
         "14 aciertos (\"1.500\") se puede leer de dos formas; escriba 1500 o 1,50"},
        {con(red, {"1", "--base", kCuatroTriples, "--signos", "1,1,2"}), ""},
        {con(red, {"4", "--garantia", "3", "--base", kCuatroTriples}),
         "los errores garantizados son 1 o 2 (se ha dado \"3\")"},
        {{"estadistica", "--metodo", "2", "--garantia", "1", "--base", kCuatroTriples},
         "los errores garantizados solo valen para el método 4"},
        {{"estadistica", "--metodo", "5", "--base", kCuatroTriples},
         "--metodo debe ser un número entre 1 y 4"},
        {{"garantia", "--jornada", "12", "--orden", "1", "--formato", "xml"}, ""},
        {{"garantia", "--jornada", "12", "--orden", "31"}, ""},
        {{"garantia", "--jornada", "12"}, ""}};
    for (const auto& [args, motivo] : usos) {
        const auto r = EjecutaCliEn(c.ruta(), args);
        EXPECT_TRUE(ErrorDeUso(r)) << testing::PrintToString(args);
        EXPECT_TRUE(Contiene(r.errores, motivo));
    }
    EXPECT_TRUE(fs::is_empty(c.ruta()));
}

// The team list, matchdays 6 to 8 and a reduction's scoring share one folder:
// each command's wording and exit code, and the bytes it leaves for the next.
TEST(CliJornada, EquiposJornadasYEscrutinio) {
    EstadoPrueba p;
    const auto equipos = [&](std::vector<std::string> args) {
        return EjecutaCliEn(p.dir(), {"equipos"}, args);
    };
    auto r = equipos({});
    EXPECT_TRUE(r.codigo == 0 && r.salida.empty());
    EXPECT_TRUE(Contiene(r.errores, "No se encuentra el fichero de equipos EQUIPOS.TBX."));
    EXPECT_FALSE(fs::exists(p.dir() / "EQUIPOS.TBX"));

    r = equipos({"--añadir", " Betis ", "Málaga", "Real Valladolid"});
    EXPECT_EQ(r.codigo, 0) << r.errores;
    EXPECT_EQ(r.salida, "3 equipos añadidos; la lista tiene 3 equipos.\n");
    EXPECT_EQ(Bytes(p.dir() / "EQUIPOS.TBX"), "Betis\r\nM\xE1laga\r\nReal Valladolid\r\n");
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
    EXPECT_EQ(Bytes(p.dir() / "EQUIPOS.TBX"), "Real Valladolid\r\nEibar\r\n");

    std::string antes = std::string(5 * 533, ' ');
    for (int j = 6; j <= 8; ++j) antes += RegistroJornadaPrueba(j, "15/03/03");
    EscribeBytes(p.dir() / "JORNADAS.TBX", antes);
    const auto jornada = [&](const std::vector<std::string>& args) {
        return EjecutaCliEn(p.dir(), {"jornada"}, args);
    };
    r = jornada({"3"});
    EXPECT_TRUE(r.codigo == 0 && r.salida == "La jornada 3 no tiene datos.\n") << r.salida;

    r = jornada({"7", "--fecha", "31/02/03"});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_TRUE(Contiene(r.errores, "ERROR EN LA FECHA"));
    EXPECT_EQ(Bytes(p.dir() / "JORNADAS.TBX"), antes);

    r = jornada({"7", "--fecha", "5/3/03", "--partido", "1", "Real Sociedad de Fútbol", "Betis", "--partido",
                 "15", "  Cádiz ", "Eibar"});
    ASSERT_EQ(r.codigo, 0) << r.errores;
    EXPECT_EQ(r.errores,
              "El nombre \"Real Sociedad de Fútbol\" se corta a 15 caracteres: \"Real Sociedad d\".\n");
    EXPECT_EQ(Bytes(p.dir() / "EQUIPOS.TBX"), "Real Valladolid\r\nEibar\r\n");
    // Key, date and the two matches given; the other matches, the results
    // and prizes and the other records kept byte for byte.
    antes.replace(6 * 533, 43, "Jor0705/03/03Real Sociedad dBetis          ");
    antes.replace(6 * 533 + 433, 30,
                  "C\xE1"
                  "diz          Eibar          ");
    EXPECT_EQ(Bytes(p.dir() / "JORNADAS.TBX"), antes);
    r = jornada({"7"});
    EXPECT_TRUE(r.salida.starts_with("Jornada 7  Fecha: 05/03/03\n 1. Real Sociedad d - Betis\n"))
        << r.salida;
    EXPECT_TRUE(r.salida.ends_with("\n15. Cádiz - Eibar\n")) << r.salida;

    EscribeBytes(p.dir() / "EQUIPOS.TBX", "Betis\r\n");
    r = jornada({"7", "--fecha", "5/3/03", "--partido", "1", "Betis", "Real Sociedad de Fútbol", "--partido",
                 "15", "Cádiz", "Betis", "--añadir-equipos"});
    ASSERT_EQ(r.codigo, 0) << r.errores;
    EXPECT_TRUE(Contiene(r.errores, "Añadidos a la lista de equipos: \"Real Sociedad d\" \"Cádiz\".\n"));
    EXPECT_EQ(Bytes(p.dir() / "EQUIPOS.TBX"),
              "Betis\r\nReal Sociedad d\r\nC\xE1"
              "diz\r\n");

    GrabaReduccionConColumnas(p.st, 12, 3, {kGanadora, "1X21X21X21X21X1", "2X21X21X21X21X2"});
    const auto escrutar = [&](const std::vector<std::string>& mas, const std::string& orden = "3") {
        return EjecutaCliEn(p.dir(), {"escrutar", "--jornada", "12", "--orden", orden}, mas);
    };
    r = escrutar({"--ganadora", kGanadora}, "4");
    EXPECT_EQ(r.codigo, 1);
    EXPECT_TRUE(Contiene(r.errores,
                         "ERROR EN JORNADA/ORDEN\nNo existe una reducción de la jornada 12 con el número de "
                         "orden 4. La orden indice lista las reducciones guardadas."));
    EXPECT_FALSE(Contiene(Bytes(p.dir() / "JORNADAS.TBX"), "Jor12"));

    // The winning column takes blanks; the amounts, blanks and ";".
    r = escrutar({"--ganadora", "1x2 1X2 1X2 1X2 1X2", "--premios", "1.250,00; 0,12 13 ;0 0"});
    ASSERT_EQ(r.codigo, 0) << r.errores;
    EXPECT_EQ(r.salida.substr(0, 3 * 38),
              "Aciertos     Columnas         Importe\n"
              "Total premios:                1263.24\n"
              "  15                1         1250.00\n")
        << r.salida;
    EXPECT_EQ(r.salida.substr(r.salida.size() - 89),
              "   0                0\n\nBoleto nro.    15   14   13   12   11\n         1      1    1    1\n")
        << r.salida;
    EXPECT_EQ(LeeRegistroJornada(p.st, 12).substr(463),
              "123123123123123       1250       0.12         13          0          0");
    // Stored, then refused; without --premios the stored prizes stay.
    r = escrutar({"--ganadora", "1X21X-1X21X21X2"});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_EQ(r.salida, "");
    EXPECT_TRUE(
        Contiene(r.errores,
                 "COLUMNA GANADORA INCOMPLETA\nLa columna ganadora se ha guardado, pero tiene partidos sin "
                 "resultado (-)"));
    EXPECT_EQ(LeeRegistroJornada(p.st, 12).substr(463),
              "123120123123123       1250       0.12         13          0          0");

    // borrar asks nothing; what else goes with a matchday, and which steps can
    // fail, is the deletion's own test. A deletion that fails says so under its title.
    const std::vector<std::string> borrar{"borrar", "--desde", "7", "--hasta", "7"};
    r = EjecutaCliEn(p.dir(), borrar);
    EXPECT_TRUE(r.codigo == 0 && r.errores.empty()) << r.errores;
    EXPECT_EQ(Bytes(p.dir() / "JORNADAS.TBX").substr(6 * 533, 533), std::string(533, ' '));
    fs::remove(p.dir() / "BASES.TBX");
    fs::create_directory(p.dir() / "BASES.TBX");
    r = EjecutaCliEn(p.dir(), borrar);
    EXPECT_TRUE(r.codigo == 1 && r.salida.empty());
    EXPECT_TRUE(r.errores.starts_with(
        "BORRADO INCOMPLETO\nNo se han podido borrar las reducciones de BASES.TBX (error 75"))
        << r.errores;

    fs::remove(p.dir() / "JORNADAS.TBX");
    fs::create_directory(p.dir() / "JORNADAS.TBX");
    r = jornada({"7", "--fecha", "01/01/03"});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_TRUE(Contiene(r.errores, "LJO ERROR "));
}

}  // namespace
}  // namespace tobal
