// The store of reductions (BASES.TBX, columns and conditions files, also under
// a kill at any step), the conditions' notation, the tables, the index, the deletion.

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <optional>

#include "Soporte.h"
#include "app/Archivo.h"
#include "app/ErrorFichero.h"
#include "data/Jornadas.h"
#include "reduction/Almacen.h"
#include "reduction/Borrado.h"
#include "reduction/Condiciones.h"
#include "reduction/Indice.h"
#include "reduction/Tablas.h"

namespace tobal {
namespace {

using namespace prueba;

// A reduction by the error-window method with singles, doubles and triples.
Reduccion Ejemplo(int j = 3, int o = 2) {
    Reduccion r;
    r.Jornada = static_cast<int16_t>(j), r.Orden = static_cast<int16_t>(o), r.Metodo = 2;
    r.MinErrores = 5, r.MaxErrores = 12;
    r.ApuestasDirectas = 4782969, r.ApuestasReducidas = 81;
    for (int i = 1; i <= 15; ++i) {
        Partido& p = r.Partidos[i];
        p.Signo = {0, 1, static_cast<int16_t>(i % 2), static_cast<int16_t>(i <= 14 && i % 3 == 0)};
        p.NumSignos = static_cast<int16_t>(p.Signo[1] + p.Signo[2] + p.Signo[3]);
        p.AReducir = p.NumSignos > 1;
        p.SignoBase = static_cast<int16_t>(i % 4);
    }
    return r;
}

std::string Linea(const Reduccion& r) { return RegistroBase(r) + "\r\n"; }

struct Almacen : ::testing::Test {
    EstadoPrueba e;
    std::string Bases() { return Bytes(e.dir() / "BASES.TBX"); }
    int Graba(const Reduccion& r) {
        e.st.ReduccionActual = r;
        return GrabaReduccion(e.st);
    }
    Reduccion Carga(int j, int o) {
        e.st.ReduccionActual.Jornada = static_cast<int16_t>(j),
        e.st.ReduccionActual.Orden = static_cast<int16_t>(o);
        CargaReduccion(e.st);
        return e.st.ReduccionActual;
    }
};

TEST(AlmacenRegistro, Formato) {
    EXPECT_EQ(RegistroLibre(), "0000" + std::string(126, ' '));
    const std::string reg = RegistroBase(Ejemplo());
    // Key, method, blank-filled numbers, then matches 1 to 3 (a double, a
    // single, a triple), and blanks at the end.
    EXPECT_EQ(reg.substr(0, 47), "03022 512 0 0 04782969     81110211100102111313");
    EXPECT_EQ(reg.substr(119), std::string(11, ' '));
    EXPECT_EQ(DecodificaRegistroBase(reg + "sobra"), Ejemplo());
    // Damaged records are refused, never decoded into other numbers.
    for (size_t pos : {size_t{4}, size_t{17}, size_t{40}})
        EXPECT_FALSE(DecodificaRegistroBase(std::string(reg).replace(pos, 1, "A")).has_value()) << pos;
    EXPECT_FALSE(DecodificaRegistroBase(reg.substr(0, 60)).has_value());
}

TEST_F(Almacen, GrabaEnSuSitioYSorteaLineasDanadas) {
    for (int j : {3, 4, 5}) ASSERT_EQ(Graba(Ejemplo(j, 1)), 0);
    EXPECT_EQ(Bases(), Linea(Ejemplo(3, 1)) + Linea(Ejemplo(4, 1)) + Linea(Ejemplo(5, 1)));
    EXPECT_TRUE(ExisteReduccion(e.st, 4, 1) && e.st.NumRegistro == 2);
    EXPECT_TRUE(!ExisteReduccion(e.st, 4, 2) && e.st.NumRegistro == 3);  // where a new one would go
    // Saving again rewrites in place and clears what the method does not use.
    Reduccion r = Ejemplo(4, 1);
    r.Metodo = 1;
    r.Signos = {0, 5, 5, 4};
    ASSERT_EQ(Graba(r), 0);
    EXPECT_EQ(Bases().substr(132, 15), "04011 0 0 0 0 0");

    // A short line, a long one, one with letters where digits belong and the
    // same key twice: the store works around them, every other line keeps
    // its bytes, and deleting frees every record of the key.
    Reduccion otra = Ejemplo(3, 2);
    otra.ApuestasReducidas = 9;
    const std::string corta = "0101\r\n", larga = RegistroBase(Ejemplo(2, 1)) + "XYZ\r\n";
    std::string letras = Linea(Ejemplo(6, 1));
    letras.replace(15, 7, "  abc  ");
    EscribeBytes(e.dir() / "BASES.TBX", corta + larga + Linea(Ejemplo(3, 2)) + letras + Linea(otra));
    EXPECT_TRUE(ExisteReduccion(e.st, 3, 2));
    EXPECT_EQ(e.st.NumRegistro, 3);
    EXPECT_EQ(Carga(3, 2).ApuestasReducidas, 81);  // the first
    EXPECT_EQ(Carga(6, 1).ApuestasDirectas, 1);    // the damaged record: reported, never half-loaded
    EXPECT_EQ(e.mensajes.mensajes.size(), 1u);

    BorraReduccion(e.st, 3, 2);
    const std::string libre = RegistroLibre() + "\r\n";
    EXPECT_EQ(Bases(), corta + larga + libre + letras + libre);
    EXPECT_EQ(Graba(Ejemplo(9, 9)), 0);
    r = Ejemplo(2, 1);
    r.ApuestasReducidas = 27;
    EXPECT_EQ(Graba(r), 0);
    EXPECT_EQ(Carga(9, 9), Ejemplo(9, 9));
    EXPECT_EQ(Bases(), corta + Linea(r) + Linea(Ejemplo(9, 9)) + letras + libre);
}

// No BASES.TBX, then a folder in its place, then a data folder that is a
// regular file: every use reports, nothing is half-loaded.
TEST_F(Almacen, SinFicheroDeBasesOInutilizable) {
    e.st.ReduccionActual = Ejemplo(3, 2);
    Reduccion limpia;  // key and method kept, a "1" in every match, nothing else
    limpia.Jornada = 3, limpia.Orden = 2, limpia.Metodo = 2;
    for (int i = 1; i <= 15; ++i) limpia.Partidos[i] = {{0, 1, 0, 0}, 1, 0, 0};
    EXPECT_EQ(Carga(3, 2), limpia);
    EXPECT_FALSE(ExisteReduccion(e.st, 3, 2));
    BorraReduccion(e.st, 3, 2);
    EXPECT_EQ(e.mensajes.mensajes,
              (std::vector<std::string>{TextoErrorFichero(Op::LFB, 53), TextoErrorFichero(Op::EEB, 53),
                                        "No se encuentra el fichero BASES.TBX"}));

    e.mensajes.mensajes.clear();
    fs::create_directory(e.dir() / "BASES.TBX");
    EXPECT_FALSE(ExisteReduccion(e.st, 3, 2));
    EXPECT_NE(Graba(Ejemplo(3, 2)), 0);
    BorraReduccion(e.st, 3, 2);
    EXPECT_EQ(e.mensajes.mensajes,
              (std::vector<std::string>{TextoErrorFichero(Op::EEB, 75), TextoErrorFichero(Op::BRB, 75)}));
    EscribeBytes(e.dir() / "fichero", "x");
    e.st.DirDatos = e.dir() / "fichero";  // a folder that is a regular file
    EXPECT_NE(Graba(Ejemplo(3, 2)), 0);
    EXPECT_FALSE(ExisteReduccion(e.st, 3, 2));
    EXPECT_EQ(e.mensajes.mensajes.back(), "EEB ERROR 76: No existe el fichero BASES.TBX");
}

// Columns read back across blocks and from a column on; every damaged
// record stops the reader at its column, and the whole-file check names it,
// also far into the file, past the first block.
TEST_F(Almacen, LectorDeColumnas) {
    ASSERT_EQ(LineaColumna("1X2111111111111sobra"), "\"1X2111111111111\"\r\n");
    const fs::path red = e.dir() / "RED0302.TBX";
    std::string muchas;
    for (int n = 1; n <= 60000; ++n) muchas += LineaColumna(ColumnaPrueba(n));
    EscribeBytes(red, muchas);
    LectorColumnas lector;
    ASSERT_EQ(lector.Abre(red), 0);
    std::string_view col;
    int n = 1;
    for (; lector.Siguiente(col); ++n) ASSERT_EQ(col, ColumnaPrueba(n)) << n;
    EXPECT_TRUE(n == 60001 && lector.Error() == 0);
    ASSERT_EQ(lector.Abre(red, 59999), 0);
    EXPECT_TRUE(lector.Siguiente(col) && col == ColumnaPrueba(59999));

    // Each damage also at each place of a pair of columns, which are checked together.
    for (const ColumnaDanada& d : ColumnasDanadas()) {
        SCOPED_TRACE(d.que);
        const std::string despues = d.que == std::string("cut by the end") ? "" : muchas.substr(0, 8 * 19);
        for (const auto& [antes, columna] : {std::pair{muchas, 60003}, {muchas.substr(0, 19), 4}}) {
            EscribeBytes(red, antes + FicheroConColumnaDanada(d) + despues);
            int64_t columnas = -1, danada = -1;
            EXPECT_EQ(CompruebaColumnas(red, columnas, danada), kErrorColumnasDanadas);
            EXPECT_EQ(columnas, columna - 1);
            EXPECT_EQ(danada, columna);
        }
    }
}

TEST(Condiciones, NotacionFicheroYRechazos) {
    // Each text with what it reads as, or the start of its fault.
    using Caso = std::pair<const char*, const char*>;
    const Caso buenas[] = {
        {"  x   2-5 ", "X 2-5"},
        {"2 0-3 PARTIDOS 7,1-6", "2 0-3 partidos 1-7"},
        {"Interrupciones 5", "interrupciones 5-5"},
        {"seguidos 1-4 partidos 1, 3, 5-9", "seguidos 1-4 partidos 1,3,5-9"},
        {"variantes 0-1 partido 14", "variantes 0-1 partidos 14"},
    };
    for (const auto& [texto, leida] : buenas) {
        Condicion c;
        EXPECT_EQ(LeeCondicion(texto, c), std::nullopt) << texto;
        EXPECT_EQ(TextoCondicion(c), leida);
    }
    const Caso malas[] = {
        {" ", "la condición está vacía"},
        {"X", "falta el intervalo"},
        {"X 2-a", "\"2-a\" no es un intervalo"},
        {"X 2-15", "el máximo 15 pasa de 14, el mayor valor posible en un grupo de 14 partidos"},
        {"interrupciones 0-7 partidos 1-7", "el máximo 7 pasa de 6"},
        {"X 2-5 partidos 0-3", "\"0-3\" no es un grupo de partidos"},
        {"X 2-5 partidos", "faltan los partidos"},
        {"X 2-5 todos", "\"todos\" sobra"},
    };
    for (const auto& [texto, fallo] : malas) {
        Condicion antes{Medida::Doses, 1, 2, 3}, leida = antes;
        EXPECT_EQ(LeeCondicion(texto, leida).value_or("").rfind(fallo, 0), 0u) << texto;
        EXPECT_EQ(leida, antes);
    }

    // A conditions file's faults name their line; what was read stays.
    Condiciones cs, leidas;
    ASSERT_EQ(LeeTextoCondiciones("X 2-5\nfallos 1\n", cs), std::nullopt);
    for (const auto& [texto, fallo] :
         std::vector<Caso>{{"fallos 1\nfallos 2\n", "línea 2 (\"fallos 2\"): los fallos ya se han dado"},
                           {"fallos uno\n", "línea 1 (\"fallos uno\"): los fallos son un número"},
                           {"X 2-5\r\nX\xF1 2\r\n", "línea 2: es demasiado larga o tiene caracteres"}}) {
        leidas = cs;
        EXPECT_EQ(LeeTextoCondiciones(texto, leidas).value_or("").rfind(fallo, 0), 0u) << texto;
        EXPECT_EQ(leidas, cs);
    }
}

Condiciones CondicionesDe(const std::string& texto) {
    Condiciones cs;
    EXPECT_FALSE(LeeTextoCondiciones(texto, cs).has_value()) << texto;
    return cs;
}

// What a stored reduction's columns and conditions files give to its load
// and to the check every reader of the columns makes first: the count of
// whole records against the record's, damage first, the signs of matches
// 1-14 against its base (match 15 is not reduced); a conditions file that
// does not read is reported by name and line when loaded, the record still
// loaded, and the columns refused with the same words. Files no record
// names are only checked for damage, and their conditions are nobody's.
TEST_F(Almacen, ColumnasYCondicionesComprobadasContraSuRegistro) {
    GrabaReduccionPrueba(e.st, 3, 2, 24);
    const std::string nombre = "RED0302.TBX", bien = Bytes(e.dir() / nombre), ninguna = "fallos 0\r\n";
    const fs::path con = e.dir() / "RED0302.CON";
    struct Caso {
        std::string columnas, condiciones;  // "" for no conditions file, "/" for a folder
        int error;
        std::string texto, cargadas;  // the start of the refusal; the conditions loaded
    };
    const Caso casos[] = {
        {bien, "", 0, "", ninguna},
        {bien + LineaColumna(ColumnaPrueba(25)), "", 13, TextoCuentaColumnas(nombre, 25, 24), ninguna},
        {"", "", 13, TextoCuentaColumnas(nombre, 0, 24), ninguna},
        {bien + "\"1X", "", 13, TextoColumnasDanadas(nombre, 25), ninguna},
        {bien, "x 2-5\n\r\n2 0-3 PARTIDOS 1-7\nfallos 1", 0, "",
         "X 2-5\r\n2 0-3 partidos 1-7\r\nfallos 1\r\n"},
        {bien, "X 2-5\r\nseguidos 9-3\r\n", kErrorCondiciones,
         "El fichero de condiciones RED0302.CON está dañado, línea 2 (\"seguidos 9-3\"): ", ninguna},
        {bien, "/", 75, "No se puede leer el fichero de condiciones RED0302.CON (error ", ninguna}};
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.texto + c.condiciones);
        EscribeBytes(e.dir() / nombre, c.columnas);
        fs::remove(con);
        if (c.condiciones == "/")
            fs::create_directory(con);
        else if (!c.condiciones.empty())
            EscribeBytes(con, c.condiciones);
        e.mensajes.mensajes.clear();
        e.st.CondicionesActuales = CondicionesDe("1 3");  // whatever an earlier reduction had
        EXPECT_EQ(Carga(3, 2).ApuestasReducidas, 24);
        EXPECT_EQ(TextoFicheroCondiciones(e.st.CondicionesActuales), c.cargadas);
        const bool ilegibles = c.error && !c.condiciones.empty();
        EXPECT_EQ(e.st.ErrorFichero, ilegibles ? c.error : 0);
        std::string texto;
        int64_t columnas = -1;
        EXPECT_EQ(CompruebaColumnasReduccion(e.st, 3, 2, texto, &columnas), c.error);
        EXPECT_TRUE(c.texto.empty() ? texto.empty() && columnas == 24 : texto.rfind(c.texto, 0) == 0)
            << texto;
        EXPECT_EQ(e.mensajes.mensajes,
                  ilegibles ? std::vector<std::string>{"LFB: " + texto} : std::vector<std::string>{});
        EXPECT_TRUE(!ilegibles ||
                    Contiene(texto, "No se puede usar la reducción sin saber sus condiciones."));
    }
    fs::remove(con);
    EscribeBytes(e.dir() / nombre, bien);
    std::string texto;
    for (const int partido : {15, 14}) {  // only "1" marked
        Reduccion r = Carga(3, 2);
        r.Partidos[partido] = Partido{{0, 1, 0, 0}, 1, 0, 0};
        ASSERT_EQ(Graba(r), 0);
        EXPECT_EQ(CompruebaColumnasReduccion(e.st, 3, 2, texto), partido == 15 ? 0 : 13);
    }
    EXPECT_TRUE(texto.rfind("La columna ", 0) == 0 &&
                Contiene(texto, " en el partido 14, que la quiniela base no marca"));
    EscribeBytes(e.dir() / "RED0309.TBX", bien.substr(0, 5 * kLongLineaColumna));
    EscribeBytes(e.dir() / "RED0309.CON", "X 2-5\r\n");
    EXPECT_EQ(CompruebaColumnasReduccion(e.st, 3, 9, texto), 0);
    Carga(3, 9);
    EXPECT_TRUE(e.st.CondicionesActuales.lista.empty());
    EXPECT_EQ(CompruebaColumnasReduccion(e.st, 3, 8, texto), 53);  // no file: the reader's own report
    EXPECT_EQ(texto, "");
}

