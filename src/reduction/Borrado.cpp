#include "reduction/Borrado.h"

#include <system_error>

#include "app/Cerrojo.h"
#include "app/Estado.h"
#include "app/Texto.h"
#include "data/Jornadas.h"
#include "reduction/Almacen.h"

namespace tobal {

std::string TextoConfirmacionBorrado(int desde, int hasta) {
    std::string t = "Se  va  a  proceder  a  la  eliminación  de  todos  los  datos";
    if (desde != hasta)
        t += "  desde la  jornada  " + AlineaDerecha(std::to_string(desde), 2) + "  hasta  la  jornada " +
             AlineaDerecha(std::to_string(hasta), 2) + "  ";
    else
        t += " de la Jornada " + AlineaDerecha(std::to_string(desde), 2);
    t += " .  Si  desea  continuar  con  el  proceso,  pulse Borrar. Si desea cancelar el proceso, pulse Salir.";
    return t;
}

int BorraJornadas(Estado& st, int desde, int hasta) {
    namespace fs = std::filesystem;
    const std::string blancos(kLongRegJornada, ' ');
    Cerrojo cerrojo(st.DirDatos);
    // Leftovers of dead runs go too (their names do not end in .TBX).
    LimpiaTemporales(st);
    for (int j = desde; j <= hasta; ++j) GrabaRegistroJornada(st, j, blancos);
    LiberaReducciones(st, desde, hasta);

    int borrados = 0;
    std::error_code ec;
    std::vector<fs::path> aBorrar;
    for (auto it = fs::directory_iterator(st.DirDatos, ec); !ec && it != fs::directory_iterator(); it.increment(ec)) {
        const std::string nombre = Mayusculas(it->path().filename().string());
        if (nombre.size() < 9 || nombre.rfind("RED", 0) != 0 || nombre.substr(nombre.size() - 4) != ".TBX") continue;
        const std::string jj = nombre.substr(3, 2);
        if (jj[0] < '0' || jj[0] > '9' || jj[1] < '0' || jj[1] > '9') continue;
        const int j = (jj[0] - '0') * 10 + (jj[1] - '0');
        if (j >= desde && j <= hasta) aBorrar.push_back(it->path());
    }
    for (const fs::path& p : aBorrar) {
        std::error_code e2;
        if (fs::is_regular_file(p, e2) && fs::remove(p, e2)) ++borrados;
    }
    st.ErrorFichero = 0;
    return borrados;
}

}  // namespace tobal
