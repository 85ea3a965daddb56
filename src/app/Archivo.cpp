#include "app/Archivo.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>

#include "app/ErrorFichero.h"

namespace tobal {

namespace {

int EscribeTodo(int fd, std::string_view datos) {
    const char* p = datos.data();
    size_t resto = datos.size();
    while (resto > 0) {
        ssize_t n = ::write(fd, p, resto);
        if (n < 0) {
            if (errno == EINTR) continue;
            return NumeroErrorErrno(errno);
        }
        p += n;
        resto -= static_cast<size_t>(n);
    }
    return 0;
}

// A symbolic link whose target does not exist.
bool Colgante(const fs::path& ruta) {
    struct stat l {}, d {};
    return ::lstat(ruta.c_str(), &l) == 0 && S_ISLNK(l.st_mode) && ::stat(ruta.c_str(), &d) != 0;
}

// Only regular files are data files. A FIFO or a device under a data file's
// name would block the open or never end a read, so the open does not wait
// (O_NONBLOCK) and anything else than a regular file is refused.
int AbreRuta(const fs::path& ruta, int flags, int& fd) {
    fd = -1;
    // A link is followed, but a dangling one is an error, never a new file
    // made at its target.
    if ((flags & O_CREAT) && Colgante(ruta)) return Err::AccesoRuta;
    fd = ::open(ruta.c_str(), flags | O_CLOEXEC | O_NONBLOCK, 0666);
    if (fd < 0) {
        const int e = errno;
        // A FIFO without a reader refuses a writer with ENXIO.
        return e == ENXIO ? Err::AccesoRuta : ErrorApertura(ruta, e);
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        fd = -1;
        return Err::AccesoRuta;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return 0;
}

}  // namespace

int ErrorApertura(const fs::path& ruta, int e) {
    if (e == ENOENT) {
        if (Colgante(ruta)) return Err::AccesoRuta;
        std::error_code ec;
        fs::path padre = ruta.parent_path();
        if (!padre.empty() && !fs::is_directory(padre, ec)) return Err::RutaNoEncontrada;
        return Err::NoEncontrado;
    }
    return NumeroErrorErrno(e);
}

int LeeFichero(const fs::path& ruta, std::string& datos) {
    datos.clear();
    int fd;
    if (int e = AbreRuta(ruta, O_RDONLY, fd)) return e;
    char buf[1 << 16];
    for (;;) {
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR) continue;
            int e = NumeroErrorErrno(errno);
            ::close(fd);
            return e;
        }
        if (n == 0) break;
        datos.append(buf, static_cast<size_t>(n));
    }
    ::close(fd);
    return 0;
}

int LeeEnPosicion(const fs::path& ruta, uint64_t posicion, size_t cuantos, std::string& datos,
                  int64_t* tamano) {
    datos.clear();
    int fd;
    if (int e = AbreRuta(ruta, O_RDONLY, fd)) return e;
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        int e = NumeroErrorErrno(errno);
        ::close(fd);
        return e;
    }
    if (tamano) *tamano = static_cast<int64_t>(st.st_size);
    datos.resize(cuantos);
    size_t total = 0;
    while (total < cuantos) {
        ssize_t n = ::pread(fd, datos.data() + total, cuantos - total, static_cast<off_t>(posicion + total));
        if (n < 0) {
            if (errno == EINTR) continue;
            int e = NumeroErrorErrno(errno);
            ::close(fd);
            datos.resize(total);
            return e;
        }
        if (n == 0) break;
        total += static_cast<size_t>(n);
    }
    datos.resize(total);
    ::close(fd);
    return 0;
}

std::string SufijoUnico() {
    static std::atomic<unsigned> contador{0};
    return "." + std::to_string(::getpid()) + "-" + std::to_string(++contador);
}

int SincronizaCarpeta(const fs::path& dir) {
    int fd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return NumeroErrorErrno(errno);
    int e = ::fsync(fd) != 0 && errno != EINVAL ? NumeroErrorErrno(errno) : 0;
    ::close(fd);
    return e;
}