// Over every pair of triples and doubles to reduce, the table taken asks no
// more than there is, its factor is its whole product over its bets, and no
// table that fits has a larger factor.
TEST(Tablas, LaElegidaCabeYNingunaQueQuepaReduceMas) {
    std::vector<Estadistica> todas;
    for (int t = 0; t <= 14; ++t)
        for (int d = t ? 0 : 1; d <= 14; ++d) {
            Estadistica& e = todas.emplace_back();
            e.TriplesReducir = static_cast<int16_t>(t), e.DoblesReducir = static_cast<int16_t>(d);
            EligeTabla(e);
        }
    for (const Estadistica& e : todas) {
        const int t = e.TriplesTabla, d = e.DoblesTabla;
        SCOPED_TRACE(testing::Message() << e.TriplesReducir << " triples, " << e.DoblesReducir << " doubles");
        ASSERT_TRUE(e.ApuestasTabla > 0 && t <= e.TriplesReducir && d <= e.DoblesReducir);
        EXPECT_NEAR(e.FactorReduccion, std::pow(3, t) * std::pow(2, d) / e.ApuestasTabla, 0.01);
        for (const Estadistica& o : todas)
            EXPECT_TRUE(o.TriplesTabla > e.TriplesReducir || o.DoblesTabla > e.DoblesReducir ||
                        o.FactorReduccion <= e.FactorReduccion + 0.001f)
                << o.FactorReduccion;
    }
}

