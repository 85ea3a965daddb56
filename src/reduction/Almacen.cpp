#include "reduction/Almacen.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>
#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

#include "app/Archivo.h"
#include "app/Cerrojo.h"
#include "app/ErrorFichero.h"
#include "app/Informador.h"
#include "app/Parada.h"
#include "app/Texto.h"
#include "reduction/Borrado.h"
#include "reduction/Condiciones.h"

namespace tobal {

namespace {

// BASES.TBX as lines without their line ends, and whether the file is laid
// out as clean 132-byte records (so that a record can be rewritten in place).
struct FicheroBases {
    std::vector<std::string> lineas;
    bool registrosFijos = true;
    bool acabaEnSalto = true;
};

FicheroBases Trocea(std::string_view contenido) {
    FicheroBases f;
    size_t i = 0;
    while (i < contenido.size()) {
        size_t lf = contenido.find('\n', i);
        size_t fin = lf == std::string_view::npos ? contenido.size() : lf;
        std::string_view linea = contenido.substr(i, fin - i);
        bool cr = !linea.empty() && linea.back() == '\r';
        if (cr) linea.remove_suffix(1);
        if (!cr || lf == std::string_view::npos || linea.size() != kLongRegistroBase ||
            linea.find('\r') != std::string_view::npos)
            f.registrosFijos = false;
        if (lf == std::string_view::npos) f.acabaEnSalto = false;
        f.lineas.emplace_back(linea);
        i = lf == std::string_view::npos ? contenido.size() : lf + 1;
    }
    return f;
}

fs::path RutaBases(const Estado& st) { return st.DirDatos / kFicheroBases; }

// Reads and splits BASES.TBX; the error number, 0 on success.
int LeeBases(const Estado& st, FicheroBases& f) {
    std::string contenido;
    if (int e = LeeFichero(RutaBases(st), contenido)) return e;
    f = Trocea(contenido);
    return 0;
}

bool EsClave(std::string_view linea, int jornada, int orden) {
    return ClaveRegistro(linea) == DosDigitos(jornada) + DosDigitos(orden);
}

// Line n (1-based) of the file; -1 when none.
int Busca(const FicheroBases& f, int jornada, int orden) {
    for (size_t n = 0; n < f.lineas.size(); ++n)
        if (EsClave(f.lineas[n], jornada, orden)) return static_cast<int>(n) + 1;
    return -1;
}

// Writes back the lines whose numbers are in `cambiadas` (1-based), in place
// when the file is made of fixed records, or the whole file otherwise.
int Guarda(const Estado& st, const FicheroBases& f, const std::vector<int>& cambiadas, bool anexada) {
    if (f.registrosFijos && f.acabaEnSalto) {
        for (int n : cambiadas) {
            if (anexada && n == static_cast<int>(f.lineas.size())) {
                if (int e = AnexaFichero(RutaBases(st), f.lineas[static_cast<size_t>(n - 1)] + SaltoLinea))
                    return e;
                continue;
            }
            uint64_t pos = static_cast<uint64_t>(n - 1) * kLongLineaBase;
            if (int e = EscribeEnPosicion(RutaBases(st), pos, f.lineas[static_cast<size_t>(n - 1)])) return e;
        }
        return 0;
    }
    // A file whose lines are not all 130 characters: rewrite it whole, every
    // other line kept exactly as it was.
    std::string datos;
    for (const std::string& l : f.lineas) datos += l + SaltoLinea;
    return EscribeFicheroAtomico(RutaBases(st), datos);
}

std::string Numero(long long v, size_t ancho) { return AlineaDerecha(std::to_string(v), ancho); }

void ReduccionPorDefecto(Reduccion& r) {
    r.MinErrores = r.MaxErrores = 0;
    r.Signos = {0, 0, 0, 0};
    for (Partido& p : r.Partidos) p = Partido{};
    for (int i = 1; i <= 15; ++i) {
        r.Partidos[i].Signo[1] = 1;
        r.Partidos[i].NumSignos = 1;
    }
    r.ApuestasDirectas = r.ApuestasReducidas = 1;
}

}  // namespace

std::string FicheroRed(int jornada, int orden) {
    return "RED" + DosDigitos(jornada) + DosDigitos(orden) + ".TBX";
}

std::string RegistroBase(const Reduccion& r) {
    std::string s;
    s.reserve(kLongRegistroBase);
    s += DosDigitos(r.Jornada);
    s += DosDigitos(r.Orden);
    s += std::to_string(r.Metodo).substr(0, 1);
    s += Numero(r.MinErrores, 2);
    s += Numero(r.MaxErrores, 2);
    for (int k = 1; k <= 3; ++k) s += Numero(r.Signos[k], 2);
    s += Numero(r.ApuestasDirectas, 7);
    s += Numero(r.ApuestasReducidas, 7);
    for (int i = 1; i <= 15; ++i) {
        const Partido& p = r.Partidos[i];
        for (int k = 1; k <= 3; ++k) s += static_cast<char>('0' + (p.Signo[k] ? 1 : 0));
        s += static_cast<char>('0' + p.NumSignos);
        s += static_cast<char>('0' + p.AReducir);
        s += static_cast<char>('0' + p.SignoBase);
    }
    return Ajusta(s, kLongRegistroBase);
}

std::string RegistroLibre() { return Ajusta("0000", kLongRegistroBase); }

std::string ClaveRegistro(std::string_view linea) { return Ajusta(linea.substr(0, 4), 4); }

bool LeeClave(std::string_view linea, int& jornada, int& orden) {
    if (linea.size() < 4) return false;
    for (size_t i = 0; i < 4; ++i)
        if (linea[i] < '0' || linea[i] > '9') return false;
    jornada = (linea[0] - '0') * 10 + (linea[1] - '0');
    orden = (linea[2] - '0') * 10 + (linea[3] - '0');
    return true;
}

std::vector<std::string> LineasBases(std::string_view contenido) {
    std::vector<std::string> r;
    for (const std::string& l : Trocea(contenido).lineas) r.push_back(Ajusta(l, kLongRegistroBase));
    return r;
}

std::optional<Reduccion> DecodificaRegistroBase(std::string_view linea) {
    const std::string reg = Ajusta(linea, kLongRegistroBase);
    auto campo = [&](size_t pos, size_t ancho, long long& v) {
        std::string_view t = Recorta(std::string_view(reg).substr(pos - 1, ancho));
        if (t.empty()) {
            v = 0;
            return true;
        }
        for (char c : t)
            if (c < '0' || c > '9') return false;
        v = ValEntero(t);
        return true;
    };
    Reduccion r;
    long long v;
    if (!campo(1, 2, v) || Recorta(std::string_view(reg).substr(0, 2)).size() != 2) return std::nullopt;
    r.Jornada = static_cast<int16_t>(v);
    if (!campo(3, 2, v) || Recorta(std::string_view(reg).substr(2, 2)).size() != 2) return std::nullopt;
    r.Orden = static_cast<int16_t>(v);
    if (reg[4] < '1' || reg[4] > '0' + kMetodos) return std::nullopt;
    r.Metodo = static_cast<int16_t>(reg[4] - '0');
    if (!campo(6, 2, v)) return std::nullopt;
    r.MinErrores = static_cast<int16_t>(v);
    if (!campo(8, 2, v)) return std::nullopt;
    r.MaxErrores = static_cast<int16_t>(v);
    for (int k = 1; k <= 3; ++k) {
        if (!campo(10 + 2 * (k - 1), 2, v)) return std::nullopt;
        r.Signos[k] = static_cast<int16_t>(v);
    }
    if (!campo(16, 7, v)) return std::nullopt;
    r.ApuestasDirectas = static_cast<int32_t>(v);
    if (!campo(23, 7, v)) return std::nullopt;
    r.ApuestasReducidas = static_cast<int32_t>(v);
    for (int i = 1; i <= 15; ++i) {
        const char* b = reg.data() + 23 + 6 * i;
        for (int k = 0; k < 6; ++k)
            if (b[k] < '0' || b[k] > '3') return std::nullopt;
        Partido& p = r.Partidos[i];
        for (int k = 1; k <= 3; ++k) p.Signo[k] = static_cast<int16_t>(b[k - 1] - '0');
        p.NumSignos = static_cast<int16_t>(b[3] - '0');
        p.AReducir = static_cast<int16_t>(b[4] - '0');
        p.SignoBase = static_cast<int16_t>(b[5] - '0');
        if (p.Signo[1] > 1 || p.Signo[2] > 1 || p.Signo[3] > 1 || p.AReducir > 1 ||
            p.NumSignos != p.Signo[1] + p.Signo[2] + p.Signo[3])
            return std::nullopt;
    }
    return r;
}

bool ExisteReduccion(Estado& st, int jornada, int orden) {
    st.ErrorFichero = 0;
    st.NumRegistro = 0;
    FicheroBases f;
    if (int e = LeeBases(st, f)) {
        InformaErrorFichero(st, Op::EEB, e);
        return false;
    }
    int n = Busca(f, jornada, orden);
    st.NumRegistro = static_cast<int16_t>(n > 0 ? n : static_cast<int>(f.lineas.size()));
    return n > 0;
}

void CargaReduccion(Estado& st) {
    st.ErrorFichero = 0;
    Reduccion& r = st.ReduccionActual;
    FicheroBases f;
    int n = -1;
    if (int e = LeeBases(st, f)) {
        InformaErrorFichero(st, Op::LFB, e);
    } else {
        n = Busca(f, r.Jornada, r.Orden);
    }
    st.NumRegistro = static_cast<int16_t>(n > 0 ? n : static_cast<int>(f.lineas.size()));
    st.CondicionesActuales = Condiciones{};
    if (n > 0) {
        if (auto leida = DecodificaRegistroBase(f.lineas[static_cast<size_t>(n - 1)])) {
            r = *leida;
            std::string fallo;
            if (int e = LeeCondicionesReduccion(st, r.Jornada, r.Orden, st.CondicionesActuales, &fallo)) {
                st.CondicionesActuales = Condiciones{};
                if (st.informador)
                    st.informador->ErrorFichero("LFB: " +
                                                TextoCondicionesIlegibles(r.Jornada, r.Orden, e, fallo));
                st.ErrorFichero = static_cast<int16_t>(e);
            }
            return;
        }
        if (st.informador)
            st.informador->ErrorFichero(
                "LFB: El registro " + std::to_string(n) + " del fichero BASES.TBX está dañado (" +
                FicheroRed(r.Jornada, r.Orden) + "); no se puede cargar la reducción.");
        st.ErrorFichero = Err::TipoIncorrecto;
    }
    ReduccionPorDefecto(r);
}

std::string TextoCondicionesIlegibles(int jornada, int orden, int error, const std::string& fallo) {
    std::string t = TextoErrorCondiciones(jornada, orden, error, fallo);
    t[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(t[0])));
    return t + ". No se puede usar la reducción sin saber sus condiciones.";
}

