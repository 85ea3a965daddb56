#include <gtest/gtest.h>

#include "Soporte.h"
#include "app/ErrorFichero.h"
#include "reduction/Almacen.h"

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

struct Almacen : ::testing::Test {
    EstadoPrueba e;
    std::string Bases() { return Bytes(e.dir() / "BASES.TBX"); }
    int Graba(const Reduccion& r) {
        e.st.ReduccionActual = r;
        return GrabaReduccion(e.st);
    }
    Reduccion Carga(int j, int o) {
        e.st.ReduccionActual.Jornada = static_cast<int16_t>(j), e.st.ReduccionActual.Orden = static_cast<int16_t>(o);
        CargaReduccion(e.st);
        return e.st.ReduccionActual;
    }
};

TEST(AlmacenRegistro, Formato) {
    EXPECT_EQ(RegistroLibre(), "0000" + std::string(126, ' '));
    const Reduccion r = Ejemplo();
    const std::string reg = RegistroBase(r);
    ASSERT_EQ(reg.size(), 130u);
    // Key, method, blank-filled numbers, then matches 1 to 3 (a double, a
    // single, a triple), and blanks at the end.
    EXPECT_EQ(reg.substr(0, 47), "03022 512 0 0 04782969     81110211100102111313");
    EXPECT_EQ(reg.substr(119), std::string(11, ' '));
    EXPECT_EQ(DecodificaRegistroBase(reg), r);
    EXPECT_EQ(DecodificaRegistroBase(reg + "sobra"), r);
    // Damaged records are refused, never decoded into other numbers.
    for (size_t pos : {size_t{17}, size_t{40}, size_t{4}}) {
        std::string mal = reg;
        mal[pos] = 'A';
        EXPECT_FALSE(DecodificaRegistroBase(mal).has_value()) << pos;
    }
    EXPECT_FALSE(DecodificaRegistroBase(reg.substr(0, 60)).has_value());
    EXPECT_EQ(LineasBases("0301\r\n" + reg + "xyz"), (std::vector<std::string>{"0301" + std::string(126, ' '), reg}));
}

TEST_F(Almacen, GrabaBuscaCargaYLibera) {
    ASSERT_EQ(Graba(Ejemplo(3, 2)), 0);
    EXPECT_EQ(Bases(), RegistroBase(Ejemplo(3, 2)) + "\r\n");
    ASSERT_EQ(Graba(Ejemplo(4, 1)), 0);
    ASSERT_EQ(Graba(Ejemplo(5, 1)), 0);
    ASSERT_EQ(Bases().size(), 3u * 132);
    EXPECT_TRUE(ExisteReduccion(e.st, 4, 1));
    EXPECT_EQ(e.st.NumRegistro, 2);
    EXPECT_FALSE(ExisteReduccion(e.st, 4, 2));
    EXPECT_EQ(e.st.NumRegistro, 3);
    EXPECT_FALSE(ExisteReduccion(e.st, 0, 0));
    EXPECT_EQ(Carga(3, 2), Ejemplo(3, 2));

    // A freed slot is taken by the next new reduction.
    BorraReduccion(e.st, 4, 1);
    EXPECT_EQ(Bases().substr(132, 132), RegistroLibre() + "\r\n");
    ASSERT_EQ(Graba(Ejemplo(7, 30)), 0);
    ASSERT_EQ(Bases().size(), 3u * 132);
    EXPECT_EQ(Bases().substr(132, 130), RegistroBase(Ejemplo(7, 30)));

    // Saving again rewrites in place and clears what the method does not use.
    Reduccion r = Ejemplo(7, 30);
    r.Metodo = 1;
    r.Signos = {0, 5, 5, 4};
    ASSERT_EQ(Graba(r), 0);
    EXPECT_EQ(e.st.ReduccionActual.MinErrores + e.st.ReduccionActual.Signos[1], 0);
    EXPECT_EQ(Bases().substr(132, 15), "07301 0 0 0 0 0");
    r.Metodo = 3;
    ASSERT_EQ(Graba(r), 0);
    EXPECT_EQ(Bases().substr(132, 15), "07303 0 0 5 5 4");
    EXPECT_EQ(Bases().size(), 3u * 132);
    EXPECT_TRUE(e.mensajes.mensajes.empty());
}

TEST_F(Almacen, RegistrosRepetidos) {
    Reduccion otra = Ejemplo(3, 2);
    otra.ApuestasReducidas = 9;
    const std::string uno = RegistroBase(Ejemplo(1, 1)) + "\r\n";
    EscribeBytes(e.dir() / "BASES.TBX", uno + RegistroBase(Ejemplo(3, 2)) + "\r\n" + RegistroBase(otra) + "\r\n");
    EXPECT_TRUE(ExisteReduccion(e.st, 3, 2));
    EXPECT_EQ(e.st.NumRegistro, 2);
    EXPECT_EQ(Carga(3, 2).ApuestasReducidas, 81);  // the first
    BorraReduccion(e.st, 3, 2);                     // both
    EXPECT_EQ(Bases(), uno + RegistroLibre() + "\r\n" + RegistroLibre() + "\r\n");
}

