#include <gtest/gtest.h>

#include <sys/stat.h>

#include "Soporte.h"
#include "app/ErrorFichero.h"
#include "data/DatosGen.h"
#include "data/Equipos.h"
#include "data/Jornadas.h"

namespace tobal {
namespace {

using namespace prueba;
using Lista = std::vector<std::string>;

const std::string kDefecto = "1,\"01/09/02\",1,1,0,0,0,0,1,42,\"0.3 \",\"00\",\"00000\",\"Si\"\r\n";
const std::string kCambiada = "12,\"15/03/03\",3,2,-5,7,0,-12,2,38,\"1.5 \",\"07\",\"00123\",\"No\"\r\n";

// DATOSGEN.TBX holding `contenido`, read over the settings of kCambiada,
// which differ from the defaults in every field.
struct Lectura : EstadoPrueba {
    explicit Lectura(const std::string& contenido) {
        for (const std::string* c : {&kCambiada, &contenido}) {
            EscribeBytes(dir() / "DATOSGEN.TBX", *c);
            LeeDatosGen(st);
        }
    }
    const Lista& m() const { return mensajes.mensajes; }
};

TEST(DatosGen, PrimerArranqueYVueltaCompleta) {
    Lectura l(kCambiada);
    EXPECT_TRUE(l.m().empty() && LineaDatosGen(l.st) == kCambiada);
    fs::remove(l.dir() / "DATOSGEN.TBX");
    ASSERT_EQ(GrabaDatosGen(l.st), 0);
    EXPECT_EQ(Bytes(l.dir() / "DATOSGEN.TBX"), kCambiada);
    fs::remove(l.dir() / "DATOSGEN.TBX");  // the defaults, and the file made with them
    LeeDatosGen(l.st);
    EXPECT_EQ(l.m(), Lista{TextoErrorFichero(Op::LDG, 53)});
    EXPECT_TRUE(Bytes(l.dir() / "DATOSGEN.TBX") == kDefecto && LineaDatosGen(l.st) == kDefecto);
}

// kCambiada with field `campo` (0-based) replaced by `valor`.
std::string ConCampo(int campo, const std::string& valor) {
    std::string linea = kCambiada;
    size_t inicio = 0;
    for (int k = 0; k < campo; ++k) inicio = linea.find(',', inicio) + 1;
    return linea.replace(inicio, linea.find(',', inicio) - inicio, valor);
}

// What each content of DATOSGEN.TBX leaves in the settings, and whether it
// is reported; a reported file is never replaced. Texts are cut or padded
// to their widths; a file that ends early reads what it has; a number that
// does not read, or is out of its bounds, keeps its value.
TEST(DatosGen, LecturaCampoACampo) {
    const std::string resto = ",\"01/01/03\",2,1,0,0,0,0,1,42,\"0.3 \",\"00\",\"00000\",\"Si\"\r\n";
    struct Caso {
        std::string contenido, linea;
        const char* aviso;  // part of the one message, nullptr for none
    };
    std::vector<Caso> casos = {
        {"2,\"01/10/03\",4,3,1,2,3,4,2,40,\"0.355\",\"123\",\"9876543\",\"Sonido\"\r\n",
         "2,\"01/10/03\",4,3,1,2,3,4,2,40,\"0.35\",\"12\",\"98765\",\"So\"\r\n", nullptr},
        {"2,\"01/10/03\",4,3,1,2,3,4,2,40,\"2\",\"1\",\"\",\"No\"\r\n",
         "2,\"01/10/03\",4,3,1,2,3,4,2,40,\"2   \",\"1 \",\"     \",\"No\"\r\n", nullptr},
        {"5,\"01/01/03\"\r\n", "5,\"01/01/03\"" + kCambiada.substr(13), "LDG ERROR "},
        {"", kCambiada, ""},
        {"x7" + resto, "12" + resto, ""},
        // The last matchday of the longest season.
        {"52" + std::string(resto).replace(25, 4, ",52,"), "52" + std::string(resto).replace(25, 4, ",52,"),
         nullptr},
        // Fewer matchdays than the current one: the current one comes down to the last.
        {ConCampo(9, "10"), ConCampo(0, "10").replace(kCambiada.find(",38,"), 4, ",10,"), nullptr}};
    // Each bounded number: its bounds are read, values past them refused
    // (with the current matchday 12 and 38 matchdays of kCambiada).
    for (auto [campo, bajo, alto, malBajo, malAlto] : {std::array{0, 1, 38, 0, 53},
                                                       {2, 1, 30, 0, 31},
                                                       {3, 1, 4, 0, 5},
                                                       {8, 1, 2, 0, 3},
                                                       {9, 12, 52, 0, 53}})
        for (int v : {bajo, alto, malBajo, malAlto}) {
            const bool fuera = v == malBajo || v == malAlto;
            casos.push_back({ConCampo(campo, std::to_string(v)),
                             fuera ? kCambiada : ConCampo(campo, std::to_string(v)),
                             fuera ? "fuera de" : nullptr});
        }
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.contenido);
        Lectura l(c.contenido);
        EXPECT_EQ(LineaDatosGen(l.st), c.linea);
        ASSERT_EQ(l.m().size(), c.aviso ? 1u : 0u);
        if (!c.aviso) continue;
        EXPECT_NE(l.m()[0].find(c.aviso), std::string::npos) << l.m()[0];
        EXPECT_EQ(Bytes(l.dir() / "DATOSGEN.TBX"), c.contenido);
    }

