// The conditions file of a stored reduction: loaded with its record, and
// written, replaced and removed together with its columns file, also by a
// change killed at any step.

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <map>

#include "Soporte.h"
#include "app/Archivo.h"
#include "reduction/Almacen.h"
#include "reduction/Condiciones.h"

namespace tobal {
namespace {

using namespace prueba;

Condiciones Condicion(const std::string& texto) {
    Condiciones cs;
    EXPECT_FALSE(LeeTextoCondiciones(texto, cs).has_value()) << texto;
    return cs;
}

std::map<std::string, std::string> Contenido(const fs::path& d) {
    std::map<std::string, std::string> c;
    for (const std::string& f : Ficheros(d)) c[f] = Bytes(d / f);
    return c;
}

// What loading a reduction gives for each state of its conditions file; a
// file that does not read is reported by name and line, the record is still
// loaded, and every reader of the columns refuses it with the same words.
TEST(AlmacenCondiciones, SeCarganConSuRegistro) {
    EstadoPrueba e;
    GrabaReduccionPrueba(e.st, 3, 2, 4);
    const fs::path con = e.dir() / "RED0302.CON";
    struct Caso {
        std::string bytes;  // "" for no file, "/" for a folder
        std::string cargadas, mensaje;
    };
    const Caso casos[] = {
        {"", "fallos 0\r\n", ""},
        {"x 2-5\n\r\n2 0-3 PARTIDOS 1-7\nfallos 1", "X 2-5\r\n2 0-3 partidos 1-7\r\nfallos 1\r\n", ""},
        {"X 2-5\r\nseguidos 9-3\r\n", "fallos 0\r\n",
         "El fichero de condiciones RED0302.CON está dañado, línea 2 (\"seguidos 9-3\"): "},
        {"/", "fallos 0\r\n", "No se puede leer el fichero de condiciones RED0302.CON (error "}};
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.bytes);
        fs::remove(con);
        if (c.bytes == "/")
            fs::create_directory(con);
        else if (!c.bytes.empty())
            EscribeBytes(con, c.bytes);
        e.mensajes.mensajes.clear();
        e.st.CondicionesActuales = Condicion("1 3");  // whatever an earlier reduction had
        e.st.Jornada() = 3, e.st.Orden() = 2;
        CargaReduccion(e.st);
        EXPECT_EQ(e.st.ReduccionActual.ApuestasReducidas, 4);
        EXPECT_EQ(TextoFicheroCondiciones(e.st.CondicionesActuales), c.cargadas);
        std::string rechazo;
        const int error = CompruebaColumnasReduccion(e.st, 3, 2, rechazo);
        EXPECT_EQ(e.st.ErrorFichero, error);
        if (c.mensaje.empty()) {
            EXPECT_TRUE(e.mensajes.mensajes.empty() && rechazo.empty());
            continue;
        }
        ASSERT_EQ(e.mensajes.mensajes.size(), 1u);
        EXPECT_EQ(e.mensajes.mensajes[0], "LFB: " + rechazo);
        EXPECT_TRUE(rechazo.rfind(c.mensaje, 0) == 0 &&
                    Contiene(rechazo, "No se puede usar la reducción sin saber sus condiciones."))
            << rechazo;
        EXPECT_TRUE(c.bytes == "/" || error == kErrorCondiciones);
    }
    // A conditions file that no record names is nobody's.
    EscribeBytes(e.dir() / "RED0309.CON", "X 2-5\r\n");
    e.st.Orden() = 9;
    CargaReduccion(e.st);
    EXPECT_TRUE(e.st.CondicionesActuales.lista.empty());
    EXPECT_EQ(e.st.ErrorFichero, 0);
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
            const std::string id = ".999999-1";
            std::vector<std::string> columnas;
            for (int n = 1; n <= 3; ++n) columnas.push_back(ColumnaPrueba(n));
            EscribeBytes(e.dir() / ("RED1203.TBX" + id + kFinTemporal), FicheroColumnas(columnas));
            e.st.ReduccionActual.Jornada = 12, e.st.ReduccionActual.Orden = 3;
            e.st.ReduccionActual.ApuestasReducidas = 3;
            e.st.CondicionesActuales = Condicion(f.despues);
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
                ::_exit(::chdir(e.dir().c_str()) == 0 ? InstalaReduccion(e.st, id) : 99);
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
            EXPECT_EQ(Bytes(e.dir() / "RED1203.TBX"), FicheroColumnas(columnas));
            EXPECT_EQ(fs::exists(e.dir() / "RED1203.CON"), *f.despues != 0);
            EXPECT_EQ(Bytes(e.dir() / "RED1203.CON"), f.despues);
            EXPECT_EQ(e.st.CondicionesActuales, Condicion(f.despues));
            EXPECT_TRUE(e.mensajes.mensajes.empty());
        }
    }
}

}  // namespace
}  // namespace tobal
