// tobal31-cli equipos: the list of teams.

#include <ostream>

#include "app/ErrorFichero.h"
#include "app/Estado.h"
#include "cli/Comando.h"
#include "data/Equipos.h"

namespace tobal::cli {
namespace {

int Equipos(Contexto& cx, std::vector<std::string>& args) {
    SinMasArgumentos(args);
    cx.CargaDatosGenerales();
    std::vector<std::string> equipos;
    LeeEquipos(cx.st, equipos, Op::CLE);
    if (cx.st.ErrorFichero && cx.st.ErrorFichero != Err::NoEncontrado) return kSalidaRechazo;
    for (const std::string& e : equipos) cx.out << AUtf8(e) << '\n';
    return kSalidaBien;
}

REGISTRA_COMANDO("equipos", "lista los equipos de EQUIPOS.TBX",
                 "Uso: tobal31-cli [--datos CARPETA] equipos\n\n"
                 "Escribe la lista de equipos, un nombre por línea, en el orden del fichero.\n",
                 Equipos)

}  // namespace
}  // namespace tobal::cli