TEST_F(Almacen, SinFicheroDeBases) {
    e.st.ReduccionActual = Ejemplo(3, 2);
    e.st.ReduccionActual.Metodo = 3;
    const Reduccion r = Carga(3, 2);
    EXPECT_EQ(e.mensajes.mensajes, std::vector<std::string>{TextoErrorFichero(Op::LFB, 53)});
    EXPECT_EQ(r.Metodo, 3);
    EXPECT_EQ(r.MinErrores + r.MaxErrores + r.Signos[1] + r.Signos[2] + r.Signos[3], 0);
    EXPECT_EQ(r.ApuestasDirectas + r.ApuestasReducidas, 2);
    for (int i = 1; i <= 15; ++i) EXPECT_EQ(r.Partidos[i], (Partido{{0, 1, 0, 0}, 1, 0, 0})) << i;
    EXPECT_FALSE(ExisteReduccion(e.st, 3, 2));
    BorraReduccion(e.st, 3, 2);
    EXPECT_EQ(e.mensajes.mensajes, (std::vector<std::string>{TextoErrorFichero(Op::LFB, 53),
                                                             TextoErrorFichero(Op::EEB, 53),
                                                             "No se encuentra el fichero BASES.TBX"}));
    EXPECT_FALSE(fs::exists(e.dir() / "BASES.TBX"));
}

TEST_F(Almacen, LineasDanadasNoSePierden) {
    // A short line, a long one and one with letters where digits belong:
    // the store works around them and every other line keeps its bytes.
    const std::string corta = "0101", larga = RegistroBase(Ejemplo(2, 1)) + "XYZ";
    std::string letras = RegistroBase(Ejemplo(6, 1));
    letras.replace(15, 7, "  abc  ");
    EscribeBytes(e.dir() / "BASES.TBX",
                 corta + "\r\n" + larga + "\r\n" + letras + "\r\n" + RegistroBase(Ejemplo(3, 2)) + "\r\n");
    EXPECT_TRUE(ExisteReduccion(e.st, 3, 2));
    EXPECT_TRUE(ExisteReduccion(e.st, 2, 1));
    EXPECT_EQ(Carga(6, 1).ApuestasDirectas, 1);  // the damaged record: reported, never half-loaded
    EXPECT_EQ(e.mensajes.mensajes.size(), 1u);

    BorraReduccion(e.st, 3, 2);
    EXPECT_FALSE(ExisteReduccion(e.st, 3, 2));
    EXPECT_EQ(Graba(Ejemplo(9, 9)), 0);
    Reduccion r = Ejemplo(2, 1);
    r.ApuestasReducidas = 27;
    EXPECT_EQ(Graba(r), 0);
    EXPECT_EQ(Carga(2, 1).ApuestasReducidas, 27);
    EXPECT_EQ(Carga(9, 9), Ejemplo(9, 9));
    EXPECT_EQ(Bases(), corta + "\r\n" + RegistroBase(r) + "\r\n" + letras + "\r\n" + RegistroBase(Ejemplo(9, 9)) + "\r\n");
}

TEST_F(Almacen, FicheroQueNoSePuedeUsar) {
    fs::create_directory(e.dir() / "BASES.TBX");
    EXPECT_FALSE(ExisteReduccion(e.st, 3, 2));
    ASSERT_EQ(e.mensajes.mensajes.size(), 1u);
    EXPECT_EQ(e.mensajes.mensajes[0].rfind("EEB ERROR ", 0), 0u) << e.mensajes.mensajes[0];
    EXPECT_NE(Graba(Ejemplo(3, 2)), 0);
    BorraReduccion(e.st, 3, 2);
    EXPECT_EQ(e.mensajes.mensajes.back().rfind("BRB ERROR ", 0), 0u);
    EXPECT_TRUE(fs::is_directory(e.dir() / "BASES.TBX"));

    EscribeBytes(e.dir() / "fichero", "x");
    e.st.DirDatos = e.dir() / "fichero";  // a folder that is a regular file
    EXPECT_NE(Graba(Ejemplo(3, 2)), 0);
    EXPECT_FALSE(ExisteReduccion(e.st, 3, 2));
    EXPECT_EQ(e.mensajes.mensajes.back(), "EEB ERROR 76: No existe el fichero BASES.TBX");
}

TEST_F(Almacen, LectorDeColumnas) {
    std::string bytes;
    for (int k = 0; k < 100000; ++k) bytes += LineaColumna(std::string(15, "1X2"[k % 3]) + "sobra");  // several blocks
    ASSERT_EQ(bytes.size(), 100000u * kLongLineaColumna);
    EscribeBytes(e.dir() / "RED0302.TBX", bytes + "X1X1X1X1X1X1X1X\r\n");  // the last line without quotes
    EscribeBytes(e.dir() / "RED0303.TBX", "");
    fs::create_directory(e.dir() / "RED0305.TBX");
    LectorColumnas lector, vacio, falta, carpeta;
    ASSERT_EQ(lector.Abre(e.dir() / "RED0302.TBX"), 0);
    std::string_view col;
    int k = 0;
    for (; k < 100000 && lector.Siguiente(col); ++k) ASSERT_EQ(col, std::string(15, "1X2"[k % 3])) << k;
    EXPECT_EQ(k, 100000);
    EXPECT_TRUE(lector.Siguiente(col) && col == "X1X1X1X1X1X1X1X");
    EXPECT_FALSE(lector.Siguiente(col));
    EXPECT_EQ(lector.Error(), 0);
    ASSERT_EQ(vacio.Abre(e.dir() / "RED0303.TBX"), 0);
    EXPECT_FALSE(vacio.Siguiente(col));
    EXPECT_EQ(falta.Abre(e.dir() / "RED0304.TBX"), 53);
    EXPECT_FALSE(falta.Siguiente(col));
    EXPECT_NE(carpeta.Abre(e.dir() / "RED0305.TBX"), 0);
    EXPECT_FALSE(carpeta.Siguiente(col));
}

}  // namespace
}  // namespace tobal
