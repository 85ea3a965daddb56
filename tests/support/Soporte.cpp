#include "Soporte.h"

#include <fcntl.h>
#include <grp.h>
#include <spawn.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <numeric>
#include <stdexcept>

#include "data/Jornadas.h"
#include "reduction/Almacen.h"
#include "reduction/Base.h"

extern char** environ;

namespace tobal::prueba {

// A test still running after TOBAL31_LIMITE_PRUEBA seconds (60 by default,
// 0 for none) is stuck: a window waiting for an answer, a read without end.
// It is named and the run ends, failed, instead of waiting for the runner's
// timeout.
class Vigilante : public ::testing::EmptyTestEventListener {
    static inline char aviso_[600];
    static void Para(int) {
        [[maybe_unused]] const ssize_t escrito = ::write(2, aviso_, std::strlen(aviso_));
        ::_exit(3);
    }
    void OnTestStart(const ::testing::TestInfo& t) override {
        std::snprintf(aviso_, sizeof aviso_, "\n%s.%s: still running at its time limit, stopped as stuck\n",
                      t.test_suite_name(), t.name());
        std::signal(SIGALRM, Para);
        const char* v = std::getenv("TOBAL31_LIMITE_PRUEBA");
        ::alarm(v ? static_cast<unsigned>(std::atoi(v)) : 60);
    }
    void OnTestEnd(const ::testing::TestInfo&) override { ::alarm(0); }
};

[[maybe_unused]] const bool kVigilado = [] {
    ::testing::UnitTest::GetInstance()->listeners().Append(new Vigilante);
    return true;
}();

CarpetaTemporal::CarpetaTemporal() {
    std::string plantilla = (fs::temp_directory_path() / "tobal31-XXXXXX").string();
    if (!::mkdtemp(plantilla.data())) throw std::runtime_error("mkdtemp");
    ruta_ = plantilla;
}

CarpetaTemporal::~CarpetaTemporal() {
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(ruta_, ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec))
        // Never through a link: tests point links at /dev/null and the like.
        if (std::error_code e; !it->is_symlink(e))
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, e);
    fs::permissions(ruta_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(ruta_, ec);
}

EstadoPrueba::EstadoPrueba() {
    st.DirPrograma = carpeta.ruta();
    st.DirDatos = carpeta.ruta();
    st.informador = &mensajes;
}

std::string Bytes(const fs::path& ruta) {
    std::ifstream f(ruta, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), {}};
}

void EscribeBytes(const fs::path& ruta, const std::string& datos) {
    std::ofstream(ruta, std::ios::binary | std::ios::trunc) << datos;
}

std::string ColumnaPrueba(int n) {
    std::string c;
    for (int m = 1; m <= 15; ++m) c += "1X2"[(n + m) % 3];
    return c;
}

std::string FicheroColumnas(const std::vector<std::string>& columnas) {
    std::string s;
    for (const auto& c : columnas) s += LineaColumna(c);
    return s;
}

const std::vector<ColumnaDanada>& ColumnasDanadas() {
    static const std::vector<ColumnaDanada> lista = {
        {"short", "\"1X21X21X21X21X\"\r\n"},
        {"long", "\"1X21X21X21X21X21\"\r\n"},
        {"a sign for the closing quote", "\"1X21X21X21X21X21\r\n"},
        {"no quotes", "11X21X21X21X21X2\r\n"},
        {"lower-case x", "\"1x21X21X21X21X2\"\r\n"},
        {"a blank", "\"1X21X2 X21X21X2\"\r\n"},
        {"a quote inside", "\"1X21X2\"X21X21X2\r\n"},
        {"line feed only", "\"1X21X21X21X21X2\"\n\""},
        {"line feed inside", "\"1X21X2\n1X21X21X\"\r\n"},
        {"no carriage return", "\"1X21X21X21X21X2\"\n\n"},
        {"empty", "\r\n"},
        {"a NUL", std::string("\"1X21X21X21X21X\0\"\r\n", 19)},
        {"cut by the end", "\"1X21X21X21X"},
    };
    return lista;
}

std::string FicheroConColumnaDanada(const ColumnaDanada& d) {
    std::string f = FicheroColumnas({ColumnaPrueba(1), ColumnaPrueba(2)}) + d.bytes;
    if (d.que != "cut by the end") f += LineaColumna(ColumnaPrueba(4));
    return f;
}

void GrabaReduccionConColumnas(Estado& st, int jornada, int orden, const std::vector<std::string>& columnas) {
    st.ReduccionActual = Reduccion{};
    st.Jornada() = static_cast<int16_t>(jornada);
    st.Orden() = static_cast<int16_t>(orden);
    for (int i = 1; i <= 15; ++i) {  // a base that marks every sign the columns may carry
        Partido& p = st.ReduccionActual.Partidos[i];
        p.Signo = {0, 1, 1, 1};
        p.NumSignos = 3;
    }
    st.ReduccionActual.ApuestasDirectas = static_cast<int32_t>(columnas.size()) * 3;
    st.ReduccionActual.ApuestasReducidas = static_cast<int32_t>(columnas.size());
    if (GrabaReduccion(st) != 0) throw std::runtime_error("GrabaReduccion");
    EscribeBytes(st.DirDatos / FicheroRed(jornada, orden), FicheroColumnas(columnas));
}