std::string RegistroIndice(int j, int o, int metodo, std::array<int, 5> params, int directas, int reducidas) {
    auto c = [](int v) { return static_cast<int16_t>(v); };
    Reduccion r;
    r.Jornada = c(j), r.Orden = c(o), r.Metodo = c(metodo), r.MinErrores = c(params[0]),
    r.MaxErrores = c(params[1]);
    r.Signos = {0, c(params[2]), c(params[3]), c(params[4])};
    r.ApuestasDirectas = directas, r.ApuestasReducidas = reducidas;
    return RegistroBase(r);
}

TEST(Indice, LineasYCabeceras) {
    const std::string reg7 = RegistroEditor(RegistroJornadaVacio(), 7, "15/03/03", {});
    EXPECT_EQ(LineaIndice(RegistroIndice(7, 12, 2, {3, 11, 0, 0, 0}, 4782969, 1234), reg7),
              "  7 15/03/03  12  Columna Probable      3  11                 4782969        1234");
    EXPECT_EQ(LineaIndice(RegistroIndice(12, 1, 3, {0, 0, 5, 4, 5}, 19683, 45), reg7),
              " 12            1  Selecci\xF3n de Signos            5   4   5      19683          45");
    EXPECT_EQ(LineaIndice(RegistroIndice(7, 5, 4, {0, 2, 0, 0, 0}, 81, 9), reg7),
              "  7 15/03/03   5  Reducci\xF3n M\xEDnima          2                      81           9");
    EXPECT_EQ(LineaIndice(RegistroIndice(7, 3, 1, {0, 0, 0, 0, 0}, 1, 1), RegistroJornadaVacio()),
              "  7            3  Directo                                           1           1");

    // A method digit that names no method, and digits that are letters: still
    // 81 characters, no crash.
    std::string raro = RegistroIndice(7, 4, 1, {0, 0, 0, 0, 0}, 9, 9);
    raro[4] = '7';
    raro.replace(15, 7, "abcdefg");
    EXPECT_EQ(LineaIndice(raro, reg7).size(), 81u);
    EXPECT_EQ(LineaIndice("07", reg7).size(), 81u);
}

