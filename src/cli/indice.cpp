// tobal31-cli indice: the index of stored reductions.

#include <ostream>

#include "cli/Comando.h"
#include "reduction/Indice.h"

namespace tobal::cli {
namespace {

int Indice(Contexto& cx, std::vector<std::string>& args) {
    SinMasArgumentos(args);
    cx.CargaDatosGenerales();
    tobal::Indice ind = CargaIndice(cx.st);
    if (cx.st.ErrorFichero && cx.st.ErrorFichero != 53) return kSalidaRechazo;
    cx.out << AUtf8(kCabeceraIndice1) << '\n' << AUtf8(kCabeceraIndice2) << '\n';
    for (const std::string& l : ind.lineas) cx.out << AUtf8(l) << '\n';
    return kSalidaBien;
}

REGISTRA_COMANDO("indice", "lista las reducciones guardadas",
                 "Uso: tobal31-cli [--datos CARPETA] indice\n\n"
                 "Escribe las dos líneas de cabecera y una línea por reducción guardada en BASES.TBX,\n"
                 "en el orden del fichero, tal como las muestra el índice de reducciones.\n",
                 Indice)

}  // namespace
}  // namespace tobal::cli
