#include "app/Cerrojo.h"

#include <fcntl.h>
#include <sys/file.h>
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

int AbreFicheroCerrojo(const fs::path& dir) {
    return ::open((dir / kFicheroCerrojo).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
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
    fd_ = AbreFicheroCerrojo(dir);
    if (clave != 0) {
        // Without a lock file (a read-only folder) the run cannot write
        // anything either: it fails on its own, with its own message.
        if (fd_ < 0) return;
        int e = BloqueaByte(fd_, clave, F_WRLCK);
        if (e == EAGAIN || e == EACCES) {
            ocupado_ = true;
            ::close(fd_);
            fd_ = -1;
            return;
        }
    } else {
        // A folder where the lock file cannot be created is locked as itself.
        if (fd_ < 0) fd_ = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd_ < 0) return;
        const auto limite = std::chrono::steady_clock::now() + kEsperaMaxima;
        auto pausa = std::chrono::milliseconds(1);
        while (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
            if (errno == EINTR) continue;
            if (errno != EWOULDBLOCK || std::chrono::steady_clock::now() > limite) {
                error_ = errno == EWOULDBLOCK ? Err::PermisoDenegado : NumeroErrorErrno(errno);
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
    int fd = AbreFicheroCerrojo(dir);
    if (fd < 0) return false;
    const bool libre = BloqueaByte(fd, clave, F_WRLCK) == 0;
    ::close(fd);
    return libre;
}

}  // namespace tobal