int EscribeFicheroAtomico(const fs::path& enlace, std::string_view datos) {
    std::error_code ec;
    if (fs::is_directory(enlace, ec)) return Err::AccesoRuta;
    // A data file that is a link is rewritten at its target, as the in-place
    // writes do: the link stays a link.
    fs::path ruta = enlace;
    if (fs::is_symlink(enlace, ec)) {
        ruta = fs::canonical(enlace, ec);
        if (ec) return Err::AccesoRuta;
    }
    fs::path temporal = ruta;
    temporal += SufijoUnico() + kFinTemporal;
    int fd;
    if (int e = AbreRuta(temporal, O_WRONLY | O_CREAT | O_EXCL, fd)) return e;
    // The new file keeps the old one's owner and permissions (a list the
    // user keeps private stays private).
    struct stat antes {};
    if (::stat(ruta.c_str(), &antes) == 0) {
        // Only root may give the file away; otherwise it is the writer's anyway.
        [[maybe_unused]] const int dueno = ::fchown(fd, antes.st_uid, antes.st_gid);
        ::fchmod(fd, antes.st_mode & 07777);
    }
    int e = EscribeTodo(fd, datos);
    if (!e && ::fsync(fd) != 0) e = NumeroErrorErrno(errno);
    if (::close(fd) != 0 && !e) e = NumeroErrorErrno(errno);
    if (!e && ::rename(temporal.c_str(), ruta.c_str()) != 0) e = NumeroErrorErrno(errno);
    if (e) {
        ::unlink(temporal.c_str());
        return e;
    }
    return SincronizaCarpeta(ruta.parent_path());
}

int EscribeEnPosicion(const fs::path& ruta, uint64_t posicion, std::string_view datos) {
    int fd;
    if (int e = AbreRuta(ruta, O_RDWR | O_CREAT, fd)) return e;
    struct stat st {};
    int e = ::fstat(fd, &st) != 0 ? NumeroErrorErrno(errno) : 0;
    // What the write replaces, to put it back when the write fails half way.
    std::string antes;
    const uint64_t tamano = e ? 0 : static_cast<uint64_t>(st.st_size);
    if (!e && posicion < tamano) {
        antes.resize(static_cast<size_t>(std::min<uint64_t>(datos.size(), tamano - posicion)));
        size_t leidos = 0;
        while (!e && leidos < antes.size()) {
            ssize_t n = ::pread(fd, antes.data() + leidos, antes.size() - leidos,
                                static_cast<off_t>(posicion + leidos));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0)
                e = n < 0 ? NumeroErrorErrno(errno) : Err::FinDeFichero;
            else
                leidos += static_cast<size_t>(n);
        }
    }
    if (!e && ::lseek(fd, static_cast<off_t>(posicion), SEEK_SET) < 0) e = NumeroErrorErrno(errno);
    bool escrito = false;
    if (!e) {
        escrito = true;
        e = EscribeTodo(fd, datos);
    }
    if (!e && ::fdatasync(fd) != 0 && errno != EINVAL) e = NumeroErrorErrno(errno);
    if (e && escrito) {
        // Best effort: the write's own error is what the caller reports.
        [[maybe_unused]] const ssize_t repuesto =
            ::pwrite(fd, antes.data(), antes.size(), static_cast<off_t>(posicion));
        [[maybe_unused]] const int cortado = ::ftruncate(fd, static_cast<off_t>(tamano));
    }
    if (::close(fd) != 0 && !e) e = NumeroErrorErrno(errno);
    return e;
}

int AnexaFichero(const fs::path& ruta, std::string_view datos) {
    int fd;
    if (int e = AbreRuta(ruta, O_WRONLY | O_CREAT | O_APPEND, fd)) return e;
    struct stat st {};
    int e = ::fstat(fd, &st) != 0 ? NumeroErrorErrno(errno) : 0;
    if (!e && !datos.empty()) {
        e = EscribeTodo(fd, datos);
        if (!e && ::fdatasync(fd) != 0 && errno != EINVAL) e = NumeroErrorErrno(errno);
        if (e) {
            [[maybe_unused]] const int cortado = ::ftruncate(fd, st.st_size);
        }
    }
    if (::close(fd) != 0 && !e) e = NumeroErrorErrno(errno);
    return e;
}

int BorraFichero(const fs::path& ruta) {
    if (::unlink(ruta.c_str()) != 0) return ErrorApertura(ruta, errno);
    return 0;
}

int64_t TamanoFichero(const fs::path& ruta, int& error) {
    struct stat st {};
    if (::stat(ruta.c_str(), &st) != 0) {
        error = ErrorApertura(ruta, errno);
        return -1;
    }
    if (!S_ISREG(st.st_mode)) {
        error = Err::AccesoRuta;
        return -1;
    }
    error = 0;
    return static_cast<int64_t>(st.st_size);
}

FicheroProvisional::~FicheroProvisional() {
    if (!temporal_.empty()) ::unlink(temporal_.c_str());
}

