#include "output/Disco.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <memory>
#include <optional>

#include "app/Archivo.h"
#include "app/ErrorFichero.h"
#include "app/Estado.h"
#include "app/Texto.h"
#include "reduction/Almacen.h"

namespace tobal {

namespace {

constexpr int kAnchoSlot = 14;
constexpr int kSlotsPorBoleto = 8;

int Digito(char c) { return c >= '0' && c <= '9' ? c - '0' : 0; }

// A drive whose medium is missing or not mounted: the user can put a disk in.
bool DiscoNoPreparado(int error) {
    return error == Err::DiscoNoPreparado || error == Err::UnidadNoDisponible ||
           error == Err::RutaNoEncontrada;
}

// One run of the copy: the open target and the files made so far.
class Copia {
public:
    Copia(const DestinoDisco& destino, DialogoDisco& dialogo, ResultadoCopia& r)
        : destino_(destino), dialogo_(dialogo), r_(r) {}

    // Creates the file of volume `volumen`, asking for a disk while the
    // drive is not ready. False when the user gave up or it failed.
    bool AbreVolumen(int volumen) {
        const std::filesystem::path ruta = RutaVolumen(destino_, volumen);
        BorraFichero(ruta);
        for (;;) {
            // Written under a hidden temporary name and put in place once
            // whole: a run stopped short (a crash, a pulled plug) never
            // leaves a file that looks like a complete bets file.
            provisional_ = std::make_unique<FicheroProvisional>();
            int e = provisional_->Crea(ruta);
            if (e == 0 && volumen == 1 && anterior_) {
                // The bets file it replaces keeps its owner and permissions.
                [[maybe_unused]] const int dueno =
                    ::chown(provisional_->Ruta().c_str(), anterior_->st_uid, anterior_->st_gid);
                ::chmod(provisional_->Ruta().c_str(), anterior_->st_mode & 07777);
            }
            if (e == 0) e = escritor_.Abre(provisional_->Ruta());
            if (e == 0) break;
            provisional_.reset();
            if (!DiscoNoPreparado(e)) return Falla("crear", volumen, e);
            if (!dialogo_.PideDisco(kTituloNoHayDisco, TextoNoHayDisco(destino_.unidad))) {
                r_.fin = FinCopia::Cancelado;
                return false;
            }
        }
        bool nuevo = true;
        for (const auto& f : r_.ficheros) nuevo = nuevo && f != ruta;
        if (nuevo) r_.ficheros.push_back(ruta);
        volumen_ = volumen;
        return true;
    }

    bool Escribe(const std::string& registro) {
        escritor_.Escribe(registro);
        escritor_.Escribe(SaltoLinea);
        return escritor_.Error() == 0 || Falla("escribir", volumen_, escritor_.Error());
    }

    // Volume `volumen` starts with its header; from the second on, after
    // the earlier one is closed and a new disk is asked for.
    bool EmpiezaVolumen(int volumen, const DatosDisco& d) {
        if (volumen > 1) {
            if (!CierraVolumen()) return false;
            dialogo_.Mensaje(kTituloDiscoCompleto, TextoDiscoCompleto(volumen));
            if (!AbreVolumen(volumen)) {
                if (r_.fin == FinCopia::Cancelado) Cancela();
                return false;
            }
        }
        return Escribe(CabeceraDisco(d, volumen));
    }

    bool CierraVolumen() {
        int e = escritor_.Cierra();
        if (e == 0 && provisional_) e = provisional_->Instala();
        provisional_.reset();
        return e == 0 || Falla("escribir", volumen_, e);
    }

    // Stops the copy with a message and takes away what it wrote.
    bool Falla(const char* que, int volumen, int error) {
        std::string texto = std::string("No se ha podido ") + que + " el archivo " + kFicheroDisco;
        if (volumen > 1) texto += " del volumen " + std::to_string(volumen);
        texto += " en la unidad " + destino_.unidad + ": " + MotivoError(error) + " (error " +
                 std::to_string(error) + ").";
        return Falla(texto, error);
    }
    bool Falla(const std::string& texto, int error) {
        r_.error = error;
        Deshaz();
        r_.fin = FinCopia::Error;
        dialogo_.Mensaje(kTituloErrorCopia,
                         texto + " Se ha suspendido la copia a disco y no queda ningún archivo " +
                             kFicheroDisco + " incompleto.");
        return false;
    }

    // The user gave up: the file goes.
    void Cancela() {
        Deshaz();
        r_.fin = FinCopia::Cancelado;
        dialogo_.Panel(kTextoCopiaCancelada);
    }

    void Deshaz() {
        escritor_.Cierra();
        provisional_.reset();
        for (const auto& f : r_.ficheros) BorraFichero(f);
        r_.ficheros.clear();
    }

