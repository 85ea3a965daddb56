#include "app/DirDatos.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <system_error>

#include "app/Archivo.h"
#include "app/Cerrojo.h"
#include "app/Estado.h"

namespace tobal {

namespace fs = std::filesystem;

const std::vector<std::string>& FicherosDatosIniciales() {
    static const std::vector<std::string> ficheros = {
        "BASES.TBX",   "DATOSGEN.TBX", "EQUIPOS.TBX", "JORNADAS.TBX", "RED0101.TBX", "RED0102.TBX",
        "RED0301.TBX", "RED0302.TBX",  "RED0303.TBX", "RED0401.TBX",  "RED0402.TBX"};
    return ficheros;
}

fs::path DirTrabajo() {
    fs::path base;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg) {
        base = xdg;
    } else if (const char* home = std::getenv("HOME"); home && *home) {
        base = fs::path(home) / ".local" / "share";
    } else {
        base = fs::temp_directory_path();
    }
    return base / "Tobal31" / "";
}

fs::path DirEjecutable() {
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec) return fs::current_path(ec);
    return exe.parent_path();
}

bool BajoPrefijoDelSistema(const fs::path& dir) {
    const fs::path d = dir.lexically_normal();
    for (const fs::path prefijo : {"/usr", "/opt"}) {  // /usr/local among them
        if (std::mismatch(prefijo.begin(), prefijo.end(), d.begin(), d.end()).first == prefijo.end()) return true;
    }
    return false;
}

void PreparaDirDatos(Estado& st, const fs::path& dirTrabajo) {
    st.DirDatos = st.DirPrograma;
    // Probe: can the program folder be written? An installed program keeps
    // no data beside its executable, even where it could write (as root).
    if (!BajoPrefijoDelSistema(st.DirPrograma)) {
        fs::path sonda = st.DirDatos / "CSCD.WRK";
        int fd = ::open(sonda.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        if (fd >= 0) {
            ::close(fd);
            ::unlink(sonda.c_str());
            return;
        }
    }
    const fs::path origen = st.DirPrograma;
    st.DirDatos = dirTrabajo;
    std::error_code ec;
    // The original creates only the last level; a per-user folder may need
    // its parents too.
    fs::create_directories(st.DirDatos, ec);
    if (fs::is_regular_file(st.DirDatos / "DATOSGEN.TBX", ec)) return;
    Cerrojo cerrojo(st.DirDatos);
    if (cerrojo.Error()) return;  // shown by the first change the user tries
    for (const std::string& nombre : FicherosDatosIniciales()) {
        std::string datos;
        if (LeeFichero(origen / nombre, datos) != 0) continue;
        EscribeFicheroAtomico(st.DirDatos / nombre, datos);
    }
}

}  // namespace tobal
