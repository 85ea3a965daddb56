#include "reduction/Indice.h"

#include <unistd.h>

#include <map>

#include "app/Archivo.h"
#include "app/ErrorFichero.h"
#include "app/Estado.h"
#include "app/Texto.h"
#include "data/Jornadas.h"
#include "reduction/Almacen.h"
#include "reduction/Tablas.h"

namespace tobal {

const char* const kCabeceraIndice1 =
    "                                       Errores     Signos     Apuestas   Apuestas";
const char* const kCabeceraIndice2 =
    "Jor  Fecha   Ord  M\xE9todo de reducci\xF3n  Min Max   1   X   2    Directas   Reducidas";

namespace {

std::string Campo2(std::string_view reg, size_t pos, bool blancoSiCero) {
    long long v = ValEntero(reg.substr(pos - 1, 2));
    if (blancoSiCero && v == 0) return "  ";
    return AlineaDerecha(std::to_string(v), 2).substr(0, 2);
}

}  // namespace

std::string LineaIndice(std::string_view registro, std::string_view regJornada) {
    const std::string reg = Ajusta(registro, 130);
    const int jornada = static_cast<int>(ValEntero(std::string_view(reg).substr(0, 2)));
    std::string l;
    l.reserve(81);
    l += ' ';
    l += Campo2(reg, 1, false);
    l += ' ';
    l += RegistroJornadaEnUso(regJornada, jornada) ? Ajusta(regJornada.substr(5, 8), 8) : std::string(8, ' ');
    l += "  ";
    l += Campo2(reg, 3, false);
    l += "  ";
    // A method digit that names no method shows as "?" so that the line is still listed.
    std::string_view metodo = NombreMetodoCorto(reg[4] - '0');
    l += metodo.empty() ? Ajusta("?", 19) : std::string(metodo);
    l += "  ";
    l += Campo2(reg, 6, true);
    l += "  ";
    l += Campo2(reg, 8, true);
    l += "   ";
    l += Campo2(reg, 10, true);
    l += "  ";
    l += Campo2(reg, 12, true);
    l += "  ";
    l += Campo2(reg, 14, true);
    l += "   ";
    l += AlineaDerecha(std::to_string(ValEntero(std::string_view(reg).substr(15, 7))), 8).substr(0, 8);
    l += "    ";
    l += AlineaDerecha(std::to_string(ValEntero(std::string_view(reg).substr(22, 7))), 8).substr(0, 8);
    return l;
}

Indice CargaIndice(Estado& st) {
    Indice ind;
    st.ErrorFichero = 0;
    std::string contenido;
    if (int e = LeeFichero(st.DirDatos / kFicheroBases, contenido)) {
        // A folder where it cannot be created is not told that it will be.
        const bool creable = ::access(st.DirDatos.empty() ? "." : st.DirDatos.c_str(), W_OK) == 0;
        InformaErrorFichero(st, e == Err::NoEncontrado && !creable ? Op::BRB : Op::EEB, e);
        return ind;
    }
    std::map<int, std::string> jornadas;
    for (const std::string& linea : LineasBases(contenido)) {
        int j, o;
        if (!LeeClave(linea, j, o) || (j == 0 && o == 0)) continue;
        auto it = jornadas.find(j);
        if (it == jornadas.end()) it = jornadas.emplace(j, LeeRegistroJornada(st, j)).first;
        if (j == st.Jornada() && o == st.Orden() && ind.actual < 0)
            ind.actual = static_cast<int>(ind.lineas.size());
        ind.lineas.push_back(LineaIndice(linea, it->second));
    }
    ind.superior = ind.actual >= 0 ? kLineasPagina * (ind.actual / kLineasPagina) : 0;
    return ind;
}

int HallaCualLinea(int y, int superior, int totalLineas) {
    const int d = y - 34;
    if (d < 0 || y >= 350) return 99;
    const int linea = d / 16;
    const int resto = d % 16;
    if (resto < 3 || resto >= 15) return 99;
    if (superior + linea > totalLineas - 1) return 99;
    return linea;
}

bool HayPaginaSiguiente(int superior, int totalLineas) { return superior + kLineasPagina <= totalLineas - 1; }
bool HayPaginaAnterior(int superior) { return superior - kLineasPagina >= 0; }

ZonaCarpeta ZonaEnCarpeta(int x, int y, int w, int h, int superior, int totalLineas, int& linea) {
    linea = 99;
    const bool abajo = y >= h - 16 && y <= h;
    if (abajo && x >= w - 25 && x <= w && HayPaginaSiguiente(superior, totalLineas))
        return ZonaCarpeta::Siguiente;
    if (abajo && x >= 0 && x <= 25 && HayPaginaAnterior(superior)) return ZonaCarpeta::Anterior;
    if (x > 15 && x < w - 6) {
        linea = HallaCualLinea(y, superior, totalLineas);
        if (linea != 99) return ZonaCarpeta::Linea;
    }
    return ZonaCarpeta::Nada;
}

bool EligeLineaIndice(Estado& st, const Indice& indice, int linea) {
    const int k = indice.superior + linea;
    if (linea < 0 || linea >= kLineasPagina || k >= static_cast<int>(indice.lineas.size())) return false;
    const std::string& l = indice.lineas[static_cast<size_t>(k)];
    st.Jornada() = static_cast<int16_t>(ValEntero(std::string_view(l).substr(1, 2)));
    st.Orden() = static_cast<int16_t>(ValEntero(std::string_view(l).substr(14, 2)));
    st.IndiceElegido = Verdadero;
    return true;
}

}  // namespace tobal
