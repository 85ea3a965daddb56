#pragma once
// The program's start-up: splash, data folder, main menu.

#include <filesystem>
#include <memory>

namespace tobal {

struct Estado;
class Servicios;
class Tb1x2;

// Shows the splash, sets the data folder from st.DirPrograma (the work
// folder `dirTrabajo` when the program folder cannot be written), and shows
// the main menu, which it returns. The program then runs on the menu's
// events until the menu signals `terminado`.
std::unique_ptr<Tb1x2> Main(Estado& st, Servicios& sv, const std::filesystem::path& dirTrabajo);

}  // namespace tobal