void BorraReduccion(Estado& st, int jornada, int orden) {
    st.ErrorFichero = 0;
    Cerrojo cerrojo(st.DirDatos);
    FicheroBases f;
    if (int e = cerrojo.Error() ? cerrojo.Error() : LeeBases(st, f)) {
        InformaErrorFichero(st, Op::BRB, e);
        return;
    }
    std::vector<int> cambiadas;
    for (size_t n = 0; n < f.lineas.size(); ++n) {
        if (EsClave(f.lineas[n], jornada, orden)) {
            f.lineas[n] = RegistroLibre();
            cambiadas.push_back(static_cast<int>(n) + 1);
        }
    }
    if (cambiadas.empty()) return;
    if (int e = Guarda(st, f, cambiadas, false)) InformaErrorFichero(st, Op::BRB, e);
}

int LiberaReducciones(Estado& st, int desde, int hasta, int* error) {
    int sinError = 0;
    int& e = error ? *error : sinError;
    Cerrojo cerrojo(st.DirDatos);
    FicheroBases f;
    e = cerrojo.Error();
    if (!e) e = LeeBases(st, f);
    if (e == Err::NoEncontrado) e = 0;
    if (e) return 0;
    std::vector<int> cambiadas;
    for (size_t n = 0; n < f.lineas.size(); ++n) {
        int j, o;
        if (LeeClave(f.lineas[n], j, o) && j >= desde && j <= hasta && o >= 1 && o <= 30) {
            f.lineas[n] = RegistroLibre();
            cambiadas.push_back(static_cast<int>(n) + 1);
        }
    }
    if (cambiadas.empty()) return 0;
    if ((e = Guarda(st, f, cambiadas, false))) return 0;
    return static_cast<int>(cambiadas.size());
}

