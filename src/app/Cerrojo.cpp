#include "app/Cerrojo.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "app/ErrorFichero.h"

namespace tobal {

namespace {

// Longest wait for the folder: its writers hold it for milliseconds.
constexpr auto kEsperaMaxima = std::chrono::seconds(30);

// The locks this thread holds, as (folder, key); key 0 is the folder's.
thread_local std::vector<std::pair<std::string, int>> tTenidos;

std::string Clave(const fs::path& dir) {
    std::error_code ec;
    fs::path a = fs::absolute(dir.empty() ? fs::path(".") : dir, ec);
    return (ec ? dir : a).lexically_normal().string();
}

bool Tenido(const std::string& dir, int clave) {
    return std::find(tTenidos.begin(), tTenidos.end(), std::make_pair(dir, clave)) != tTenidos.end();
}

// How the lock file could be opened.
enum class Apertura { Escritura, Lectura, SinFichero, Inutilizable };

// Opens the folder's lock file, creating it when missing so that every user
// of a shared folder can take it (0666 whatever the umask). Falls back to
// reading only (enough for flock, not for the key locks) when it is not ours
// to write; SinFichero when it does not exist and cannot be created (a
// read-only folder: nothing can be created there at all); Inutilizable when
// it is not a regular file or cannot be opened at all.
Apertura AbreFicheroCerrojo(const fs::path& dir, int& fd) {
    const fs::path ruta = (dir.empty() ? fs::path(".") : dir) / kFicheroCerrojo;
    for (int intento = 0; intento < 8; ++intento) {
        fd = ::open(ruta.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            ::fchmod(fd, 0666);
            return Apertura::Escritura;
        }
        const int creacion = errno;
        Apertura a = Apertura::Escritura;
        fd = ::open(ruta.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0 && (errno == EACCES || errno == EPERM || errno == EROFS)) {
            a = Apertura::Lectura;
            fd = ::open(ruta.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        }
        if (fd < 0) {
            if (errno != ENOENT && errno != ENOTDIR) return Apertura::Inutilizable;
            if (creacion != EEXIST) return Apertura::SinFichero;
            continue;  // removed between the two opens
        }
        struct stat st {};
        if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
            ::close(fd);
            fd = -1;
            return Apertura::Inutilizable;
        }
        return a;
    }
    return Apertura::Inutilizable;
}

// A one-byte write lock at `clave`, never waiting: 0 taken, else errno.
int BloqueaByte(int fd, int clave, short tipo) {
    struct flock fl {};
    fl.l_type = tipo;
    fl.l_whence = SEEK_SET;
    fl.l_start = clave;
    fl.l_len = 1;
    return ::fcntl(fd, F_OFD_SETLK, &fl) == 0 ? 0 : errno;
}

}  // namespace

Cerrojo::Cerrojo(const fs::path& dir) { Toma(dir, 0); }

Cerrojo::Cerrojo(const fs::path& dir, int clave) { Toma(dir, clave); }

void Cerrojo::Toma(const fs::path& dir, int clave) {
    dir_ = Clave(dir);
    clave_ = clave;
    if (Tenido(dir_, clave)) {
        anidado_ = true;
        return;
    }
    const Apertura apertura = AbreFicheroCerrojo(dir, fd_);
    if (apertura == Apertura::Inutilizable) {
        error_ = Err::CerrojoInutilizable;
        return;
    }
    if (clave != 0) {
        // A folder nothing can be created in: the run cannot write anything
        // either and fails on its own, with its own message. Anywhere else a
        // run that cannot hold its key does not start.
        const bool carpetaEscribible = ::access(dir.empty() ? "." : dir.c_str(), W_OK) == 0;
        if (apertura == Apertura::SinFichero || (apertura == Apertura::Lectura && !carpetaEscribible)) {
            if (fd_ >= 0) ::close(fd_);
            fd_ = -1;
            return;
        }
        if (apertura == Apertura::Lectura) {
            ::close(fd_);
            fd_ = -1;
            error_ = Err::CerrojoInutilizable;
            return;
        }
        int e = BloqueaByte(fd_, clave, F_WRLCK);
        if (e == EAGAIN || e == EACCES) {
            ocupado_ = true;
            ::close(fd_);
            fd_ = -1;
            return;
        }
        if (e != 0) {
            ::close(fd_);
            fd_ = -1;
            error_ = Err::CerrojoInutilizable;
            return;
        }
    } else {
        // Where no lock file can be created the folder is locked as itself:
        // every writer meets the same case there.
        if (apertura == Apertura::SinFichero)
            fd_ = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd_ < 0) return;  // no folder: nothing can be written there
        const auto limite = std::chrono::steady_clock::now() + kEsperaMaxima;
        auto pausa = std::chrono::milliseconds(1);
        while (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
            if (errno == EINTR) continue;
            if (errno != EWOULDBLOCK || std::chrono::steady_clock::now() > limite) {
                error_ = errno == EWOULDBLOCK ? Err::PermisoDenegado : Err::CerrojoInutilizable;
                ::close(fd_);
                fd_ = -1;
                return;
            }
            std::this_thread::sleep_for(pausa);
            pausa = std::min(pausa * 2, std::chrono::milliseconds(20));
        }
    }
    tTenidos.emplace_back(dir_, clave);
}

Cerrojo::~Cerrojo() {
    if (fd_ < 0) return;
    auto it = std::find(tTenidos.begin(), tTenidos.end(), std::make_pair(dir_, clave_));
    if (it != tTenidos.end()) tTenidos.erase(it);
    ::close(fd_);  // releases both kinds of lock
}

bool ClaveLibre(const fs::path& dir, int clave) {
    if (Tenido(Clave(dir), clave)) return false;
    int fd = -1;
    // A key nobody can lock is taken as held: its files are left alone.
    if (AbreFicheroCerrojo(dir, fd) != Apertura::Escritura) {
        if (fd >= 0) ::close(fd);
        return false;
    }
    const bool libre = BloqueaByte(fd, clave, F_WRLCK) == 0;
    ::close(fd);
    return libre;
}

}  // namespace tobal
