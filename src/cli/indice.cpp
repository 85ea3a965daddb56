// tobal31-cli indice: the index of stored reductions.

#include <ostream>

#include "app/Texto.h"
#include "cli/Comando.h"
#include "reduction/Almacen.h"
#include "reduction/Condiciones.h"
#include "reduction/Indice.h"

namespace tobal::cli {
namespace {

// The line under a reduction's index line that shows its conditions, or
// why they cannot be read; empty when it has none.
std::string LineaCondiciones(const Estado& st, const std::string& linea) {
    if (linea.size() < 16) return {};
    const auto jornada = EnteroEstricto(Recorta(linea.substr(1, 2)));
    const auto orden = EnteroEstricto(Recorta(linea.substr(14, 2)));
    if (!jornada || !orden) return {};
    Condiciones cs;
    std::string fallo;
    const int e = LeeCondicionesReduccion(st, static_cast<int>(*jornada), static_cast<int>(*orden), cs, &fallo);
    if (e)
        return "    condiciones: " +
               TextoCondicionesIlegibles(static_cast<int>(*jornada), static_cast<int>(*orden), e, Visible(fallo));
    if (cs.lista.empty()) return {};
    return "    condiciones: " + TextoCondiciones(cs);
}

int Indice(Contexto& cx, std::vector<std::string>& args) {
    SinMasArgumentos(args);
    cx.CargaDatosGenerales();
    tobal::Indice ind = CargaIndice(cx.st);
    if (cx.st.ErrorFichero && cx.st.ErrorFichero != 53) return kSalidaRechazo;
    cx.out << AUtf8(kCabeceraIndice1) << '\n' << AUtf8(kCabeceraIndice2) << '\n';
    for (const std::string& l : ind.lineas) {
        cx.out << AUtf8(l) << '\n';
        if (const std::string c = LineaCondiciones(cx.st, l); !c.empty()) cx.out << c << '\n';
    }
    return kSalidaBien;
}

REGISTRA_COMANDO("indice", "lista las reducciones guardadas",
                 "Uso: tobal31-cli [--datos CARPETA] indice\n\n"
                 "Escribe las dos líneas de cabecera y una línea por reducción guardada en BASES.TBX,\n"
                 "en el orden del fichero, tal como las muestra el índice de reducciones. Bajo la\n"
                 "línea de una reducción con condiciones, una línea sangrada las dice, por ejemplo\n"
                 "\"    condiciones: X 2-5; seguidos 1-4; fallos 1\", o que su fichero está dañado.\n",
                 Indice)

}  // namespace
}  // namespace tobal::cli