int ClavesGuardadas(const Estado& st, std::vector<int>& claves) {
    claves.clear();
    FicheroBases f;
    if (int e = LeeBases(st, f)) return e == Err::NoEncontrado ? 0 : e;
    for (const std::string& l : f.lineas) {
        int j, o;
        if (LeeClave(l, j, o) && (j != 0 || o != 0)) claves.push_back(j * 100 + o);
    }
    return 0;
}

int PreparaRegistro(Reduccion& r, std::string& registro) {
    if (r.Metodo == 1) {
        r.MinErrores = r.MaxErrores = 0;
        r.Signos = {0, 0, 0, 0};
    } else if (r.Metodo == 2) {
        r.Signos = {0, 0, 0, 0};
    } else if (r.Metodo == 3) {
        r.MinErrores = r.MaxErrores = 0;
    } else if (r.Metodo == 4) {
        // The minimal reduction keeps its guaranteed errors in MaxErrores.
        r.MinErrores = 0;
        r.Signos = {0, 0, 0, 0};
    }
    // A key or method that does not fit its field would shift every field
    // after it.
    if (r.Jornada < 1 || r.Jornada > 99 || r.Orden < 1 || r.Orden > 99 || r.Metodo < 1 || r.Metodo > kMetodos)
        return Err::NombreIncorrecto;
    registro = RegistroBase(r);
    return 0;
}