void GrabaReduccionPrueba(Estado& st, int jornada, int orden, int columnas) {
    std::vector<std::string> v;
    for (int n = 1; n <= columnas; ++n) v.push_back(ColumnaPrueba(n));
    GrabaReduccionConColumnas(st, jornada, orden, v);
}

std::vector<std::string> Ficheros(const fs::path& dir) {
    std::vector<std::string> r;
    for (const auto& f : fs::directory_iterator(dir))
        if (f.path().filename().string()[0] != '.') r.push_back(f.path().filename().string());
    std::sort(r.begin(), r.end());
    return r;
}

std::map<std::string, std::string> Contenido(const fs::path& dir) {
    std::map<std::string, std::string> m;
    for (const auto& n : Ficheros(dir)) m[n] = Bytes(dir / n);
    return m;
}

std::string RegistroJornadaPrueba(int jornada, const std::string& fecha) {
    std::array<std::string, 30> eq;
    for (int s = 0; s < 30; ++s) eq[s] = "Equipo" + std::to_string(s + 1);
    return RegistroEditor(
        RegistroJornadaVacio().substr(0, 463) + std::string(15, '1') + "   1.234,50" + std::string(44, ' '),
        jornada, fecha, eq);
}

DiscoPequeno::DiscoPequeno(size_t bytes) {
    const std::string opciones = "size=" + std::to_string(bytes) + ",mode=0777";
    montado_ = ::mount("tobal31", carpeta_.ruta().c_str(), "tmpfs", 0, opciones.c_str()) == 0;
}

DiscoPequeno::~DiscoPequeno() {
    if (montado_) ::umount2(carpeta_.ruta().c_str(), MNT_DETACH);
}

bool DiscoPequeno::SoloLectura() {
    return montado_ &&
           ::mount("tobal31", carpeta_.ruta().c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) == 0;
}

void DiscoPequeno::Llena() {
    const int fd = ::open((carpeta_ / "relleno").c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    const std::string bloque(4096, 'r');
    for (size_t n = bloque.size(); n > 0; n /= 2)
        while (::write(fd, bloque.data(), n) == static_cast<ssize_t>(n)) {
        }
    ::close(fd);
}

LimiteTamanoFicheros::LimiteTamanoFicheros(size_t bytes) : senal_(std::signal(SIGXFSZ, SIG_IGN)) {
    ::getrlimit(RLIMIT_FSIZE, &anterior_);
    rlimit l = anterior_;
    l.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &l);
}

LimiteTamanoFicheros::~LimiteTamanoFicheros() {
    ::setrlimit(RLIMIT_FSIZE, &anterior_);
    std::signal(SIGXFSZ, senal_);
}

CliEnMarcha::CliEnMarcha(std::vector<std::string> args, const std::string& parada) {
    args.insert(args.begin(), TOBAL31_CLI);  // set by the build
    posix_spawn_file_actions_t acc;
    posix_spawn_file_actions_init(&acc);
    posix_spawn_file_actions_addopen(&acc, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&acc, 1, (tmp_ / "salida").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&acc, 2, (tmp_ / "errores").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    std::string paso = "TOBAL31_PARADA=" + parada;
    std::vector<char*> envp;
    for (char** v = environ; *v; ++v)
        if (!std::string_view(*v).starts_with("TOBAL31_PARADA=")) envp.push_back(*v);
    if (!parada.empty()) envp.push_back(paso.data());
    envp.push_back(nullptr);
    if (posix_spawn(&pid_, argv[0], &acc, nullptr, argv.data(), envp.data()) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&acc);
}

CliEnMarcha::~CliEnMarcha() {
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
}

bool CliEnMarcha::EsperaParada() {
    const auto limite = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (pid_ > 0 && estado_ < 0 && std::chrono::steady_clock::now() < limite) {
        int estado = 0;
        const pid_t p = ::waitpid(pid_, &estado, WNOHANG | WUNTRACED);
        if (p == pid_ && WIFSTOPPED(estado)) return true;
        if (p == pid_) estado_ = estado;
        ::usleep(1000);
    }
    return false;
}

void CliEnMarcha::Continua() {
    if (pid_ > 0 && estado_ < 0) ::kill(pid_, SIGCONT);
}

ResultadoCli CliEnMarcha::Espera() {
    ResultadoCli r;
    if (pid_ > 0 && estado_ < 0) {
        ::kill(pid_, SIGCONT);  // a run left stopped would never end
        // A run that does not end within a minute is a fault (a read
        // without end, an open that waits): it is killed.
        const auto limite = std::chrono::steady_clock::now() + std::chrono::minutes(1);
        while (::waitpid(pid_, &estado_, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() > limite) ::kill(pid_, SIGKILL);
            ::usleep(2000);
        }
    }
    if (pid_ > 0) r.codigo = WIFEXITED(estado_) ? WEXITSTATUS(estado_) : 128 + WTERMSIG(estado_);
    pid_ = -1;
    r.salida = Bytes(tmp_ / "salida");
    r.errores = Bytes(tmp_ / "errores");
    return r;
}

ResultadoCli EjecutaCli(const std::vector<std::string>& args) { return CliEnMarcha(args).Espera(); }

std::string Orden(const std::string& linea) {
    std::string salida;
    if (FILE* f = ::popen((linea + " 2>/dev/null").c_str(), "r")) {
        char buf[4096];
        for (size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;) salida.append(buf, n);
        ::pclose(f);
    }
    return salida;
}

bool EsRoot() { return ::geteuid() == 0; }

void EnHijo(const std::function<void()>& cuerpo) {
    constexpr int kSaltado = 77;
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0) << "fork";
    if (pid == 0) {
        cuerpo();
        std::fflush(nullptr);
        ::_exit(::testing::Test::HasFailure() ? 1 : ::testing::Test::IsSkipped() ? kSaltado : 0);
    }
    int estado = 0;
    ::waitpid(pid, &estado, 0);
    if (WIFEXITED(estado) && WEXITSTATUS(estado) == kSaltado) GTEST_SKIP() << "skipped in the child process";
    EXPECT_TRUE(WIFEXITED(estado) && WEXITSTATUS(estado) == 0) << "the child process failed (see above)";
}

