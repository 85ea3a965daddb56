// tobal31-cli estadistica: the statistics of a base quiniela, as the
// reduction screen shows them after every click. Writes nothing.

#include "reduction/Estadistica.h"

#include <ostream>

#include "cli/Comando.h"
#include "reduction/Base.h"
#include "reduction/Motor.h"

namespace tobal::cli {
namespace {

int Estadistica(Contexto& cx, std::vector<std::string>& args) {
    const int metodo = OpcionEntera(args, "--metodo", 1, kMetodos);
    const auto base = TomaOpcion(args, "--base");
    if (!base) throw ErrorUso("falta la opción --base");
    const auto errores = TomaOpcion(args, "--errores");
    const auto signos = TomaOpcion(args, "--signos");
    const auto garantia = TomaOpcion(args, "--garantia");
    cx.st.CondicionesActuales = OpcionesCondiciones(args);
    SinMasArgumentos(args);
    Reduccion& r = cx.st.ReduccionActual;
    if (auto fallo = LeeReduccion(metodo, *base, errores, signos, r, garantia)) throw ErrorUso(*fallo);

    const ResultadoEstadistica res = CalculaEstadistica(cx.st);
    if (RechazaCondiciones(cx.st)) return Rechaza(cx, kTituloCondicionesRechazadas, kDirectoSinCondiciones);
    for (const LineaEstadistica& l : res.lineas)
        cx.out << l.etiqueta << ':' << (l.valor.empty() ? "" : " ") << l.valor << '\n';
    if (res.bajaMinErrores)
        cx.err << "El mínimo de errores baja a " << r.MinErrores << ", los múltiples a reducir.\n";
    if (res.bajaMaxErrores)
        cx.err << "El máximo de errores baja a " << r.MaxErrores << ", los múltiples a reducir.\n";
    const char* nombres[] = {"", "1", "X", "2"};
    for (int s = 1; s <= 3; ++s)
        if (res.bajaSignos[s])
            cx.err << "Los signos " << nombres[s] << " bajan a " << r.Signos[s] << ", los disponibles.\n";
    return kSalidaBien;
}

REGISTRA_COMANDO("estadistica", "estadísticas de una quiniela base (apuestas, importes, factor)",
                 "Uso: tobal31-cli [--datos CARPETA] estadistica --metodo 1|2|3|4 --base BASE\n"
                 "                 [--errores MIN,MAX] [--signos N1,NX,N2] [--garantia R]\n"
                 "                 [--condicion TEXTO]... [--fallos K]\n"
                 "\n"
                 "Escribe las estadísticas de la quiniela base con el método dado, una por línea,\n"
                 "como las muestra la pantalla de reducción. No escribe ningún fichero.\n"
                 "\n"
                 "BASE: 15 partidos separados por blancos o comas; en cada uno, los signos marcados\n"
                 "entre 1, X y 2 en ese orden (- para ninguno), * si es un múltiple a reducir, y =\n"
                 "con el signo de la columna base. Ejemplo: \"1X2*=1 1X* 1 1 X2*=2 1 1 1 1 1 1 1 1 1 X\".\n"
                 "--errores (método 2) y --signos (método 3) por encima de lo que la quiniela permite\n"
                 "se rebajan, como en la pantalla. --garantia (método 4): los errores garantizados en\n"
                 "los múltiples reducidos, 1 o 2 (1 si no se da).\n"
                 AYUDA_CONDICIONES
                 "Con condiciones, la última línea da los resultados de la quiniela base que las\n"
                 "cumplen. El método 1 con una tabla no admite condiciones: use el método 4.\n",
                 Estadistica)

}  // namespace
}  // namespace tobal::cli