namespace {

// Writes `registro` (whose key is its first four characters) under the
// folder's lock; NumRegistro gets its line.
int GrabaRegistro(Estado& st, const std::string& registro) {
    int jornada, orden;
    if (!LeeClave(registro, jornada, orden)) return Err::NombreIncorrecto;
    Cerrojo cerrojo(st.DirDatos);
    if (cerrojo.Error()) return cerrojo.Error();
    FicheroBases f;
    int e = LeeBases(st, f);
    if (e && e != Err::NoEncontrado) return e;
    int n = Busca(f, jornada, orden);
    if (n < 0) n = Busca(f, 0, 0);
    bool anexada = false;
    if (n < 0) {
        f.lineas.push_back(registro);
        n = static_cast<int>(f.lineas.size());
        anexada = true;
    } else {
        f.lineas[static_cast<size_t>(n - 1)] = registro;
    }
    st.NumRegistro = static_cast<int16_t>(n);
    return Guarda(st, f, {n}, anexada);
}

constexpr const char* kFinNota = ".reg~";      // the record a change is about to write
constexpr const char* kFinAnterior = ".old~";  // the columns file it replaces

fs::path ConFin(const fs::path& ruta, const std::string& fin) {
    fs::path p = ruta;
    p += fin;
    return p;
}

void PasoInstalacion(const char* paso) {
    if (gPasoInstalacion) gPasoInstalacion(paso);
    Parada(paso);
}

// The last line of a note whose reduction has a conditions file.
constexpr std::string_view kNotaCondiciones = "CON\r\n";

// The conditions file of a change to the columns file `enlace`, and its
// names while the change lasts.
struct FicherosCon {
    fs::path con, temporal, anterior;
};

FicherosCon RutasCon(const fs::path& enlace, const std::string& id) {
    const fs::path con = fs::path(enlace).replace_extension(".CON");
    return {con, ConFin(con, id + kFinTemporal), ConFin(con, id + kFinAnterior)};
}

// Puts the new conditions file in place, or removes the earlier one for a
// reduction without conditions. Done again after a crash: a temporary
// already renamed is gone. The error number.
int CambiaCondiciones(const FicherosCon& f, bool nuevas) {
    const int hecho = nuevas ? ::rename(f.temporal.c_str(), f.con.c_str()) : ::unlink(f.con.c_str());
    return hecho != 0 && errno != ENOENT ? NumeroErrorErrno(errno) : 0;
}

// Back to the earlier pair after the new columns file went in but its
// record could not be written: the kept old files, or no file and no record.
void DeshazInstalacion(Estado& st, int jornada, int orden, const fs::path& ruta, const fs::path& anterior,
                       bool hayAnterior, const FicherosCon& con) {
    if (::rename(con.anterior.c_str(), con.con.c_str()) != 0) ::unlink(con.con.c_str());
    if (hayAnterior && ::rename(anterior.c_str(), ruta.c_str()) == 0) return;
    ::unlink(ruta.c_str());
    ::unlink(con.con.c_str());
    const int16_t error = st.ErrorFichero;
    {
        Silencio silencio(st.informador);
        BorraReduccion(st, jornada, orden);
    }
    st.ErrorFichero = error;
}

// Finishes (when the new columns file is in place) or undoes (when it is
// not) the change whose note is `nota`. Under the folder's lock, with the
// key free.
// Where a columns file's content lives: the file, or the target of the link
// it is (a change replaces the target and the link stays); empty for a
// dangling link.
fs::path Destino(const fs::path& ruta) {
    std::error_code ec;
    if (!fs::is_symlink(ruta, ec)) return ruta;
    fs::path d = fs::canonical(ruta, ec);
    return ec ? fs::path() : d;
}

void AcabaInstalacion(Estado& st, const fs::path& enlace, const std::string& id) {
    const fs::path destino = Destino(enlace), ruta = destino.empty() ? enlace : destino;
    const fs::path nota = ConFin(enlace, id + kFinNota), anterior = ConFin(ruta, id + kFinAnterior);
    const FicherosCon con = RutasCon(enlace, id);
    std::string texto;
    struct stat actual {};
    const bool leida = LeeFichero(nota, texto) == 0 && texto.size() > kLongLineaBase;
    // A note without the conditions line is of a reduction without them.
    const bool nuevas = leida && texto.ends_with(kNotaCondiciones);
    if (nuevas) texto.resize(texto.size() - kNotaCondiciones.size());
    if (leida && texto.compare(kLongRegistroBase, 2, SaltoLinea) == 0 && ::stat(ruta.c_str(), &actual) == 0 &&
        std::to_string(actual.st_ino) + SaltoLinea == texto.substr(kLongLineaBase)) {
        const std::string registro = texto.substr(0, kLongRegistroBase);
        int e = CambiaCondiciones(con, nuevas);
        if (!e) e = SincronizaCarpeta(con.con.parent_path());
        if (!e) e = GrabaRegistro(st, registro);
        int jornada, orden;
        if (e && LeeClave(registro, jornada, orden))
            DeshazInstalacion(st, jornada, orden, ruta, anterior, fs::exists(anterior), con);
    }
    for (const fs::path& p : {ConFin(enlace, id + kFinTemporal), anterior, con.temporal, con.anterior, nota})
        ::unlink(p.c_str());
}

bool Termina(const std::string& s, const char* fin) {
    const size_t n = std::strlen(fin);
    return s.size() >= n && s.compare(s.size() - n, n, fin) == 0;
}

}  // namespace

