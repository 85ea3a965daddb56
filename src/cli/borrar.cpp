// tobal31-cli borrar: deletes everything stored for a range of matchdays.

#include <ostream>

#include "cli/Comando.h"
#include "reduction/Borrado.h"

namespace tobal::cli {
namespace {

int Borrar(Contexto& cx, std::vector<std::string>& args) {
    const int desde = OpcionEntera(args, "--desde", 1, 52);
    const int hasta = OpcionEntera(args, "--hasta", 1, 52);
    SinMasArgumentos(args);
    if (hasta < desde) throw ErrorUso("--hasta no puede ser menor que --desde");
    cx.CargaDatosGenerales();
    const ResultadoBorrado r = BorraJornadas(cx.st, desde, hasta);
    if (!r.fallos.empty()) {
        cx.err << kTituloBorradoIncompleto << '\n';
        for (const std::string& f : r.fallos) cx.err << f << '\n';
        return kSalidaRechazo;
    }
    cx.out << "Borradas las jornadas " << desde << " a " << hasta << " ("
           << Cuenta(r.ficheros, "fichero", "ficheros") << " de columnas)\n";
    return kSalidaBien;
}

REGISTRA_COMANDO("borrar", "borra los datos y reducciones de un intervalo de jornadas",
                 "Uso: tobal31-cli [--datos CARPETA] borrar --desde J1 --hasta J2\n\n"
                 "Borra, sin preguntar, todo lo guardado de las jornadas J1 a J2: el registro\n"
                 "de cada jornada (equipos, fecha, resultados y premios), sus reducciones en BASES.TBX\n"
                 "y sus ficheros de columnas RED*.TBX. J1 y J2 van de 1 a 52 aunque los datos generales\n"
                 "tengan menos jornadas (TotJornadas), para poder borrar lo que quedó de una temporada\n"
                 "más larga.\n",
                 Borrar)

}  // namespace
}  // namespace tobal::cli
