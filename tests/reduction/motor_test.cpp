#include "reduction/Motor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <numeric>
#include <random>
#include <thread>

#include <sys/stat.h>
#include <unistd.h>

#include "Corrida.h"
#include "app/Cerrojo.h"
#include "reduction/Garantia.h"

namespace tobal {
namespace {

namespace fs = std::filesystem;
using prueba::Bytes;
using prueba::Corrida;
using prueba::kSignos;
using prueba::PrimerSigno;

using prueba::Contenido;

// Whether the method keeps a column, from the method's definition.
bool Conserva(const Reduccion& r, const std::string& c) {
    int errores = 0, cuenta[4] = {};
    for (int i = 1; i <= 14; ++i) {
        const Partido& p = r.Partidos[i];
        const char s = c[static_cast<size_t>(i - 1)];
        errores += p.SignoBase && s != kSignos[p.SignoBase - 1];
        if (p.AReducir) ++cuenta[1 + std::string_view(kSignos).find(s)];
    }
    if (r.Metodo == 1) return true;
    if (r.Metodo == 2) return errores >= r.MinErrores && errores <= r.MaxErrores;
    return cuenta[1] == r.Signos[1] && cuenta[2] == r.Signos[2] && cuenta[3] == r.Signos[3];
}

// The guarantee the plain way: every result against every column; the
// table and the smallest hits over the results that meet the conditions,
// and over all.
struct Enumeracion {
    std::array<int64_t, 5> porFila{};
    int64_t resultados = 0, fuera1 = 0;
    int minimo = 14, minimoBase = 14, minimoFuera1 = 14;
};

int Mejor(const std::string& resultado, const std::vector<std::string>& cols) {
    int mejor = 0;
    for (size_t k = 0; k < cols.size() && mejor < 14; ++k)
        mejor = std::max(mejor, 14 - prueba::Distancia(cols[k], resultado));
    return mejor;
}

Enumeracion Enumera(const Reduccion& r, const std::vector<std::string>& todas,
                    const std::vector<std::string>& cols, const Condiciones& cs) {
    Enumeracion en;
    for (const auto& t : todas) {
        const int h = Mejor(t, cols);
        en.minimoBase = std::min(en.minimoBase, h);
        // Each result outside on match i once: from the results inside
        // that take its first marked sign there.
        for (int i = 1; i <= 14; ++i) {
            const Partido& p = r.Partidos[i];
            if (t[static_cast<size_t>(i - 1)] != PrimerSigno(p)) continue;
            for (int s = 1; s <= 3; ++s) {
                if (p.Signo[s]) continue;
                std::string fuera = t;
                fuera[static_cast<size_t>(i - 1)] = kSignos[s - 1];
                ++en.fuera1;
                en.minimoFuera1 = std::min(en.minimoFuera1, Mejor(fuera, cols));
            }
        }
        if (!prueba::Cumple(cs, t)) continue;
        ++en.resultados;
        ++en.porFila[static_cast<size_t>(std::min(4, 14 - h))];
        en.minimo = std::min(en.minimo, h);
    }
    return en;
}

// Random bases of the three methods against a plain enumeration of the base
// quiniela: what the statistics announce is what the run writes, and the
// columns of methods 2 and 3 and of the full development are those their
// definitions keep; on the smaller bases the guarantee is every result
// against every column, and a table's leaves no result more than one sign
// from a column. Random conditions filter half of the runs (the direct
// method is then the full development, no multiple reduced, and the
// statistics count the results that meet them) and the guarantee of a
// quarter more.
TEST(Motor, CoincideConLaEnumeracion) {
    std::mt19937 g(20260);
    const auto azar = [&](int n) { return static_cast<int>(g() % static_cast<unsigned>(std::max(1, n))); };
    int garantias = 0, sinNinguno = 0;
    for (int caso = 0; caso < 240; ++caso) {
        const int metodo = 1 + caso % 3;
        const bool condiciones = caso % 6 >= 3, desarrollo = metodo == 1 && condiciones;
        const bool pequena = caso % 12 >= 6, garantiaCondicionada = condiciones || caso % 24 >= 12;
        Corrida c;
        // Every pair of reduced triples and doubles a table serves, other
        // multiples developed in full; fewer of them where all is enumerated.
        const int triples = desarrollo ? 0 : azar(pequena ? 4 : 5);
        const int dobles = desarrollo ? 0 : azar(pequena ? 3 : std::min(8, 10 - triples)) + (triples ? 0 : 1);
        const int tope =
            pequena ? (desarrollo ? 5 : 2) : (metodo == 1 && !desarrollo ? 15 : 11) - triples - dobles;
        prueba::BaseAleatoria(g, c.r, metodo, triples, dobles, azar(tope));
        c.r.Jornada = 5;
        c.r.Orden = static_cast<int16_t>(1 + caso % 30);
        const Condiciones cs = prueba::CondicionesAleatorias(g);
        if (condiciones) c.st.CondicionesActuales = cs;
        const ResultadoEstadistica est = CalculaEstadistica(c.st, Separadores{});
        const int32_t anunciadas = c.r.ApuestasReducidas;
        SCOPED_TRACE(TextoBase(c.r.Partidos) + " metodo " + std::to_string(metodo) + " errores " +
                     std::to_string(c.r.MinErrores) + "-" + std::to_string(c.r.MaxErrores) + "\n" +
                     TextoFicheroCondiciones(cs) + (condiciones ? "on the run" : ""));

        const ResultadoReduccion res = c.Ejecuta();
        ASSERT_EQ(res.fin, FinReduccion::Terminada) << res.mensaje;
        const auto cols = c.Columnas();
        EXPECT_EQ(res.columnas, anunciadas);
        if (anunciadas > 0 && (metodo > 1 || desarrollo)) {
            EXPECT_FLOAT_EQ(c.st.Esta.FactorReduccion, float(double(c.r.ApuestasDirectas) / anunciadas));
        }
        ASSERT_EQ(static_cast<int64_t>(cols.size()), anunciadas);
        for (const auto& col : cols) ASSERT_EQ(col[14], PrimerSigno(c.r.Partidos[15]));
        c.r.ApuestasReducidas = -1;
        CargaReduccion(c.st);
        EXPECT_EQ(c.r.ApuestasReducidas, anunciadas) << "the record";
        EXPECT_EQ(c.st.CondicionesActuales, condiciones ? cs : Condiciones{});
        std::vector<std::string> ficheros{"BASES.TBX", FicheroRed(c.r.Jornada, c.r.Orden)};
        if (condiciones) ficheros.insert(ficheros.begin() + 1, FicheroCon(c.r.Jornada, c.r.Orden));
        EXPECT_EQ(prueba::Ficheros(c.e.dir()), ficheros);
        if (c.r.ApuestasDirectas > 59049) continue;
        const auto todas = prueba::Desarrollo(c.r);
        ASSERT_EQ(static_cast<int64_t>(todas.size()), c.r.ApuestasDirectas);

        std::vector<std::string> esperadas;
        int64_t cumplen = 0;
        for (const auto& t : todas) {
            const bool cumple = prueba::Cumple(cs, t);
            ASSERT_EQ(CumpleCondiciones(cs, t), cumple) << t;
            cumplen += cumple;
            if ((cumple || !condiciones) && Conserva(c.r, t)) esperadas.push_back(t);
        }
        EXPECT_EQ(CuentaCumplen(c.r.Partidos, cs), cumplen);
        if (metodo != 1 || desarrollo) {
            EXPECT_EQ(cols, esperadas);
        }
        if (condiciones) {
            ASSERT_FALSE(est.lineas.empty());
            EXPECT_EQ(est.lineas.back().etiqueta, kCumplenCondiciones);
            EXPECT_EQ(est.lineas.back().valor,
                      Formatea(static_cast<double>(cumplen), "#,###,##0", Separadores{}));
        }

        if (todas.size() * cols.size() > 20'000) continue;
        const Condiciones csG = garantiaCondicionada ? cs : Condiciones{};
        const ResultadoGarantia gar = CalculaGarantia(c.r, csG, c.Red(), FicheroRed(c.r.Jornada, c.r.Orden));
        ASSERT_EQ(gar.fin, FinGarantia::Calculada) << gar.mensaje;
        ASSERT_EQ(gar.columnas, static_cast<int64_t>(cols.size()));
        ASSERT_EQ(gar.resultadosBase, c.r.ApuestasDirectas);
        if (cols.empty() && csG.lista.empty()) {
            EXPECT_EQ(gar.porFila[4], gar.resultados);
            EXPECT_EQ(FraseGarantia(gar), "La reducción no tiene columnas: no garantiza ningún acierto.");
        }
        if (cols.empty()) continue;
        ++garantias;
        const Enumeracion en = Enumera(c.r, todas, cols, csG);
        EXPECT_EQ(
            std::tuple(gar.condicionada, gar.resultados, gar.porFila, gar.minimoBase, gar.resultadosFuera1),
            std::tuple(garantiaCondicionada, en.resultados, en.porFila, en.minimoBase, en.fuera1));
        EXPECT_EQ(gar.minimo, en.resultados ? en.minimo : 0);
        if (metodo == 1 && !desarrollo) {
            EXPECT_GE(en.minimoBase, 13) << "a table's columns are within one sign of every result";
        }
        if (en.fuera1) {
            EXPECT_EQ(gar.minimoFuera1, en.minimoFuera1);
        }
        if (!garantiaCondicionada) continue;
        EXPECT_EQ(gar.condiciones, cs);
        EXPECT_EQ(FraseGarantiaBase(gar),
                  "Sobre toda la quiniela base: al menos " + std::to_string(en.minimoBase) + " aciertos.");
        sinNinguno += en.resultados == 0;
        EXPECT_EQ(FraseGarantia(gar), en.resultados
                                          ? "Garantía: al menos " + std::to_string(en.minimo) +
                                                " aciertos si el resultado está dentro de la quiniela "
                                                "base y cumple las condiciones."
                                          : "Ningún resultado de la quiniela base cumple las condiciones.");
    }
    EXPECT_GT(garantias, 100);
    EXPECT_GT(sinNinguno, 0);
}

// The direct method's table would lose its guarantee under a filter, and a
// base with a match without signs cannot be reduced: the run refuses before
// writing anything, while the same table without conditions goes on.
TEST(Motor, ElMetodoDirectoConTablaRechazaLasCondiciones) {
    Corrida c;
    c.Prepara(1, "1X2* 1X2* 1X2* 1X2* 1X 1 1 1 1 1 1 1 1 1 1");
    c.st.CondicionesActuales.lista = {Condicion{Medida::Equis, 0, 2}};
    EXPECT_TRUE(RechazaCondiciones(c.st));
    const ResultadoReduccion res = c.Ejecuta();
    EXPECT_EQ(std::tie(res.fin, res.mensaje, res.columnas),
              std::make_tuple(FinReduccion::Fallida, std::string(kDirectoSinCondiciones), 0));
    EXPECT_TRUE(prueba::Ficheros(c.e.dir()).empty());
    c.st.CondicionesActuales = {};
    c.Prepara(1, "1X2* - 1 1 1 1 1 1 1 1 1 1 1 1 1");
    EXPECT_EQ(c.Ejecuta().fin, FinReduccion::Fallida);
    EXPECT_TRUE(prueba::Ficheros(c.e.dir()).empty());

    c.Prepara(1, "1X2* 1X2* 1X2* 1X2* 1X 1 1 1 1 1 1 1 1 1 1");
    EXPECT_FALSE(RechazaCondiciones(c.st));
    EXPECT_EQ(c.Ejecuta().columnas, 18);
}

TEST(Motor, DirectoConTablaA) {
    // Table A written out by hand: bet k takes, in match i, the d-th marked
    // sign, d being the digit of row i, column k.
    const std::vector<std::string> tablaA = {"1121", "XXX1", "2211", "1X1X", "X22X",
                                             "21XX", "12X2", "X112", "2X22"};
    Corrida c, d, dobles;
    c.Reduce(1, "1X2* 1X2* 1X2* 1X2* 1 1 1 1 1 1 1 1 1 1 1");
    // One more double, not reduced: the 9 columns with its first sign, then with its second.
    d.Reduce(1, "1X2* 1X2* 1X2* 1X2* 12 1 1 1 1 1 1 1 1 1 X");
    const auto cols = c.Columnas(), cols18 = d.Columnas();
    ASSERT_TRUE(cols.size() == 9u && cols18.size() == 18u);
    for (size_t k = 0; k < 9; ++k) {
        EXPECT_EQ(cols[k], tablaA[k] + "11111111111") << k;
        EXPECT_EQ(cols18[k], tablaA[k] + "1111111111X");
        EXPECT_EQ(cols18[k + 9], tablaA[k] + "2111111111X");
    }
    // Doubles "X2" (table C, first bet: digit 1 in every row): 1 is "X", 2 is "2".
    dobles.Reduce(1, "X2* X2* X2* X2* X2* X2* X2* 1 1 1 1 1 1 1 1");
    const auto cols16 = dobles.Columnas();
    EXPECT_TRUE(cols16.size() == 16u && cols16[0] == "XXXXXXX11111111" && cols16[15] == "222222211111111");
}

TEST(Motor, AvanceYCancelacion) {
    Corrida c;
    c.Prepara(2, "1X2*=1 1X2*=1 1X2*=1 1X2*=1 1X2*=1 1X2*=1 1X2*=1 1X2*=1 1 1 1 1 1 1 1", "0,8");
    std::vector<int> vistos, cien(101);
    std::iota(cien.begin(), cien.end(), 0);
    std::string ultima;
    auto res = c.Ejecuta([&](int p, const std::string& l) { vistos.push_back(p), ultima = l; });
    ASSERT_EQ(res.fin, FinReduccion::Terminada);
    EXPECT_EQ(res.mensaje, "Ha finalizado el proceso de reducción");
    EXPECT_EQ(vistos, cien);
    EXPECT_EQ(ultima, "Se ha realizado el 100 % de la reducción ");
    EXPECT_EQ(TextoCuentas(c.st), "     6561 apuestas reducidas a 6561   ");

    // Cancelled at 40 % through the shared flag while replacing it: the
    // earlier reduction stays as it was, byte for byte, and nothing is left.
    const auto antes = Contenido(c.e.dir());
    c.r.MaxErrores = 7;
    res = c.Ejecuta([&](int p, const std::string&) { c.st.Cancelado = p >= 40 ? Verdadero : Falso; });
    EXPECT_EQ(res.fin, FinReduccion::Cancelada);
    EXPECT_EQ(res.mensaje, "El proceso de reducción ha sido cancelado");
    EXPECT_EQ(c.st.Cancelado, Falso);
    EXPECT_EQ(Contenido(c.e.dir()), antes);
}

// A run that cannot write, on a full disk (no file may grow past 256 KB and
// the new reduction needs 1.1 MB) or in a folder the user may not write,
// says so and leaves the folder byte for byte: the earlier reduction whole,
// and no freed slot left behind in BASES.TBX.
TEST(Motor, SinPoderEscribirNoCambiaNada) {
    for (const bool lleno : {true, false}) {
        SCOPED_TRACE(lleno ? "full disk" : "read-only folder");
        prueba::ComoUsuarioSinPrivilegios([&] {
            Corrida c;
            prueba::GrabaReduccionPrueba(c.st, 12, 4, 2);
            c.Reduce(1, "1X2* 1X2* 1X2* 1X2* 1 1 1 1 1 1 1 1 1 1 1");
            c.Prepara(2, "1X2*=1 1X2*=1 1X2*=1 1X2*=1 1X2*=1 1X2*=1 1X2*=1 1X2*=1 1X2*=1 1X2*=1 1 1 1 1 1",
                      "0,10");
            const auto antes = Contenido(c.e.dir());
            std::optional<prueba::LimiteTamanoFicheros> limite;
            if (lleno)
                limite.emplace(256 * 1024);
            else
                fs::permissions(c.e.dir(), fs::perms::owner_read | fs::perms::owner_exec);
            const auto res = c.Ejecuta();
            limite.reset();
            fs::permissions(c.e.dir(), fs::perms::owner_all);
            EXPECT_EQ(res.fin, FinReduccion::Fallida);
            EXPECT_EQ(res.error, lleno ? 61 : 70);
            EXPECT_TRUE(prueba::Contiene(res.mensaje,
                                         lleno ? "RED1201.TBX" : "RED1201.TBX (ERROR 70: permiso denegado)"));
            EXPECT_TRUE(prueba::Contiene(res.mensaje, "La reducción no se ha guardado."));
            EXPECT_EQ(Contenido(c.e.dir()), antes);
        });
    }
}

// A reduction that replaces another keeps its columns file's owner (root
// replacing a user's file), its permissions, and its link when it is one.
TEST(Motor, SustituirConservaDuenoYPermisos) {
    Corrida c;
    c.Reduce(1, "1X2* 1X2* 1 1 1 1 1 1 1 1 1 1 1 1 1");
    struct stat antes {
    }, despues{};
    ASSERT_TRUE(!prueba::EsRoot() || ::chown(c.Red().c_str(), 65534, 65534) == 0);
    ASSERT_EQ(::chmod(c.Red().c_str(), 0640), 0);
    ASSERT_EQ(::stat(c.Red().c_str(), &antes), 0);
    c.Reduce(1, "1X2* 1X2* 1X2* 1 1 1 1 1 1 1 1 1 1 1 1");
    ASSERT_EQ(::stat(c.Red().c_str(), &despues), 0);
    EXPECT_NE(antes.st_ino, despues.st_ino);  // a new file
    EXPECT_EQ(despues.st_uid, antes.st_uid);
    EXPECT_EQ(despues.st_gid, antes.st_gid);
    EXPECT_EQ(despues.st_mode & 07777, 0640u);

    // A columns file that is a link is replaced at its target: the link stays.
    prueba::CarpetaTemporal fuera;
    fs::rename(c.Red(), fuera / "red");
    fs::create_symlink(fuera / "red", c.Red());
    c.Reduce(1, "1X2* 1X2* 1X2* 1X2* 1 1 1 1 1 1 1 1 1 1 1");
    EXPECT_TRUE(fs::is_symlink(c.Red()));
    EXPECT_EQ(Bytes(fuera / "red").size(), static_cast<size_t>(c.r.ApuestasReducidas) * kLongLineaColumna);
    EXPECT_EQ(prueba::Ficheros(fuera.ruta()), std::vector<std::string>{"red"});
}

// A second run of the same key while one runs is refused; other keys go on.
TEST(Motor, UnaClaveEnCursoRechazaOtraCorrida) {
    Corrida c;
    c.Prepara(1, "1X2* 1X2* 1X2* 1X2* 1 1 1 1 1 1 1 1 1 1 1");
    bool hecho = false;
    std::atomic<bool> parar{false};
    ResultadoReduccion segunda, tercera;
    const auto res = c.Ejecuta(
        [&](int p, const std::string&) {
            if (p < 50 || hecho) return;
            hecho = true;
            std::thread([&] {  // the same folder, as a second window would
                Corrida d;
                d.st.DirDatos = c.st.DirDatos;
                d.Prepara(1, "1X2* 1X2* 1 1 1 1 1 1 1 1 1 1 1 1 1");
                segunda = d.Ejecuta();
                d.r.Orden = 2;
                tercera = d.Ejecuta();
            })
                .join();
        },
        &parar);
    EXPECT_EQ(res.fin, FinReduccion::Terminada);
    EXPECT_EQ(segunda.fin, FinReduccion::Fallida);
    EXPECT_EQ(segunda.mensaje, TextoReduccionEnCurso(12, 1));
    EXPECT_EQ(tercera.fin, FinReduccion::Terminada);
    EXPECT_EQ(c.Columnas().size(), 9u);
}

// Leftovers of rewrites killed half way are cleared the next time the
// folder is used; a user's own file and a live run's files are kept (what a
// killed installation leaves is the store's test).
TEST(Motor, SeLimpiaLoQueDejanLasCorridasMuertas) {
    prueba::EstadoPrueba e;
    Cerrojo enCurso(e.dir(), ClaveReduccion(12, 3));
    for (const char* f :
         {"DATOSGEN.TBX.999999-8.tmp~", "notas.tmp~", "RED1204.TBX.tmp~", "RED1203.TBX.999999-9.tmp~"})
        prueba::EscribeBytes(e.dir() / f, "x");
    LimpiaTemporales(e.st);
    EXPECT_EQ(prueba::Ficheros(e.dir()),
              (std::vector<std::string>{"RED1203.TBX.999999-9.tmp~", "notas.tmp~"}));
}

}  // namespace
}  // namespace tobal