TEST(Indice, CargaPaginasYPulsaciones) {
    EstadoPrueba e;
    std::string bases;
    for (int k = 0; k < 50; ++k) {
        bases += RegistroIndice(1 + k / 30, 1 + k % 30, 1, {0, 0, 0, 0, 0}, 9, 3) + "\r\n";
        if (k % 10 == 0) bases += RegistroLibre() + "\r\n";
    }
    bases += "0x05 damaged line\r\n";
    EscribeBytes(e.dir() / "BASES.TBX", bases);
    e.st.Jornada() = 2;
    e.st.Orden() = 15;  // the 45th reduction
    Indice ind = CargaIndice(e.st);
    ASSERT_EQ(ind.lineas.size(), 50u);
    EXPECT_TRUE(ind.actual == 44 && ind.superior == 40);

    ASSERT_TRUE(EligeLineaIndice(e.st, ind, 3));
    EXPECT_TRUE(e.st.Jornada() == 2 && e.st.Orden() == 14 && e.st.IndiceElegido == Verdadero);
    e.st.IndiceElegido = Falso;
    EXPECT_FALSE(EligeLineaIndice(e.st, ind, 10));  // page 40-49 has 10 lines
    EXPECT_EQ(e.st.IndiceElegido, Falso);

    // Not found: first page. Missing file: empty, with the report.
    e.st.Jornada() = 9;
    EXPECT_EQ(CargaIndice(e.st).superior, 0);
    std::filesystem::remove(e.dir() / "BASES.TBX");
    EXPECT_TRUE(CargaIndice(e.st).lineas.empty());
    EXPECT_EQ(e.mensajes.mensajes.size(), 1u);

    // Lines start 34 pixels down, 16 apart; only rows 3-14 of each pick.
    const std::array<int, 4> casos[] = {{37, 0, 50, 0},   {48, 0, 50, 0},   {36, 0, 50, 99},  {49, 0, 50, 99},
                                        {349, 0, 50, 19}, {350, 0, 50, 99}, {183, 40, 50, 9}, {40, 0, 0, 99}};
    for (const auto& [y, superior, total, linea] : casos)
        EXPECT_EQ(HallaCualLinea(y, superior, total), linea) << y;
    // Corners of a 600x400 folder: x, y, first line, lines, the zone.
    const std::tuple<int, int, int, int, ZonaCarpeta> zonas[] = {
        {590, 395, 0, 21, ZonaCarpeta::Siguiente}, {590, 395, 0, 20, ZonaCarpeta::Nada},
        {10, 395, 20, 21, ZonaCarpeta::Anterior},  {10, 395, 0, 21, ZonaCarpeta::Nada},
        {15, 55, 0, 21, ZonaCarpeta::Nada},        {594, 55, 0, 21, ZonaCarpeta::Nada},
        {100, 39, 0, 0, ZonaCarpeta::Nada},        {100, 55, 0, 21, ZonaCarpeta::Linea}};
    int linea = -1;
    for (const auto& [x, y, superior, total, zona] : zonas)
        EXPECT_EQ(ZonaEnCarpeta(x, y, 600, 400, superior, total, linea), zona) << x << "," << y;
    EXPECT_EQ(linea, 1);
}

