#include <gtest/gtest.h>

#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fcntl.h>
#include <cerrno>
#include <cstdlib>

#include "Soporte.h"
#include "app/Archivo.h"
#include "app/Cerrojo.h"
#include "app/DirDatos.h"
#include "app/ErrorFichero.h"
#include "app/Formato.h"
#include "app/Texto.h"

namespace tobal {
namespace {

using namespace prueba;

// In-place writes, appends and reads are driven byte for byte by the store and matchday tests.
TEST(Archivo, EscrituraAtomicaYBloques) {
    CarpetaTemporal c;
    const fs::path f = c / "BASES.TBX", d = c / "JORNADAS.TBX";
    EscribeBytes(f, "viejo");
    ::chmod(f.c_str(), 0604);  // a rewrite keeps the file's permissions: a private list stays so
    ASSERT_EQ(EscribeFicheroAtomico(f, std::string("x\0\xE1\r\n", 5)), 0);
    EXPECT_EQ(Bytes(f), std::string("x\0\xE1\r\n", 5));
    EXPECT_EQ(fs::status(f).permissions(), static_cast<fs::perms>(0604));
    fs::create_directory(d);  // a data file that is a folder, for root too
    EXPECT_NE(EscribeFicheroAtomico(d, "x"), 0);
    EXPECT_TRUE(fs::is_directory(d));
    EXPECT_EQ(Ficheros(c.ruta()).size(), 2u);  // no temporary file left
    {
        // The disk fills up while the temporary file is being written: the
        // old file stays whole and no temporary file is left.
        LimiteTamanoFicheros limite(64);
        EXPECT_EQ(EscribeFicheroAtomico(f, std::string(100, 'y')), Err::DiscoLleno);
    }
    EXPECT_EQ(Bytes(f), std::string("x\0\xE1\r\n", 5));
    EXPECT_EQ(Ficheros(c.ruta()).size(), 2u);
    EscritorBloques w;
    ASSERT_EQ(w.Abre(f, 4), 0);
    w.Escribe("ab");
    w.Escribe("cdefghij");  // larger than the block
    EXPECT_EQ(w.Cierra(), 0);
    EXPECT_EQ(Bytes(f), "abcdefghij");
    EXPECT_NE(w.Abre(d), 0);
    EXPECT_NE(w.Cierra(), 0);
}

// One policy for a link under a data file's name: every write follows it (a
// whole-file rewrite too, so the link stays a link), and a dangling link is
// an error for reads and writes that never creates its target.
TEST(Archivo, EnlacesSimbolicos) {
    CarpetaTemporal c, fuera;
    EscribeBytes(fuera / "real", "viejo");
    fs::create_symlink(fuera / "real", c / "BASES.TBX");
    ASSERT_EQ(EscribeFicheroAtomico(c / "BASES.TBX", "nuevo"), 0);
    EXPECT_TRUE(fs::is_symlink(c / "BASES.TBX"));
    EXPECT_EQ(Bytes(fuera / "real"), "nuevo");
    const fs::path f = c / "JORNADAS.TBX";
    fs::create_symlink(fuera / "falta", f);
    std::string datos;
    EscritorBloques escritor;
    EXPECT_EQ(LeeFichero(f, datos), 75);
    EXPECT_EQ(EscribeFicheroAtomico(f, "x"), 75);
    EXPECT_EQ(EscribeEnPosicion(f, 0, "x"), 75);
    EXPECT_EQ(AnexaFichero(f, "x"), 75);
    EXPECT_EQ(escritor.Abre(f), 75);
    EXPECT_EQ(Ficheros(fuera.ruta()), std::vector<std::string>{"real"});  // no temporary file either
    EXPECT_EQ(Ficheros(c.ruta()).size(), 2u);
}

// Only regular files are data files: a FIFO (no writer, then a writer that
// never writes) and a link to a device are refused at once by every operation,
// in a child process that an operation waiting for ever fails after 5 s.
TEST(Archivo, SoloFicherosRegulares) {
    CarpetaTemporal c;
    ASSERT_EQ(::mkfifo((c / "BASES.TBX").c_str(), 0600), 0);
    fs::create_symlink("/dev/null", c / "JORNADAS.TBX");
    for (const char* nombre : {"BASES.TBX", "JORNADAS.TBX"}) {
        SCOPED_TRACE(nombre);
        const fs::path f = c / nombre;
        EnHijo([&] {
            ::alarm(5);
            std::string datos;
            int error = 0;
            LectorBloques lector;
            EscritorBloques escritor;
            EXPECT_TRUE(LeeFichero(f, datos) == 75 && LeeEnPosicion(f, 0, 19, datos) == 75 &&
                        lector.Abre(f) == 75 && AnexaFichero(f, "x") == 75 &&
                        EscribeEnPosicion(f, 0, "x") == 75 && TamanoFichero(f, error) == -1 && error == 75 &&
                        escritor.Abre(f) == 75);
        });
    }
    // A writer holding the FIFO open does not make it a file either.
    const int escritor = ::open((c / "BASES.TBX").c_str(), O_RDWR | O_NONBLOCK);
    EnHijo([&] {
        ::alarm(5);
        std::string datos;
        EXPECT_EQ(LeeFichero(c / "BASES.TBX", datos), 75);
    });
    ::close(escritor);
}

// An unusable lock file never turns locking off. A folder under its name
// refuses both locks; another user's file that may be read but not written
// still serves flock (the folder's lock) but not the key locks. A lock file
// a user creates is one every user of a shared folder can take.
TEST(Cerrojo, FicheroDeBloqueoInutilizableNoDesactivaElBloqueo) {
    CarpetaTemporal carpeta, ajeno, compartida;
    fs::create_directory(carpeta / kFicheroCerrojo);
    const bool otroUsuario = EsRoot();  // the child below is then nobody
    EscribeBytes(ajeno / kFicheroCerrojo, "");
    fs::permissions(ajeno / kFicheroCerrojo, fs::perms::owner_read | fs::perms::owner_write |
                                                 fs::perms::group_read | fs::perms::others_read);
    for (const CarpetaTemporal* c : {&ajeno, &compartida}) fs::permissions(c->ruta(), fs::perms::all);
    ComoUsuarioSinPrivilegios([&] {
        const std::tuple<fs::path, int, int> casos[] = {{carpeta.ruta(), 77, 77}, {ajeno.ruta(), 0, 77}};
        for (const auto& [d, errorCarpeta, errorClave] : casos) {
            if (d == ajeno.ruta() && !otroUsuario) continue;
            SCOPED_TRACE(d);
            EXPECT_EQ(Cerrojo(d).Error(), errorCarpeta);
            Cerrojo clave(d, 1201);
            EXPECT_EQ(clave.Error(), errorClave);
            EXPECT_FALSE(clave.Ocupado());
            EXPECT_FALSE(ClaveLibre(d, 1201));  // its temporary files are left alone
        }
        ::umask(077);
        EXPECT_EQ(Cerrojo(compartida.ruta()).Error(), 0);
        struct stat s {};
        ASSERT_EQ(::stat((compartida / kFicheroCerrojo).c_str(), &s), 0);
        EXPECT_EQ(s.st_mode & 0777, 0666u);
    });
}

// The reports that carry meaning beyond their wording: which numbers stay
// silent, and which errors never pass for "not found".
TEST(ErrorFichero, SilenciososYNumerosDeSistema) {
    EstadoPrueba e;
    InformaErrorFichero(e.st, Op::Abre("X.TBX"), 53);
    EXPECT_EQ(e.st.ErrorFichero, 53);
    EXPECT_TRUE(e.mensajes.mensajes.empty());
    EXPECT_EQ(TextoErrorFichero(Op::Abre("RED0301.TBX"), 76),
              "RED0301.TBX ERROR 76: no se encuentra la carpeta");
    // Every number the program can show says what it means.
    for (int n = 1; n < 100; ++n) {
        const std::string t = TextoErrorFichero(Op::LJO, n);
        EXPECT_TRUE(n == 6 || n == 53 || t.size() > t.find(": ") + 4) << t;
    }
    for (int n : {EACCES, EROFS, ENOSPC, EIO, EISDIR})
        EXPECT_TRUE(NumeroErrorErrno(n) != 0 && NumeroErrorErrno(n) != 6 && NumeroErrorErrno(n) != 53) << n;
    EXPECT_EQ(ErrorApertura(e.dir() / "NOHAY.TBX", ENOENT), 53);
    EXPECT_EQ(ErrorApertura(e.dir() / "nohay" / "NOHAY.TBX", ENOENT), 76);
}

// The locks probed from outside while held: the folder's excludes every other
// taker, readers too; a key's excludes any other lock on its byte and no other
// key. No timing involved: the probes never wait.
TEST(Cerrojo, ExcluyeMientrasSeTiene) {
    CarpetaTemporal c;
    const auto sonda = [&](auto&& toma) {
        const int fd = ::open((c / kFicheroCerrojo).c_str(), O_RDWR | O_CLOEXEC);
        const bool tomado = fd >= 0 && toma(fd);
        ::close(fd);
        return tomado;
    };
    const auto byte = [&](int clave) {
        return sonda([clave](int fd) {
            struct flock fl {};
            fl.l_type = F_RDLCK, fl.l_whence = SEEK_SET, fl.l_start = clave, fl.l_len = 1;
            return ::fcntl(fd, F_OFD_SETLK, &fl) == 0;
        });
    };
    const auto carpeta = [&] { return sonda([](int fd) { return ::flock(fd, LOCK_SH | LOCK_NB) == 0; }); };
    {
        Cerrojo dir(c.ruta());
        ASSERT_EQ(dir.Error(), 0);
        EXPECT_FALSE(carpeta());
        EXPECT_TRUE(byte(701));
    }
    EXPECT_TRUE(carpeta());
    {
        Cerrojo clave(c.ruta(), 701);
        ASSERT_FALSE(clave.Ocupado());
        EXPECT_FALSE(byte(701));
        EXPECT_TRUE(byte(702) && carpeta());
        EXPECT_FALSE(ClaveLibre(c.ruta(), 701));
    }
    EXPECT_TRUE(byte(701) && ClaveLibre(c.ruta(), 701));
}

// A program folder holding five of the data files (their names as content)
// and one file that is not a data file.
struct Programa {
    CarpetaTemporal raiz;
    fs::path prog = raiz / "prog", trabajo = raiz / "usuario" / "Tobal31" / "";
    const std::vector<std::string> presentes{"BASES.TBX", "DATOSGEN.TBX", "JORNADAS.TBX", "RED0101.TBX",
                                             "RED0402.TBX"};
    Programa() {
        fs::create_directory(prog);
        for (const auto& n : presentes) EscribeBytes(prog / n, n);
        EscribeBytes(prog / "RED0501.TBX", "otro");
    }
    fs::path Prepara() {
        Estado st;
        st.DirPrograma = prog;
        PreparaDirDatos(st, trabajo);
        return st.DirDatos;
    }
};

// The program's folder while it can be written, else the per-user one, filled
// once. An installed program keeps its data in the per-user folder even where
// it could write beside its executable (root's /usr/bin); lookalike folders
// are not system ones.
TEST(DirDatos, CarpetaDelProgramaODelUsuario) {
    Programa p;
    EXPECT_EQ(p.Prepara(), p.prog);
    EXPECT_FALSE(fs::exists(p.prog / "CSCD.WRK") || fs::exists(p.trabajo));
    fs::create_directory(p.prog / "CSCD.WRK");  // the probe fails, for root too
    EXPECT_EQ(p.Prepara(), p.trabajo);
    for (const auto& n : p.presentes) EXPECT_EQ(Bytes(p.trabajo / n), n) << n;
    EXPECT_EQ(Ficheros(p.trabajo).size(), 5u);  // not RED0501.TBX
    // A later start keeps the user's changes, even with new program files.
    EscribeBytes(p.trabajo / "DATOSGEN.TBX", "cambiado");
    fs::remove(p.trabajo / "BASES.TBX");
    EscribeBytes(p.prog / "EQUIPOS.TBX", "nuevo");
    EXPECT_EQ(p.Prepara(), p.trabajo);
    EXPECT_EQ(Bytes(p.trabajo / "DATOSGEN.TBX"), "cambiado");
    EXPECT_FALSE(fs::exists(p.trabajo / "BASES.TBX") || fs::exists(p.trabajo / "EQUIPOS.TBX"));
    // The work folder under a regular file: no crash, nothing touched.
    EscribeBytes(p.raiz / "fichero", "x");
    p.trabajo = p.raiz / "fichero" / "trabajo" / "";
    EXPECT_EQ(p.Prepara(), p.trabajo);
    EXPECT_EQ(Bytes(p.raiz / "fichero"), "x");

    for (const char* sistema : {"/usr/bin", "/usr/local/bin", "/opt/tobal31/bin"})
        EXPECT_TRUE(BajoPrefijoDelSistema(sistema)) << sistema;
    for (const char* parecida : {"/usr/../tmp", "/usrx/bin", "/optativo"})
        EXPECT_FALSE(BajoPrefijoDelSistema(parecida)) << parecida;
    p.prog = "/usr/bin";
    p.trabajo = p.raiz / "instalado" / "";
    EXPECT_EQ(p.Prepara(), p.trabajo);
    EXPECT_TRUE(fs::is_directory(p.trabajo));
    EXPECT_FALSE(fs::exists("/usr/bin/CSCD.WRK"));
    // The per-user folder, ending in a separator.
    ::setenv("XDG_DATA_HOME", p.raiz.ruta().c_str(), 1);
    EXPECT_EQ(DirTrabajo(), p.raiz / "Tobal31" / "");
    ::unsetenv("XDG_DATA_HOME");
    ::setenv("HOME", p.raiz.ruta().c_str(), 1);
    EXPECT_EQ(DirTrabajo(), p.raiz / ".local" / "share" / "Tobal31" / "");
}

TEST(Texto, Windows1252YUtf8YNumeros) {
    EXPECT_EQ(Cp1252AUtf8("Selecci\xF3n \x80 \xD1 \x81"), "Selección € Ñ \xEF\xBF\xBD");  // 0x81 is undefined
    bool perdida = false;
    for (int b = 1; b < 256; ++b) {  // every defined byte survives the round trip
        const std::string s(1, static_cast<char>(b));
        if (b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D) continue;
        EXPECT_EQ(Utf8ACp1252(Cp1252AUtf8(s), &perdida), s) << b;
        EXPECT_FALSE(perdida);
    }
    EXPECT_EQ(Utf8ACp1252("Ωmega", &perdida), "?mega");
    EXPECT_TRUE(perdida);
    EXPECT_EQ(Utf8ACp1252("M\xE1laga a\xC3"), "M\xE1laga a\xC3");  // already Windows-1252, a cut sequence
    EXPECT_GT(ValEntero(std::string(40, '9')), 0);                 // no overflow into garbage
    EXPECT_EQ(EnteroEstricto(" -3 "), -3);
    for (const char* mal : {"", "  ", "12a", "1 2", "--1", "1.5", "99999999999999999999999"})
        EXPECT_FALSE(EnteroEstricto(mal).has_value()) << mal;
    EXPECT_DOUBLE_EQ(ValDecimal("1.2.3"), 1.2);  // up to the second point
    const Separadores es{'.', ','}, en{',', '.'};
    EXPECT_EQ(Formatea(1234567.891, "#,###,##0.00", es), "1.234.567,89");
    const std::tuple<double, const char*, const char*> casos[] = {
        {0.5, "##0.00", "0.50"},
        {0.125, "0.00", "0.13"} /* half away from zero */,
        {-0.001, "0.00", "0.00"},
        {-1234.5, "#,##0.0", "-1,234.5"}};
    for (const auto& [v, patron, texto] : casos)
        EXPECT_EQ(Formatea(v, patron, en), texto) << v << " " << patron;
}

}  // namespace
}  // namespace tobal
