#include <gtest/gtest.h>

#include "Soporte.h"
#include "data/Jornadas.h"

namespace tobal {
namespace {

using namespace prueba;

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
            antes += RegistroEditor(std::string(463, ' ') + std::string(15, '1') + std::string(55, '9'), j, "15/03/03", eq);
        EscribeBytes(c / "JORNADAS.TBX", antes);
    }
    ResultadoCli Cli(const std::vector<std::string>& args) { return EjecutaCliEn(c.ruta(), {"jornada"}, args); }
    std::string Jornadas() { return Bytes(c / "JORNADAS.TBX"); }
};

TEST(CliJornada, MuestraFechaYPartidos) {
    Carpeta d;
    const auto r = d.Cli({"7"});
    EXPECT_EQ(r.codigo, 0);
    EXPECT_EQ(std::count(r.salida.begin(), r.salida.end(), '\n'), 16);
    EXPECT_NE(r.salida.find("15/03/03"), std::string::npos);
    EXPECT_NE(r.salida.find("Málaga - Equipo 2\n"), std::string::npos) << r.salida;
    EXPECT_NE(r.salida.find("Equipo 29 - Equipo 30\n"), std::string::npos);
    EXPECT_NE(d.Cli({"3"}).salida.find("00/00/00"), std::string::npos);  // unused: empty
}

TEST(CliJornada, GrabaComoElEditor) {
    Carpeta d;
    const auto r = d.Cli({"7", "--fecha", "5/3/03", "--partido", "1", "Real Sociedad de Fútbol", "Betis",
                          "--partido", "15", "  Cádiz ", "Eibar"});
    ASSERT_EQ(r.codigo, 0) << r.errores;
    // Key, date and the two matches given; the other matches, the results
    // and prizes and the other records kept byte for byte.
    std::string esperado = d.antes;
    esperado.replace(6 * 533, 43, "Jor0705/03/03Real Sociedad dBetis          ");
    esperado.replace(6 * 533 + 433, 30, "C\xE1" "diz          Eibar          ");
    EXPECT_EQ(d.Jornadas(), esperado);

    // A new matchday past the end of the file.
    ASSERT_EQ(d.Cli({"12", "--fecha", "01/04/03", "--partido", "3", "Málaga", "Betis"}).codigo, 0);
    esperado += std::string(3 * 533, ' ') + "Jor1201/04/03" + std::string(60, ' ') + "M\xE1laga         Betis" +
                std::string(533 - 13 - 60 - 20, ' ');
    EXPECT_EQ(d.Jornadas(), esperado);
}

TEST(CliJornada, RechazosYErroresDeUso) {
    Carpeta d;
    auto r = d.Cli({"7", "--fecha", "31/02/03"});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_NE(r.errores.find(kTituloErrorFecha), std::string::npos);
    EXPECT_NE(r.errores.find(kTextoErrorFecha), std::string::npos);
    for (const char* mala : {"15/03", "", "aa/bb/cc", "15/13/03", "1/1/2003"})
        EXPECT_EQ(d.Cli({"7", "--fecha", mala}).codigo, 1) << mala;

    const std::vector<std::vector<std::string>> usos = {
        {}, {"0"}, {"43"}, {"x"}, {"7", "--partido", "1", "A", "B"},
        {"7", "--fecha", "01/01/03", "--partido", "16", "A", "B"}, {"7", "--fecha", "01/01/03", "--partido", "1", "A"}};
    for (const auto& u : usos) EXPECT_TRUE(ErrorDeUso(d.Cli(u))) << testing::PrintToString(u);
    EXPECT_NE(d.Cli({"7", "--fecha", "01/01/03", "--partido", "1", "Ωmega", "B"}).codigo, 0);
    EXPECT_EQ(d.Jornadas(), d.antes);

    fs::remove(d.c / "JORNADAS.TBX");
    fs::create_directory(d.c / "JORNADAS.TBX");
    r = d.Cli({"7", "--fecha", "01/01/03"});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_NE(r.errores.find("LJO ERROR "), std::string::npos) << r.errores;
}

}  // namespace
}  // namespace tobal
