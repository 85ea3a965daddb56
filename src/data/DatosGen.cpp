#include "data/DatosGen.h"

#include <cmath>
#include <limits>
#include <optional>
#include <vector>

#include "app/Archivo.h"
#include "app/Cerrojo.h"
#include "app/ErrorFichero.h"
#include "app/Estado.h"
#include "app/Informador.h"
#include "app/Texto.h"

namespace tobal {

namespace {

constexpr const char* kFichero = "DATOSGEN.TBX";

// One value of the line as the original's sequential input reads it: a text
// in double quotes, or the characters up to the next comma.
struct Campo {
    std::string texto;
    bool entrecomillado = false;
};

std::vector<Campo> CamposLinea(std::string_view contenido) {
    size_t fin = contenido.find_first_of("\r\n");
    std::string_view linea = contenido.substr(0, fin);
    std::vector<Campo> campos;
    size_t i = 0;
    if (Recorta(linea).empty()) return campos;
    while (i <= linea.size()) {
        while (i < linea.size() && linea[i] == ' ') ++i;
        Campo c;
        if (i < linea.size() && linea[i] == '"') {
            size_t cierre = linea.find('"', i + 1);
            c.entrecomillado = true;
            c.texto = std::string(linea.substr(
                i + 1, cierre == std::string_view::npos ? std::string_view::npos : cierre - i - 1));
            i = cierre == std::string_view::npos ? linea.size() : cierre + 1;
            size_t coma = linea.find(',', i);
            i = coma == std::string_view::npos ? linea.size() + 1 : coma + 1;
        } else {
            size_t coma = linea.find(',', i);
            c.texto = std::string(
                Recorta(linea.substr(i, coma == std::string_view::npos ? std::string_view::npos : coma - i)));
            i = coma == std::string_view::npos ? linea.size() + 1 : coma + 1;
        }
        campos.push_back(std::move(c));
    }
    return campos;
}

std::string Comillas(std::string_view s) {
    std::string r(s);
    for (char& c : r)
        if (c == '"') c = '\'';
    return "\"" + r + "\"";
}

const char* const kNombres[14] = {"Jornada",     "FechaJornada", "Orden",           "Metodo",
                                  "AjusteXHoja", "AjusteYHoja",  "AjusteXContinuo", "AjusteYContinuo",
                                  "Orientacion", "TotJornadas",  "PrecioApuesta",   "Delegacion",
                                  "Receptor",    "Sonido"};

}  // namespace

void DatosGenPorDefecto(Estado& st) {
    st.Datos = DatosGenerales{};
    st.ReduccionActual.Jornada = 1;
    st.ReduccionActual.Orden = 1;
    st.ReduccionActual.Metodo = 1;
}

std::string LineaDatosGen(const Estado& st) {
    const DatosGenerales& d = st.Datos;
    std::string s;
    s += std::to_string(st.Jornada()) + ",";
    s += Comillas(d.FechaJornada) + ",";
    s += std::to_string(st.Orden()) + ",";
    s += std::to_string(st.Metodo()) + ",";
    s += std::to_string(d.AjusteXHoja) + ",";
    s += std::to_string(d.AjusteYHoja) + ",";
    s += std::to_string(d.AjusteXContinuo) + ",";
    s += std::to_string(d.AjusteYContinuo) + ",";
    s += std::to_string(d.Orientacion) + ",";
    s += std::to_string(d.TotJornadas) + ",";
    s += Comillas(Ajusta(d.PrecioApuesta, 4)) + ",";
    s += Comillas(Ajusta(d.Delegacion, 2)) + ",";
    s += Comillas(Ajusta(d.Receptor, 5)) + ",";
    s += Comillas(Ajusta(d.Sonido, 2));
    s += SaltoLinea;
    return s;
}

int GrabaDatosGen(const Estado& st) {
    Cerrojo cerrojo(st.DirDatos);
    if (cerrojo.Error()) return cerrojo.Error();
    std::string actual;
    if (int e = LeeEnPosicion(st.DirDatos / kFichero, 0, 1, actual); e && e != Err::NoEncontrado) return e;
    return EscribeFicheroAtomico(st.DirDatos / kFichero, LineaDatosGen(st));
}

void LeeDatosGen(Estado& st, bool creaSiFalta) {
    st.ErrorFichero = 0;
    std::string contenido;
    int e = LeeFichero(st.DirDatos / kFichero, contenido);
    if (e) {
        DatosGenPorDefecto(st);
        // Only a missing file is created: one that cannot be read keeps the
        // user's settings, and the defaults stay in memory.
        if (e != Err::NoEncontrado || !creaSiFalta) {
            InformaErrorFichero(st, Op::LDG, e);
            st.Datos.Precio = ValorPrecio(st.Datos.PrecioApuesta);
            return;
        }
        // The message says the file was created only once it was.
        if (int eg = GrabaDatosGen(st)) {
            st.ErrorFichero = static_cast<int16_t>(e);
            if (st.informador)
                st.informador->ErrorFichero(
                    "LDG ERROR " + std::to_string(eg) +
                    ": No se encuentra el fichero de datos generales DATOSGEN.TBX y no se "
                    "ha podido crear (" +
                    MotivoError(eg) + ").");
        } else {
            InformaErrorFichero(st, Op::LDG, e);
        }
        st.Datos.Precio = ValorPrecio(st.Datos.PrecioApuesta);
        return;
    }

    const std::vector<Campo> campos = CamposLinea(contenido);
    int primerError = 0;
    std::string detalle;
    auto falla = [&](int numero, int campo, const std::string& que) {
        if (numero == Err::Desbordamiento) {
            if (!primerError) st.ErrorFichero = static_cast<int16_t>(numero);
            return;
        }
        if (primerError) return;
        primerError = numero;
        detalle =
            std::string(": el campo ") + std::to_string(campo + 1) + " (" + kNombres[campo] + ") " + que;
    };
    auto entero = [&](int campo, int16_t& destino, int min, int max) {
        if (campo >= static_cast<int>(campos.size())) return falla(Err::FinDeFichero, campo, "falta");
        const Campo& c = campos[campo];
        auto v = c.entrecomillado ? std::nullopt : EnteroEstricto(c.texto);
        if (!v) return falla(Err::TipoIncorrecto, campo, "no es un número");
        if (*v < std::numeric_limits<int16_t>::min() || *v > std::numeric_limits<int16_t>::max())
            return falla(Err::Desbordamiento, campo, "");
        if (*v < min || *v > max)
            return falla(Err::TipoIncorrecto, campo,
                         "vale " + std::to_string(*v) + ", fuera de " + std::to_string(min) + " a " +
                             std::to_string(max) + "; se conserva " + std::to_string(destino));
        destino = static_cast<int16_t>(*v);
    };
    auto texto = [&](int campo, auto&& asigna) {
        if (campo >= static_cast<int>(campos.size())) return falla(Err::FinDeFichero, campo, "falta");
        asigna(campos[campo].texto);
    };

    DatosGenerales& d = st.Datos;
    const int16_t kMax = std::numeric_limits<int16_t>::max(), kMin = std::numeric_limits<int16_t>::min();
    entero(0, st.ReduccionActual.Jornada, 1, 52);
    texto(1, [&](const std::string& t) { d.FechaJornada = t; });
    entero(2, st.ReduccionActual.Orden, 1, 30);
    entero(3, st.ReduccionActual.Metodo, 1, kMetodos);
    entero(4, d.AjusteXHoja, kMin, kMax);
    entero(5, d.AjusteYHoja, kMin, kMax);
    entero(6, d.AjusteXContinuo, kMin, kMax);
    entero(7, d.AjusteYContinuo, kMin, kMax);
    entero(8, d.Orientacion, 1, 2);
    entero(9, d.TotJornadas, 1, 52);
    texto(10, [&](const std::string& t) { d.PrecioApuesta = Ajusta(t, 4); });
    texto(11, [&](const std::string& t) { d.Delegacion = Ajusta(t, 2); });
    texto(12, [&](const std::string& t) { d.Receptor = Ajusta(t, 5); });
    texto(13, [&](const std::string& t) { d.Sonido = Ajusta(t, 2); });
    if (st.Jornada() > d.TotJornadas) st.Jornada() = d.TotJornadas;

    if (primerError) {
        st.ErrorFichero = static_cast<int16_t>(primerError);
        if (st.informador)
            st.informador->ErrorFichero("LDG ERROR " + std::to_string(primerError) + detalle +
                                        " en DATOSGEN.TBX");
    }
    d.Precio = ValorPrecio(d.PrecioApuesta);
}

float ValorPrecio(std::string_view precioApuesta) {
    double v = ValDecimal(precioApuesta);
    if (!std::isfinite(v) || v < 0) v = 0;
    return static_cast<float>(v);
}

std::string NormalizaPrecio(std::string_view tecleado) {
    std::string r = DecimalCorto(ValorPrecio(tecleado));
    if (!r.empty() && r[0] == '.') r.insert(0, "0");
    return Ajusta(r, 4);
}

void PonPrecioApuesta(Estado& st, std::string_view texto) {
    st.Datos.PrecioApuesta = Ajusta(texto, 4);
    st.Datos.Precio = ValorPrecio(st.Datos.PrecioApuesta);
}
void PonDelegacion(Estado& st, std::string_view texto) { st.Datos.Delegacion = Ajusta(texto, 2); }
void PonReceptor(Estado& st, std::string_view texto) { st.Datos.Receptor = Ajusta(texto, 5); }
void PonSonido(Estado& st, std::string_view texto) { st.Datos.Sonido = Ajusta(texto, 2); }
void PonFechaJornada(Estado& st, std::string_view texto) { st.Datos.FechaJornada = std::string(texto); }

bool SonidoActivado(const Estado& st) { return IgualSinMayusculas(st.Datos.Sonido, "SI"); }

}  // namespace tobal
