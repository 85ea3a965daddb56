// tobal31-cli reducir: checks, saves and generates a reduction, as the
// reduction button does.

#include <unistd.h>

#include <filesystem>
#include <ostream>

#include "app/Cerrojo.h"
#include "app/Formato.h"
#include "app/Texto.h"
#include "cli/Comando.h"
#include "reduction/Almacen.h"
#include "reduction/Base.h"
#include "reduction/Comprobaciones.h"
#include "reduction/Condiciones.h"
#include "reduction/Estadistica.h"
#include "reduction/Motor.h"
#include "reduction/Resumen.h"
#include "reduction/Tablas.h"

namespace tobal::cli {
namespace {

int Reducir(Contexto& cx, std::vector<std::string>& args) {
    Estado& st = cx.st;
    const auto [jornada, orden] = OpcionesReduccion(st, args);
    const int metodo = OpcionEntera(args, "--metodo", 1, kMetodos);
    const auto base = TomaOpcion(args, "--base");
    if (!base) throw ErrorUso("falta la opción --base");
    const auto errores = TomaOpcion(args, "--errores");
    const auto signos = TomaOpcion(args, "--signos");
    const auto garantia = TomaOpcion(args, "--garantia");
    const bool reemplazar = TomaBandera(args, "--reemplazar");
    Condiciones condiciones = OpcionesCondiciones(args);
    SinMasArgumentos(args);

    Reduccion leida = st.ReduccionActual;
    leida.Jornada = static_cast<int16_t>(jornada);
    leida.Orden = static_cast<int16_t>(orden);
    if (auto fallo = LeeReduccion(metodo, *base, errores, signos, leida, garantia)) throw ErrorUso(*fallo);
    cx.CargaDatosGenerales();
    Reduccion& r = st.ReduccionActual;
    r = leida;
    st.CondicionesActuales = std::move(condiciones);

    CalculaEstadistica(st);
    if (RechazaCondiciones(st)) return Rechaza(cx, kTituloCondicionesRechazadas, kDirectoSinCondiciones);
    if (auto aviso = ComprobacionesReducir(st)) return Rechaza(cx, aviso->titulo, aviso->texto);
    // Held from the question "does it exist?" to the end of the run.
    Cerrojo clave(st.DirDatos, ClaveReduccion(jornada, orden));
    if (clave.Ocupado()) return Rechaza(cx, "REDUCCIÓN EN CURSO", TextoReduccionEnCurso(jornada, orden));
    if (clave.Error())
        return Rechaza(cx, "CARPETA DE DATOS BLOQUEADA",
                       "No se puede calcular la reducción: " + DescripcionError(clave.Error()) + ".");
    // Without BASES.TBX nothing exists yet; the lookup would only report it.
    std::error_code ec;
    if (std::filesystem::exists(st.DirDatos / kFicheroBases, ec) && ExisteReduccion(st, jornada, orden) &&
        !reemplazar) {
        return Rechaza(cx, AvisoReduccionExiste().titulo,
                       "Ya existe una reducción de la jornada " + std::to_string(jornada) +
                           " con el número de orden " + std::to_string(orden) +
                           ". Para conservarla, dé otro número de orden con --orden; para "
                           "sustituirla, repita la orden con --reemplazar.");
    }

    const bool terminal = ::isatty(STDERR_FILENO);
    AvanceReduccion avance;
    if (terminal) {
        cx.err << kTituloReduciendo << '\n' << TextoCuentas(st) << '\n';
        avance = [&cx](int porcentaje, const std::string& linea) {
            BarraProgreso(cx.err, porcentaje, linea);
        };
    }
    ResultadoReduccion res;
    {
        InterrupcionCtrlC ctrlC;
        res = EjecutaReduccion(st, avance, ctrlC.bandera());
    }
    if (terminal) cx.err << '\n' << (res.fin == FinReduccion::Fallida ? "" : res.mensaje + "\n");

    if (res.fin == FinReduccion::Cancelada) {
        if (!terminal) cx.err << res.mensaje << '\n';
        return kSalidaRechazo;
    }
    if (res.fin == FinReduccion::Fallida) {
        if (res.error == 0 || !st.informador) cx.err << res.mensaje << '\n';
        return kSalidaRechazo;
    }
    cx.out << "Jornada " << jornada << ", orden " << orden << ": "
           << AUtf8(std::string(RecortaDer(NombreMetodoLargo(metodo)))) << '\n';
    if (!st.CondicionesActuales.lista.empty())
        cx.out << "Condiciones: " << TextoCondiciones(st.CondicionesActuales) << '\n';
    std::vector<std::pair<std::string, std::string>> figuras;
    for (const LineaResumen& l : LineasResumen(r, st.Datos.Precio)) figuras.emplace_back(l.etiqueta, l.valor);
    figuras.emplace_back("Columnas escritas en " + FicheroRed(jornada, orden),
                         Formatea(static_cast<double>(res.columnas), "#,###,###"));
    EscribeFiguras(cx.out, figuras);
    return kSalidaBien;
}

REGISTRA_COMANDO("reducir", "reduce una quiniela base y guarda la reducción",
                 "Uso: tobal31-cli [--datos CARPETA] reducir --jornada J --orden O --metodo 1|2|3|4\n"
                 "                 --base BASE [--errores MIN,MAX] [--signos N1,NX,N2] [--garantia R]\n"
                 "                 [--condicion TEXTO]... [--fallos K] [--reemplazar]\n"
                 "\n"
                 "Hace las comprobaciones del botón Reducir, guarda el registro en BASES.TBX y las\n"
                 "columnas en REDjjoo.TBX. Una reducción que ya existe con esa jornada y orden solo\n"
                 "se sustituye con --reemplazar; la anterior sigue entera hasta que la nueva está\n"
                 "completa. Ctrl+C (o una orden de terminar) cancela y deja la carpeta como estaba.\n"
                 "\n"
                 "Métodos: 1 Directo, 2 Columna Probable (--errores, 0,0 si no se da), 3 Selección\n"
                 "de Signos (--signos), 4 Reducción Mínima (--garantia, los errores garantizados\n"
                 "en los múltiples reducidos, 1 o 2; 1 si no se da).\n"
                 "BASE: 15 partidos separados por blancos o comas; en cada uno, los signos marcados\n"
                 "entre 1, X y 2 en ese orden (- para ninguno), * si es un múltiple a reducir, y =\n"
                 "con el signo de la columna base. Ejemplo: \"1X2*=1 1X* 1 1 X2*=2 1 1 1 1 1 1 1 1 1 X\".\n"
                 AYUDA_CONDICIONES
                 "El método 1 con una tabla no admite condiciones: use el método 4.\n"
                 "\n"
                 "Salida 0 hecha, 1 rechazada o cancelada (el motivo en stderr), 2 error de uso.\n",
                 Reducir)

}  // namespace
}  // namespace tobal::cli
