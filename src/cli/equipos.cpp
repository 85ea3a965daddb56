// tobal31-cli equipos: the list of teams, shown or changed.

#include <algorithm>
#include <filesystem>
#include <optional>
#include <ostream>

#include "app/ErrorFichero.h"
#include "app/Estado.h"
#include "cli/Comando.h"
#include "data/Equipos.h"

namespace tobal::cli {
namespace {

// The names given, as the list holds them; a usage error for one that the
// list cannot hold.
std::vector<std::string> NombresDados(const std::vector<std::string>& args, bool comprueba) {
    if (args.empty()) throw ErrorUso("falta algún nombre de equipo");
    std::vector<std::string> nombres;
    for (const std::string& a : args) {
        if (a.rfind("--", 0) == 0) throw ErrorUso("argumento no esperado: " + a);
        std::string n = NombreCp1252(a);
        if (std::string problema = ProblemaNombreEquipo(n); comprueba && !problema.empty())
            throw ErrorUso("el nombre \"" + Visible(a) + "\" " + problema);
        nombres.push_back(std::move(n));
    }
    return nombres;
}

int Equipos(Contexto& cx, std::vector<std::string>& args) {
    const bool anadir = TomaBandera(args, "--añadir");
    const bool quitar = TomaBandera(args, "--quitar");
    if (anadir && quitar) throw ErrorUso("--añadir y --quitar no van juntas");
    std::vector<std::string> nombres;
    if (anadir || quitar)
        nombres = NombresDados(args, anadir);
    else
        SinMasArgumentos(args);
    cx.CargaDatosGenerales();

    Estado& st = cx.st;
    // From reading the list to writing it back, no other writer comes between.
    std::optional<Cerrojo> cerrojo;
    if ((anadir || quitar) && !TomaCarpeta(cx, cerrojo, "la lista no ha cambiado")) return kSalidaRechazo;
    std::vector<std::string> equipos;
    // A list never written is an empty list when it is about to be written.
    std::error_code ec;
    if (!anadir || std::filesystem::exists(st.DirDatos / "EQUIPOS.TBX", ec)) {
        LeeEquipos(st, equipos, Op::CLE);
        if (st.ErrorFichero && st.ErrorFichero != Err::NoEncontrado) return kSalidaRechazo;
    }
    if (!anadir && !quitar) {
        for (const std::string& e : equipos) cx.out << AUtf8(e) << '\n';
        return kSalidaBien;
    }

    int cambios = 0;
    for (const std::string& n : nombres) {
        auto it = std::find(equipos.begin(), equipos.end(), n);
        if (anadir && it != equipos.end()) {
            cx.err << "\"" << AUtf8(n) << "\" ya está en la lista.\n";
        } else if (anadir) {
            equipos.push_back(n);
            ++cambios;
        } else if (it == equipos.end()) {
            return Rechaza(cx, "EQUIPO DESCONOCIDO",
                           "\"" + AUtf8(n) + "\" no está en la lista de equipos; no se ha quitado ninguno.");
        } else {
            equipos.erase(it);
            ++cambios;
        }
    }
    if (cambios) {
        if (int e = GrabaEquipos(st, equipos)) {
            cx.err << "Tobal31: no se ha podido grabar EQUIPOS.TBX (error " << e
                   << "); la lista no ha cambiado.\n";
            return kSalidaRechazo;
        }
    }
    cx.out << Cuenta(cambios, "equipo", "equipos")
           << (anadir ? (cambios == 1 ? " añadido" : " añadidos") : (cambios == 1 ? " quitado" : " quitados"))
           << "; la lista tiene " << Cuenta(static_cast<long long>(equipos.size()), "equipo", "equipos")
           << ".\n";
    return kSalidaBien;
}

REGISTRA_COMANDO("equipos", "lista, añade o quita equipos de EQUIPOS.TBX",
                 "Uso: tobal31-cli [--datos CARPETA] equipos\n"
                 "     tobal31-cli [--datos CARPETA] equipos --añadir NOMBRE...\n"
                 "     tobal31-cli [--datos CARPETA] equipos --quitar NOMBRE...\n\n"
                 "Sin opciones escribe la lista de equipos, un nombre por línea, en el orden del fichero.\n"
                 "--añadir pone los nombres al final de la lista (uno que ya está no se repite);\n"
                 "--quitar los quita (si alguno no está, no quita ninguno). Un nombre tiene como mucho\n"
                 "15 caracteres, todos del juego de caracteres de Windows (Windows-1252), sin comas,\n"
                 "comillas, saltos de línea ni otros caracteres de control; los blancos de los extremos\n"
                 "no cuentan. El fichero se reescribe entero.\n",
                 Equipos)

}  // namespace
}  // namespace tobal::cli
