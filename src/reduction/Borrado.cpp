#include "reduction/Borrado.h"

#include <unistd.h>

#include <algorithm>
#include <system_error>

#include "app/Archivo.h"
#include "app/Cerrojo.h"
#include "app/ErrorFichero.h"
#include "app/Estado.h"
#include "app/Texto.h"
#include "data/Jornadas.h"
#include "reduction/Almacen.h"

namespace tobal {

std::string TextoConfirmacionBorrado(int desde, int hasta) {
    std::string t = "Se  va  a  proceder  a  la  eliminación  de  todos  los  datos";
    if (desde != hasta)
        t += "  desde la  jornada  " + AlineaDerecha(std::to_string(desde), 2) + "  hasta  la  jornada " +
             AlineaDerecha(std::to_string(hasta), 2) + "  ";
    else
        t += " de la Jornada " + AlineaDerecha(std::to_string(desde), 2);
    t += " .  Si  desea  continuar  con  el  proceso,  pulse Borrar. Si desea cancelar el proceso, pulse "
         "Salir.";
    return t;
}

void (*gPasoBorrado)(const std::string& paso) = nullptr;

namespace {

namespace fs = std::filesystem;

void Paso(const std::string& paso) {
    if (gPasoBorrado) gPasoBorrado(paso);
}

// The matchday of a columns file "REDjj*.TBX" or of a conditions file
// "REDjj*.CON" (any letter case), else -1; `clave` gets its key jjoo when
// the name is "REDjjoo.TBX" or "REDjjoo.CON", else -1 (no record can name it).
int JornadaFicheroRed(const std::string& nombre, int& clave) {
    const std::string n = Mayusculas(nombre);
    clave = -1;
    if (n.size() < 9 || n.rfind("RED", 0) != 0 ||
        (n.compare(n.size() - 4, 4, ".TBX") != 0 && n.compare(n.size() - 4, 4, ".CON") != 0) ||
        n.find('/') != std::string::npos || n[3] < '0' || n[3] > '9' || n[4] < '0' || n[4] > '9')
        return -1;
    int j, o;
    if (n.size() == 11 && LeeClave(std::string_view(n).substr(3), j, o)) clave = j * 100 + o;
    return (n[3] - '0') * 10 + (n[4] - '0');
}

bool EsCondiciones(const std::string& nombre) { return Mayusculas(nombre).ends_with(".CON"); }

// Deletes the columns and conditions files among `nombres` that no record of
// BASES.TBX names (a record freed, or none ever). Under the folder's lock.
// Returns the columns files deleted; `fallos` gets the error of each file
// that stays.
int BorraSinRegistro(const Estado& st, const std::vector<std::string>& nombres,
                     std::vector<std::pair<std::string, int>>* fallos, int& errorBases) {
    std::vector<int> claves;
    errorBases = ClavesGuardadas(st, claves);
    if (errorBases) return 0;
    int borrados = 0;
    for (const std::string& n : nombres) {
        int clave;
        if (JornadaFicheroRed(n, clave) < 0 ||
            (clave >= 0 && std::find(claves.begin(), claves.end(), clave) != claves.end()))
            continue;
        const fs::path p = st.DirDatos / n;
        std::error_code ec;
        if (fs::is_directory(fs::symlink_status(p, ec))) continue;  // not a columns file
        Paso(n);
        if (int e = BorraFichero(p); e == 0)
            borrados += !EsCondiciones(n);
        else if (e != Err::NoEncontrado && fallos)
            fallos->emplace_back(n, e);
    }
    SincronizaCarpeta(st.DirDatos);
    return borrados;
}

}  // namespace

void AcabaBorrado(const Estado& st, const std::string& nota) {
    std::string texto;
    if (LeeFichero(st.DirDatos / nota, texto) != 0) return;
    std::vector<std::string> nombres;
    for (size_t i = 0; i < texto.size();) {
        size_t fin = texto.find('\n', i);
        if (fin == std::string::npos) fin = texto.size();
        std::string n = texto.substr(i, fin - i);
        if (!n.empty() && n.back() == '\r') n.pop_back();
        int clave;
        if (JornadaFicheroRed(n, clave) >= 0) nombres.push_back(n);
        i = fin + 1;
    }
    int errorBases = 0;
    BorraSinRegistro(st, nombres, nullptr, errorBases);
    // An index that cannot be read now keeps the note for a later try.
    if (!errorBases) ::unlink((st.DirDatos / nota).c_str());
}

ResultadoBorrado BorraJornadas(Estado& st, int desde, int hasta) {
    ResultadoBorrado r;
    auto falla = [&](const std::string& que, int error) {
        r.fallos.push_back(que + " (error " + std::to_string(error) + ": " + MotivoError(error) + ").");
    };
    Cerrojo cerrojo(st.DirDatos);
    if (cerrojo.Error()) {
        falla("No se ha podido borrar nada: la carpeta de datos no admite cambios", cerrojo.Error());
        st.ErrorFichero = static_cast<int16_t>(cerrojo.Error());
        return r;
    }
    // Leftovers of dead runs and deletions go too.
    LimpiaTemporales(st);
    const std::string blancos(kLongRegJornada, ' ');
    for (int j = desde; j <= hasta; ++j)
        if (int e = GrabaRegistroJornada(st, j, blancos)) {
            falla("No se han podido borrar los datos de la jornada " + std::to_string(j) + " en JORNADAS.TBX",
                  e);
            break;  // the same file: the next ones would fail alike
        }

    std::error_code ec;
    std::vector<std::string> aBorrar;
    for (auto it = fs::directory_iterator(st.DirDatos, ec); !ec && it != fs::directory_iterator();
         it.increment(ec)) {
        const std::string nombre = it->path().filename().string();
        int clave;
        const int j = JornadaFicheroRed(nombre, clave);
        if (j >= desde && j <= hasta) aBorrar.push_back(nombre);
    }
    if (ec)
        falla("No se ha podido leer la carpeta de datos para borrar los ficheros de columnas",
              NumeroError(ec));

    // The index records go first and the files after them, so that the index
    // never names a missing file. A note of the files lets the next use of
    // the folder finish a deletion cut short between the two steps; without
    // it (a full disk) the order alone still keeps the index true.
    const fs::path nota = st.DirDatos / ("BORRADO" + SufijoUnico() + kFinBorrado);
    bool conNota = false;
    if (!aBorrar.empty()) {
        std::string texto;
        for (const std::string& n : aBorrar) texto += n + SaltoLinea;
        EscritorBloques escritor;
        escritor.Abre(nota, texto.size() + 1);
        escritor.Escribe(texto);
        conNota = escritor.Cierra() == 0 && SincronizaCarpeta(st.DirDatos) == 0;
        if (!conNota) ::unlink(nota.c_str());
    }
    Paso("liberar");
    int errorBases = 0;
    LiberaReducciones(st, desde, hasta, &errorBases);
    if (errorBases) {
        falla("No se han podido borrar las reducciones de BASES.TBX", errorBases);
        r.fallos.back() += " Sus ficheros de columnas se conservan.";
    } else {
        std::vector<std::pair<std::string, int>> fallos;
        r.ficheros = BorraSinRegistro(st, aBorrar, &fallos, errorBases);
        if (errorBases)
            falla("No se ha podido leer BASES.TBX para borrar los ficheros de columnas", errorBases);
        for (const auto& [n, e] : fallos)
            falla(std::string("No se ha podido borrar el fichero de ") +
                      (EsCondiciones(n) ? "condiciones " : "columnas ") + n,
                  e);
    }
    if (conNota) ::unlink(nota.c_str());
    st.ErrorFichero = 0;
    return r;
}

}  // namespace tobal
