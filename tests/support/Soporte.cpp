#include "Soporte.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

extern char** environ;

namespace tobal::prueba {

CarpetaTemporal::CarpetaTemporal() {
    std::string plantilla = (fs::temp_directory_path() / "tobal31-XXXXXX").string();
    if (!::mkdtemp(plantilla.data())) throw std::runtime_error("mkdtemp");
    ruta_ = plantilla;
}

CarpetaTemporal::~CarpetaTemporal() {
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(ruta_, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec))
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
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
    std::ostringstream ss;
    ss << f.rdbuf();
    return ss.str();
}

void EscribeBytes(const fs::path& ruta, const std::string& datos) {
    std::ofstream f(ruta, std::ios::binary | std::ios::trunc);
    f << datos;
}

bool EsRoot() { return ::geteuid() == 0; }

ResultadoCli EjecutaCli(const std::vector<std::string>& args) {
#ifdef TOBAL31_CLI
    const std::string exe = TOBAL31_CLI;
#else
    const std::string exe = "tobal31-cli";
#endif
    CarpetaTemporal tmp;
    const fs::path fOut = tmp / "salida", fErr = tmp / "errores";
    posix_spawn_file_actions_t acc;
    posix_spawn_file_actions_init(&acc);
    posix_spawn_file_actions_addopen(&acc, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&acc, 1, fOut.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&acc, 2, fErr.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<std::string> todos{exe};
    todos.insert(todos.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& a : todos) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid;
    ResultadoCli r;
    if (posix_spawn(&pid, exe.c_str(), &acc, nullptr, argv.data(), environ) == 0) {
        int estado = 0;
        ::waitpid(pid, &estado, 0);
        r.codigo = WIFEXITED(estado) ? WEXITSTATUS(estado) : 128 + WTERMSIG(estado);
    }
    posix_spawn_file_actions_destroy(&acc);
    r.salida = Bytes(fOut);
    r.errores = Bytes(fErr);
    return r;
}

}  // namespace tobal::prueba
