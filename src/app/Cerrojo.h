#pragma once
// Writers of one data folder exclude each other: the desktop program, a
// second window and tobal31-cli may all work on it at once. Every change of
// a data file holds the folder's lock for as long as it writes; a reduction
// run also holds the lock of its key (matchday and order) for the whole run,
// so that a second run of the same key is refused while the folder stays
// free for everything else.
//
// Both are advisory locks on one lock file in the folder: flock for the
// folder, a one-byte record lock (open file description lock) for each key.
// A lock is released when its holder ends, even by kill -9. Taking a lock
// this thread already holds does nothing, so a routine that holds the lock
// can call another that takes it too.

#include <filesystem>
#include <string>

namespace tobal {

namespace fs = std::filesystem;

inline constexpr const char* kFicheroCerrojo = ".tobal31.lck";

class Cerrojo {
public:
    // The folder's lock: waits for the other writer (a bounded time, then
    // Error() is 70, as for a file another program keeps locked). A lock file
    // that cannot be used (a folder, another user's file it may not even
    // read) is Err::CerrojoInutilizable: nothing is written unlocked.
    explicit Cerrojo(const fs::path& dir);
    // The lock of key `clave` (1..9999): never waits; Ocupado() when another
    // run holds it, Error() when the lock file cannot be written.
    Cerrojo(const fs::path& dir, int clave);
    ~Cerrojo();
    Cerrojo(const Cerrojo&) = delete;
    Cerrojo& operator=(const Cerrojo&) = delete;

    int Error() const { return error_; }
    bool Ocupado() const { return ocupado_; }

private:
    void Toma(const fs::path& dir, int clave);
    int fd_ = -1;
    int error_ = 0;
    bool ocupado_ = false;
    bool anidado_ = false;
    int clave_ = 0;
    std::string dir_;
};

// True when no run anywhere holds key `clave` of the folder (this thread's
// own keys count as held).
bool ClaveLibre(const fs::path& dir, int clave);

}  // namespace tobal
