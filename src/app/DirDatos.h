#pragma once
// The data folder: the program folder when it can be written and the program
// is not installed under a system prefix, otherwise a per-user work folder
// filled once with a copy of the program's data files.

#include <filesystem>
#include <string>
#include <vector>

namespace tobal {

struct Estado;

// The data files copied into a new work folder, in this order.
const std::vector<std::string>& FicherosDatosIniciales();

// The per-user folder that stands in for the work folder under the system
// folder: $XDG_DATA_HOME/Tobal31, or ~/.local/share/Tobal31. Always ends in
// a separator.
std::filesystem::path DirTrabajo();

// The folder of the running executable.
std::filesystem::path DirEjecutable();

// True for a folder under /usr, /usr/local or /opt: an installed program.
bool BajoPrefijoDelSistema(const std::filesystem::path& dir);

// Chooses and prepares st.DirDatos from st.DirPrograma (never the program
// folder of an installed program). `dirTrabajo` is the
// work folder to use when the program folder cannot be written. Reports
// nothing: what cannot be copied shows up later, when the file is opened.
void PreparaDirDatos(Estado& st, const std::filesystem::path& dirTrabajo = DirTrabajo());

}  // namespace tobal