void ComoUsuarioSinPrivilegios(const std::function<void()>& cuerpo) {
    if (!EsRoot()) return cuerpo();
    EnHijo([&] {
        constexpr uid_t kNadie = 65534;
        if (::setgroups(0, nullptr) != 0 || ::setgid(kNadie) != 0 || ::setuid(kNadie) != 0)
            GTEST_SKIP() << "root cannot become an unprivileged user here";
        cuerpo();
    });
}

::testing::AssertionResult ErrorDeUso(const ResultadoCli& r) {
    if (r.codigo == 2 && r.salida.empty() && r.errores.rfind("tobal31-cli", 0) == 0 &&
        std::count(r.errores.begin(), r.errores.end(), '\n') == 1)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "exit " << r.codigo << ", stdout \"" << r.salida << "\", stderr \"" << r.errores << "\"";
}

::testing::AssertionResult Contiene(const std::string& texto, const std::string& parte) {
    if (texto.find(parte) != std::string::npos) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "\"" << parte << "\" not in \"" << texto << "\"";
}

ResultadoCli EjecutaCliEn(const fs::path& datos, std::vector<std::string> args,
                          const std::vector<std::string>& mas) {
    args.insert(args.begin(), {"--datos", datos.string()});
    args.insert(args.end(), mas.begin(), mas.end());
    return EjecutaCli(args);
}

void BaseAleatoria(std::mt19937& g, Reduccion& r, int metodo, int triples, int dobles, int libres) {
    auto azar = [&](int n) { return static_cast<int>(g() % static_cast<unsigned>(n)); };
    const int reducidos = triples + dobles;
    std::vector<std::string> token(15);
    for (auto& t : token) t = "1X2"[azar(3)];
    std::vector<size_t> orden(14);
    std::iota(orden.begin(), orden.end(), 0);
    std::shuffle(orden.begin(), orden.end(), g);
    int signos[3] = {};
    for (int k = 0; k < reducidos + libres; ++k) {
        std::string& t = token[orden[static_cast<size_t>(k)]];
        t = k < triples || (k >= reducidos && azar(2)) ? "1X2" : std::array{"1X", "12", "X2"}[azar(3)];
        if (k >= reducidos) continue;
        const char s = t[static_cast<size_t>(azar(static_cast<int>(t.size())))];
        ++signos[std::string_view("1X2").find(s)];
        t += metodo == 2 ? std::string("*=") + s : "*";
    }
    if (azar(4) == 0) std::swap(signos[azar(3)], signos[azar(3)]);
    std::string base;
    for (const auto& t : token) base += t + " ";
    const int minimo = azar(reducidos + 1);
    const std::string errores =
        std::to_string(minimo) + "," + std::to_string(minimo + azar(reducidos + 1 - minimo));
    const std::string cuentas =
        std::to_string(signos[0]) + "," + std::to_string(signos[1]) + "," + std::to_string(signos[2]);
    r = Reduccion{};
    ASSERT_FALSE(LeeReduccion(metodo, base, metodo == 2 ? std::optional(errores) : std::nullopt,
                              metodo == 3 ? std::optional(cuentas) : std::nullopt, r))
        << base;
}

}  // namespace tobal::prueba