int FicheroProvisional::Crea(const fs::path& destino) {
    struct stat st {};
    const bool existe = ::stat(destino.c_str(), &st) == 0;
    if (existe && !S_ISREG(st.st_mode)) return Err::AccesoRuta;
    fs::path carpeta = destino.parent_path();
    if (carpeta.empty()) carpeta = ".";
    std::string plantilla = (carpeta / ("." + destino.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkostemp(plantilla.data(), O_CLOEXEC);
    if (fd < 0) return ErrorApertura(plantilla, errno);
    // The permissions a new file would get, or those of the file it replaces.
    const mode_t mascara = ::umask(0);
    ::umask(mascara);
    ::fchmod(fd, existe ? (st.st_mode & 07777) : (0666 & ~mascara));
    ::close(fd);
    destino_ = destino;
    temporal_ = plantilla;
    return 0;
}

int FicheroProvisional::Instala() {
    if (temporal_.empty()) return Err::NoEncontrado;
    const int fd = ::open(temporal_.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return NumeroErrorErrno(errno);
    int e = ::fsync(fd) != 0 ? NumeroErrorErrno(errno) : 0;
    ::close(fd);
    if (!e && ::rename(temporal_.c_str(), destino_.c_str()) != 0) e = NumeroErrorErrno(errno);
    if (e) return e;
    temporal_.clear();
    fs::path carpeta = destino_.parent_path();
    SincronizaCarpeta(carpeta.empty() ? fs::path(".") : carpeta);
    return 0;
}

EscritorBloques::~EscritorBloques() {
    if (fd_ >= 0) ::close(fd_);
}

int EscritorBloques::Abre(const fs::path& ruta, size_t tamBloque) {
    tamBloque_ = tamBloque;
    buffer_.clear();
    buffer_.reserve(tamBloque_);
    escritos_ = enFichero_ = adelantado_ = 0;
    std::error_code ec;
    if (fs::is_directory(ruta, ec)) return error_ = Err::AccesoRuta;
    error_ = AbreRuta(ruta, O_WRONLY | O_CREAT | O_TRUNC, fd_);
    return error_;
}

void EscritorBloques::Vacia() {
    if (error_ || buffer_.empty()) {
        buffer_.clear();
        return;
    }
    Pasa(buffer_);
    buffer_.clear();
}

void EscritorBloques::Pasa(std::string_view datos) {
    error_ = EscribeTodo(fd_, datos);
    enFichero_ += datos.size();
#ifdef SYNC_FILE_RANGE_WRITE
    // The disk starts on what is written while the program prepares what
    // follows, so that the final sync finds little left. Only a hint: the
    // sync reports any failure.
    constexpr uint64_t kAdelanto = 8 << 20;
    if (!error_ && enFichero_ - adelantado_ >= kAdelanto) {
        ::sync_file_range(fd_, static_cast<off_t>(adelantado_), static_cast<off_t>(enFichero_ - adelantado_),
                          SYNC_FILE_RANGE_WRITE);
        adelantado_ = enFichero_;
    }
#endif
}

void EscritorBloques::Escribe(std::string_view datos) {
    if (error_ || fd_ < 0) return;
    escritos_ += datos.size();
    if (buffer_.size() + datos.size() > tamBloque_) Vacia();
    if (datos.size() >= tamBloque_) {
        if (!error_) Pasa(datos);
        return;
    }
    buffer_.append(datos);
}

int EscritorBloques::Cierra() {
    if (fd_ < 0) return error_;
    Vacia();
    if (!error_ && ::fsync(fd_) != 0 && errno != EINVAL) error_ = NumeroErrorErrno(errno);
    if (::close(fd_) != 0 && !error_) error_ = NumeroErrorErrno(errno);
    fd_ = -1;
    return error_;
}

LectorBloques::~LectorBloques() { Cierra(); }

int LectorBloques::Abre(const fs::path& ruta) {
    Cierra();
    return AbreRuta(ruta, O_RDONLY, fd_);
}

int LectorBloques::Lee(std::string& datos, size_t max) {
    datos.resize(max);
    size_t total = 0;
    const int e = Lee(datos.data(), max, total);
    datos.resize(total);
    return e;
}

int LectorBloques::Lee(char* destino, size_t max, size_t& leidos) {
    leidos = 0;
    while (leidos < max) {
        ssize_t n = ::read(fd_, destino + leidos, max - leidos);
        if (n < 0) {
            if (errno == EINTR) continue;
            return NumeroErrorErrno(errno);
        }
        if (n == 0) break;
        leidos += static_cast<size_t>(n);
    }
    return 0;
}

int LectorBloques::Posiciona(uint64_t posicion) {
    if (::lseek(fd_, static_cast<off_t>(posicion), SEEK_SET) < 0) return NumeroErrorErrno(errno);
    return 0;
}

void LectorBloques::Cierra() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

}  // namespace tobal
