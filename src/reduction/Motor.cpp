#include "reduction/Motor.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "app/Archivo.h"
#include "app/Cerrojo.h"
#include "app/ErrorFichero.h"
#include "app/Informador.h"
#include "app/Texto.h"
#include "reduction/Almacen.h"
#include "reduction/Estadistica.h"
#include "reduction/Tablas.h"

namespace tobal {

std::string TextoCuentas(const Reduccion& r) {
    return AlineaDerecha(std::to_string(r.ApuestasDirectas), 9) + " apuestas reducidas a " +
           Ajusta(std::to_string(r.ApuestasReducidas), 7);
}

int ClaveReduccion(int jornada, int orden) { return jornada * 100 + orden; }

std::string TextoReduccionEnCurso(int jornada, int orden) {
    return "La reducción de la jornada " + std::to_string(jornada) + ", orden " + std::to_string(orden) +
           " se está calculando ya en otra ventana o en otro programa. Espere a que termine antes de "
           "volver a reducirla.";
}

std::string TextoPorcentaje(int porcentaje) {
    return "Se ha realizado el " + AlineaDerecha(std::to_string(porcentaje), 3) + " % de la reducción ";
}

namespace {

constexpr char kSignos[] = "1X2";
constexpr size_t kColumnasBloque = 1 << 16;  // 1.2 MB of lines per write

// A match whose sign changes from one state of the development to the next.
struct Rueda {
    int linea;      // position of its sign in the line (1..14)
    int n;          // marked signs
    char signo[3];  // the marked signs, in the order 1, X, 2
    int error[3];   // method 2: 1 when the sign differs from the base sign
    int clase[3];   // method 3: 0, 1, 2 for a counted "1", "X", "2"; 3 not counted
};

const char* Causa(int numero) {
    switch (numero) {
        case Err::SinMemoria: return "memoria insuficiente";
        case Err::DiscoLleno: return "disco lleno";
        case Err::PermisoDenegado: return "permiso denegado";
        case Err::AccesoRuta: return "error de acceso a la ruta o al fichero";
        case Err::RutaNoEncontrada: return "no se encuentra la carpeta";
        case Err::UnidadNoDisponible: return "unidad no preparada";
        case Err::NoEncontrado: return "no se encuentra el fichero";
        default: return "error de entrada/salida";
    }
}

class Ejecucion {
public:
    Ejecucion(Estado& st, const AvanceReduccion& avance, const std::atomic<bool>* cancelar)
        : st_(st), r_(st.ReduccionActual), avance_(avance), cancelar_(cancelar) {}
    ResultadoReduccion Ejecuta();

private:
    bool Cancelado() const {
        return cancelar_ ? cancelar_->load(std::memory_order_relaxed) : st_.Cancelado != Falso;
    }
    bool Prepara();
    void Recorre();
    void Vuelca() {
        escritor_.Escribe(std::string_view(bloque_.data(), usado_));
        usado_ = 0;
    }
    void EscribeLinea() {
        std::memcpy(bloque_.data() + usado_, linea_, kLongLineaColumna);
        usado_ += kLongLineaColumna;
        ++columnas_;
        if (usado_ == bloque_.size()) Vuelca();
    }
    ResultadoReduccion Falla(int numero, const std::string& que);

    Estado& st_;
    Reduccion& r_;
    const AvanceReduccion& avance_;
    const std::atomic<bool>* cancelar_;

