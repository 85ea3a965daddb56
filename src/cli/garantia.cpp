// tobal31-cli garantia: what a stored reduction really guarantees, over
// every result its base quiniela allows.

#include <unistd.h>

#include <algorithm>
#include <ostream>

#include "app/Texto.h"
#include "cli/Comando.h"
#include "reduction/Almacen.h"
#include "reduction/Condiciones.h"
#include "reduction/Garantia.h"
#include "reduction/Tablas.h"

namespace tobal::cli {
namespace {

void EscribeTexto(Contexto& cx, const ResultadoGarantia& g) {
    const Separadores sep = SeparadoresLocales();
    const Reduccion& r = cx.st.ReduccionActual;
    cx.out << "Jornada " << r.Jornada << ", orden " << r.Orden << ": "
           << AUtf8(std::string(RecortaDer(NombreMetodoLargo(r.Metodo)))) << '\n';
    if (g.condicionada)
        cx.out << "Condiciones: " << TextoCondiciones(g.condiciones) << '\n'
               << TextoResultados(g.resultados, sep) << " de los " << TextoResultados(g.resultadosBase, sep)
               << " resultados dentro de la quiniela base cumplen las condiciones, ";
    else
        cx.out << TextoResultados(g.resultados, sep) << " resultados dentro de la quiniela base, ";
    cx.out << TextoResultados(g.columnas, sep) << (g.columnas == 1 ? " columna" : " columnas") << "\n\n";
    cx.out << "Aciertos    Resultados       %\n";
    for (const FilaGarantia& f : FilasGarantia(g))
        cx.out << AlineaDerecha(f.aciertos, 10) << AlineaDerecha(TextoResultados(f.resultados, sep), 14)
               << AlineaDerecha(TextoPorcentajeGarantia(f.porcentaje, sep), 8) << '\n';
    cx.out << '\n' << FraseGarantia(g) << '\n';
    if (const std::string base = FraseGarantiaBase(g); !base.empty()) cx.out << base << '\n';
    if (const std::string fuera = FraseGarantiaFuera(g); !fuera.empty()) cx.out << fuera << '\n';
}

void EscribeCsv(Contexto& cx, const ResultadoGarantia& g) {
    const Separadores sep{',', '.'};
    cx.out << kCabeceraAciertos << ',' << kCabeceraResultados << ',' << kCabeceraPorcentaje << '\n';
    for (const FilaGarantia& f : FilasGarantia(g))
        cx.out << f.aciertos << ',' << f.resultados << ',' << TextoPorcentajeGarantia(f.porcentaje, sep)
               << '\n';
    if (g.columnas == 0) return;
    if (!g.condicionada || g.resultados > 0) cx.out << "Garantía," << g.minimo << ",\n";
    if (g.condicionada) cx.out << "Garantía en toda la quiniela base," << g.minimoBase << ",\n";
    if (!FraseGarantiaFuera(g).empty()) cx.out << "Garantía con un partido fuera," << g.minimoFuera1 << ",\n";
}

int Garantia(Contexto& cx, std::vector<std::string>& args) {
    Estado& st = cx.st;
    const auto [jornada, orden] = OpcionesReduccion(st, args);
    const auto formato = TomaOpcion(args, "--formato");
    if (formato && *formato != "csv" && *formato != "texto")
        throw ErrorUso("--formato debe ser texto o csv (se ha dado \"" + *formato + "\")");
    SinMasArgumentos(args);
    cx.CargaDatosGenerales();
    if (!EligeReduccion(cx, jornada, orden)) return kSalidaRechazo;

    const bool terminal = ::isatty(STDERR_FILENO);
    const std::string linea = "Analizando " + FicheroRed(jornada, orden) + ": ";
    AvanceGarantia avance;
    if (terminal)
        avance = [&](int porcentaje) {
            BarraProgreso(cx.err, porcentaje, linea + AlineaDerecha(std::to_string(porcentaje), 3) + " % ");
        };
    ResultadoGarantia g;
    {
        InterrupcionCtrlC ctrlC;
        g = CalculaGarantia(st, avance, ctrlC.bandera());
    }
    if (terminal) cx.err << '\n';
    if (g.fin == FinGarantia::Cancelada) {
        cx.err << "El análisis de la garantía ha sido cancelado.\n";
        return kSalidaRechazo;
    }
    if (g.fin == FinGarantia::Fallida) {
        cx.err << g.mensaje << '\n';
        return kSalidaRechazo;
    }
    if (formato && *formato == "csv")
        EscribeCsv(cx, g);
    else
        EscribeTexto(cx, g);
    return kSalidaBien;
}

REGISTRA_COMANDO(
    "garantia", "aciertos que garantiza una reducción guardada, calculados sobre todos los resultados",
    "Uso: tobal31-cli [--datos CARPETA] garantia --jornada J --orden O [--formato texto|csv]\n\n"
    "Calcula, para cada resultado de los partidos 1 a 14 que permite la quiniela base de la\n"
    "reducción J/O, los aciertos de su mejor columna, y escribe cuántos resultados (y qué\n"
    "parte de ellos) dejan 14, 13, 12, 11 y 10 o menos aciertos, y el mínimo garantizado.\n"
    "Cuando algún partido no es triple, dice también el mínimo si el resultado se sale de la\n"
    "quiniela base en un partido. Lee el fichero de columnas una vez y no escribe nada.\n"
    "Si la reducción tiene condiciones (REDjjoo.CON), la tabla y la garantía son las de los\n"
    "resultados de la quiniela base que las cumplen, y se dice también el mínimo sobre toda\n"
    "la quiniela base.\n\n"
    "Con --formato csv: la cabecera Aciertos,Resultados,% y una fila por línea de la tabla,\n"
    "sin separador de miles y con punto decimal; después la fila Garantía con los aciertos\n"
    "garantizados en la segunda columna y, cuando existe, la fila Garantía con un partido fuera;\n"
    "con condiciones, también la fila Garantía en toda la quiniela base.\n\n"
    "Un fichero de columnas que falta, dañado o con un signo que la quiniela base no marca\n"
    "no se analiza: se dice la primera columna mala y termina con el código 1. Tampoco un\n"
    "fichero de condiciones dañado, del que se dice la línea mala. Ctrl+C cancela.\n",
    Garantia)

}  // namespace
}  // namespace tobal::cli
