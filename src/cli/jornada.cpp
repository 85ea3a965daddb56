// tobal31-cli jornada: shows or writes a matchday's date and matches.

#include <algorithm>
#include <array>
#include <filesystem>
#include <optional>
#include <ostream>
#include <utility>

#include "app/ErrorFichero.h"
#include "app/Texto.h"
#include "cli/Comando.h"
#include "data/Equipos.h"
#include "data/Jornadas.h"

namespace tobal::cli {
namespace {

// Puts the names of the matches given that the team list lacks at its end.
bool AnadeEquiposNuevos(Contexto& cx, const std::vector<std::pair<int, std::array<std::string, 2>>>& nuevos) {
    Estado& st = cx.st;
    // From reading the list to writing it back, no other writer comes between.
    std::optional<Cerrojo> cerrojo;
    if (!TomaCarpeta(cx, cerrojo, "la jornada se ha grabado, pero no la lista de equipos")) return false;
    std::vector<std::string> equipos;
    std::error_code ec;
    if (std::filesystem::exists(st.DirDatos / "EQUIPOS.TBX", ec)) {
        LeeEquipos(st, equipos, Op::CLE);
        if (st.ErrorFichero) {
            cx.err << "La jornada se ha grabado, pero no la lista de equipos.\n";
            return false;
        }
    }
    std::vector<std::string> anadidos;
    for (const auto& [m, nombres] : nuevos)
        for (const std::string& n : nombres) {
            std::string nombre(RecortaDer(n));
            if (std::find(equipos.begin(), equipos.end(), nombre) != equipos.end()) continue;
            equipos.push_back(nombre);
            anadidos.push_back(nombre);
        }
    if (anadidos.empty()) return true;
    if (int e = GrabaEquipos(st, equipos)) {
        cx.err << "Tobal31: la jornada se ha grabado, pero no se ha podido grabar EQUIPOS.TBX (error " << e
               << ")\n";
        return false;
    }
    cx.err << "Añadidos a la lista de equipos:";
    for (const std::string& n : anadidos) cx.err << " \"" << AUtf8(n) << "\"";
    cx.err << ".\n";
    return true;
}

int Jornada(Contexto& cx, std::vector<std::string>& args) {
    auto fecha = TomaOpcion(args, "--fecha");
    auto partidos = TomaOpcionMultiple(args, "--partido", 3);
    const bool anadirEquipos = TomaBandera(args, "--añadir-equipos");
    if (args.empty()) throw ErrorUso("falta el número de jornada");
    const int jornada = Entero(args.front(), 1, cx.st.Datos.TotJornadas, "la jornada");
    args.erase(args.begin());
    SinMasArgumentos(args);
    if (!fecha && !partidos.empty()) throw ErrorUso("--partido necesita --fecha");
    if (anadirEquipos && partidos.empty()) throw ErrorUso("--añadir-equipos necesita algún --partido");
    // The teams given, as the record holds them (Windows-1252, 15 characters).
    std::vector<std::pair<int, std::array<std::string, 2>>> nuevos;
    std::vector<std::pair<std::string, std::string>> cortados;  // as given, as stored
    for (const auto& pt : partidos) {
        const int m = Entero(pt[0], 1, 15, "el partido");
        std::array<std::string, 2> nombres;
        for (int k = 0; k < 2; ++k) {
            const std::string nombre = NombreCp1252(pt[1 + k]);
            if (std::string problema = ProblemaCaracteresNombre(nombre); !problema.empty())
                throw ErrorUso("el nombre \"" + Visible(pt[1 + k]) + "\" " + problema);
            nombres[k] = Ajusta(nombre, kAnchoEquipo);
            if (nombre.size() > kAnchoEquipo) cortados.emplace_back(pt[1 + k], nombres[k]);
            if (std::string problema = ProblemaNombreEquipo(std::string(RecortaDer(nombres[k])));
                anadirEquipos && !problema.empty())
                throw ErrorUso("el nombre \"" + Visible(pt[1 + k]) +
                               "\" no puede ir a la lista de equipos: " + problema);
        }
        nuevos.emplace_back(m, nombres);
    }
    cx.CargaDatosGenerales();
    for (const auto& [dado, cortado] : cortados)
        cx.err << "El nombre \"" << dado << "\" se corta a 15 caracteres: \"" << AUtf8(cortado) << "\".\n";

    cx.st.Jornada() = static_cast<int16_t>(jornada);
    LeeJornada(cx.st);
    if (cx.st.ErrorFichero && cx.st.ErrorFichero != 53) return kSalidaRechazo;

    if (fecha) {
        // The date as the editor's three boxes take it: a single digit gets a 0 in front.
        std::array<std::string, 3> partes;
        size_t p = 0;
        for (int k = 0; k < 3; ++k) {
            size_t barra = k < 2 ? fecha->find('/', p) : std::string::npos;
            if (k < 2 && barra == std::string::npos) {
                partes = {"", "", ""};
                break;
            }
            partes[k] = fecha->substr(p, barra == std::string::npos ? std::string::npos : barra - p);
            if (partes[k].size() == 1) partes[k] = "0" + partes[k];
            p = barra + 1;
        }
        if (!FechaValida(partes[0], partes[1], partes[2]))
            return Rechaza(cx, kTituloErrorFecha, kTextoErrorFecha);
        const std::string fechaTexto = partes[0] + "/" + partes[1] + "/" + partes[2];
        // The record is read again under the lock: the date and the matches
        // given are this run's; the other matches, the results and the
        // prizes stay as stored, whoever wrote them meanwhile.
        std::string reg;
        const auto cambia = [&](std::string& r) {
            std::array<std::string, 30> equipos;
            for (int s = 1; s <= 30; ++s) equipos[s - 1] = SlotEquipo(r, s);
            for (const auto& [m, nombres] : nuevos) {
                equipos[2 * (m - 1)] = nombres[0];
                equipos[2 * (m - 1) + 1] = nombres[1];
            }
            r = RegistroEditor(r, jornada, fechaTexto, equipos);
            return true;
        };
        if (int e = CambiaRegistroJornada(cx.st, jornada, cambia, reg)) {
            cx.err << "Tobal31: no se ha podido grabar la jornada en JORNADAS.TBX (error " << e << ")\n";
            return kSalidaRechazo;
        }
        cx.st.RegJornada = reg;
        cx.st.Datos.FechaJornada = fechaTexto;
        if (anadirEquipos && !AnadeEquiposNuevos(cx, nuevos)) return kSalidaRechazo;
    } else if (!RegistroJornadaEnUso(cx.st.RegJornada, jornada)) {
        cx.out << "La jornada " << jornada << " no tiene datos.\n";
        return kSalidaBien;
    }

    cx.out << "Jornada " << jornada << "  Fecha: " << AUtf8(cx.st.RegJornada.substr(5, 8)) << '\n';
    for (int m = 1; m <= 15; ++m) {
        std::string n = std::to_string(m);
        cx.out << AlineaDerecha(n, 2) << ". " << AUtf8(NombreEquipo(cx.st.RegJornada, 2 * m - 1)) << " - "
               << AUtf8(NombreEquipo(cx.st.RegJornada, 2 * m)) << '\n';
    }
    return kSalidaBien;
}

REGISTRA_COMANDO(
    "jornada", "muestra o graba la fecha y los partidos de una jornada",
    "Uso: tobal31-cli [--datos CARPETA] jornada J\n"
    "     tobal31-cli [--datos CARPETA] jornada J --fecha DD/MM/AA [--partido M LOCAL VISITANTE]...\n"
    "                 [--añadir-equipos]\n\n"
    "J va de 1 al número de jornadas de los datos generales (TotJornadas, 42 por omisión).\n"
    "Sin --fecha escribe la fecha de la jornada J y sus 15 partidos (local - visitante), o\n"
    "\"La jornada J no tiene datos.\" si nunca se ha grabado.\n"
    "Con --fecha graba la jornada como el editor de jornadas: la clave, la fecha y los 30\n"
    "equipos (los partidos no indicados conservan sus equipos); los resultados y premios del\n"
    "escrutinio se conservan. Un nombre de más de 15 caracteres se corta y se avisa; uno con\n"
    "comas, comillas, saltos de línea u otros caracteres de control se rechaza.\n"
    "--añadir-equipos pone en la lista de equipos (EQUIPOS.TBX) los nombres dados que no\n"
    "estén en ella.\n",
    Jornada)

}  // namespace
}  // namespace tobal::cli
