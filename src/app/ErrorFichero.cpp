#include "app/ErrorFichero.h"

#include <cerrno>

#include "app/Estado.h"
#include "app/Informador.h"

namespace tobal {

namespace {
std::string TextoCerrojo() {
    return "no se puede usar el fichero de bloqueo .tobal31.lck de la carpeta de datos: bórrelo o dele "
           "permiso de escritura para todos";
}
}  // namespace

namespace Op {
const OperacionFichero LDG{
    "LDG",
    "No se encuentra el fichero de datos generales DATOSGEN.TBX.\r\n"
    "Se ha procedido a crearlo automáticamente con los valores establecidos por defecto.",
    "No existe el fichero de datos generales DATOSGEN.TBX"};
const OperacionFichero LJO{"LJO", "No se encuentra el fichero de jornadas JORNADAS.TBX.",
                           "No existe el fichero de jornadas JORNADAS.TBX"};
const OperacionFichero CLE{"CLE", "No se encuentra el fichero de equipos EQUIPOS.TBX.",
                           "No existe el fichero de equipos EQUIPOS.TBX"};
const OperacionFichero CLECrea{
    "CLE",
    "No se encuentra el fichero de equipos EQUIPOS.TBX.\r\n"
    "Se ha procedido a crearlo automáticamente con los valores establecidos por defecto.",
    "No existe el fichero de equipos EQUIPOS.TBX"};
const OperacionFichero EEB{"EEB", "No se encuentra el fichero BASES.TBX. Se va a proceder a crearlo.",
                           "No existe el fichero BASES.TBX"};
const OperacionFichero LFB{"LFB", "No se encuentra el fichero BASES.TBX. Se va a proceder a crearlo.",
                           "No existe el fichero BASES.TBX"};
const OperacionFichero BRB{"BRB", "No se encuentra el fichero BASES.TBX", "No existe el fichero BASES.TBX"};
OperacionFichero Abre(const std::string& nomFichero) { return OperacionFichero{"", "", nomFichero}; }
}  // namespace Op

int NumeroErrorErrno(int e) {
    switch (e) {
        case 0: return 0;
        case ENOMEM: return Err::SinMemoria;
        case ENOENT: return Err::NoEncontrado;
        case ENOTDIR: return Err::RutaNoEncontrada;
        case ENOSPC:
        case EDQUOT:
        case EFBIG: return Err::DiscoLleno;
        case ENXIO:
        case ENODEV:
        case ENOMEDIUM:
        case EIO: return Err::UnidadNoDisponible;
        case EACCES:
        case EPERM:
        case EROFS: return Err::PermisoDenegado;
        case EISDIR:
        case EBUSY:
        case ETXTBSY: return Err::AccesoRuta;
        case ENAMETOOLONG:
        case EINVAL: return Err::NombreIncorrecto;
        default: return Err::ErrorES;
    }
}

int NumeroError(const std::error_code& ec) {
    if (!ec) return 0;
    if (ec.category() == std::generic_category() || ec.category() == std::system_category())
        return NumeroErrorErrno(ec.value());
    return Err::ErrorES;
}

std::string TextoErrorFichero(const OperacionFichero& op, int numero, const std::string& unidad) {
    if (numero == Err::Desbordamiento || numero == 0) return {};
    const bool abre = op.codigo.empty();
    // AbreFichero's messages begin with the file name (kept in texto76).
    const std::string cabeza = abre ? op.texto76 + " " : op.codigo + " ";
    switch (numero) {
        case Err::NoEncontrado: return op.texto53;
        case Err::UnidadNoDisponible: return cabeza + "ERROR 68: Unidad " + unidad + ": no preparada";
        case Err::SinMemoria: return cabeza + "ERROR 7 : Insuficiente memoria";
        case Err::RutaNoEncontrada:
            if (!abre) return cabeza + "ERROR 76: " + op.texto76;
            [[fallthrough]];
        default:
            return cabeza + "ERROR " + std::to_string(numero < 0 ? -numero : numero) + ": " +
                   DescripcionError(numero < 0 ? -numero : numero);
    }
}

std::string DescripcionError(int numero) {
    switch (numero) {
        case Err::SinMemoria: return "memoria insuficiente";
        case Err::TipoIncorrecto: return "el contenido del fichero no es válido";
        case Err::NombreIncorrecto: return "el nombre del fichero no es válido";
        case Err::NoEncontrado: return "no se encuentra el fichero";
        case Err::DiscoLleno: return "disco lleno";
        case Err::FinDeFichero: return "el fichero se acaba antes de tiempo";
        case Err::UnidadNoDisponible:
        case Err::DiscoNoPreparado: return "unidad no preparada";
        case Err::PermisoDenegado: return "permiso denegado";
        case Err::AccesoRuta: return "no es un fichero normal o no se puede acceder a él";
        case Err::RutaNoEncontrada: return "no se encuentra la carpeta";
        case Err::CerrojoInutilizable: return TextoCerrojo();
        default: return "error de entrada o salida";
    }
}

std::string MotivoError(int numero) {
    switch (numero) {
        case Err::DiscoLleno: return "el disco está lleno";
        case Err::PermisoDenegado: return "no hay permiso para escribir en ella";
        case Err::UnidadNoDisponible:
        case Err::DiscoNoPreparado: return "la unidad no está preparada";
        case Err::RutaNoEncontrada: return "no se encuentra la carpeta";
        case Err::NoEncontrado: return "esa carpeta no admite archivos nuevos";
        case Err::AccesoRuta: return "no se puede acceder al archivo";
        case Err::NombreIncorrecto: return "el nombre del archivo no es válido";
        case Err::SinMemoria: return "no hay memoria suficiente";
        case Err::CerrojoInutilizable: return TextoCerrojo();
        default: return "error de entrada o salida";
    }
}

void InformaErrorFichero(Estado& st, const OperacionFichero& op, int numero, const std::string& unidad) {
    st.ErrorFichero = static_cast<int16_t>(numero);
    std::string texto = TextoErrorFichero(op, numero, unidad.empty() ? st.DirDatos.string() : unidad);
    if (!texto.empty() && st.informador) st.informador->ErrorFichero(texto);
}

}  // namespace tobal