// A change of reduction 12/3 killed at each step of its installation: the
// next use of the folder leaves the earlier reduction exactly as it was (a
// kill before the columns are in place) or the new one whole with its
// conditions or none; and a record that cannot be written gives the earlier
// one back. The earlier reduction has conditions or not; in the last row
// there is none, only a conditions file a copy left, which the new one
// without conditions must not take.
std::string tPaso;
TEST(AlmacenCondiciones, UnCambioMatadoEnCualquierPasoNoPierdeNada) {
    struct Fila {
        const char *antes, *despues;  // conditions files' texts; "" for none
        bool reduccionAntes;
    };
    const Fila filas[] = {
        {"", "", true},
        {"", "X 2-5\r\nfallos 0\r\n", true},
        {"X 2-5\r\nfallos 0\r\n", "2 0-3 partidos 1-7\r\nseguidos 1-4\r\nfallos 1\r\n", true},
        {"X 2-5\r\nfallos 0\r\n", "", true},
        {"X 0-1\r\nfallos 0\r\n", "", false}};
    for (const Fila& f : filas) {
        for (const std::string paso : {"nota", "columnas", "condiciones", "registro", "", "falla"}) {
            SCOPED_TRACE(std::string(f.antes) + " -> " + f.despues + ", killed at " + paso);
            if (paso == "falla" && !f.reduccionAntes) continue;
            EstadoPrueba e;
            GrabaReduccionPrueba(e.st, 12, 4, 1);
            if (f.reduccionAntes) GrabaReduccionPrueba(e.st, 12, 3, 2);
            if (*f.antes) EscribeBytes(e.dir() / "RED1203.CON", f.antes);
            const auto antes = Contenido(e.dir());
            const std::string columnas =
                FicheroColumnas({ColumnaPrueba(1), ColumnaPrueba(2), ColumnaPrueba(3)});
            EscribeBytes(e.dir() / (std::string("RED1203.TBX.999999-1") + kFinTemporal), columnas);
            e.st.ReduccionActual.Jornada = 12, e.st.ReduccionActual.Orden = 3;
            e.st.ReduccionActual.ApuestasReducidas = 3;
            e.st.CondicionesActuales = CondicionesDe(f.despues);
            tPaso = paso;
            const pid_t hijo = ::fork();
            ASSERT_GE(hijo, 0);
            if (hijo == 0) {
                gPasoInstalacion = [](const std::string& p) {
                    if (p != (tPaso == "falla" ? "columnas" : tPaso)) return;
                    if (tPaso != "falla") ::raise(SIGKILL);
                    // BASES.TBX cannot be written from here on.
                    ::rename("BASES.TBX", "BASES.aparte");
                    ::mkdir("BASES.TBX", 0700);
                };
                ::_exit(::chdir(e.dir().c_str()) == 0 ? InstalaReduccion(e.st, ".999999-1") : 99);
            }
            int estado = 0;
            ASSERT_EQ(::waitpid(hijo, &estado, 0), hijo);
            if (paso == "falla") {
                ASSERT_TRUE(WIFEXITED(estado) && WEXITSTATUS(estado) != 0);
                fs::remove(e.dir() / "BASES.TBX");
                fs::rename(e.dir() / "BASES.aparte", e.dir() / "BASES.TBX");
            } else {
                ASSERT_EQ(WIFSIGNALED(estado), !paso.empty()) << "the step was never reached";
            }
            LimpiaTemporales(e.st);
            if (paso == "nota" || paso == "falla") {
                EXPECT_EQ(Contenido(e.dir()), antes);
                continue;
            }
            for (const std::string& n : Ficheros(e.dir())) EXPECT_NE(n.back(), '~') << n;
            e.st.Jornada() = 12, e.st.Orden() = 3;
            CargaReduccion(e.st);
            EXPECT_EQ(e.st.ReduccionActual.ApuestasReducidas, 3);
            EXPECT_EQ(Bytes(e.dir() / "RED1203.TBX"), columnas);
            EXPECT_EQ(Bytes(e.dir() / "RED1203.CON"), f.despues);
            EXPECT_TRUE(e.mensajes.mensajes.empty());
        }
    }
}

