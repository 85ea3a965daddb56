#include <gtest/gtest.h>

#include <sys/stat.h>

#include "Soporte.h"
#include "app/ErrorFichero.h"
#include "data/DatosGen.h"

namespace tobal {
namespace {

using namespace prueba;

const std::string kDefecto = std::string(kLineaDatosGenDefecto) + "\r\n";
const std::string kCambiada = "12,\"15/03/03\",3,2,-5,7,0,-12,2,38,\"1.5 \",\"07\",\"00123\",\"No\"\r\n";

// Settings that differ from the defaults in every field (kCambiada).
void Cambia(Estado& st) {
    st.Jornada() = 12, st.Orden() = 3, st.Metodo() = 2;
    PonFechaJornada(st, "15/03/03");
    DatosGenerales& d = st.Datos;
    d.AjusteXHoja = -5, d.AjusteYHoja = 7, d.AjusteXContinuo = 0, d.AjusteYContinuo = -12;
    d.Orientacion = 2, d.TotJornadas = 38;
    PonPrecioApuesta(st, "1.5");
    PonDelegacion(st, "07");
    PonReceptor(st, "00123");
    PonSonido(st, "No");
}

// DATOSGEN.TBX holding `contenido`, read over the changed settings.
struct Lectura : EstadoPrueba {
    explicit Lectura(const std::string& contenido) {
        EscribeBytes(dir() / "DATOSGEN.TBX", contenido);
        Cambia(st);
        LeeDatosGen(st);
    }
    const std::vector<std::string>& m() const { return mensajes.mensajes; }
};

TEST(DatosGen, PrimerArranqueYVueltaCompleta) {
    EstadoPrueba e;
    Cambia(e.st);
    LeeDatosGen(e.st);
    EXPECT_EQ(e.mensajes.mensajes, std::vector<std::string>{TextoErrorFichero(Op::LDG, 53)});
    EXPECT_EQ(Bytes(e.dir() / "DATOSGEN.TBX"), kDefecto);
    EXPECT_EQ(LineaDatosGen(e.st), kDefecto);
    EXPECT_FLOAT_EQ(e.st.Datos.Precio, 0.3f);

    Cambia(e.st);
    ASSERT_EQ(GrabaDatosGen(e.st), 0);
    EXPECT_EQ(Bytes(e.dir() / "DATOSGEN.TBX"), kCambiada);
    EXPECT_EQ(std::distance(fs::directory_iterator(e.dir()), fs::directory_iterator()), 1);
    Lectura l(kCambiada);
    EXPECT_TRUE(l.m().empty());
    EXPECT_EQ(LineaDatosGen(l.st), kCambiada);
    EXPECT_FLOAT_EQ(l.st.Datos.Precio, 1.5f);
    EXPECT_FALSE(SonidoActivado(l.st));
}

TEST(DatosGen, CamposDeAnchoFijo) {
    Estado st;
    PonPrecioApuesta(st, "12.345");
    EXPECT_EQ(st.Datos.PrecioApuesta, "12.3");
    EXPECT_FLOAT_EQ(st.Datos.Precio, 12.3f);
    PonDelegacion(st, "7");
    EXPECT_EQ(st.Datos.Delegacion, "7 ");
    PonSonido(st, "SI");
    EXPECT_TRUE(SonidoActivado(st));
    EXPECT_FLOAT_EQ(ValorPrecio("    "), 0.0f);
    EXPECT_EQ(NormalizaPrecio(".5"), "0.5 ");
    EXPECT_EQ(NormalizaPrecio(".355"), "0.35");
    EXPECT_EQ(NormalizaPrecio("0.30"), "0.3 ");

    // Read from the file, texts are cut or padded to their widths too.
    Lectura l("2,\"01/10/03\",4,3,1,2,3,4,2,40,\"0.355\",\"123\",\"9876543\",\"Sonido\"\r\n");
    EXPECT_TRUE(l.m().empty());
    EXPECT_EQ(LineaDatosGen(l.st), "2,\"01/10/03\",4,3,1,2,3,4,2,40,\"0.35\",\"12\",\"98765\",\"So\"\r\n");
    EXPECT_FLOAT_EQ(l.st.Datos.Precio, 0.35f);
    Lectura c("2,\"01/10/03\",4,3,1,2,3,4,2,40,\"2\",\"1\",\"\",\"No\"\r\n");
    EXPECT_EQ(LineaDatosGen(c.st), "2,\"01/10/03\",4,3,1,2,3,4,2,40,\"2   \",\"1 \",\"     \",\"No\"\r\n");
}

TEST(DatosGen, FicheroIncompletoOMalFormado) {
    // Two fields and the end of the file: those two are read, the rest keep
    // their values, one message, and the file is not replaced.
    const std::string corto = "5,\"01/01/03\"\r\n";
    Lectura l(corto);
    EXPECT_EQ(l.st.Jornada(), 5);
    EXPECT_EQ(l.st.Datos.FechaJornada, "01/01/03");
    EXPECT_EQ(l.st.Orden(), 3);
    EXPECT_EQ(l.st.Datos.Receptor, "00123");
    EXPECT_FLOAT_EQ(l.st.Datos.Precio, 1.5f);
    ASSERT_EQ(l.m().size(), 1u);
    EXPECT_EQ(l.m()[0].rfind("LDG ERROR ", 0), 0u) << l.m()[0];
    EXPECT_EQ(Bytes(l.dir() / "DATOSGEN.TBX"), corto);
    Lectura vacio("");
    EXPECT_EQ(vacio.st.Jornada(), 12);
    EXPECT_EQ(vacio.m().size(), 1u);
    EXPECT_EQ(Bytes(vacio.dir() / "DATOSGEN.TBX"), "");

    // Letters where a number belongs: reported, the field keeps its value.
    Lectura x("x7,\"01/01/03\",2,1,0,0,0,0,1,42,\"0.3 \",\"00\",\"00000\",\"Si\"\r\n");
    EXPECT_EQ(x.st.Jornada(), 12);
    EXPECT_EQ(x.m().size(), 1u);
    // Beyond a 16-bit number: never wrapped around; the other fields read.
    Lectura g("70000,\"01/01/03\",2,1,0,0,0,0,1,42,\"0.3 \",\"00\",\"00000\",\"Si\"\r\n");
    EXPECT_EQ(g.st.Jornada(), 12);
    EXPECT_EQ(g.st.Orden(), 2);
    EXPECT_EQ(g.st.Datos.Sonido, "Si");
}

TEST(DatosGen, FicheroOCarpetaQueNoSePuedenUsar) {
    EstadoPrueba e;
    fs::create_directory(e.dir() / "DATOSGEN.TBX");
    LeeDatosGen(e.st);
    ASSERT_FALSE(e.mensajes.mensajes.empty());
    EXPECT_EQ(e.mensajes.mensajes[0].rfind("LDG ERROR ", 0), 0u) << e.mensajes.mensajes[0];
    EXPECT_NE(GrabaDatosGen(e.st), 0);
    EXPECT_TRUE(fs::is_directory(e.dir() / "DATOSGEN.TBX"));

    // A data folder under a regular file (fails for root too).
    EstadoPrueba f;
    EscribeBytes(f.dir() / "fichero", "x");
    f.st.DirDatos = f.dir() / "fichero" / "datos";
    LeeDatosGen(f.st);
    EXPECT_FALSE(f.mensajes.mensajes.empty());
    EXPECT_EQ(LineaDatosGen(f.st), kDefecto);
    EXPECT_NE(GrabaDatosGen(f.st), 0);
    EXPECT_EQ(Bytes(f.dir() / "fichero"), "x");
}

TEST(DatosGen, CarpetaDeSoloLecturaNoDiceQueLoHaCreado) {
    if (EsRoot()) GTEST_SKIP() << "root writes into read-only folders";
    EstadoPrueba e;
    ::chmod(e.dir().c_str(), 0555);
    LeeDatosGen(e.st);
    ::chmod(e.dir().c_str(), 0755);
    EXPECT_FALSE(fs::exists(e.dir() / "DATOSGEN.TBX"));
    EXPECT_EQ(e.mensajes.mensajes.size(), 2u);  // not found, and could not be created
}

TEST(DatosGen, FicheroIlegibleNoSeSobrescribe) {
    if (EsRoot()) GTEST_SKIP() << "root reads unreadable files";
    EstadoPrueba e;
    EscribeBytes(e.dir() / "DATOSGEN.TBX", kCambiada);
    ::chmod((e.dir() / "DATOSGEN.TBX").c_str(), 0);
    LeeDatosGen(e.st);
    ::chmod((e.dir() / "DATOSGEN.TBX").c_str(), 0644);
    ASSERT_EQ(e.mensajes.mensajes.size(), 1u);
    EXPECT_EQ(e.mensajes.mensajes[0].rfind("LDG ERROR ", 0), 0u);
    EXPECT_EQ(Bytes(e.dir() / "DATOSGEN.TBX"), kCambiada);  // the user's settings survive
}

}  // namespace
}  // namespace tobal
