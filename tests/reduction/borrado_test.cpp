// Deletion of everything stored for a range of matchdays: their records,
// their reductions in the store and their columns files.

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <optional>

#include "Soporte.h"
#include "data/Jornadas.h"
#include "reduction/Almacen.h"
#include "reduction/Borrado.h"

namespace tobal {
namespace {

using namespace prueba;
using Lista = std::vector<std::string>;

const auto Registro = RegistroJornadaPrueba;

TEST(Borrado, TextoDeConfirmacion) {
    const std::string inicio = "Se  va  a  proceder  a  la  eliminación  de  todos  los  datos";
    const std::string fin =
        " .  Si  desea  continuar  con  el  proceso,  pulse Borrar. Si desea cancelar el proceso, pulse "
        "Salir.";
    EXPECT_EQ(TextoConfirmacionBorrado(5, 5), inicio + " de la Jornada  5" + fin);
    EXPECT_EQ(TextoConfirmacionBorrado(3, 12),
              inicio + "  desde la  jornada   3  hasta  la  jornada 12  " + fin);
}

// Matchdays 1 to 5, reductions of matchdays 3 (one of them twice), 4, 13
// and 30, and columns and conditions files.
struct Carpeta : EstadoPrueba {
    std::string jornadas, bases;
    const Lista quedan{"RED0401.TBX", "RED3001.TBX", "RED3003.TBX",
                       "RED1303.TBX", "EQUIPOS.TBX", "RED0401.CON"};
    const Lista van{"RED0301.TBX", "RED0302.TBX", "RED0330.TBX", "RED0399.TBX", "RED0302.CON", "RED0399.CON"};
    Carpeta() {
        for (int j = 1; j <= 5; ++j) jornadas += Registro(j, "01/01/03");
        for (auto [j, o] : {std::pair{3, 1}, {4, 1}, {30, 1}, {3, 2}, {3, 30}, {30, 3}, {3, 1}, {13, 3}}) {
            Reduccion r;
            r.Jornada = static_cast<int16_t>(j), r.Orden = static_cast<int16_t>(o);
            bases += RegistroBase(r) + "\r\n";
        }
        EscribeBytes(dir() / "JORNADAS.TBX", jornadas);
        EscribeBytes(dir() / "BASES.TBX", bases);
        for (const auto& n : quedan) EscribeBytes(dir() / n, n);
        for (const auto& n : van) EscribeBytes(dir() / n, n);
    }
};

TEST(Borrado, UnaJornadaSinTocarLasDemas) {
    Carpeta c;
    const ResultadoBorrado r = BorraJornadas(c.st, 3, 3);
    EXPECT_EQ(r.ficheros, 4);
    EXPECT_TRUE(r.fallos.empty());
    EXPECT_EQ(Bytes(c.dir() / "JORNADAS.TBX"), c.jornadas.replace(2 * 533, 533, std::string(533, ' ')));
    for (int n : {0, 3, 4, 6}) c.bases.replace(n * 132, 130, RegistroLibre());  // every record of 3, in place
    EXPECT_EQ(Bytes(c.dir() / "BASES.TBX"), c.bases);
    for (const auto& n : c.van) EXPECT_FALSE(fs::exists(c.dir() / n)) << n;
    for (const auto& n : c.quedan) EXPECT_EQ(Bytes(c.dir() / n), n) << n;
    EXPECT_TRUE(c.mensajes.mensajes.empty());
    BorraJornadas(c.st, 1, 52);  // then all of them
    EXPECT_EQ(Bytes(c.dir() / "JORNADAS.TBX").substr(0, 5 * 533), std::string(5 * 533, ' '));
    for (int n : {1, 2, 5, 7}) c.bases.replace(n * 132, 130, RegistroLibre());
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
            EXPECT_TRUE(fs::is_directory(c.dir() / "RED0303.TBX"));
            EXPECT_EQ(Ficheros(c.dir()).size(), antes - (libera ? c.van.size() : 0));  // nothing left behind
        });
    }
}

// A deletion killed before it frees the records, or at its first file: the
// index never names a missing file, and the next use of the folder undoes
// the first (the files of records stay) and finishes the second.
std::string tPasoFatal;
TEST(Borrado, MatadaAMediasSeDeshaceOSeAcaba) {
    for (const std::string paso : {"liberar", "RED0301.TBX"}) {
        SCOPED_TRACE(paso);
        Carpeta c;
        std::string liberado = c.bases;
        for (int n : {0, 3, 4, 6}) liberado.replace(n * 132, 130, RegistroLibre());
        tPasoFatal = paso;
        const pid_t hijo = ::fork();
        if (hijo == 0) {
            gPasoBorrado = [](const std::string& p) {
                if (p == tPasoFatal) ::raise(SIGKILL);
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