// What a deletion of matchdays takes or leaves: matchdays 1 to 5, reductions
// of matchdays 3 (one of them twice), 4, 13 and 30, columns and conditions files.
struct Carpeta : EstadoPrueba {
    std::string jornadas, bases;
    const std::vector<std::string> quedan{"RED0401.TBX", "RED3001.TBX", "RED3003.TBX",
                                          "RED1303.TBX", "EQUIPOS.TBX", "RED0401.CON"};
    const std::vector<std::string> van{"RED0301.TBX", "RED0302.TBX", "RED0330.TBX",
                                       "RED0399.TBX", "RED0302.CON", "RED0399.CON"};
    Carpeta() {
        for (int j = 1; j <= 5; ++j) jornadas += RegistroJornadaPrueba(j, "01/01/03");
        for (auto [j, o] : {std::pair{3, 1}, {4, 1}, {30, 1}, {3, 2}, {3, 30}, {30, 3}, {3, 1}, {13, 3}})
            bases += RegistroIndice(j, o, 1, {}, 1, 1) + "\r\n";
        EscribeBytes(dir() / "JORNADAS.TBX", jornadas);
        EscribeBytes(dir() / "BASES.TBX", bases);
        for (const auto& n : quedan) EscribeBytes(dir() / n, n);
        for (const auto& n : van) EscribeBytes(dir() / n, n);
    }
};

