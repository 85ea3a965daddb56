#include "reduction/Borrado.h"

#include <system_error>

#include "app/Archivo.h"
#include "app/Cerrojo.h"
#include "app/ErrorFichero.h"
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
    t += " .  Si  desea  continuar  con  el  proceso,  pulse Borrar. Si desea cancelar el proceso, pulse "
         "Salir.";
    return t;
}

ResultadoBorrado BorraJornadas(Estado& st, int desde, int hasta) {
    namespace fs = std::filesystem;
    ResultadoBorrado r;
    auto falla = [&](const std::string& que, int error) {
        r.fallos.push_back(que + " (error " + std::to_string(error) + ": " + MotivoError(error) + ").");
    };
    Cerrojo cerrojo(st.DirDatos);
    if (cerrojo.Error()) {
        falla("No se ha podido borrar nada: la carpeta de datos no admite cambios", cerrojo.Error());
        st.ErrorFichero = static_cast<int16_t>(cerrojo.Error());
        return r;
    }
    // Leftovers of dead runs go too (their names do not end in .TBX).
    LimpiaTemporales(st);
    const std::string blancos(kLongRegJornada, ' ');
    for (int j = desde; j <= hasta; ++j)
        if (int e = GrabaRegistroJornada(st, j, blancos)) {
            falla("No se han podido borrar los datos de la jornada " + std::to_string(j) + " en JORNADAS.TBX",
                  e);
            break;  // the same file: the next ones would fail alike
        }
    int errorBases = 0;
    LiberaReducciones(st, desde, hasta, &errorBases);
    if (errorBases) falla("No se han podido borrar las reducciones de BASES.TBX", errorBases);

    std::error_code ec;
    std::vector<fs::path> aBorrar;
    for (auto it = fs::directory_iterator(st.DirDatos, ec); !ec && it != fs::directory_iterator();
         it.increment(ec)) {
        const std::string nombre = Mayusculas(it->path().filename().string());
        if (nombre.size() < 9 || nombre.rfind("RED", 0) != 0 || nombre.substr(nombre.size() - 4) != ".TBX")
            continue;
        const std::string jj = nombre.substr(3, 2);
        if (jj[0] < '0' || jj[0] > '9' || jj[1] < '0' || jj[1] > '9') continue;
        const int j = (jj[0] - '0') * 10 + (jj[1] - '0');
        if (j >= desde && j <= hasta) aBorrar.push_back(it->path());
    }
    if (ec)
        falla("No se ha podido leer la carpeta de datos para borrar los ficheros de columnas",
              NumeroError(ec));
    for (const fs::path& p : aBorrar) {
        std::error_code e2;
        if (fs::is_directory(p, e2)) continue;  // not a columns file
        if (int e = BorraFichero(p); e == 0)
            ++r.ficheros;
        else if (e != Err::NoEncontrado)
            falla("No se ha podido borrar el fichero de columnas " + p.filename().string(), e);
    }
    st.ErrorFichero = 0;
    return r;
}

}  // namespace tobal
