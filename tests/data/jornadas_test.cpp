#include <gtest/gtest.h>

#include "Soporte.h"
#include "data/Jornadas.h"

namespace tobal {
namespace {

using namespace prueba;

const std::string kVacio = "     00/00/00" + std::string(520, ' ');

// A record as the editor builds it, over a result and prizes.
std::string Registro(int jornada, const std::string& fecha) {
    std::array<std::string, 30> eq;
    for (int s = 0; s < 30; ++s) eq[s] = "Equipo" + std::to_string(s + 1);
    return RegistroEditor(kVacio.substr(0, 463) + std::string(15, '1') + "   1.234,50" + std::string(44, ' '),
                          jornada, fecha, eq);
}

TEST(Jornadas, RegistroDelEditor) {
    EXPECT_EQ(RegistroJornadaVacio(), kVacio);
    std::array<std::string, 30> eq{};
    eq[0] = "  M\xE1laga  ";              // trimmed; one byte for the accent
    eq[1] = "Real Sociedad de Futbol";  // cut to 15
    eq[2] = "Deportivo Coru\xF1";       // exactly 15
    eq[29] = "Osasuna";
    const std::string anterior = std::string(463, 'z') + std::string(70, '7');  // old names go
    const std::string r = RegistroEditor(anterior, 7, "15/03/03", eq);
    ASSERT_EQ(r.size(), 533u);
    EXPECT_EQ(r.substr(0, 73), "Jor0715/03/03M\xE1laga         Real Sociedad dDeportivo Coru\xF1" + std::string(15, ' '));
    EXPECT_EQ(r.substr(448), "Osasuna        " + std::string(70, '7'));
    EXPECT_EQ(NombreEquipo(r, 1), "M\xE1laga");
    EXPECT_EQ(SlotEquipo(r, 3), "Deportivo Coru\xF1");
    EXPECT_EQ(RegistroEditor("", 52, "01/01/03", eq).substr(463), std::string(70, ' '));  // short previous record

    EXPECT_TRUE(RegistroJornadaEnUso(r, 7));
    EXPECT_FALSE(RegistroJornadaEnUso(r, 8));
    EXPECT_TRUE(RegistroJornadaEnUso("JOR07" + r.substr(5), 7));
    EXPECT_FALSE(RegistroJornadaEnUso(std::string(533, ' '), 7));
    EXPECT_FALSE(RegistroJornadaEnUso("Jor0", 7));
}

TEST(Jornadas, GrabaYLeeRegistros) {
    EstadoPrueba e;
    const fs::path f = e.dir() / "JORNADAS.TBX";
    const std::string r3 = Registro(3, "10/02/03");
    ASSERT_EQ(GrabaRegistroJornada(e.st, 3, r3), 0);
    ASSERT_EQ(Bytes(f).size(), 3u * 533);
    EXPECT_EQ(Bytes(f).substr(2 * 533), r3);
    EXPECT_EQ(LeeRegistroJornada(e.st, 1), kVacio);  // the gap reads as empty
    e.st.Jornada() = 3;
    LeeJornada(e.st);
    EXPECT_EQ(e.st.RegJornada, r3);
    EXPECT_EQ(e.st.Datos.FechaJornada, "10/02/03");

    e.st.Jornada() = 7;  // beyond the end
    LeeJornada(e.st);
    EXPECT_EQ(e.st.RegJornada, kVacio);
    EXPECT_EQ(e.st.Datos.FechaJornada, "00/00/00");
    ASSERT_EQ(GrabaRegistroJornada(e.st, 7, Registro(8, "01/03/03")), 0);  // another key
    LeeJornada(e.st);
    EXPECT_EQ(e.st.RegJornada, kVacio);
    const std::string mayus = "JOR07" + Registro(7, "02/03/03").substr(5);
    ASSERT_EQ(GrabaRegistroJornada(e.st, 7, mayus), 0);
    LeeJornada(e.st);
    EXPECT_EQ(e.st.RegJornada, mayus);

    // Rewriting one record leaves the others byte for byte.
    std::string antes = Bytes(f);
    ASSERT_EQ(GrabaRegistroJornada(e.st, 3, Registro(3, "11/02/03")), 0);
    antes.replace(2 * 533, 533, Registro(3, "11/02/03"));
    EXPECT_EQ(Bytes(f), antes);
    EXPECT_TRUE(e.mensajes.mensajes.empty());
}

TEST(Jornadas, FicheroConTamanoIrregular) {
    // Two whole records and a piece of a third: the whole ones read, and
    // writing keeps every record in its place.
    EstadoPrueba e;
    const fs::path f = e.dir() / "JORNADAS.TBX";
    const std::string r1 = Registro(1, "01/09/02"), r2 = Registro(2, "08/09/02"), r5 = Registro(5, "29/09/02");
    EscribeBytes(f, r1 + r2 + Registro(3, "15/09/02").substr(0, 100));
    EXPECT_EQ(LeeRegistroJornada(e.st, 2), r2);
    EXPECT_EQ(LeeRegistroJornada(e.st, 3).size(), 533u);
    ASSERT_EQ(GrabaRegistroJornada(e.st, 5, r5), 0);
    const std::string bytes = Bytes(f);
    ASSERT_EQ(bytes.size(), 5u * 533);
    EXPECT_EQ(bytes.substr(0, 533 * 2), r1 + r2);
    EXPECT_EQ(bytes.substr(4 * 533), r5);
    EXPECT_EQ(LeeRegistroJornada(e.st, 4), kVacio);
}

TEST(Jornadas, FicheroQueEsCarpeta) {
    EstadoPrueba e;
    fs::create_directory(e.dir() / "JORNADAS.TBX");
    e.st.Jornada() = 2;
    LeeJornada(e.st);
    ASSERT_EQ(e.mensajes.mensajes.size(), 1u);
    EXPECT_EQ(e.mensajes.mensajes[0].rfind("LJO ERROR ", 0), 0u) << e.mensajes.mensajes[0];
    EXPECT_EQ(e.st.RegJornada, kVacio);
    EXPECT_EQ(LeeRegistroJornada(e.st, 2), kVacio);
    EXPECT_NE(GrabaRegistroJornada(e.st, 2, Registro(2, "08/09/02")), 0);
    EXPECT_TRUE(fs::is_directory(e.dir() / "JORNADAS.TBX"));
}

TEST(Jornadas, FechasYLista) {
    for (const char* buena : {"15/03/03", "29/02/04", "29/02/00", "29/02/32", "31/12/99"})
        EXPECT_TRUE(FechaValida(buena)) << buena;
    for (const char* mala : {"31/02/03", "29/02/03", "29/02/30", "00/01/03", "32/01/03", "01/13/03", "00/00/00",
                             "", "aa/bb/cc", "1/1/2003", "15-03-03", "15/03/"})
        EXPECT_FALSE(FechaValida(mala)) << mala;
    EXPECT_TRUE(FechaValida("5", "3", "3"));  // single digits get a 0 in front
    EXPECT_FALSE(FechaValida("05", "", "03"));
    EXPECT_FALSE(FechaValida("123", "03", "03"));
    EXPECT_FALSE(FechaValida("-1", "03", "03"));

    const auto items = ItemsListaJornadas(42);
    ASSERT_EQ(items.size(), 42u);
    EXPECT_EQ(items.front(), " 1");
    EXPECT_EQ(items.back(), "42");
    EXPECT_EQ(ColumnasListaJornadas(42), 5);
    EXPECT_EQ(ColumnasListaJornadas(52), 6);
}

}  // namespace
}  // namespace tobal