// The question asked for one matchday or a range, and the records of the
// matchdays blanked in place; a deletion's other figures are those of the
// failures and kills below.
TEST(Borrado, UnaJornadaSinTocarLasDemas) {
    const std::string inicio = "Se  va  a  proceder  a  la  eliminación  de  todos  los  datos",
                      fin =
                          " .  Si  desea  continuar  con  el  proceso,  pulse Borrar. Si desea cancelar el "
                          "proceso, pulse Salir.";
    EXPECT_EQ(TextoConfirmacionBorrado(5, 5), inicio + " de la Jornada  5" + fin);
    EXPECT_EQ(TextoConfirmacionBorrado(3, 12),
              inicio + "  desde la  jornada   3  hasta  la  jornada 12  " + fin);
    Carpeta c;
    BorraJornadas(c.st, 3, 3);
    EXPECT_EQ(Bytes(c.dir() / "JORNADAS.TBX"), c.jornadas.replace(2 * 533, 533, std::string(533, ' ')));
    EXPECT_TRUE(c.mensajes.mensajes.empty());
    BorraJornadas(c.st, 1, 52);  // then all of them
    EXPECT_EQ(Bytes(c.dir() / "JORNADAS.TBX").substr(0, 5 * 533), std::string(5 * 533, ' '));
    for (int n = 0; n < 8; ++n) c.bases.replace(n * 132, 130, RegistroLibre());
    EXPECT_EQ(Bytes(c.dir() / "BASES.TBX"), c.bases);
}