    std::optional<struct stat> anterior_;  // the bets file of an earlier run

private:
    const DestinoDisco& destino_;
    DialogoDisco& dialogo_;
    ResultadoCopia& r_;
    EscritorBloques escritor_;
    std::unique_ptr<FicheroProvisional> provisional_;
    int volumen_ = 0;
};

}  // namespace

int DigitoControl(std::string_view delegacion, std::string_view receptor) {
    const std::string d = Ajusta(delegacion, 2), r = Ajusta(receptor, 5);
    int suma = Digito(d[0]) + 2 * Digito(d[1]);
    for (int i = 0; i < 5; ++i) suma += (3 + i) * Digito(r[static_cast<size_t>(i)]);
    return suma % 11;
}

DatosDisco CalculaDatosDisco(int64_t columnas, int jornada, std::string_view fecha,
                             std::string_view delegacion, std::string_view receptor) {
    DatosDisco d;
    d.jornada = jornada;
    d.fecha = Ajusta(fecha, 8);
    d.delegacion = Ajusta(delegacion, 2);
    d.receptor = Ajusta(receptor, 5);
    d.ultimoIncompleto = columnas % kSlotsPorBoleto == 1;
    d.columnas = columnas + (d.ultimoIncompleto ? 1 : 0);
    d.boletos = (d.columnas + 7) / 8;
    d.discos = static_cast<int>((d.boletos + kBoletosPorDisco - 1) / kBoletosPorDisco);
    d.digito = DigitoControl(delegacion, receptor);
    return d;
}

std::string RegistroBoletoDisco(int64_t boleto, const std::vector<std::string>& columnas, bool duplica) {
    std::string registro(kLongRegistroDisco, ' ');
    registro[0] = 'D';
    registro.replace(1, 8, ConCeros(boleto, 8));
    const bool doble = duplica && columnas.size() == 1;
    const size_t n = doble ? 2 : std::min<size_t>(columnas.size(), kSlotsPorBoleto);
    registro[9] = static_cast<char>('0' + n);
    for (size_t k = 0; k < n; ++k) {
        const std::string& col = columnas[doble ? 0 : k];
        registro.replace(10 + k * kAnchoSlot, kAnchoSlot, Ajusta(col, kAnchoSlot));
    }
    if (!columnas.empty()) registro[kLongRegistroDisco - 1] = Ajusta(columnas[0], 15)[14];
    return registro;
}

std::string CabeceraDisco(const DatosDisco& d, int volumen) {
    std::string c = "C" + ConCeros(volumen, 2) + "243" + ConCeros(d.jornada, 2) + d.fecha.substr(0, 2) +
                    d.fecha.substr(3, 2) + d.fecha.substr(6, 2) + d.delegacion + d.receptor +
                    ConCeros(d.columnas, 6) + ConCeros(d.discos, 2) + ConCeros(d.boletos, 6) +
                    ConCeros(d.digito, 2);
    return Ajusta(c, kLongRegistroDisco);
}

std::filesystem::path RutaVolumen(const DestinoDisco& destino, int volumen) {
    if (volumen <= 1 || !destino.volumenesAparte) return destino.carpeta / kFicheroDisco;
    return destino.carpeta / (std::string(kFicheroDisco) + "." + DosDigitos(volumen));
}

std::string TextoNoHayDisco(const std::string& unidad) {
    return "No ha colocado ningún disco en la unidad " + unidad +
           ". Introduzca un disco formateado y pulse el botón  Copiar  para comenzar a copiar.   Si desea "
           "suspender el proceso  de  Copia  a  disco  pulse  el  botón Salir.";
}

std::string TextoDiscoCompleto(int volumen) {
    return "Se ha completado el disco actual (Volumen " + std::to_string(volumen - 1) +
           "). Introduzca un nuevo disco (Volumen " + std::to_string(volumen) +
           "). Cuando lo haya cambiado, pulse el botón Salir para seguir copiando.";
}

namespace {

// Before anything is written: the columns file read through once, and the
// run's values. False, with the reason told, when there is nothing to copy
// or it cannot be copied.
bool PreparaCopia(Estado& st, const DestinoDisco& destino, DialogoDisco& dialogo, ResultadoCopia& r,
                  int64_t& columnas) {
    std::string rechazo;
    const int e = CompruebaColumnasReduccion(st, st.Jornada(), st.Orden(), rechazo, &columnas);
    if (e && rechazo.empty()) {
        InformaErrorFichero(st, Op::Abre(st.NomFichero), e);
        r.error = e;
        return false;
    }
    // A leftover bets file of an earlier run is always replaced: once there
    // are columns to copy it goes, also when this copy is refused, so that
    // it is never handed in for this one. Volumes of an earlier, larger
    // copy beside it go too: they would be handed in with the new file.
    BorraFichero(RutaVolumen(destino, 1));
    for (int v = 2; destino.volumenesAparte && v <= 99; ++v) {
        int error = 0;
        if (TamanoFichero(RutaVolumen(destino, v), error) >= 0) BorraFichero(RutaVolumen(destino, v));
    }
    auto rechaza = [&](const std::string& texto) {
        r.fin = FinCopia::Error;
        dialogo.Mensaje(kTituloErrorCopia, texto);
        return false;
    };
    if (!rechazo.empty()) return rechaza(rechazo);
    if (columnas == 0)
        return rechaza("La reducción no tiene ninguna columna. No hay boletos que copiar a disco.");
    r.datos = CalculaDatosDisco(columnas, st.Jornada(), st.Datos.FechaJornada, st.Datos.Delegacion,
                                st.Datos.Receptor);
    if (r.datos.columnas > kMaxColumnasDisco)
        return rechaza("La reducción tiene " + std::to_string(r.datos.columnas) + " columnas y el archivo " +
                       kFicheroDisco + " admite como máximo " + std::to_string(kMaxColumnasDisco) +
                       ". No se puede copiar a disco.");
    return true;
}

}  // namespace

ResultadoCopia CopiaDisco(Estado& st, const DestinoDisco& destino, DialogoDisco& dialogo) {
    ResultadoCopia r;
    st.NomFichero = FicheroRed(st.Jornada(), st.Orden());
    st.ErrorFichero = 0;
    const std::filesystem::path rutaColumnas = st.DirDatos / st.NomFichero;
    int64_t columnas = 0;
    struct stat anterior {};
    const bool habia = ::stat(RutaVolumen(destino, 1).c_str(), &anterior) == 0 && S_ISREG(anterior.st_mode);
    if (!PreparaCopia(st, destino, dialogo, r, columnas)) return r;
    const DatosDisco& d = r.datos;

    Copia copia(destino, dialogo, r);
    if (habia) copia.anterior_ = anterior;
    if (!copia.AbreVolumen(1)) {
        if (r.fin == FinCopia::Cancelado) copia.Cancela();
        return r;
    }
    dialogo.Panel("Se está creando en la unidad " + destino.unidad + " el archivo " + kFicheroDisco);
    if (d.ultimoIncompleto) dialogo.Mensaje(kTituloUltimoIncompleto, kTextoDiscoIncompleto);
    dialogo.Panel("Número de disquetes necesarios para esta reducción: " + std::to_string(d.discos));

    const std::string cambiado =
        "El fichero de columnas " + st.NomFichero + " ha cambiado o no se ha podido leer durante la copia.";
    LectorColumnas lector;
    if (int e = lector.Abre(rutaColumnas)) {
        copia.Falla(cambiado, e);
        return r;
    }
    int volumen = 0;
    int64_t secuencia = 0, leidas = 0;
    int ultimoPorcentaje = -1;
    std::vector<std::string> boleto;  // the columns of the ticket being filled
    boleto.reserve(kSlotsPorBoleto);
    std::string_view col;
    // Only the columns counted: the headers already tell how many there are.
    while (leidas < columnas && lector.Siguiente(col)) {
        ++leidas;
        if (boleto.empty()) {
            ++secuencia;
            if (secuencia % kBoletosPorDisco == 1 && !copia.EmpiezaVolumen(++volumen, d)) return r;
        }
        boleto.emplace_back(col);
        const int slot = static_cast<int>(boleto.size());
        const int porcentaje =
            static_cast<int>((((secuencia - 1) * 8 + slot) * 200 + d.columnas) / (2 * d.columnas));
        if (porcentaje != ultimoPorcentaje) {
            ultimoPorcentaje = porcentaje;
            dialogo.Progreso(porcentaje, "Se ha copiado el " + std::to_string(porcentaje) + " %");
        }
        if (slot == kSlotsPorBoleto) {
            if (!copia.Escribe(RegistroBoletoDisco(secuencia, boleto, false))) return r;
            boleto.clear();
        }
        if (dialogo.Cancelado()) {
            copia.Cancela();
            return r;
        }
    }
    if (leidas < columnas) {
        copia.Falla(cambiado, lector.Error() ? lector.Error() : Err::FinDeFichero);
        return r;
    }
    if (!boleto.empty() && !copia.Escribe(RegistroBoletoDisco(secuencia, boleto, d.ultimoIncompleto)))
        return r;
    if (!copia.CierraVolumen()) return r;
    r.fin = FinCopia::Copiado;
    dialogo.Panel("Se ha copiado a la unidad " + destino.unidad + " el archivo " + kFicheroDisco);
    return r;
}

}  // namespace tobal
