#pragma once
// Guarded file operations. Each returns the program's error number (0 on
// success, see ErrorFichero.h) and never throws; reporting is the caller's.
// Only regular files are opened: a folder, a FIFO, a device or a link to one
// under a data file's name is error 75, at once, without waiting.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace tobal {

namespace fs = std::filesystem;

// The error number for a failed open of `ruta` with errno `e`: a missing
// file is 53, a missing folder on the way 76.
int ErrorApertura(const fs::path& ruta, int e);

// Reads the whole file into `datos`.
int LeeFichero(const fs::path& ruta, std::string& datos);

// Reads up to `cuantos` bytes from byte `posicion`; fewer at the end of
// the file. `tamano` receives the file's size.
int LeeEnPosicion(const fs::path& ruta, uint64_t posicion, size_t cuantos, std::string& datos,
                  int64_t* tamano = nullptr);

// A part of a file name no other temporary file of any process shares:
// ".<pid>-<n>". Temporary files are named `file` + this + ".tmp~".
std::string SufijoUnico();
inline constexpr const char* kFinTemporal = ".tmp~";

// Replaces the file's content: writes a temporary file beside it (with the
// old file's permissions) and renames it over the old one, so that a failure
// leaves the old file whole.
int EscribeFicheroAtomico(const fs::path& ruta, std::string_view datos);

// Makes a rename or a removal in the folder survive a power cut.
int SincronizaCarpeta(const fs::path& dir);

// Writes `datos` at byte `posicion` of an existing or new file, in place,
// and syncs it. A failed write puts back the bytes it had overwritten and
// the file's size: the file is as before.
int EscribeEnPosicion(const fs::path& ruta, uint64_t posicion, std::string_view datos);

// Appends `datos`, creating the file when it is missing; a failure leaves
// the file as it was.
int AnexaFichero(const fs::path& ruta, std::string_view datos);

// Deletes a file; a missing file is error 53.
int BorraFichero(const fs::path& ruta);

// Size in bytes, or -1 with `error` set (75 for anything but a regular file).
int64_t TamanoFichero(const fs::path& ruta, int& error);

// A new file written under a unique temporary name beside its destination
// and put in place only once complete, so that a failed or refused run
// leaves whatever was at the destination as it was. The temporary file goes
// with the object unless it was put in place.
class FicheroProvisional {
public:
    FicheroProvisional() = default;
    ~FicheroProvisional();
    FicheroProvisional(const FicheroProvisional&) = delete;
    FicheroProvisional& operator=(const FicheroProvisional&) = delete;
    // Creates the empty temporary file for `destino`; the error number (75
    // when the destination is a folder or another non-regular file).
    int Crea(const fs::path& destino);
    const fs::path& Ruta() const { return temporal_; }
    // Syncs the temporary file and renames it over the destination.
    int Instala();

private:
    fs::path destino_, temporal_;
};

// A file written sequentially in large blocks; a failure is kept and every
// later call does nothing.
class EscritorBloques {
public:
    EscritorBloques() = default;
    ~EscritorBloques();
    EscritorBloques(const EscritorBloques&) = delete;
    EscritorBloques& operator=(const EscritorBloques&) = delete;

    // Creates (or empties) the file.
    int Abre(const fs::path& ruta, size_t tamBloque = 1 << 20);
    void Escribe(std::string_view datos);
    // Flushes, syncs and closes; returns the first error met.
    int Cierra();
    int Error() const { return error_; }
    uint64_t Escritos() const { return escritos_; }

private:
    void Vacia();
    void Pasa(std::string_view datos);
    int fd_ = -1;
    int error_ = 0;
    uint64_t escritos_ = 0;
    uint64_t enFichero_ = 0;   // bytes handed to the system
    uint64_t adelantado_ = 0;  // of those, how many it was asked to start writing out
    std::string buffer_;
    size_t tamBloque_ = 1 << 20;
};

// A file read sequentially in large blocks.
class LectorBloques {
public:
    LectorBloques() = default;
    ~LectorBloques();
    LectorBloques(const LectorBloques&) = delete;
    LectorBloques& operator=(const LectorBloques&) = delete;
    int Abre(const fs::path& ruta);
    // Reads up to `max` bytes into `datos` (replacing it); an empty result
    // at the end of the file. Returns the error number.
    int Lee(std::string& datos, size_t max = 1 << 20);
    // The same into `max` bytes at `destino`; `leidos` receives how many.
    int Lee(char* destino, size_t max, size_t& leidos);
    // Goes to byte `posicion`; returns the error number.
    int Posiciona(uint64_t posicion);
    void Cierra();

private:
    int fd_ = -1;
};

}  // namespace tobal
