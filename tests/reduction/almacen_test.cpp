#include <gtest/gtest.h>

#include "Soporte.h"
#include "app/ErrorFichero.h"
#include "reduction/Almacen.h"

namespace tobal {
namespace {

using namespace prueba;

// A reduction by the error-window method with every kind of match.
Reduccion Ejemplo(int j = 3, int o = 2) {
    Reduccion r;
    r.Jornada = static_cast<int16_t>(j);
    r.Orden = static_cast<int16_t>(o);
    r.Metodo = 2;
    r.MinErrores = 5;
    r.MaxErrores = 12;
    r.ApuestasDirectas = 4782969;
    r.ApuestasReducidas = 81;
    for (int i = 1; i <= 15; ++i) {
        Partido& p = r.Partidos[i];
        p.Signo = {0, 1, static_cast<int16_t>(i % 2), static_cast<int16_t>(i <= 14 && i % 3 == 0)};
        p.NumSignos = static_cast<int16_t>(p.Signo[1] + p.Signo[2] + p.Signo[3]);
        p.AReducir = p.NumSignos > 1;
        p.SignoBase = static_cast<int16_t>(i % 4);
    }
    return r;
}

std::string Bases(const EstadoPrueba& e) { return Bytes(e.dir() / "BASES.TBX"); }

TEST(Almacen, Registro) {
    EXPECT_EQ(FicheroRed(1, 1), "RED0101.TBX");
    EXPECT_EQ(FicheroRed(12, 30), "RED1230.TBX");
    EXPECT_EQ(RegistroLibre(), "0000" + std::string(126, ' '));

    const Reduccion r = Ejemplo();
    const std::string reg = RegistroBase(r);
    ASSERT_EQ(reg.size(), 130u);
    EXPECT_EQ(reg.substr(0, 29), "03022 512 0 0 04782969     81");
    EXPECT_EQ(reg.substr(29, 12), "110211100102");  // matches 1 and 2
    EXPECT_EQ(reg.substr(41, 6), "111313");          // match 3: a triple
    EXPECT_EQ(reg.substr(119), std::string(11, ' '));
    EXPECT_EQ(DecodificaRegistroBase(reg), r);
    EXPECT_EQ(DecodificaRegistroBase(reg + "basura al final"), r);
    EXPECT_EQ(ClaveRegistro(reg), "0302");
    EXPECT_EQ(ClaveRegistro("03"), "03  ");

    // Damaged records are refused, never decoded into other numbers.
    std::string letras = reg;
    letras[40] = 'A';
    EXPECT_FALSE(DecodificaRegistroBase(letras).has_value());
    letras = reg;
    letras[17] = 'x';
    EXPECT_FALSE(DecodificaRegistroBase(letras).has_value());
    EXPECT_FALSE(DecodificaRegistroBase(reg.substr(0, 60)).has_value());
    EXPECT_FALSE(DecodificaRegistroBase("").has_value());

    EXPECT_EQ(LineasBases(reg + "\r\n" + RegistroLibre() + "\r\n"),
              (std::vector<std::string>{reg, RegistroLibre()}));
    EXPECT_EQ(LineasBases("0301\r\n" + reg + "xyz"),
              (std::vector<std::string>{"0301" + std::string(126, ' '), reg}));
    EXPECT_TRUE(LineasBases("").empty());
}

TEST(Almacen, GrabaBuscaCargaYLibera) {
    EstadoPrueba e;
    e.st.ReduccionActual = Ejemplo(3, 2);
    ASSERT_EQ(GrabaReduccion(e.st), 0);
    EXPECT_EQ(Bases(e), RegistroBase(Ejemplo(3, 2)) + "\r\n");
    for (auto [j, o] : {std::pair{4, 1}, {5, 1}}) {
        e.st.ReduccionActual = Ejemplo(j, o);
        ASSERT_EQ(GrabaReduccion(e.st), 0);
    }
    ASSERT_EQ(Bases(e).size(), 3u * 132);

    EXPECT_TRUE(ExisteReduccion(e.st, 4, 1));
    EXPECT_EQ(e.st.NumRegistro, 2);
    EXPECT_FALSE(ExisteReduccion(e.st, 4, 2));
    EXPECT_EQ(e.st.NumRegistro, 3);
    EXPECT_FALSE(ExisteReduccion(e.st, 0, 0));

    e.st.ReduccionActual.Jornada = 3;
    e.st.ReduccionActual.Orden = 2;
    e.st.ReduccionActual.Metodo = 1;
    CargaReduccion(e.st);
    EXPECT_EQ(e.st.ReduccionActual, Ejemplo(3, 2));

    // Freeing record 2: the next new reduction takes its place.
    BorraReduccion(e.st, 4, 1);
    std::string b = Bases(e);
    EXPECT_EQ(b.substr(132, 132), RegistroLibre() + "\r\n");
    EXPECT_TRUE(ExisteReduccion(e.st, 0, 0));
    EXPECT_EQ(e.st.NumRegistro, 2);
    e.st.ReduccionActual = Ejemplo(7, 30);
    ASSERT_EQ(GrabaReduccion(e.st), 0);
    b = Bases(e);
    ASSERT_EQ(b.size(), 3u * 132);
    EXPECT_EQ(b.substr(132, 130), RegistroBase(Ejemplo(7, 30)));

    // Saving again overwrites in place; unused parameters are cleared.
    Reduccion r = Ejemplo(7, 30);
    r.Metodo = 1;
    r.Signos = {0, 5, 5, 4};
    e.st.ReduccionActual = r;
    ASSERT_EQ(GrabaReduccion(e.st), 0);
    EXPECT_EQ(e.st.ReduccionActual.MinErrores, 0);
    EXPECT_EQ(e.st.ReduccionActual.Signos[1], 0);
    b = Bases(e);
    ASSERT_EQ(b.size(), 3u * 132);
    EXPECT_EQ(b.substr(132, 29), "07301 0 0 0 0 04782969     81");
    e.st.ReduccionActual.Metodo = 3;
    e.st.ReduccionActual.Signos = {0, 5, 5, 4};
    e.st.ReduccionActual.MaxErrores = 2;
    ASSERT_EQ(GrabaReduccion(e.st), 0);
    EXPECT_EQ(Bases(e).substr(132, 15), "07303 0 0 5 5 4");
    EXPECT_TRUE(e.mensajes.mensajes.empty());
}

TEST(Almacen, RegistrosRepetidos) {
    EstadoPrueba e;
    Reduccion otra = Ejemplo(3, 2);
    otra.ApuestasReducidas = 9;
    EscribeBytes(e.dir() / "BASES.TBX", RegistroBase(Ejemplo(1, 1)) + "\r\n" + RegistroBase(Ejemplo(3, 2)) +
                                            "\r\n" + RegistroBase(otra) + "\r\n");
    EXPECT_TRUE(ExisteReduccion(e.st, 3, 2));
    EXPECT_EQ(e.st.NumRegistro, 2);
    e.st.ReduccionActual.Jornada = 3;
    e.st.ReduccionActual.Orden = 2;
    CargaReduccion(e.st);
    EXPECT_EQ(e.st.ReduccionActual.ApuestasReducidas, 81);
    BorraReduccion(e.st, 3, 2);
    EXPECT_EQ(Bases(e), RegistroBase(Ejemplo(1, 1)) + "\r\n" + RegistroLibre() + "\r\n" + RegistroLibre() + "\r\n");
}

TEST(Almacen, SinFicheroDeBases) {
    EstadoPrueba e;
    e.st.ReduccionActual = Ejemplo(3, 2);
    e.st.ReduccionActual.Metodo = 3;
    CargaReduccion(e.st);
    ASSERT_EQ(e.mensajes.mensajes.size(), 1u);
    EXPECT_EQ(e.mensajes.mensajes[0], "No se encuentra el fichero BASES.TBX. Se va a proceder a crearlo.");
    const Reduccion& r = e.st.ReduccionActual;
    EXPECT_EQ(r.Metodo, 3);
    EXPECT_EQ(r.MinErrores + r.MaxErrores + r.Signos[1] + r.Signos[2] + r.Signos[3], 0);
    EXPECT_EQ(r.ApuestasDirectas, 1);
    EXPECT_EQ(r.ApuestasReducidas, 1);
    for (int i = 1; i <= 15; ++i) EXPECT_EQ(r.Partidos[i], (Partido{{0, 1, 0, 0}, 1, 0, 0})) << i;

    e.mensajes.mensajes.clear();
    EXPECT_FALSE(ExisteReduccion(e.st, 3, 2));
    EXPECT_EQ(e.mensajes.mensajes, (std::vector<std::string>{TextoErrorFichero(Op::EEB, 53)}));
    e.mensajes.mensajes.clear();
    BorraReduccion(e.st, 3, 2);
    EXPECT_EQ(e.mensajes.mensajes, (std::vector<std::string>{"No se encuentra el fichero BASES.TBX"}));
    EXPECT_FALSE(fs::exists(e.dir() / "BASES.TBX"));
}

TEST(Almacen, LineasDanadasNoSePierden) {
    // A short line, a long one and one with letters where digits belong: the
    // store works around them and every stored record keeps its bytes.
    EstadoPrueba e;
    const std::string corta = "0101", larga = RegistroBase(Ejemplo(2, 1)) + "XYZ";
    std::string letras = RegistroBase(Ejemplo(6, 1));
    letras.replace(15, 7, "  abc  ");
    EscribeBytes(e.dir() / "BASES.TBX", corta + "\r\n" + larga + "\r\n" + letras + "\r\n" +
                                            RegistroBase(Ejemplo(3, 2)) + "\r\n");
    EXPECT_TRUE(ExisteReduccion(e.st, 3, 2));
    EXPECT_TRUE(ExisteReduccion(e.st, 2, 1));

    e.st.ReduccionActual.Jornada = 6;
    e.st.ReduccionActual.Orden = 1;
    e.st.ReduccionActual.Metodo = 2;
    CargaReduccion(e.st);  // the damaged record: reported, never half-loaded
    EXPECT_FALSE(e.mensajes.mensajes.empty());
    EXPECT_EQ(e.st.ReduccionActual.ApuestasDirectas, 1);

    BorraReduccion(e.st, 3, 2);
    EXPECT_FALSE(ExisteReduccion(e.st, 3, 2));
    e.st.ReduccionActual = Ejemplo(9, 9);
    EXPECT_EQ(GrabaReduccion(e.st), 0);
    e.st.ReduccionActual = Ejemplo(2, 1);
    e.st.ReduccionActual.ApuestasReducidas = 27;
    EXPECT_EQ(GrabaReduccion(e.st), 0);

    const auto lineas = LineasBases(Bases(e));
    const std::vector<std::string> claves = [&] {
        std::vector<std::string> c;
        for (const auto& l : lineas) c.push_back(ClaveRegistro(l));
        return c;
    }();
    EXPECT_EQ(std::count(claves.begin(), claves.end(), "0101"), 1);
    EXPECT_EQ(std::count(claves.begin(), claves.end(), "0601"), 1);
    EXPECT_EQ(std::count(claves.begin(), claves.end(), "0909"), 1);
    EXPECT_EQ(std::count(claves.begin(), claves.end(), "0201"), 1);
    EXPECT_EQ(std::count(claves.begin(), claves.end(), "0302"), 0);
    e.st.ReduccionActual.Jornada = 2;
    e.st.ReduccionActual.Orden = 1;
    CargaReduccion(e.st);
    EXPECT_EQ(e.st.ReduccionActual.ApuestasReducidas, 27);
    e.st.ReduccionActual.Jornada = 9;
    e.st.ReduccionActual.Orden = 9;
    CargaReduccion(e.st);
    EXPECT_EQ(e.st.ReduccionActual, Ejemplo(9, 9));
    EXPECT_EQ(Bases(e).rfind(corta + "\r\n", 0), 0u);
    EXPECT_NE(Bases(e).find("\r\n" + letras + "\r\n"), std::string::npos);
}

TEST(Almacen, FicheroQueNoSePuedeUsar) {
    EstadoPrueba e;
    fs::create_directory(e.dir() / "BASES.TBX");
    EXPECT_FALSE(ExisteReduccion(e.st, 3, 2));
    ASSERT_EQ(e.mensajes.mensajes.size(), 1u);
    EXPECT_EQ(e.mensajes.mensajes[0].rfind("EEB ERROR ", 0), 0u) << e.mensajes.mensajes[0];
    e.st.ReduccionActual = Ejemplo(3, 2);
    EXPECT_NE(GrabaReduccion(e.st), 0);
    BorraReduccion(e.st, 3, 2);
    EXPECT_EQ(e.mensajes.mensajes.back().rfind("BRB ERROR ", 0), 0u);
    EXPECT_TRUE(fs::is_directory(e.dir() / "BASES.TBX"));

    // A data folder under a regular file fails for root too.
    EstadoPrueba f;
    EscribeBytes(f.dir() / "fichero", "x");
    f.st.DirDatos = f.dir() / "fichero";
    f.st.ReduccionActual = Ejemplo(3, 2);
    EXPECT_NE(GrabaReduccion(f.st), 0);
    EXPECT_FALSE(ExisteReduccion(f.st, 3, 2));
    EXPECT_EQ(f.mensajes.mensajes.back().rfind("EEB ERROR 76", 0), 0u);
}

TEST(Almacen, LectorDeColumnas) {
    EstadoPrueba e;
    const fs::path f = e.dir() / FicheroRed(3, 2);
    std::string bytes;
    const int n = 100000;  // more than one block
    for (int k = 0; k < n; ++k) {
        std::string c(15, '1');
        c[k % 15] = "X2"[k % 2];
        bytes += LineaColumna(c);
    }
    bytes += "X1X1X1X1X1X1X1X\r\n";  // a line without quotes
    EscribeBytes(f, bytes);
    EXPECT_EQ(LineaColumna("111111111111111"), "\"111111111111111\"\r\n");
    EXPECT_EQ(bytes.size(), static_cast<size_t>(n) * kLongLineaColumna + 17);

    LectorColumnas lector;
    ASSERT_EQ(lector.Abre(f), 0);
    std::string_view col;
    int k = 0;
    std::string ultima;
    while (lector.Siguiente(col)) {
        if (k < n) {
            ASSERT_EQ(col, bytes.substr(static_cast<size_t>(k) * 19 + 1, 15)) << k;
        }
        ultima = std::string(col);
        ++k;
    }
    EXPECT_EQ(k, n + 1);
    EXPECT_EQ(ultima, "X1X1X1X1X1X1X1X");
    EXPECT_EQ(lector.Error(), 0);

    EscribeBytes(e.dir() / "RED0303.TBX", "");
    LectorColumnas vacio;
    ASSERT_EQ(vacio.Abre(e.dir() / "RED0303.TBX"), 0);
    EXPECT_FALSE(vacio.Siguiente(col));

    LectorColumnas falta;
    EXPECT_EQ(falta.Abre(e.dir() / "RED0304.TBX"), 53);
    EXPECT_FALSE(falta.Siguiente(col));
    fs::create_directory(e.dir() / "RED0305.TBX");
    LectorColumnas carpeta;
    EXPECT_NE(carpeta.Abre(e.dir() / "RED0305.TBX"), 0);
    EXPECT_FALSE(carpeta.Siguiente(col));
}

}  // namespace
}  // namespace tobal
