// What the command-line tool shows on the terminal: file-error reports,
// refusals, progress, and the choice of a stored reduction.

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <iostream>
#include <iterator>
#include <utility>
#include <vector>

#include "app/ErrorFichero.h"
#include "app/Texto.h"
#include "cli/Comando.h"
#include "data/DatosGen.h"
#include "data/Jornadas.h"
#include "reduction/Almacen.h"

namespace tobal::cli {

void InformadorConsola::ErrorFichero(const std::string& texto) {
    std::string t = texto;
    for (size_t p; (p = t.find("\r\n")) != std::string::npos;) t.replace(p, 2, "\n");
    std::cerr << "Tobal31: " << t << '\n';
}

int Rechaza(Contexto& cx, const std::string& titulo, const std::string& texto) {
    cx.err << titulo << '\n' << texto << '\n';
    return kSalidaRechazo;
}

std::string AUtf8(const std::string& cp1252) { return Cp1252AUtf8(cp1252); }

bool LeeJornadaElegida(Contexto& cx) {
    Estado& st = cx.st;
    LeeJornada(st);
    if (st.ErrorFichero == 0) return true;
    // Without its record the date and the teams would be blanks: a bets
    // file dated 000000, tickets of no matchday.
    Rechaza(cx, "ERROR EN LA JORNADA",
            "No se ha podido leer la jornada " + std::to_string(st.Jornada()) + " en JORNADAS.TBX (error " +
                std::to_string(st.ErrorFichero) + "). No se sigue sin su fecha y sus partidos.");
    return false;
}

bool EligeReduccion(Contexto& cx, int jornada, int orden) {
    Estado& st = cx.st;
    st.Jornada() = static_cast<int16_t>(jornada);
    st.Orden() = static_cast<int16_t>(orden);
    if (!LeeJornadaElegida(cx)) return false;
    // Without BASES.TBX there is nothing to choose; the lookup would only
    // say the file is missing.
    std::error_code ec;
    const bool existe = std::filesystem::exists(st.DirDatos / kFicheroBases, ec) &&
                        ExisteReduccion(st, jornada, orden) && st.ErrorFichero == 0;
    if (existe) CargaReduccion(st);
    if (existe) return st.ErrorFichero == 0;  // the load told why it cannot be used
    Rechaza(cx, "ERROR EN JORNADA/ORDEN",
            "No existe una reducción de la jornada " + std::to_string(jornada) + " con el número de orden " +
                std::to_string(orden) + ". La orden indice lista las reducciones guardadas.");
    return false;
}

bool TomaCarpeta(Contexto& cx, std::optional<Cerrojo>& cerrojo, const std::string& sinCambios) {
    cerrojo.emplace(cx.st.DirDatos);
    if (!cerrojo->Error()) return true;
    if (cerrojo->Error() == Err::CerrojoInutilizable)
        cx.err << "Tobal31: " << DescripcionError(cerrojo->Error()) << "; " << sinCambios << ".\n";
    else
        cx.err << "Tobal31: otro programa está cambiando la carpeta de datos (error " << cerrojo->Error()
               << "); " << sinCambios << ".\n";
    return false;
}

void Contexto::CargaDatosGenerales() { LeeDatosGen(st); }

void BarraProgreso(std::ostream& err, int porcentaje, const std::string& linea) {
    const int lleno = std::clamp(porcentaje, 0, 100) / 5;
    err << '\r' << linea << '[' << std::string(static_cast<size_t>(lleno), '#')
        << std::string(static_cast<size_t>(20 - lleno), ' ') << ']' << std::flush;
}

namespace {
std::atomic<bool> gInterrumpido{false};
extern "C" void AlInterrumpir(int) { gInterrumpido.store(true); }
constexpr int kSenales[] = {SIGINT, SIGTERM, SIGHUP};
}  // namespace

InterrupcionCtrlC::InterrupcionCtrlC() {
    gInterrumpido.store(false);
    struct sigaction accion {};
    accion.sa_handler = AlInterrumpir;
    sigemptyset(&accion.sa_mask);
    for (size_t i = 0; i < std::size(kSenales); ++i) ::sigaction(kSenales[i], &accion, &anteriores_[i]);
}

InterrupcionCtrlC::~InterrupcionCtrlC() {
    for (size_t i = 0; i < std::size(kSenales); ++i) ::sigaction(kSenales[i], &anteriores_[i], nullptr);
}

const std::atomic<bool>* InterrupcionCtrlC::bandera() const { return &gInterrumpido; }

void EscribeFiguras(std::ostream& os, const std::vector<std::pair<std::string, std::string>>& figuras) {
    const auto letras = [](const std::string& s) {
        return static_cast<size_t>(
            std::count_if(s.begin(), s.end(), [](char c) { return (c & 0xC0) != 0x80; }));
    };
    std::vector<std::string> etiquetas;
    size_t ancho = 0;
    for (const auto& [etiqueta, valor] : figuras) {
        std::string e = etiqueta;
        if (!valor.empty())
            while (!e.empty() && (e.back() == '.' || e.back() == ':' || e.back() == ' ')) e.pop_back();
        if (!valor.empty()) ancho = std::max(ancho, letras(e));
        etiquetas.push_back(std::move(e));
    }
    for (size_t i = 0; i < figuras.size(); ++i) {
        if (figuras[i].second.empty()) {
            os << etiquetas[i] << '\n';
            continue;
        }
        os << etiquetas[i] << std::string(ancho + 3 - letras(etiquetas[i]), '.') << ": " << figuras[i].second
           << '\n';
    }
}

}  // namespace tobal::cli