void (*gPasoInstalacion)(const std::string& paso) = nullptr;

int GrabaReduccion(Estado& st) {
    std::string registro;
    if (int e = PreparaRegistro(st.ReduccionActual, registro)) return e;
    return GrabaRegistro(st, registro);
}

int InstalaReduccion(Estado& st, const std::string& id) {
    Reduccion& r = st.ReduccionActual;
    std::string registro;
    if (int e = PreparaRegistro(r, registro)) return e;
    const fs::path enlace = st.DirDatos / FicheroRed(r.Jornada, r.Orden), ruta = Destino(enlace);
    if (ruta.empty()) return Err::AccesoRuta;
    const fs::path temporal = ConFin(enlace, id + kFinTemporal), nota = ConFin(enlace, id + kFinNota),
                   anterior = ConFin(ruta, id + kFinAnterior);
    const FicherosCon con = RutasCon(enlace, id);
    const bool nuevas = !st.CondicionesActuales.lista.empty();
    Cerrojo cerrojo(st.DirDatos);
    if (cerrojo.Error()) return cerrojo.Error();
    // Whatever stopped the change takes every file of it away.
    auto abandona = [&](int e) {
        for (const fs::path& p : {anterior, con.temporal, con.anterior, nota}) ::unlink(p.c_str());
        return e;
    };
    struct stat nuevo {
    }, viejo{};
    if (::stat(temporal.c_str(), &nuevo) != 0) return ErrorApertura(temporal, errno);
    const bool habia = ::stat(ruta.c_str(), &viejo) == 0;
    if (habia) {
        // The new file keeps the old one's owner (only root may give it
        // away; otherwise it is the writer's anyway) and permissions.
        [[maybe_unused]] const int dueno = ::chown(temporal.c_str(), viejo.st_uid, viejo.st_gid);
        ::chmod(temporal.c_str(), viejo.st_mode & 07777);
    }
    if (nuevas) {
        EscritorBloques condiciones;
        condiciones.Abre(con.temporal, 4096);
        condiciones.Escribe(TextoFicheroCondiciones(st.CondicionesActuales));
        if (int e = condiciones.Cierra()) return abandona(e);
    }
    // A note cut short by a crash cannot match the columns file: it is undone.
    EscritorBloques escritor;
    escritor.Abre(nota, kLongLineaBase * 2);
    escritor.Escribe(registro + SaltoLinea + std::to_string(nuevo.st_ino) + SaltoLinea +
                     std::string(nuevas ? kNotaCondiciones : ""));
    if (int e = escritor.Cierra()) return abandona(e);
    PasoInstalacion("nota");
    const bool hayAnterior = habia && ::link(ruta.c_str(), anterior.c_str()) == 0;
    // Without its earlier conditions kept, a failure could not give the
    // earlier reduction back whole.
    struct stat condicionesAntes {};
    const bool habiaCon = ::lstat(con.con.c_str(), &condicionesAntes) == 0;
    if (habiaCon && ::link(con.con.c_str(), con.anterior.c_str()) != 0)
        return abandona(NumeroErrorErrno(errno));
    if (::rename(temporal.c_str(), ruta.c_str()) != 0) return abandona(NumeroErrorErrno(errno));
    SincronizaCarpeta(ruta.parent_path());
    PasoInstalacion("columnas");
    // The conditions change only once the columns have: a crash before
    // leaves the earlier ones, a crash after is finished from the note.
    int e = CambiaCondiciones(con, nuevas);
    if (!e && (nuevas || habiaCon)) e = SincronizaCarpeta(con.con.parent_path());
    PasoInstalacion("condiciones");
    if (!e) e = GrabaRegistro(st, registro);
    if (e)
        DeshazInstalacion(st, r.Jornada, r.Orden, ruta, anterior, hayAnterior, con);
    else
        PasoInstalacion("registro");
    // Should these removals not survive a power cut, the note only writes
    // the same record again.
    for (const fs::path& p : {anterior, con.temporal, con.anterior, nota}) ::unlink(p.c_str());
    return e;
}

