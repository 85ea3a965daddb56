#include "data/Jornadas.h"

#include <chrono>
#include <utility>

#include "app/Archivo.h"
#include "app/Cerrojo.h"
#include "app/ErrorFichero.h"
#include "app/Estado.h"
#include "app/Informador.h"
#include "app/Parada.h"
#include "app/Texto.h"
#include "data/DatosGen.h"

namespace tobal {

namespace {

constexpr const char* kFichero = "JORNADAS.TBX";

// Reads record `jornada`: 0 and the record, or the error number. A record
// beyond the end of the file, or cut short by it, reads as blanks.
int LeeRegistro(const fs::path& ruta, int jornada, std::string& reg, int64_t& tamano) {
    reg.assign(kLongRegJornada, ' ');
    std::string leido;
    const uint64_t inicio = static_cast<uint64_t>(jornada - 1) * kLongRegJornada;
    if (int e = LeeEnPosicion(ruta, inicio, kLongRegJornada, leido, &tamano)) return e;
    reg.replace(0, leido.size(), leido);
    return 0;
}

// Writes record `jornada` (the caller holds the lock); a gap before it is
// filled with blank records, which read as unused matchdays.
int EscribeRegistro(const fs::path& ruta, int jornada, std::string_view registro) {
    const int64_t inicio = static_cast<int64_t>(jornada - 1) * kLongRegJornada;
    int e = 0;
    int64_t tamano = TamanoFichero(ruta, e);
    if (e == Err::NoEncontrado) {
        tamano = 0;
    } else if (e) {
        return e;
    }
    std::string datos;
    int64_t desde = inicio;
    if (tamano < inicio) {
        datos.assign(static_cast<size_t>(inicio - tamano), ' ');
        desde = tamano;
    }
    datos.append(Ajusta(registro, kLongRegJornada));
    return EscribeEnPosicion(ruta, static_cast<uint64_t>(desde), datos);
}

// Where the fields of a writer lie: 0-based start and length.
std::pair<size_t, size_t> Tramo(CamposJornada campos) {
    constexpr size_t kFinEquipos = kPosResultados - 1;
    if (campos == CamposJornada::FechaYEquipos) return {0, kFinEquipos};
    return {kFinEquipos, kLongRegJornada - kFinEquipos};
}

}  // namespace

std::string RegistroJornadaVacio() { return std::string("     00/00/00") + std::string(520, ' '); }

bool RegistroJornadaEnUso(std::string_view reg, int jornada) {
    if (reg.size() < 5 || jornada < 1 || jornada > 99) return false;
    return IgualSinMayusculas(reg.substr(0, 5), "JOR" + DosDigitos(jornada));
}

void LeeJornada(Estado& st) {
    st.ErrorFichero = 0;
    const int jornada = st.Jornada();
    std::string reg;
    int64_t tamano = 0;
    int e = jornada >= 1 ? LeeRegistro(st.DirDatos / kFichero, jornada, reg, tamano) : 0;
    if (e == Err::NoEncontrado) {
        // Opening the matchday file creates it empty: a missing file is a
        // season with no matchday written yet, not an error.
        e = AnexaFichero(st.DirDatos / kFichero, "");
    }
    if (e) {
        InformaErrorFichero(st, Op::LJO, e);
    } else {
        st.RegJornada = reg;
        if (tamano % kLongRegJornada != 0 && st.informador)
            st.informador->ErrorFichero(
                "LJO: El fichero de jornadas JORNADAS.TBX está dañado: su tamaño (" + std::to_string(tamano) +
                " bytes) no es múltiplo de 533. Las jornadas incompletas se leen como vacías.");
    }
    if (!RegistroJornadaEnUso(st.RegJornada, jornada)) st.RegJornada = RegistroJornadaVacio();
    st.Datos.FechaJornada = st.RegJornada.substr(5, 8);
}

std::string LeeRegistroJornada(const Estado& st, int jornada) {
    std::string reg;
    int64_t tamano = 0;
    if (jornada < 1 || LeeRegistro(st.DirDatos / kFichero, jornada, reg, tamano) ||
        !RegistroJornadaEnUso(reg, jornada))
        return RegistroJornadaVacio();
    return reg;
}

int GrabaRegistroJornada(const Estado& st, int jornada, std::string_view registro) {
    if (jornada < 1) return Err::NombreIncorrecto;
    Cerrojo cerrojo(st.DirDatos);
    if (int e = cerrojo.Error()) return e;
    return EscribeRegistro(st.DirDatos / kFichero, jornada, registro);
}

int CambiaRegistroJornada(const Estado& st, int jornada, const std::function<bool(std::string&)>& cambia,
                          std::string& registro) {
    if (jornada < 1) return Err::NombreIncorrecto;
    const fs::path ruta = st.DirDatos / kFichero;
    Parada("jornada");
    Cerrojo cerrojo(st.DirDatos);
    if (int e = cerrojo.Error()) return e;
    int64_t tamano = 0;
    int e = LeeRegistro(ruta, jornada, registro, tamano);
    if (e && e != Err::NoEncontrado) return e;
    if (e || !RegistroJornadaEnUso(registro, jornada)) registro = RegistroJornadaVacio();
    std::string nuevo = registro;
    if (!cambia(nuevo) || nuevo == registro) return 0;
    if ((e = EscribeRegistro(ruta, jornada, nuevo))) return e;
    registro = std::move(nuevo);
    return 0;
}

bool MismosCampos(std::string_view a, std::string_view b, CamposJornada campos) {
    const auto [desde, largo] = Tramo(campos);
    return Ajusta(a, kLongRegJornada).substr(desde, largo) == Ajusta(b, kLongRegJornada).substr(desde, largo);
}

GrabacionJornada GrabaCamposJornada(const Estado& st, int jornada, CamposJornada campos, std::string_view nuevo,
                                    std::string_view leido, bool comprueba) {
    GrabacionJornada g;
    g.error = CambiaRegistroJornada(
        st, jornada,
        [&](std::string& reg) {
            g.borrada = RegistroJornadaEnUso(leido, jornada) && !RegistroJornadaEnUso(reg, jornada);
            g.cambiada = comprueba && !MismosCampos(reg, leido, campos);
            if (g.borrada || g.cambiada) return false;
            const auto [desde, largo] = Tramo(campos);
            reg.replace(desde, largo, Ajusta(nuevo, kLongRegJornada).substr(desde, largo));
            reg.replace(0, 5, "Jor" + DosDigitos(jornada));
            return true;
        },
        g.registro);
    return g;
}

std::string TextoJornadaCambiada(int jornada, CamposJornada campos) {
    const bool editor = campos == CamposJornada::FechaYEquipos;
    return std::string(editor ? "La fecha o los equipos" : "Los resultados o los premios") + " de la jornada " +
           std::to_string(jornada) +
           " han cambiado en el fichero de jornadas desde que se leyeron: otra ventana o tobal31-cli los ha "
           "grabado. No se ha grabado nada" +
           (editor ? "" : " ni se ha hecho el escrutinio") + ". Pulse " + (editor ? "Guardar" : "Escrutar") +
           " otra vez para sustituirlos por los de esta pantalla, o elija de nuevo la jornada para ver los "
           "grabados.";
}

std::string RegistroEditor(std::string_view anterior, int jornada, std::string_view fecha,
                           const std::array<std::string, 30>& equipos) {
    std::string reg = Ajusta(anterior, kLongRegJornada);
    std::string cabeza = "Jor" + DosDigitos(jornada) + Ajusta(fecha, 8);
    reg.replace(0, 13, cabeza);
    for (int s = 1; s <= 30; ++s)
        reg.replace(13 + kAnchoEquipo * (s - 1), kAnchoEquipo,
                    Ajusta(Recorta(equipos[static_cast<size_t>(s - 1)]), kAnchoEquipo));
    return reg;
}

std::string SlotEquipo(std::string_view reg, int slot) {
    if (slot < 1 || slot > 30) return std::string(kAnchoEquipo, ' ');
    return Ajusta(reg.size() > static_cast<size_t>(13 + kAnchoEquipo * (slot - 1))
                      ? reg.substr(13 + kAnchoEquipo * (slot - 1), kAnchoEquipo)
                      : std::string_view{},
                  kAnchoEquipo);
}

std::string NombreEquipo(std::string_view reg, int slot) {
    return std::string(Recorta(SlotEquipo(reg, slot)));
}

bool FechaValida(std::string_view dia, std::string_view mes, std::string_view ano) {
    auto numero = [](std::string_view t, int& v) {
        t = Recorta(t);
        if (t.empty() || t.size() > 2) return false;
        for (char c : t)
            if (c < '0' || c > '9') return false;
        v = static_cast<int>(ValEntero(t));
        return true;
    };
    int d, m, a;
    if (!numero(dia, d) || !numero(mes, m) || !numero(ano, a)) return false;
    const int anoCompleto = a < 30 ? 2000 + a : 1900 + a;
    using namespace std::chrono;
    const year_month_day f{year{anoCompleto}, month{static_cast<unsigned>(m)}, day{static_cast<unsigned>(d)}};
    return f.ok();
}

bool FechaValida(std::string_view fecha) {
    size_t b1 = fecha.find('/');
    if (b1 == std::string_view::npos) return false;
    size_t b2 = fecha.find('/', b1 + 1);
    if (b2 == std::string_view::npos) return false;
    return FechaValida(fecha.substr(0, b1), fecha.substr(b1 + 1, b2 - b1 - 1), fecha.substr(b2 + 1));
}

std::vector<std::string> ItemsListaJornadas(int totJornadas) {
    std::vector<std::string> items;
    for (int j = 1; j <= totJornadas; ++j) items.push_back(AlineaDerecha(std::to_string(j), 2));
    return items;
}

int ColumnasListaJornadas(int totJornadas) { return (totJornadas + 9) / 10; }

}  // namespace tobal
