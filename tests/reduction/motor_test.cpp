#include "reduction/Motor.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <set>

#include "Soporte.h"
#include "reduction/Almacen.h"
#include "reduction/Base.h"
#include "reduction/Estadistica.h"
#include "reduction/Tablas.h"

namespace tobal {
namespace {

namespace fs = std::filesystem;
using prueba::Bytes;
using prueba::EscribeBytes;
using prueba::EstadoPrueba;

// A reduction over its own data folder.
struct Corrida {
    EstadoPrueba e;
    Estado& st = e.st;
    Reduccion& r = e.st.ReduccionActual;

    void Prepara(int metodo, const std::string& base, int minErr = 0, int maxErr = 0,
                 std::array<int16_t, 4> signos = {}) {
        r.Jornada = 12;
        r.Orden = 1;
        r.Metodo = static_cast<int16_t>(metodo);
        r.MinErrores = static_cast<int16_t>(minErr);
        r.MaxErrores = static_cast<int16_t>(maxErr);
        r.Signos = signos;
        ASSERT_FALSE(LeeBase(base, r.Partidos)) << base;
        CalculaEstadistica(st);
    }
    ResultadoReduccion Ejecuta(const AvanceReduccion& avance = {}, const std::atomic<bool>* cancelar = nullptr) {
        return EjecutaReduccion(st, avance, cancelar);
    }
    fs::path Red() const { return e.dir() / FicheroRed(r.Jornada, r.Orden); }
    fs::path Temporal() const { return e.dir() / (FicheroRed(r.Jornada, r.Orden) + ".tmp~"); }
    std::vector<std::string> Columnas() const {
        const std::string b = Bytes(Red());
        EXPECT_EQ(b.size() % kLongLineaColumna, 0u);
        std::vector<std::string> cols;
        for (size_t p = 0; p + kLongLineaColumna <= b.size(); p += kLongLineaColumna) {
            EXPECT_EQ(b.substr(p, 1), "\"");
            EXPECT_EQ(b.substr(p + 16, 3), "\"\r\n");
            cols.push_back(b.substr(p + 1, 15));
        }
        return cols;
    }
    bool HayRegistro() {
        InformadorMudo mudo;
        st.informador = &mudo;
        const bool hay = ExisteReduccion(st, r.Jornada, r.Orden);
        st.informador = &e.mensajes;
        return hay;
    }
};

constexpr char kSignos[] = "1X2";

// Every column of the base quiniela, match 1 varying fastest.
std::vector<std::string> Desarrollo(const Reduccion& r) {
    std::vector<std::string> opciones(16);
    for (int i = 1; i <= 15; ++i)
        for (int s = 1; s <= 3; ++s)
            if (r.Partidos[i].Signo[s]) opciones[i] += kSignos[s - 1];
    opciones[15].resize(1);
    size_t total = 1;
    for (int i = 1; i <= 14; ++i) total *= opciones[i].size();
    std::vector<std::string> ordenadas;
    std::vector<size_t> pos(15, 0);
    for (size_t n = 0; n < total; ++n) {
        std::string c;
        for (int i = 1; i <= 14; ++i) c += opciones[i][pos[i]];
        ordenadas.push_back(c + opciones[15]);
        for (int i = 1; i <= 14; ++i) {
            if (++pos[i] < opciones[i].size()) break;
            pos[i] = 0;
        }
    }
    return ordenadas;
}

bool Conserva(const Reduccion& r, const std::string& c) {
    if (r.Metodo == 2) {
        int errores = 0;
        for (int i = 1; i <= 14; ++i)
            if (r.Partidos[i].SignoBase && c[i - 1] != kSignos[r.Partidos[i].SignoBase - 1]) ++errores;
        return errores >= r.MinErrores && errores <= r.MaxErrores;
    }
    int cuenta[3] = {0, 0, 0};
    for (int i = 1; i <= 14; ++i)
        if (r.Partidos[i].AReducir) ++cuenta[std::string("1X2").find(c[i - 1])];
    return cuenta[0] == r.Signos[1] && cuenta[1] == r.Signos[2] && cuenta[2] == r.Signos[3];
}

int Diferencias(const std::string& a, const std::string& b) {
    int d = 0;
    for (size_t i = 0; i < a.size(); ++i) d += a[i] != b[i];
    return d;
}

// A random base quiniela with `triples` and `dobles` reduced multiples and
// `libres` unreduced ones, with parameters that pass the reduce button's
// checks.
void BaseAleatoria(std::mt19937& g, Reduccion& r, int metodo, int triples, int dobles, int libres) {
    auto azar = [&](int n) { return static_cast<int>(g() % static_cast<unsigned>(n)); };
    r = Reduccion{};
    r.Metodo = static_cast<int16_t>(metodo);
    std::vector<int> partidos{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14};
    std::shuffle(partidos.begin(), partidos.end(), g);
    for (int i = 1; i <= 15; ++i) r.Partidos[i].Signo[1 + azar(3)] = 1;
    const int reducidos = triples + dobles;
    for (int k = 0; k < reducidos + libres; ++k) {
        Partido& p = r.Partidos[partidos[static_cast<size_t>(k)]];
        p.Signo = {0, 1, 1, 1};
        const bool doble = k < triples ? false : k < reducidos ? true : azar(2) == 1;
        if (doble) p.Signo[1 + azar(3)] = 0;
        p.AReducir = k < reducidos ? 1 : 0;
    }
    std::array<int16_t, 4> disponibles{};
    for (int i = 1; i <= 15; ++i) {
        Partido& p = r.Partidos[i];
        p.NumSignos = static_cast<int16_t>(p.Signo[1] + p.Signo[2] + p.Signo[3]);
        if (!p.AReducir) continue;
        std::vector<int> marcados;
        for (int s = 1; s <= 3; ++s)
            if (p.Signo[s]) marcados.push_back(s), ++disponibles[s];
        if (metodo == 2)
            p.SignoBase =
                static_cast<int16_t>(marcados[static_cast<size_t>(azar(static_cast<int>(marcados.size())))]);
    }
    if (metodo == 2) {
        r.MinErrores = static_cast<int16_t>(azar(reducidos + 1));
        r.MaxErrores = static_cast<int16_t>(r.MinErrores + azar(reducidos + 1 - r.MinErrores));
    }
    if (metodo == 3) {
        // Each reduced match gives one of its signs to the counts, so the
        // counts are reachable; now and then they are not.
        for (int i = 1; i <= 14; ++i) {
            const Partido& p = r.Partidos[i];
            if (!p.AReducir) continue;
            int s;
            do s = 1 + azar(3);
            while (!p.Signo[s]);
            ++r.Signos[s];
        }
        if (azar(4) == 0) std::swap(r.Signos[1 + azar(3)], r.Signos[1 + azar(3)]);
    }
}

// What the statistics announce is what the run writes, for all three
// methods, against a plain enumeration of the base quiniela.
TEST(Motor, LasEstadisticasAnuncianLasColumnasEscritas) {
    std::mt19937 g(20260);
    for (int caso = 0; caso < 300; ++caso) {
        const int metodo = 1 + caso % 3;
        Corrida c;
        // Every pair of reduced triples and doubles a table serves, with
        // other multiples developed in full.
        const int triples = static_cast<int>(g() % 5);
        const int dobles =
            static_cast<int>(g() % static_cast<unsigned>(std::min(8, 10 - triples))) + (triples ? 0 : 1);
        // The direct method's count is checked with up to fourteen
        // multiples; the others are enumerated, so fewer.
        const int tope = (metodo == 1 ? 15 : 11) - triples - dobles;
        const int libres = static_cast<int>(g() % static_cast<unsigned>(std::max(1, tope)));
        BaseAleatoria(g, c.r, metodo, triples, dobles, libres);
        c.r.Jornada = 5;
        c.r.Orden = static_cast<int16_t>(1 + caso % 30);
        CalculaEstadistica(c.st);
        const int32_t anunciadas = c.r.ApuestasReducidas;
        SCOPED_TRACE(TextoBase(c.r.Partidos) + " metodo " + std::to_string(metodo));

        const ResultadoReduccion res = c.Ejecuta();
        ASSERT_EQ(res.fin, FinReduccion::Terminada) << res.mensaje;
        const auto cols = c.Columnas();
        EXPECT_EQ(res.columnas, anunciadas);
        ASSERT_EQ(static_cast<int64_t>(cols.size()), anunciadas);
        for (const auto& col : cols)
            ASSERT_EQ(col[14], kSignos[c.r.Partidos[15].Signo[1] ? 0 : c.r.Partidos[15].Signo[2] ? 1 : 2]);
        if (c.r.ApuestasDirectas > 59049) continue;
        const auto todas = Desarrollo(c.r);
        ASSERT_EQ(static_cast<int64_t>(todas.size()), c.r.ApuestasDirectas);

        if (metodo == 1) {
            // Every column belongs to the base quiniela, and every column of
            // the base quiniela is within one sign of a written one.
            const std::set<std::string> base(todas.begin(), todas.end());
            for (const auto& col : cols) EXPECT_TRUE(base.count(col)) << col;
            if (todas.size() <= 2187)
                for (const auto& t : todas) {
                    bool cubierta = false;
                    for (const auto& col : cols)
                        if (Diferencias(t, col) <= 1) {
                            cubierta = true;
                            break;
                        }
                    ASSERT_TRUE(cubierta) << t;
                }
        } else {
            std::vector<std::string> esperadas;
            for (const auto& t : todas)
                if (Conserva(c.r, t)) esperadas.push_back(t);
            EXPECT_EQ(cols, esperadas);
        }

        // The record announces the same count.
        c.st.ReduccionActual.ApuestasReducidas = -1;
        CargaReduccion(c.st);
        EXPECT_EQ(c.r.ApuestasReducidas, anunciadas);
        EXPECT_FALSE(fs::exists(c.Temporal()));
    }
}

TEST(Motor, DirectoConTablaA) {
    Corrida c;
    c.Prepara(1, "1X2* 1X2* 1X2* 1X2* 1 1 1 1 1 1 1 1 1 1 1");
    ASSERT_EQ(c.Ejecuta().fin, FinReduccion::Terminada);
    const auto cols = c.Columnas();
    ASSERT_EQ(cols.size(), 9u);
    for (size_t k = 0; k < 9; ++k)
        for (int fila = 1; fila <= 4; ++fila)
            EXPECT_EQ(cols[k][static_cast<size_t>(fila - 1)],
                      kSignos[PatronesReduccion[static_cast<size_t>(fila)][k] - '1']);

    // One more double, not reduced: the table's 9 columns with its first
    // sign, then with its second.
    Corrida d;
    d.Prepara(1, "1X2* 1X2* 1X2* 1X2* 12 1 1 1 1 1 1 1 1 1 X");
    ASSERT_EQ(d.Ejecuta().columnas, 18);
    const auto cols18 = d.Columnas();
    ASSERT_EQ(cols18.size(), 18u);
    for (size_t k = 0; k < 9; ++k) {
        EXPECT_EQ(cols18[k], cols[k].substr(0, 4) + "1111111111X");
        EXPECT_EQ(cols18[k + 9], cols[k].substr(0, 4) + "2111111111X");
    }

    Corrida cinco;
    cinco.Prepara(1, "1X2* 1X2* 1X2* 1X2* 1X2* 1 1 1 1 1 1 1 1 1 1");
    EXPECT_EQ(cinco.r.ApuestasDirectas, 243);
    EXPECT_EQ(cinco.Ejecuta().columnas, 27);
}

TEST(Motor, SignosImposiblesDejanFicheroVacioYRegistro) {
    Corrida c;
    c.Prepara(3, "1X2* 1X2* 1 1 1 1 1 1 1 1 1 1 1 1 1", 0, 0, {0, 2, 1, 1});
    const auto res = c.Ejecuta();
    EXPECT_EQ(res.fin, FinReduccion::Terminada);
    EXPECT_EQ(res.columnas, 0);
    EXPECT_TRUE(fs::exists(c.Red()));
    EXPECT_EQ(fs::file_size(c.Red()), 0u);
    EXPECT_TRUE(c.HayRegistro());
}

TEST(Motor, AvanceYCancelacion) {
    Corrida c;
    c.Prepara(2, "1X2*=1 1X2*=1 1X2*=1 1X2*=1 1X2*=1 1X2*=1 1X2*=1 1X2*=1 1 1 1 1 1 1 1", 0, 8);
    std::vector<int> vistos;
    std::string ultimaLinea;
    auto res = c.Ejecuta([&](int p, const std::string& l) {
        vistos.push_back(p);
        ultimaLinea = l;
    });
    ASSERT_EQ(res.fin, FinReduccion::Terminada);
    EXPECT_EQ(res.mensaje, "Ha finalizado el proceso de reducción");
    ASSERT_EQ(vistos.size(), 101u);
    for (int p = 0; p <= 100; ++p) EXPECT_EQ(vistos[static_cast<size_t>(p)], p);
    EXPECT_EQ(ultimaLinea, "Se ha realizado el 100 % de la reducción ");
    EXPECT_EQ(TextoPorcentaje(7), "Se ha realizado el   7 % de la reducción ");
    EXPECT_EQ(TextoCuentas(c.r), "     6561 apuestas reducidas a 6561   ");

    // Cancelled at 40 % through the shared flag: neither record nor file,
    // not even the earlier reduction it was replacing.
    res = c.Ejecuta([&](int p, const std::string&) {
        if (p >= 40) c.st.Cancelado = Verdadero;
    });
    EXPECT_EQ(res.fin, FinReduccion::Cancelada);
    EXPECT_EQ(res.mensaje, "El proceso de reducción ha sido cancelado");
    EXPECT_EQ(c.st.Cancelado, Falso);
    EXPECT_FALSE(c.HayRegistro());
    EXPECT_FALSE(fs::exists(c.Red()));
    EXPECT_FALSE(fs::exists(c.Temporal()));
    EXPECT_EQ(Bytes(c.e.dir() / kFicheroBases).substr(0, kLongRegistroBase), RegistroLibre());

    // Through an atomic flag, as a worker thread would.
    std::atomic<bool> parar{false};
    res = c.Ejecuta([&](int p, const std::string&) { parar = p >= 10; }, &parar);
    EXPECT_EQ(res.fin, FinReduccion::Cancelada);
    EXPECT_FALSE(c.HayRegistro());
    EXPECT_FALSE(fs::exists(c.Red()));
}

TEST(Motor, ReemplazaLaReduccionAnterior) {
    Corrida c;
    c.Prepara(1, "1X2* 1X2* 1X2* 1X2* 1X2 1 1 1 1 1 1 1 1 1 1");
    ASSERT_EQ(c.Ejecuta().columnas, 27);
    c.Prepara(3, "1X* 1X* 1 1 1 1 1 1 1 1 1 1 1 1 2", 0, 0, {0, 1, 1, 0});
    ASSERT_EQ(c.Ejecuta().fin, FinReduccion::Terminada);
    EXPECT_EQ(c.Columnas(), (std::vector<std::string>{"X1111111111111"
                                                      "2",
                                                      "1X111111111111"
                                                      "2"}));
    EXPECT_EQ(Bytes(c.e.dir() / kFicheroBases).size(), static_cast<size_t>(kLongLineaBase));
}

// A run that cannot write says so and leaves nothing of the reduction.
TEST(Motor, FalloAlEscribir) {
    {
        // The columns file's name is taken by a folder: nothing is touched.
        Corrida c;
        c.Prepara(1, "1X2* 1X2* 1X2* 1X2* 1 1 1 1 1 1 1 1 1 1 1");
        fs::create_directory(c.Red());
        const auto res = c.Ejecuta();
        EXPECT_EQ(res.fin, FinReduccion::Fallida);
        EXPECT_NE(res.error, 0);
        EXPECT_NE(res.mensaje.find("RED1201.TBX"), std::string::npos) << res.mensaje;
        ASSERT_EQ(c.e.mensajes.mensajes.size(), 1u);
        EXPECT_EQ(c.e.mensajes.mensajes[0], res.mensaje);
        EXPECT_FALSE(c.HayRegistro());
        EXPECT_TRUE(fs::is_directory(c.Red()));
    }
    {
        // The columns cannot be written after the record was: the record
        // goes again, with the earlier reduction it replaced.
        Corrida c;
        c.Prepara(1, "1X2* 1X2* 1X2* 1X2* 1 1 1 1 1 1 1 1 1 1 1");
        ASSERT_EQ(c.Ejecuta().fin, FinReduccion::Terminada);
        fs::create_directory(c.Temporal());
        const auto res = c.Ejecuta();
        EXPECT_EQ(res.fin, FinReduccion::Fallida);
        EXPECT_NE(res.mensaje.find("La reducción no se ha guardado."), std::string::npos) << res.mensaje;
        EXPECT_FALSE(c.HayRegistro());
        EXPECT_FALSE(fs::exists(c.Red()));
    }
    if (fs::exists("/dev/full")) {
        // The disk fills up half way through the columns.
        Corrida c;
        c.Prepara(2, "1X2*=1 1X2*=1 1X2*=1 1X2*=1 1X2*=1 1X2*=1 1X2*=1 1X2*=1 1X2*=1 1X2*=1 1 1 1 1 1", 0, 10);
        fs::create_symlink("/dev/full", c.Temporal());
        const auto res = c.Ejecuta();
        EXPECT_EQ(res.fin, FinReduccion::Fallida);
        EXPECT_EQ(res.error, 61);
        EXPECT_NE(res.mensaje.find("disco lleno"), std::string::npos) << res.mensaje;
        EXPECT_FALSE(c.HayRegistro());
        EXPECT_FALSE(fs::exists(c.Red()));
        EXPECT_FALSE(fs::is_symlink(c.Temporal()));
    }
    if (!prueba::EsRoot()) {
        // A read-only folder whose BASES.TBX can still be written in place.
        Corrida c;
        c.Prepara(1, "1X2* 1X2* 1X2* 1X2* 1 1 1 1 1 1 1 1 1 1 1");
        EscribeBytes(c.e.dir() / kFicheroBases, RegistroLibre() + "\r\n");
        fs::permissions(c.e.dir(), fs::perms::owner_read | fs::perms::owner_exec);
        const auto res = c.Ejecuta();
        fs::permissions(c.e.dir(), fs::perms::owner_all);
        EXPECT_EQ(res.fin, FinReduccion::Fallida);
        EXPECT_EQ(res.error, 70);
        EXPECT_FALSE(c.HayRegistro());
        EXPECT_FALSE(fs::exists(c.Red()));
    }
}

TEST(Motor, RechazaUnaBaseSinSignos) {
    Corrida c;
    c.Prepara(1, "1X2* - 1 1 1 1 1 1 1 1 1 1 1 1 1");
    EXPECT_EQ(c.Ejecuta().fin, FinReduccion::Fallida);
    EXPECT_FALSE(fs::exists(c.e.dir() / kFicheroBases));
    Corrida d;
    d.Prepara(2, "1X2* 1X2*=1 1 1 1 1 1 1 1 1 1 1 1 1 1", 0, 1);
    EXPECT_EQ(d.Ejecuta().fin, FinReduccion::Fallida);
    EXPECT_FALSE(fs::exists(d.Red()));
}

}  // namespace
}  // namespace tobal