void LimpiaTemporales(const Estado& estado) {
    // A copy: finishing a change writes a record, which sets NumRegistro.
    Estado st;
    st.DirDatos = estado.DirDatos;
    auto nombres = [&] {
        std::vector<std::string> r;
        std::error_code ec;
        for (auto it = fs::directory_iterator(st.DirDatos, ec); !ec && it != fs::directory_iterator();
             it.increment(ec)) {
            std::string n = it->path().filename().string();
            if (Termina(n, kFinTemporal) || Termina(n, kFinNota) || Termina(n, kFinAnterior) ||
                Termina(n, kFinBorrado))
                r.push_back(n);
        }
        return r;
    };
    // A clean folder is left without even taking its lock.
    if (nombres().empty()) return;
    Cerrojo cerrojo(st.DirDatos);
    if (cerrojo.Error()) return;
    const std::vector<std::string> lista = nombres();
    std::vector<std::string> notas;
    for (const std::string& n : lista) {
        // A deletion's note: written under the folder's lock, held here.
        if (Termina(n, kFinBorrado)) {
            AcabaBorrado(st, n);
            continue;
        }
        const std::string mayus = Mayusculas(n);
        int jornada, orden;
        if (mayus.size() > 12 && mayus.rfind("RED", 0) == 0 &&
            (mayus.compare(7, 5, ".TBX.") == 0 || mayus.compare(7, 5, ".CON.") == 0) &&
            LeeClave(std::string_view(mayus).substr(3), jornada, orden)) {
            // A reduction's file: stale once no run holds its key.
            if (!ClaveLibre(st.DirDatos, jornada * 100 + orden)) continue;
            if (Termina(n, kFinNota)) {
                notas.push_back(n);
                continue;
            }
            // What a change keeps under other names waits for its note.
            std::string raiz = n.substr(0, n.rfind('.'));
            raiz.replace(7, 4, ".TBX");
            const bool conservado =
                Termina(n, kFinAnterior) || (mayus.compare(7, 4, ".CON") == 0 && Termina(n, kFinTemporal));
            if (conservado && fs::exists(st.DirDatos / (raiz + kFinNota))) continue;
            ::unlink((st.DirDatos / n).c_str());
            continue;
        }
        // A whole-file rewrite's temporary: written under the folder's lock,
        // which this thread holds now, so its writer is gone.
        for (const char* f : {"BASES.TBX.", "DATOSGEN.TBX.", "EQUIPOS.TBX.", "JORNADAS.TBX."})
            if (mayus.rfind(f, 0) == 0 && Termina(n, kFinTemporal)) ::unlink((st.DirDatos / n).c_str());
    }
    for (const std::string& n : notas) {
        const std::string raiz = n.substr(0, n.size() - std::strlen(kFinNota));
        const size_t punto = raiz.find(".TBX") + 4;
        AcabaInstalacion(st, st.DirDatos / raiz.substr(0, punto), raiz.substr(punto));
    }
}

bool RegistroColumnaValido(std::string_view r) {
    if (r.size() != static_cast<size_t>(kLongLineaColumna) || r[0] != '"' || r[16] != '"' || r[17] != '\r' ||
        r[18] != '\n')
        return false;
    for (size_t i = 1; i <= 15; ++i)
        if (r[i] != '1' && r[i] != 'X' && r[i] != '2') return false;
    return true;
}