// A step that fails is told at the end and does not stop the others, and
// records that cannot be freed keep their columns files: JORNADAS.TBX or
// BASES.TBX a folder, BASES.TBX read-only for an unprivileged user or
// rewritten whole (line feeds only) on a disk that fills up. What is no
// failure (nothing stored, a folder named like a columns file) is silent.
TEST(Borrado, LosPasosQueFallanSeDicenAlFinal) {
    EstadoPrueba e;
    const ResultadoBorrado nada = BorraJornadas(e.st, 1, 52);
    EXPECT_EQ(nada.ficheros, 0);
    EXPECT_TRUE(nada.fallos.empty() && e.mensajes.mensajes.empty());
    const std::pair<std::string, std::string> casos[] = {
        {"JORNADAS.TBX", "No se han podido borrar los datos de la jornada 3 en JORNADAS.TBX (error 75"},
        {"BASES.TBX", "No se han podido borrar las reducciones de BASES.TBX (error 75"},
        {"read-only", "No se han podido borrar las reducciones de BASES.TBX (error 70"},
        {"full disk", "No se han podido borrar las reducciones de BASES.TBX (error 61"}};
    for (const auto& [rotura, fallo] : casos) {
        SCOPED_TRACE(rotura);
        ComoUsuarioSinPrivilegios([&] {
            Carpeta c;
            std::optional<LimiteTamanoFicheros> limite;
            if (rotura == "full disk") {
                for (size_t i; (i = c.bases.find("\r\n")) != std::string::npos;) c.bases.erase(i, 1);
                EscribeBytes(c.dir() / "BASES.TBX", c.bases);
                limite.emplace(c.bases.size());
            } else if (rotura == "read-only") {
                fs::permissions(c.dir() / "BASES.TBX", fs::perms::owner_read);
            } else {
                fs::remove(c.dir() / rotura);
                fs::create_directory(c.dir() / rotura);
            }
            fs::create_directory(c.dir() / "RED0303.TBX");
            const size_t antes = Ficheros(c.dir()).size();
            const ResultadoBorrado r = BorraJornadas(c.st, 3, 3);
            limite.reset();
            // On the full disk JORNADAS.TBX cannot be rewritten either.
            ASSERT_EQ(r.fallos.size(), rotura == "full disk" ? 2u : 1u) << testing::PrintToString(r.fallos);
            EXPECT_EQ(r.fallos.back().rfind(fallo, 0), 0u) << r.fallos.back();
            // The other steps ran; columns files go only with their records.
            const bool libera = rotura == "JORNADAS.TBX";
            EXPECT_EQ(r.ficheros, libera ? 4 : 0);
            for (const auto& n : c.van) EXPECT_EQ(fs::exists(c.dir() / n), !libera) << n;
            for (const auto& n : c.quedan) EXPECT_EQ(Bytes(c.dir() / n), n) << n;
            EXPECT_TRUE(libera || rotura == "BASES.TBX" || Bytes(c.dir() / "BASES.TBX") == c.bases);
            EXPECT_EQ(Ficheros(c.dir()).size(), antes - (libera ? c.van.size() : 0));  // nothing left behind
        });
    }
}

// A deletion killed before it frees the records, or at its first file: the
// index never names a missing file, and the next use of the folder undoes
// the first (the files of records stay) and finishes the second.
TEST(Borrado, MatadaAMediasSeDeshaceOSeAcaba) {
    for (const std::string paso : {"liberar", "RED0301.TBX"}) {
        SCOPED_TRACE(paso);
        Carpeta c;
        std::string liberado = c.bases;
        for (int n : {0, 3, 4, 6}) liberado.replace(n * 132, 130, RegistroLibre());
        tPaso = paso;
        const pid_t hijo = ::fork();
        if (hijo == 0) {
            gPasoBorrado = [](const std::string& p) {
                if (p == tPaso) ::raise(SIGKILL);
            };
            BorraJornadas(c.st, 3, 3);
            ::_exit(0);
        }
        int estado = 0;
        ASSERT_EQ(::waitpid(hijo, &estado, 0), hijo);
        ASSERT_TRUE(WIFSIGNALED(estado)) << "the step was never reached";
        for (const std::string& l : LineasBases(Bytes(c.dir() / "BASES.TBX"))) {
            int j, o;
            EXPECT_TRUE(!LeeClave(l, j, o) || (!j && !o) || fs::exists(c.dir() / FicheroRed(j, o))) << l;
        }
        LimpiaTemporales(c.st);
        EXPECT_EQ(Ficheros(c.dir()).size(), paso == "liberar" ? 12u : 8u);  // no note left
        EXPECT_EQ(Bytes(c.dir() / "BASES.TBX"), paso == "liberar" ? c.bases : liberado);
        // The files of 03/99, which no record names, go either way.
        for (const auto& n : c.van)
            EXPECT_EQ(fs::exists(c.dir() / n), paso == "liberar" && n.rfind("RED0399", 0) != 0) << n;
        for (const auto& n : c.quedan) EXPECT_EQ(Bytes(c.dir() / n), n) << n;
    }
}

}  // namespace
}  // namespace tobal