    EscritorBloques escritor_;
    std::vector<char> bloque_;
    size_t usado_ = 0;
    char linea_[kLongLineaColumna];
    std::vector<Rueda> ruedas_;
    int64_t combinaciones_ = 1;
    int64_t columnas_ = 0;
    bool cancelado_ = false;
    // Method 2: differences of the fixed matches; method 3: their counts.
    int erroresFijos_ = 0;
    int cuentaFija_[4] = {0, 0, 0, 0};
    // Method 1: for each table column, the signs it puts on the table's
    // matches, as (position in the line, sign).
    std::vector<std::vector<std::pair<int, char>>> tabla_;
};

// The marked signs of a match, in the order 1, X, 2.
int SignosMarcados(const Partido& p, char signos[3]) {
    int n = 0;
    for (int s = 1; s <= 3; ++s)
        if (p.Signo[s]) signos[n++] = kSignos[s - 1];
    return n;
}

bool Ejecucion::Prepara() {
    const Estadistica& e = st_.Esta;
    const int metodo = r_.Metodo;
    const auto filas = metodo == 1 ? FilasTabla(r_, e) : std::array<int16_t, 16>{};
    linea_[0] = '"';
    linea_[16] = '"';
    linea_[17] = '\r';
    linea_[18] = '\n';
    for (int i = 1; i <= 15; ++i) {
        const Partido& p = r_.Partidos[i];
        char signos[3];
        const int n = SignosMarcados(p, signos);
        if (n == 0) return false;
        linea_[i] = signos[0];
        if (i == 15) break;  // match 15 always takes its first sign
        const int base = p.SignoBase >= 1 && p.SignoBase <= 3 ? p.SignoBase : 0;
        // What the statistics count must be what is written.
        if (n != p.NumSignos || (metodo == 2 && p.AReducir == 1 && !base)) return false;
        Rueda w{i, n, {}, {}, {}};
        for (int k = 0; k < n; ++k) {
            w.signo[k] = signos[k];
            w.error[k] = base && signos[k] != kSignos[base - 1] ? 1 : 0;
            w.clase[k] = p.AReducir == 1 ? static_cast<int>(std::strchr(kSignos, signos[k]) - kSignos) : 3;
        }
        if (n > 1 && !filas[i]) {
            ruedas_.push_back(w);
            combinaciones_ *= n;
        } else {
            erroresFijos_ += w.error[0];
            ++cuentaFija_[w.clase[0]];
        }
    }
    if (metodo == 1) {
        tabla_.resize(static_cast<size_t>(std::max<int>(e.ApuestasTabla, 1)));
        for (int i = 1; i <= 14; ++i) {
            if (!filas[i]) continue;
            char signos[3];
            SignosMarcados(r_.Partidos[i], signos);
            const std::string_view fila = PatronesReduccion[static_cast<size_t>(e.InicioTabla + filas[i])];
            for (size_t k = 0; k < tabla_.size() && k < fila.size(); ++k)
                tabla_[k].emplace_back(i, signos[fila[k] - '1']);
        }
    }
    return true;
}

void Ejecucion::Recorre() {
    const int metodo = r_.Metodo;
    const int minErr = r_.MinErrores, maxErr = r_.MaxErrores;
    const int s1 = r_.Signos[1], sX = r_.Signos[2], s2 = r_.Signos[3];
    const size_t nRuedas = ruedas_.size();
    std::vector<int> pos(nRuedas, 0);
    int errores = erroresFijos_;
    int cuenta[4] = {cuentaFija_[0], cuentaFija_[1], cuentaFija_[2], cuentaFija_[3]};
    for (const Rueda& w : ruedas_) {
        errores += w.error[0];
        ++cuenta[w.clase[0]];
    }

    int64_t contador = 0, umbral = 1;
    for (;;) {
        if (++contador >= umbral) {
            const int porcentaje = static_cast<int>(contador * 100 / combinaciones_);
            if (avance_) avance_(porcentaje, TextoPorcentaje(porcentaje));
            umbral = ((porcentaje + 1) * combinaciones_ + 99) / 100;
        }
        if (Cancelado()) {
            cancelado_ = true;
            return;
        }
        switch (metodo) {
            case 1:
                for (const auto& columna : tabla_) {
                    for (const auto& [i, signo] : columna) linea_[i] = signo;
                    EscribeLinea();
                }
                break;
            case 2:
                if (errores >= minErr && errores <= maxErr) EscribeLinea();
                break;
            default:
                if (cuenta[0] == s1 && cuenta[1] == sX && cuenta[2] == s2) EscribeLinea();
                break;
        }
        if (escritor_.Error()) return;
        // Next state: match 1 varies fastest, each through its signs in order.
        size_t k = 0;
        for (; k < nRuedas; ++k) {
            const Rueda& w = ruedas_[k];
            const int antes = pos[k];
            const int ahora = antes + 1 == w.n ? 0 : antes + 1;
            pos[k] = ahora;
            linea_[w.linea] = w.signo[ahora];
            errores += w.error[ahora] - w.error[antes];
            --cuenta[w.clase[antes]];
            ++cuenta[w.clase[ahora]];
            if (ahora != 0) break;
        }
        if (k == nRuedas) return;
    }
}

ResultadoReduccion Ejecucion::Falla(int numero, const std::string& que) {
    ResultadoReduccion res;
    res.fin = FinReduccion::Fallida;
    res.error = numero;
    res.mensaje = que + " (ERROR " + std::to_string(numero) + ": " + Causa(numero) + ").";
    res.mensaje += " La reducción no se ha guardado.";
    st_.ErrorFichero = static_cast<int16_t>(numero);
    if (st_.informador) st_.informador->ErrorFichero(res.mensaje);
    return res;
}

ResultadoReduccion Ejecucion::Ejecuta() {
    CalculaEstadistica(st_);
    std::string registro;
    if (r_.Metodo < 1 || r_.Metodo > 3 || !Prepara() || PreparaRegistro(r_, registro)) {
        ResultadoReduccion res;
        res.error = Err::TipoIncorrecto;
        res.mensaje =
            "La quiniela base no se puede reducir: hay un partido sin signo o sin signo en la "
            "columna base, o el método no es válido.";
        return res;
    }
    const std::string nombre = FicheroRed(r_.Jornada, r_.Orden);
    // The run holds its key to the end; the folder only while it installs
    // the result, so that other keys and other changes go on meanwhile.
    Cerrojo clave(st_.DirDatos, ClaveReduccion(r_.Jornada, r_.Orden));
    if (clave.Ocupado()) {
        ResultadoReduccion res;
        res.error = Err::PermisoDenegado;
        res.mensaje = TextoReduccionEnCurso(r_.Jornada, r_.Orden);
        st_.ErrorFichero = static_cast<int16_t>(res.error);
        if (st_.informador) st_.informador->ErrorFichero(res.mensaje);
        return res;
    }
    LimpiaTemporales(st_);
    const std::string id = SufijoUnico();
    fs::path temporal = st_.DirDatos / nombre;
    temporal += id + kFinTemporal;

    // A name taken by a folder would only fail at the end of a long run.
    std::error_code ec;
    if (fs::is_directory(st_.DirDatos / nombre, ec))
        return Falla(Err::AccesoRuta, "No se ha podido crear el fichero de columnas " + nombre);
    if (int e = escritor_.Abre(temporal, 1 << 20))
        return Falla(e, "No se ha podido crear el fichero de columnas " + nombre);

    if (!cancelar_) st_.Cancelado = Falso;
    bloque_.resize(kColumnasBloque * kLongLineaColumna);
    Recorre();
    if (usado_ && !cancelado_) Vuelca();
    int e = escritor_.Cierra();
    if (!cancelar_) st_.Cancelado = Falso;

    ResultadoReduccion res;
    res.columnas = columnas_;
    if (cancelado_) {
        BorraFichero(temporal);
        res.fin = FinReduccion::Cancelada;
        res.mensaje = kReduccionCancelada;
        return res;
    }
    if (e) {
        BorraFichero(temporal);
        return Falla(e, "No se ha podido escribir el fichero de columnas " + nombre);
    }
    if (int ei = InstalaReduccion(st_, id)) {
        BorraFichero(temporal);
        return Falla(ei, "No se ha podido guardar la reducción en " + nombre + " y " + kFicheroBases);
    }
    res.fin = FinReduccion::Terminada;
    res.mensaje = kReduccionFinalizada;
    return res;
}

}  // namespace

ResultadoReduccion EjecutaReduccion(Estado& st, const AvanceReduccion& avance,
                                    const std::atomic<bool>* cancelar) {
    return Ejecucion(st, avance, cancelar).Ejecuta();
}

}  // namespace tobal