    Lectura g("70000" + resto);  // beyond a 16-bit number: never wrapped around, the other fields read
    EXPECT_EQ(LineaDatosGen(g.st), "12" + resto);

    EstadoPrueba e;  // a folder in its place: the defaults, never written over it
    fs::create_directory(e.dir() / "DATOSGEN.TBX");
    LeeDatosGen(e.st);
    EXPECT_EQ(e.mensajes.mensajes.at(0).rfind("LDG ERROR ", 0), 0u) << e.mensajes.mensajes[0];
    EXPECT_EQ(LineaDatosGen(e.st), kDefecto);
    EXPECT_TRUE(fs::is_directory(e.dir() / "DATOSGEN.TBX"));
}

TEST(Datos, SinPermisos) {
    ComoUsuarioSinPrivilegios([] {
        EstadoPrueba e;
        EscribeBytes(e.dir() / "EQUIPOS.TBX", "Betis\r\n");
        ::chmod(e.dir().c_str(), 0555);
        LeeDatosGen(e.st);
        ASSERT_EQ(e.mensajes.mensajes.size(), 1u);  // not found and could not be created, never "created"
        EXPECT_NE(e.mensajes.mensajes[0].find("no se ha podido crear"), std::string::npos);
        const int r = GrabaEquipos(e.st, {"Eibar"});
        ::chmod(e.dir().c_str(), 0755);
        EXPECT_FALSE(fs::exists(e.dir() / "DATOSGEN.TBX"));
        EXPECT_NE(r, 0);
        EXPECT_EQ(Bytes(e.dir() / "EQUIPOS.TBX"), "Betis\r\n");
    });
}

TEST(Equipos, GrabaLeeYFicheroQueFaltaOEsCarpeta) {
    EXPECT_EQ(ItemsEquipos("Betis\r\n  \"Real Madrid\"\r\nAlaves,Eibar\r\n\"Uno, Dos\"\nOsasuna"),
              (Lista{"Betis", "Real Madrid", "Alaves", "Eibar", "Uno, Dos", "Osasuna"}));
    EstadoPrueba e;
    ASSERT_EQ(GrabaEquipos(e.st, {"  Betis ", "M\xE1laga", "Real Madrid"}), 0);
    EXPECT_EQ(Bytes(e.dir() / "EQUIPOS.TBX"), "Betis\r\nM\xE1laga\r\nReal Madrid\r\n");
    Lista l;
    LeeEquipos(e.st, l, Op::CLE);
    EXPECT_EQ(l, (Lista{"Betis", "M\xE1laga", "Real Madrid"}));
    EXPECT_TRUE(e.mensajes.mensajes.empty());

    fs::remove(e.dir() / "EQUIPOS.TBX");
    l.clear();
    LeeEquipos(e.st, l, Op::CLE);  // the matchday editor's reading: not created
    EXPECT_FALSE(fs::exists(e.dir() / "EQUIPOS.TBX"));
    CargaLisEquipos(e.st, l);  // the team screen's: created empty
    EXPECT_EQ(e.mensajes.mensajes,
              (Lista{TextoErrorFichero(Op::CLE, 53), TextoErrorFichero(Op::CLECrea, 53)}));
    EXPECT_TRUE(l.empty() && fs::is_regular_file(e.dir() / "EQUIPOS.TBX") &&
                fs::is_empty(e.dir() / "EQUIPOS.TBX"));
    EstadoPrueba c;  // a folder in its place
    fs::create_directory(c.dir() / "EQUIPOS.TBX");
    CargaLisEquipos(c.st, l);
    EXPECT_EQ(c.mensajes.mensajes.at(0).rfind("CLE ERROR ", 0), 0u) << c.mensajes.mensajes[0];
    EXPECT_TRUE(fs::is_directory(c.dir() / "EQUIPOS.TBX"));
}

const std::string kVacio = "     00/00/00" + std::string(520, ' ');

const auto Registro = RegistroJornadaPrueba;

