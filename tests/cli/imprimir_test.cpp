#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <regex>
#include <sstream>
#include <thread>

#include "Soporte.h"
#include "data/DatosGen.h"
#include "data/Jornadas.h"
#include "reduction/Almacen.h"
#include "scoring/Escrutinio.h"

namespace tobal {
namespace {

using namespace prueba;

struct CliImprimir : ::testing::Test {
    EstadoPrueba p;

    // Jornada 12 con su escrutinio: orden 1 de 10 boletos, orden 2 de 3.
    void SetUp() override {
        EscribeBytes(p.dir() / "DATOSGEN.TBX", std::string(kLineaDatosGenDefecto) + "\r\n");
        std::string reg = RegistroJornadaPrueba(12, "14/09/02");
        EntradasEscrutinio e;
        for (int m = 1; m <= 15; ++m)
            e.Ganadora[m] = static_cast<int16_t>(std::string("1X2").find(ColumnaPrueba(2)[m - 1]) + 1);
        e.TextoPremios = {"", "100000", "1500.5", "20", "", ""};
        PonEntradasEnRegistro(reg, 12, "14/09/02", e);
        ASSERT_EQ(GrabaRegistroJornada(p.st, 12, reg), 0);
        GrabaReduccionPrueba(p.st, 12, 1, 80);
        GrabaReduccionPrueba(p.st, 12, 2, 24);
    }
    // La jornada 12 y la orden 1 salvo que se den otras.
    ResultadoCli Cli(std::vector<std::string> args) {
        for (const char* o : {"--jornada", "--orden"})
            if (std::find(args.begin(), args.end(), o) == args.end())
                args.insert(args.end(), {o, o[2] == 'j' ? "12" : "1"});
        return EjecutaCliEn(p.dir(), args);
    }
    // En el fichero `pdf` de la carpeta de datos; sin él, en la impresora predeterminada.
    ResultadoCli Imprime(std::vector<std::string> args, const std::string& pdf) {
        args.insert(args.begin(), "imprimir");
        if (!pdf.empty()) args.insert(args.end(), {"--pdf", Pdf(pdf)});
        return Cli(args);
    }
    std::string Pdf(const std::string& nombre) const { return (p.dir() / nombre).string(); }
};

// Un error de uso sale con 2 y no deja un PDF.
TEST_F(CliImprimir, ErroresDeUso) {
    const std::pair<std::vector<std::string>, std::string> casos[] = {
        {{"carteles"}, ""},
        {{"relacion", "--prueba"}, ""},
        {{"resumen", "--copias", "0"}, ""},
        // Nombra los boletos que hay, no un --hasta que no se ha dado.
        {{"boletos", "--orden", "2", "--desde", "4"}, "solo tiene 3 boletos"}};
    for (const auto& [args, error] : casos) {
        SCOPED_TRACE(testing::PrintToString(args));
        const auto r = Imprime(args, "x.pdf");
        EXPECT_TRUE(ErrorDeUso(r));
        EXPECT_TRUE(Contiene(r.errores, error));
        EXPECT_FALSE(fs::exists(Pdf("x.pdf")));
    }
}

// A damaged columns or conditions file, or a matchday that cannot be read (no bets file dated
// 000000, no tickets of no matchday), is refused by every reader; each kind of damage is its own test.
TEST_F(CliImprimir, FicheroDanadoSeRechazaEnTodasLasOrdenes) {
    const fs::path pdf = Pdf("x.pdf");
    std::vector<std::pair<std::vector<std::string>, fs::path>> lectores = {
        {{"escrutar", "--ganadora", "1X21X21X21X21X2"}, {}},
        {{"exportar", "--destino", p.dir().string()}, p.dir() / "AD243"},
        {{"garantia"}, {}}};
#ifdef TOBAL31_CON_QT
    for (const char* salida : {"boletos", "continuo", "relacion", "escrutinio"})
        lectores.push_back({{"imprimir", salida, "--pdf", pdf.string()}, pdf});
#endif
    const std::pair<std::string, std::string> casos[] = {
        {"RED1201.TBX", TextoColumnasDanadas("RED1201.TBX", 3)},
        {"RED1201.CON", "El fichero de condiciones RED1201.CON está dañado, línea 1 (\"X 0-20\"): "},
        {"JORNADAS.TBX", "ERROR EN LA JORNADA"}};
    for (const auto& [fichero, mensaje] : casos) {
        GrabaReduccionPrueba(p.st, 12, 1, 24);
        if (fichero == "JORNADAS.TBX") {
            fs::remove(p.dir() / "RED1201.CON");
            fs::remove(p.dir() / fichero);
            fs::create_directory(p.dir() / fichero);
        } else {
            EscribeBytes(p.dir() / fichero, fichero.ends_with("TBX")
                                                ? FicheroConColumnaDanada(ColumnasDanadas()[8])
                                                : "X 0-20\r\nX 2\r\n");
        }
        for (const auto& [args, salida] : lectores) {
            SCOPED_TRACE(testing::PrintToString(args) + " " + mensaje);
            const auto r = Cli(args);
            EXPECT_EQ(r.codigo, 1);
            EXPECT_TRUE(Contiene(r.errores, mensaje));
            EXPECT_EQ(r.salida, "");
            EXPECT_TRUE(salida.empty() || !fs::exists(salida));
        }
    }
}

// The bets file's records are the disk copy's; here its name, the settings
// it takes, the files beside it and the messages.
using CliExportar = CliImprimir;
TEST_F(CliExportar, EscribeElFicheroDeApuestasComoLaCopiaADisco) {
    CarpetaTemporal destino;
    EscribeBytes(p.dir() / "DATOSGEN.TBX",
                 "12,\"01/09/02\",1,1,0,0,0,0,1,42,\"0.3 \",\"07\",\"00123\",\"Si\"\r\n");
    const auto exportar = [&](int columnas) {
        GrabaReduccionPrueba(p.st, 12, 1, columnas);
        return Cli({"exportar", "--destino", destino.ruta().string()});
    };
    // Every leftover of an earlier, larger copy goes, the volumes beyond the first included.
    for (const char* n : {"AD243", "AD243.02", "AD243.03"}) EscribeBytes(destino / n, "anterior");
    auto r = exportar(2);
    ASSERT_EQ(r.codigo, 0) << r.errores;
    EXPECT_EQ(Ficheros(destino.ruta()), std::vector<std::string>{"AD243"});
    EXPECT_EQ(Bytes(destino / "AD243").substr(0, 21), "C01243121409020700123");
    EXPECT_EQ(r.errores, "");
    EXPECT_TRUE(
        Contiene(r.salida, "Se ha copiado a la unidad " + destino.ruta().string() + " el archivo AD243"));
    r = exportar(11651 * 8 + 1);  // the next volumes beside the first
    ASSERT_EQ(r.codigo, 0) << r.errores;
    EXPECT_TRUE(r.errores.starts_with("ÚLTIMO BOLETO INCOMPLETO\nCon esta reducción,")) << r.errores;
    EXPECT_TRUE(Contiene(r.salida, "Volumen 2: " + (destino / "AD243.02").string()));
}

#ifdef TOBAL31_CON_QT
// imprimir --pdf F replaces F only with a complete PDF, and a failed run leaves no temporary
// file. File names are bytes: a folder and a name that are not UTF-8 are written as they are.
TEST_F(CliImprimir, ElPdfSoloSustituyeAlFicheroCuandoEstaCompleto) {
    CarpetaTemporal destino;
    const fs::path pdf = destino / "salida.pdf", carpeta = destino / "carpeta.pdf";
    EscribeBytes(pdf, "del usuario");
    fs::create_directory(carpeta);
    const auto falla = [&](std::vector<std::string> args, const fs::path& f, const std::string& error) {
        SCOPED_TRACE(f);
        args.insert(args.end(), {"--pdf", f.string()});
        const auto r = Imprime(args, "");
        EXPECT_TRUE(r.codigo == 1 && r.salida.empty());
        EXPECT_TRUE(Contiene(r.errores, error)) << r.errores;
    };
    fs::remove(p.dir() / "RED1202.TBX");
    falla({"boletos", "--orden", "2"}, pdf, "no hay nada que imprimir");
    GrabaReduccionPrueba(p.st, 13, 1, 8);  // jornada sin resultados guardados
    falla({"escrutinio", "--jornada", "13"}, pdf,
          "SIN ESCRUTINIO\nLa jornada 13 no tiene guardada una columna ganadora completa. Haga antes el "
          "escrutinio con la orden escrutar.");
    falla({"relacion"}, carpeta, "no se puede imprimir en el fichero " + carpeta.string() + ": ");
    EXPECT_EQ(Bytes(pdf), "del usuario");
    EXPECT_TRUE(fs::is_empty(carpeta));
    DiscoPequeno disco(64 * 1024);
    if (disco.Montado()) {
        disco.Llena();
        const fs::path lleno = disco / "relacion.pdf";
        falla({"relacion"}, lleno,
              "no se puede imprimir en el fichero " + lleno.string() + ": el disco está lleno");
        EXPECT_EQ(std::distance(fs::directory_iterator(disco.ruta()), {}), 1);  // only what filled it
    }
    fs::create_directory(destino / "carpeta\xfe");
    for (const fs::path& f : {pdf, destino / "carpeta\xfe" / "r\xe9lacion.pdf"}) {
        const auto r = Imprime({"relacion", "--pdf", f.string()}, "");
        EXPECT_EQ(r.codigo, 0) << r.errores;
        EXPECT_TRUE(Bytes(f).starts_with("%PDF"));
        EXPECT_EQ(std::distance(fs::directory_iterator(f.parent_path()), {}), f == pdf ? 3 : 1);
    }
}

// Un sistema de impresión propio: cupsd en un socket de una carpeta temporal,
// con una cola predeterminada con el controlador cups-pdf, sin bordes no
// imprimibles, que deja el PDF del trabajo n en Trabajo(n).
template <class F>
bool Hasta(F listo, int segundos) {
    const auto fin = std::chrono::steady_clock::now() + std::chrono::seconds(segundos);
    for (; !listo(); std::this_thread::sleep_for(std::chrono::milliseconds(50)))
        if (std::chrono::steady_clock::now() > fin) return false;
    return true;
}
class ServidorCups {
public:
    ServidorCups() {
        const std::string ppd = "/usr/share/ppd/cups-pdf/CUPS-PDF_noopt.ppd", d = dir_.ruta().string();
        for (const std::string f : {"/usr/sbin/cupsd", "/usr/lib/cups/backend/cups-pdf", ppd.c_str()})
            if (!fs::exists(f)) motivo_ = f + " is not installed (scripts/setup.sh)";
        // cupsd runs the cups-pdf backend as root only, and cups-pdf reads
        // its queue's settings from /etc/cups alone.
        if (::geteuid() != 0) motivo_ = "the cups-pdf backend prints only under a cupsd run by root";
        if (!motivo_.empty()) return;
        const auto en = [&d](const char* texto) { return std::regex_replace(texto, std::regex("@"), d); };
        EscribeBytes(d + "/cupsd.conf", en("Listen @/cups.sock\nBrowsing Off\nErrorPolicy abort-job\n<Policy "
                                           "default>\n<Limit All>\nOrder deny,allow\n</Limit>\n</Policy>\n"));
        EscribeBytes(d + "/cups-files.conf", en("ServerRoot @\nRequestRoot @/spool\nCacheDir @\nStateDir @\n"
                                                "ErrorLog @/error\nAccessLog @/error\nPageLog @/error\n"));
        EscribeBytes(conf_, en("Out @/salida\nSpool @/spool/pdf\nLabel 1\n"));
        ::setenv("CUPS_SERVER", (d + "/cups.sock").c_str(), 1);
        ::setenv("LPDEST", cola_.c_str(), 1);
        if ((pid_ = ::fork()) == 0) {
            ::prctl(PR_SET_PDEATHSIG, SIGKILL);  // never outlives the test
            const int nulo = ::open("/dev/null", O_RDWR);
            for (int fd : {0, 1, 2}) ::dup2(nulo, fd);
            ::execl("/usr/sbin/cupsd", "cupsd", "-f", "-c", (d + "/cupsd.conf").c_str(), "-s",
                    (d + "/cups-files.conf").c_str(), nullptr);
            ::_exit(127);
        }
        if (!Hasta([] { return Orden("lpstat -r") == "scheduler is running\n"; }, 10))
            motivo_ = "cupsd does not start (see " + d + "/error)";
        else if (Orden("lpadmin -p " + cola_ + " -E -v cups-pdf:/" + cola_ + " -P " + ppd +
                       " && echo bien") != "bien\n")
            motivo_ = "lpadmin cannot add the cups-pdf queue";
    }
    ~ServidorCups() {
        if (pid_ > 0) ::kill(pid_, SIGKILL), ::waitpid(pid_, nullptr, 0);
        fs::remove(conf_);
        ::unsetenv("CUPS_SERVER");
        ::unsetenv("LPDEST");
    }
    const std::string& Motivo() const { return motivo_; }  // why it cannot print; empty when it can
    // The PDF of job n once every job has ended (at most 30 s); empty if none.
    fs::path Trabajo(int n) const {
        Hasta([] { return Orden("lpstat -o").empty(); }, 30);
        for (const auto& e : fs::directory_iterator(dir_ / "salida"))
            if (e.path().filename().string().starts_with("job_" + std::to_string(n) + "-")) return e.path();
        return {};
    }

private:
    CarpetaTemporal dir_;
    std::string cola_ = "tobal31-" + std::to_string(::getpid());
    fs::path conf_ = "/etc/cups/cups-pdf-" + cola_ + ".conf";
    pid_t pid_ = -1;
    std::string motivo_;
};

// Las páginas de un PDF a 72 ppp en grises, un píxel por punto. Ghostscript
// dibuja las letras sin ajustarlas a la rejilla, como las fuentes que dejan
// los filtros de la cola, así que una letra cae en los mismos píxeles en los dos.
struct Pagina {
    int ancho = 0, alto = 0;
    std::string gris;
    // Ink darker than `umbral` at a point or `r` points or less from it.
    bool Tinta(int x, int y, int umbral, int r = 1) const {
        for (int v = std::max(0, y - r); v <= std::min(alto - 1, y + r); ++v)
            for (int u = std::max(0, x - r); u <= std::min(ancho - 1, x + r); ++u)
                if (static_cast<unsigned char>(gris[size_t(v * ancho + u)]) < umbral) return true;
        return false;
    }
};
// Ghostscript writes each page as "P5", a comment line, "ancho alto", "255" and the bytes.
std::vector<Pagina> Paginas(const fs::path& pdf) {
    std::istringstream pgm(
        Orden("gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=pgmraw -r72 -dGridFitTT=0 "
              "-dTextAlphaBits=4 -dGraphicsAlphaBits=4 -sOutputFile=- '" +
              pdf.string() + "'"));
    std::vector<Pagina> r;
    Pagina p;
    std::string linea;
    while (std::getline(pgm, linea) && std::getline(pgm, linea) && pgm >> p.ancho >> p.alto >> linea &&
           pgm.get() == '\n') {
        p.gris.resize(size_t(p.ancho) * size_t(p.alto));
        if (pgm.read(p.gris.data(), std::streamsize(p.gris.size()))) r.push_back(p);
    }
    return r;
}
// El primer punto de tinta de `a` sin tinta de `b` a 1 punto o menos, en
// los dos sentidos; "" si no hay.
std::string TintaSinPareja(const Pagina& a, const Pagina& b, bool vuelta = true) {
    for (int y = 0; y < a.alto; ++y)
        for (int x = 0; x < a.ancho; ++x)
            if (a.Tinta(x, y, 128, 0) && !b.Tinta(x, y, 192))
                return std::to_string(x) + "," + std::to_string(y) + (vuelta ? " of the PDF" : " printed");
    return vuelta ? TintaSinPareja(b, a, false) : "";
}

// The layouts are the printed outputs' own tests. Here each output's pages,
// their size and what the tool says it printed; through a real queue, its
// ink falls where its PDF puts it, to 1 point.
TEST_F(CliImprimir, CadaSalidaEnPdfConSuAvanceYPorUnaColaDeVerdad) {
    ServidorCups cups;
    // Orientation, pages, their width and height in points (A4, 350 mm wide, 158.5 mm high), what it says.
    const std::tuple<std::vector<std::string>, int, int, int, int, std::string> casos[] = {
        {{"resumen", "--orden", "2", "--copias", "2"}, 1, 2, 595, 842, "2 copias del resumen"},
        {{"relacion", "--ancho", "ancho", "--desde", "2"}, 1, 1, 992, 842, "2 bloques de la relación"},
        {{"boletos", "--desde", "2", "--hasta", "4"}, 2, 3, 595, 842, "3 boletos"},
        {{"boletos", "--prueba"}, 1, 1, 595, 842, "1 boleto"},
        {{"continuo", "--orden", "2"}, 1, 2, 595, 449, "boletos en papel continuo"},
        {{"escrutinio"}, 1, 1, 595, 842, "informe del escrutinio"},
    };
    int trabajos = 0;
    for (size_t i = 0; i < std::size(casos); ++i) {
        const auto& [args, orientacion, paginas, ancho, alto, hecho] = casos[i];
        SCOPED_TRACE(testing::PrintToString(args));
        LeeDatosGen(p.st, false);
        p.st.Datos.Orientacion = static_cast<int16_t>(orientacion);
        ASSERT_EQ(GrabaDatosGen(p.st), 0);
        const std::string pdf = Pdf(std::to_string(i) + ".pdf");
        auto r = Imprime(args, std::to_string(i) + ".pdf");
        ASSERT_EQ(r.codigo, 0) << r.errores;
        EXPECT_EQ(r.errores, "");
        EXPECT_EQ(r.salida, "Impreso: " + hecho + " en " + pdf + "\n");
        const auto a = Paginas(pdf);
        ASSERT_EQ(a.size(), size_t(paginas));
        EXPECT_TRUE(a[0].ancho == ancho && a[0].alto == alto) << a[0].ancho << " x " << a[0].alto;
        if (!cups.Motivo().empty() || ancho > 600) continue;  // the queue's paper is A4
        r = Imprime(args, "");
        ASSERT_EQ(r.codigo, 0) << r.errores;
        EXPECT_TRUE(Contiene(r.salida, " en la impresora\n"));
        std::vector<Pagina> b;  // a ticket sheet is a job of its own
        while (b.size() < a.size()) {
            const fs::path impreso = cups.Trabajo(++trabajos);
            ASSERT_FALSE(impreso.empty()) << "the queue left no PDF of job " << trabajos;
            for (Pagina& h : Paginas(impreso)) b.push_back(std::move(h));
        }
        ASSERT_EQ(a.size(), b.size());
        for (size_t k = 0; k < a.size(); ++k) {
            ASSERT_TRUE(a[k].ancho == b[k].ancho && a[k].alto == b[k].alto) << "page " << k + 1;
            EXPECT_EQ(TintaSinPareja(a[k], b[k]), "") << "ink without its pair, page " << k + 1;
        }
    }
    EXPECT_TRUE(Contiene(Orden("pdffonts " + Pdf("0.pdf")), "LiberationMono"));  // Courier New's metrics
    EXPECT_TRUE(std::regex_search(Orden("pdftotext -layout " + Pdf("5.pdf") + " -"),
                                  std::regex("27 columnas de 15 aciertos.: +2,700,000.00")));
    // A crossed and an empty box of the test ticket, in points from the paper's corner.
    const auto prueba = Paginas(Pdf("3.pdf"));
    EXPECT_TRUE(prueba[0].Tinta((940 + 8 * 212 + 35) / 20, 75 / 20, 128));
    EXPECT_FALSE(prueba[0].Tinta((940 + 35) / 20, 75 / 20, 250));
    // On a terminal the relation shows its progress up to the full bar; off
    // one (the runs above) it writes nothing on standard error.
    const std::string terminal = Orden("script -qec \"'" TOBAL31_CLI "' --datos '" + p.dir().string() +
                                       "' imprimir relacion --jornada 12 --orden 1 --pdf '" + Pdf("b.pdf") +
                                       "'\" /dev/null </dev/null");
    EXPECT_TRUE(Contiene(terminal, "\rImprimiendo el boleto nro. 4 [")) << terminal;
    EXPECT_TRUE(Contiene(terminal, "[####################]"));
    EXPECT_FALSE(Contiene(terminal, "[#####################"));
    if (!cups.Motivo().empty()) GTEST_SKIP() << "PDFs only: " << cups.Motivo();
}
#endif

}  // namespace
}  // namespace tobal
