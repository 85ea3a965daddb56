// tobal31-cli jornada: shows or writes a matchday's date and matches.

#include <array>
#include <ostream>
#include <utility>

#include "app/Texto.h"
#include "cli/Comando.h"
#include "data/Jornadas.h"

namespace tobal::cli {
namespace {

int Jornada(Contexto& cx, std::vector<std::string>& args) {
    auto fecha = TomaOpcion(args, "--fecha");
    auto partidos = TomaOpcionMultiple(args, "--partido", 3);
    if (args.empty()) throw ErrorUso("falta el número de jornada");
    const int jornada = Entero(args.front(), 1, cx.st.Datos.TotJornadas, "la jornada");
    args.erase(args.begin());
    SinMasArgumentos(args);
    if (!fecha && !partidos.empty()) throw ErrorUso("--partido necesita --fecha");
    // The teams given, as the record holds them (Windows-1252, 15 characters).
    std::vector<std::pair<int, std::array<std::string, 2>>> nuevos;
    for (const auto& pt : partidos) {
        const int m = Entero(pt[0], 1, 15, "el partido");
        std::array<std::string, 2> nombres;
        for (int k = 0; k < 2; ++k) {
            bool perdida = false;
            std::string nombre = Utf8ACp1252(pt[1 + k], &perdida);
            if (perdida)
                throw ErrorUso("el nombre \"" + pt[1 + k] + "\" tiene caracteres que no caben en el fichero");
            nombres[k] = Ajusta(Recorta(nombre), kAnchoEquipo);
        }
        nuevos.emplace_back(m, nombres);
    }
    cx.CargaDatosGenerales();

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
        std::array<std::string, 30> equipos;
        for (int s = 1; s <= 30; ++s) equipos[s - 1] = SlotEquipo(cx.st.RegJornada, s);
        for (const auto& [m, nombres] : nuevos) {
            equipos[2 * (m - 1)] = nombres[0];
            equipos[2 * (m - 1) + 1] = nombres[1];
        }
        const std::string fechaTexto = partes[0] + "/" + partes[1] + "/" + partes[2];
        const std::string reg = RegistroEditor(cx.st.RegJornada, jornada, fechaTexto, equipos);
        if (int e = GrabaRegistroJornada(cx.st, jornada, reg)) {
            cx.err << "Tobal31: no se ha podido grabar la jornada en JORNADAS.TBX (error " << e << ")\n";
            return kSalidaRechazo;
        }
        cx.st.RegJornada = reg;
        cx.st.Datos.FechaJornada = fechaTexto;
    }

    cx.out << "Jornada " << jornada << "  Fecha: " << AUtf8(cx.st.RegJornada.substr(5, 8)) << '\n';
    for (int m = 1; m <= 15; ++m) {
        std::string n = std::to_string(m);
        cx.out << AlineaDerecha(n, 2) << ". " << AUtf8(NombreEquipo(cx.st.RegJornada, 2 * m - 1)) << " - "
               << AUtf8(NombreEquipo(cx.st.RegJornada, 2 * m)) << '\n';
    }
    return kSalidaBien;
}

REGISTRA_COMANDO("jornada", "muestra o graba la fecha y los partidos de una jornada",
                 "Uso: tobal31-cli [--datos CARPETA] jornada J\n"
                 "     tobal31-cli [--datos CARPETA] jornada J --fecha DD/MM/AA [--partido M LOCAL VISITANTE]...\n\n"
                 "Sin --fecha escribe la fecha de la jornada J y sus 15 partidos (local - visitante).\n"
                 "Con --fecha graba la jornada como el editor de jornadas: la clave, la fecha y los 30\n"
                 "equipos (los partidos no indicados conservan sus equipos); los resultados y premios del\n"
                 "escrutinio se conservan. Los nombres se cortan a 15 caracteres.\n",
                 Jornada)

}  // namespace
}  // namespace tobal::cli