TEST(Jornadas, RegistroDelEditor) {
    EXPECT_EQ(RegistroJornadaVacio(), kVacio);
    std::array<std::string, 30> eq{};
    eq[0] = "  M\xE1laga  ";            // trimmed; one byte for the accent
    eq[1] = "Real Sociedad de Futbol";  // cut to 15
    eq[2] = "Deportivo Coru\xF1";       // exactly 15
    eq[29] = "Osasuna";
    const std::string r = RegistroEditor(std::string(463, 'z') + std::string(70, '7'), 7, "15/03/03", eq);
    EXPECT_EQ(r.substr(0, 73),
              "Jor0715/03/03M\xE1laga         Real Sociedad dDeportivo Coru\xF1" + std::string(15, ' '));
    EXPECT_EQ(r.substr(448), "Osasuna        " + std::string(70, '7'));  // old names go, results stay
    EXPECT_EQ(RegistroEditor("", 52, "01/01/03", eq).substr(463),
              std::string(70, ' '));  // short previous record
    EXPECT_TRUE(RegistroJornadaEnUso(r, 7) && RegistroJornadaEnUso("JOR07" + r.substr(5), 7));
    EXPECT_FALSE(RegistroJornadaEnUso(r, 8) || RegistroJornadaEnUso(kVacio, 7) ||
                 RegistroJornadaEnUso("Jor0", 7));
}

TEST(Jornadas, GrabaYLeeRegistrosConTamanoIrregularOCarpeta) {
    EstadoPrueba e;
    const fs::path f = e.dir() / "JORNADAS.TBX";
    e.st.Jornada() = 3;  // no file yet: an empty matchday, and an empty file
    LeeJornada(e.st);
    EXPECT_EQ(e.st.RegJornada, kVacio);
    EXPECT_TRUE(fs::exists(f) && Bytes(f).empty());
    const std::string r3 = Registro(3, "10/02/03");
    ASSERT_EQ(GrabaRegistroJornada(e.st, 3, r3), 0);
    ASSERT_EQ(Bytes(f), std::string(2 * 533, ' ') + r3);
    EXPECT_EQ(LeeRegistroJornada(e.st, 1), kVacio);  // the gap reads as empty
    e.st.Jornada() = 3;
    LeeJornada(e.st);
    EXPECT_TRUE(e.st.RegJornada == r3 && e.st.Datos.FechaJornada == "10/02/03");
    e.st.Jornada() = 7;  // a record with another key reads as empty
    ASSERT_EQ(GrabaRegistroJornada(e.st, 7, Registro(8, "01/03/03")), 0);
    LeeJornada(e.st);
    EXPECT_EQ(e.st.RegJornada + e.st.Datos.FechaJornada, kVacio + "00/00/00");
    // Rewriting one record leaves the others byte for byte.
    std::string antes = Bytes(f);
    ASSERT_EQ(GrabaRegistroJornada(e.st, 3, Registro(3, "11/02/03")), 0);
    EXPECT_EQ(Bytes(f), antes.replace(2 * 533, 533, Registro(3, "11/02/03")));
    EXPECT_TRUE(e.mensajes.mensajes.empty());

    // A disk that fills up half way through a record: the file is as before,
    // not one with a partial record every later read would call damaged.
    for (int jornada : {8, 12}) {  // just past the end, and past a gap
        LimiteTamanoFicheros limite(antes.size() + 200);
        EXPECT_EQ(GrabaRegistroJornada(e.st, jornada, Registro(jornada, "01/03/03")), Err::DiscoLleno);
        EXPECT_EQ(Bytes(f), antes);
    }

    // Two whole records and a piece of a third: the whole ones read, and
    // writing keeps every record in its place.
    const std::string r1 = Registro(1, "01/09/02"), r2 = Registro(2, "08/09/02"),
                      r5 = Registro(5, "29/09/02");
    EscribeBytes(f, r1 + r2 + Registro(3, "15/09/02").substr(0, 100));
    EXPECT_EQ(LeeRegistroJornada(e.st, 2), r2);
    EXPECT_EQ(LeeRegistroJornada(e.st, 3).size(), 533u);
    ASSERT_EQ(GrabaRegistroJornada(e.st, 5, r5), 0);
    const std::string bytes = Bytes(f);
    EXPECT_EQ(bytes.substr(0, 533 * 2) + bytes.substr(4 * 533), r1 + r2 + r5);
    EXPECT_EQ(LeeRegistroJornada(e.st, 4), kVacio);

    fs::remove(f);
    fs::create_directory(f);
    e.st.Jornada() = 2;
    LeeJornada(e.st);
    EXPECT_EQ(e.mensajes.mensajes.at(0).rfind("LJO ERROR ", 0), 0u) << e.mensajes.mensajes[0];
}

TEST(Jornadas, Fechas) {
    for (const char* buena : {"15/03/03", "29/02/04", "29/02/00", "31/12/99"})
        EXPECT_TRUE(FechaValida(buena)) << buena;
    for (const char* mala : {"29/02/03", "00/01/03", "32/01/03", "01/13/03", "", "15-03-03", "15/03/"})
        EXPECT_FALSE(FechaValida(mala)) << mala;
    EXPECT_TRUE(FechaValida("5", "3", "3"));  // single digits get a 0 in front
    EXPECT_FALSE(FechaValida("123", "03", "03") || FechaValida("-1", "03", "03"));
}

}  // namespace
}  // namespace tobal