namespace {

#if defined(__x86_64__) || defined(__i386__)
// Records two at a time in the halves of a 256-bit register, on processors
// with AVX2: how many it found good, stopping before a pair with a bad
// record and before the last record, whose end has no next quote to check.
__attribute__((target("avx2"))) size_t ValidosAvx2(const char* p, size_t registros) {
    constexpr size_t L = kLongLineaColumna;
    const __m256i signo =
        _mm256_broadcastsi128_si256(_mm_load_si128(reinterpret_cast<const __m128i*>(kTablaSignos)));
    if (registros == 0 || p[0] != '"') return 0;
    size_t k = 0;
    for (; k + 2 < registros; k += 2, p += 2 * L) {
        const __m256i v = _mm256_loadu2_m128i(reinterpret_cast<const __m128i*>(p + L + 1),
                                              reinterpret_cast<const __m128i*>(p + 1));
        const auto signos =
            static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(v, _mm256_shuffle_epi8(signo, v))));
        uint32_t j1, j2;
        std::memcpy(&j1, p + 16, 4);
        std::memcpy(&j2, p + L + 16, 4);
        if ((signos & 0x7FFF7FFFu) != 0x7FFF7FFFu || ((j1 ^ kJuntaColumnas) | (j2 ^ kJuntaColumnas)) != 0)
            break;
    }
    return k;
}
#endif

}  // namespace

size_t RegistrosValidos(const char* p, size_t registros) {
    size_t k = 0;
#if defined(__x86_64__) || defined(__i386__)
    static const bool avx2 = __builtin_cpu_supports("avx2");
    if (avx2) k = ValidosAvx2(p, registros);
#endif
    while (k < registros &&
           RegistroColumnaValido(std::string_view(p + k * kLongLineaColumna, kLongLineaColumna)))
        ++k;
    return k;
}

std::string TextoColumnasDanadas(const std::string& nomFichero, int64_t columna) {
    return "El fichero de columnas " + nomFichero + " está dañado: la columna " + std::to_string(columna) +
           " no tiene sus 15 signos 1, X o 2 entre comillas. No se puede usar ninguna columna de este "
           "fichero.";
}

struct LectorColumnas::Impl {
    LectorBloques fichero;
    std::string buffer = std::string(kBloque, '\0');
    size_t pos = 0;       // the next record
    size_t buenas = 0;    // where the checked records end
    size_t fin = 0;       // where the bytes read end
    int64_t columna = 0;  // columns given so far, counted from the file's start
    bool agotado = false;
    // 256 KiB of records, read while the cache holds them.
    static constexpr size_t kBloque = 13797 * kLongLineaColumna;
};

LectorColumnas::LectorColumnas() : impl_(new Impl) {}
LectorColumnas::~LectorColumnas() { delete impl_; }

int LectorColumnas::Abre(const std::filesystem::path& ruta, int64_t desde) {
    Impl& b = *impl_;
    b.pos = b.buenas = b.fin = 0;
    b.agotado = false;
    b.columna = std::max<int64_t>(desde, 1) - 1;
    danada_ = 0;
    error_ = b.fichero.Abre(ruta);
    if (!error_ && b.columna > 0)
        error_ = b.fichero.Posiciona(static_cast<uint64_t>(b.columna) * kLongLineaColumna);
    if (error_) b.agotado = true;
    return error_;
}

bool LectorColumnas::Rellena() {
    Impl& b = *impl_;
    for (;;) {
        const size_t resto = b.fin - b.pos;
        // A whole record the check stopped at, or a record cut by the end of
        // the file, is damage.
        if (resto >= static_cast<size_t>(kLongLineaColumna) || (b.agotado && resto > 0 && !error_)) {
            danada_ = b.columna + 1;
            error_ = kErrorColumnasDanadas;
            return false;
        }
        if (b.agotado) return false;
        std::memmove(b.buffer.data(), b.buffer.data() + b.pos, resto);
        size_t leidos = 0;
        if (int e = b.fichero.Lee(b.buffer.data() + resto, b.buffer.size() - resto, leidos)) {
            error_ = e;
            b.agotado = true;
            return false;
        }
        b.agotado = leidos == 0;
        b.pos = 0;
        b.fin = resto + leidos;
        b.buenas = RegistrosValidos(b.buffer.data(), b.fin / kLongLineaColumna) * kLongLineaColumna;
        if (b.buenas > 0) return true;
    }
}

