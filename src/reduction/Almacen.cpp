#include "reduction/Almacen.h"

#include <cstring>

#include "app/Archivo.h"
#include "app/ErrorFichero.h"
#include "app/Informador.h"
#include "app/Texto.h"

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
                if (int e = AnexaFichero(RutaBases(st), f.lineas[static_cast<size_t>(n - 1)] + SaltoLinea)) return e;
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

std::string FicheroRed(int jornada, int orden) { return "RED" + DosDigitos(jornada) + DosDigitos(orden) + ".TBX"; }

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
    if (reg[4] < '1' || reg[4] > '3') return std::nullopt;
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
    if (n > 0) {
        if (auto leida = DecodificaRegistroBase(f.lineas[static_cast<size_t>(n - 1)])) {
            r = *leida;
            return;
        }
        if (st.informador)
            st.informador->ErrorFichero("LFB: El registro " + std::to_string(n) +
                                        " del fichero BASES.TBX está dañado (" + FicheroRed(r.Jornada, r.Orden) +
                                        "); no se puede cargar la reducción.");
        st.ErrorFichero = Err::TipoIncorrecto;
    }
    ReduccionPorDefecto(r);
}

void BorraReduccion(Estado& st, int jornada, int orden) {
    st.ErrorFichero = 0;
    FicheroBases f;
    if (int e = LeeBases(st, f)) {
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

int LiberaReducciones(Estado& st, int desde, int hasta) {
    FicheroBases f;
    if (LeeBases(st, f)) return 0;
    std::vector<int> cambiadas;
    for (size_t n = 0; n < f.lineas.size(); ++n) {
        int j, o;
        if (LeeClave(f.lineas[n], j, o) && j >= desde && j <= hasta && o >= 1 && o <= 30) {
            f.lineas[n] = RegistroLibre();
            cambiadas.push_back(static_cast<int>(n) + 1);
        }
    }
    if (cambiadas.empty() || Guarda(st, f, cambiadas, false)) return 0;
    return static_cast<int>(cambiadas.size());
}

int GrabaReduccion(Estado& st) {
    Reduccion& r = st.ReduccionActual;
    if (r.Metodo == 1) {
        r.MinErrores = r.MaxErrores = 0;
        r.Signos = {0, 0, 0, 0};
    } else if (r.Metodo == 2) {
        r.Signos = {0, 0, 0, 0};
    } else if (r.Metodo == 3) {
        r.MinErrores = r.MaxErrores = 0;
    }
    // A key or method that does not fit its field would shift every field
    // after it.
    if (r.Jornada < 1 || r.Jornada > 99 || r.Orden < 1 || r.Orden > 99 || r.Metodo < 1 || r.Metodo > 3)
        return Err::NombreIncorrecto;
    const std::string registro = RegistroBase(r);

    FicheroBases f;
    int e = LeeBases(st, f);
    if (e && e != Err::NoEncontrado) return e;
    int n = Busca(f, r.Jornada, r.Orden);
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

struct LectorColumnas::Impl {
    LectorBloques fichero;
    std::string buffer;
    size_t pos = 0;
    bool fin = false;
};

LectorColumnas::LectorColumnas() : impl_(new Impl) {}
LectorColumnas::~LectorColumnas() { delete impl_; }

int LectorColumnas::Abre(const std::filesystem::path& ruta) {
    impl_->buffer.clear();
    impl_->pos = 0;
    impl_->fin = false;
    error_ = impl_->fichero.Abre(ruta);
    if (error_) impl_->fin = true;
    return error_;
}

bool LectorColumnas::Rellena() {
    if (impl_->fin) return false;
    impl_->buffer.erase(0, impl_->pos);
    impl_->pos = 0;
    std::string bloque;
    if (int e = impl_->fichero.Lee(bloque, 1 << 20)) {
        error_ = e;
        impl_->fin = true;
        return false;
    }
    if (bloque.empty()) {
        impl_->fin = true;
        return false;
    }
    impl_->buffer += bloque;
    return true;
}

bool LectorColumnas::Siguiente(std::string_view& columna) {
    constexpr size_t kLineaMaxima = 1 << 16;
    size_t lf;
    for (;;) {
        lf = impl_->buffer.find('\n', impl_->pos);
        if (lf != std::string::npos || impl_->buffer.size() - impl_->pos > kLineaMaxima) break;
        if (!Rellena()) break;
    }
    if (impl_->pos >= impl_->buffer.size()) return false;
    size_t fin = lf == std::string::npos ? std::min(impl_->buffer.size(), impl_->pos + kLineaMaxima) : lf;
    std::string_view linea(impl_->buffer.data() + impl_->pos, fin - impl_->pos);
    impl_->pos = lf == std::string::npos ? fin : lf + 1;
    while (!linea.empty() && linea.back() == '\r') linea.remove_suffix(1);
    if (!linea.empty() && linea.front() == '"') {
        linea.remove_prefix(1);
        size_t cierre = linea.find('"');
        if (cierre != std::string_view::npos) linea = linea.substr(0, cierre);
    }
    columna = linea;
    return true;
}

}  // namespace tobal