bool LectorColumnas::Siguiente(std::string_view& columna) {
    if (danada_ || error_) return false;
    Impl& b = *impl_;
    if (b.pos == b.buenas && !Rellena()) return false;
    columna = std::string_view(b.buffer.data() + b.pos + 1, 15);
    b.pos += kLongLineaColumna;
    ++b.columna;
    return true;
}

int CompruebaColumnas(const std::filesystem::path& ruta, int64_t& columnas, int64_t& danada) {
    LectorColumnas lector;
    columnas = 0;
    danada = 0;
    if (int e = lector.Abre(ruta)) return e;
    for (std::string_view col; lector.Siguiente(col);) ++columnas;
    danada = lector.ColumnaDanada();
    return lector.Error();
}

std::string TextoCuentaColumnas(const std::string& nomFichero, int64_t columnas, int64_t anunciadas) {
    return "El fichero de columnas " + nomFichero + " tiene " + std::to_string(columnas) +
           " columnas, pero la reducción guardada en " + kFicheroBases + " tiene " + std::to_string(anunciadas) +
           ". No se puede usar ninguna columna de este fichero.";
}

int CompruebaColumnasReduccion(const Estado& st, int jornada, int orden, std::string& texto,
                               int64_t* columnas) {
    texto.clear();
    const std::string nombre = FicheroRed(jornada, orden);
    std::optional<Reduccion> registro;
    FicheroBases f;
    if (LeeBases(st, f) == 0)
        if (const int n = Busca(f, jornada, orden); n > 0)
            registro = DecodificaRegistroBase(f.lineas[static_cast<size_t>(n - 1)]);
    // Columns kept by conditions that cannot be read are of no known reduction.
    if (registro) {
        Condiciones cs;
        std::string fallo;
        if (int e = LeeCondicionesReduccion(st, jornada, orden, cs, &fallo)) {
            texto = TextoCondicionesIlegibles(jornada, orden, e, fallo);
            return e;
        }
    }
    // The signs each match may carry: all three without a record, and in
    // match 15, which no reduction reduces. Byte i of prohibido[s] is 0xFF
    // when sign s may not stand at match i + 1.
    static constexpr char kSignos[3] = {'1', 'X', '2'};
    alignas(16) unsigned char prohibido[3][16] = {};
    for (int i = 1; i <= 14; ++i)
        for (int s = 0; s < 3; ++s)
            if (registro && registro->Partidos[i].Signo[s + 1] == 0)
                prohibido[s][i - 1] = 0xFF;
    const bool todos = !registro;

    LectorColumnas lector;
    if (int e = lector.Abre(st.DirDatos / nombre)) return e;
    int64_t n = 0;
    for (std::string_view col; lector.Siguiente(col);) {
        ++n;
        if (todos) continue;
        // The view stands inside its whole record: its 16 bytes from the
        // first sign are the 15 signs and the closing quote.
        int malo = -1;
#if defined(__SSE2__)
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(col.data()));
        __m128i m = _mm_setzero_si128();
        for (int s = 0; s < 3; ++s)
            m = _mm_or_si128(m, _mm_and_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8(kSignos[s])),
                                              _mm_load_si128(reinterpret_cast<const __m128i*>(prohibido[s]))));
        if (const int bits = _mm_movemask_epi8(m) & 0x3FFF) malo = __builtin_ctz(static_cast<unsigned>(bits));
#else
        for (int i = 0; i < 14 && malo < 0; ++i) {
            const int s = col[i] == '1' ? 0 : col[i] == 'X' ? 1 : 2;
            if (prohibido[s][i]) malo = i;
        }
#endif
        if (malo >= 0) {
            texto = "La columna " + std::to_string(n) + " del fichero " + nombre + " tiene el signo " +
                    std::string(1, col[static_cast<size_t>(malo)]) + " en el partido " + std::to_string(malo + 1) +
                    ", que la quiniela base no marca. No se puede usar ninguna columna de este fichero.";
            return kErrorColumnasDanadas;
        }
    }
    if (lector.ColumnaDanada()) {
        texto = TextoColumnasDanadas(nombre, lector.ColumnaDanada());
        return kErrorColumnasDanadas;
    }
    if (int e = lector.Error()) return e;
    if (columnas) *columnas = n;
    if (registro && n != registro->ApuestasReducidas) {
        texto = TextoCuentaColumnas(nombre, n, registro->ApuestasReducidas);
        return kErrorColumnasDanadas;
    }
    return 0;
}

}  // namespace tobal
