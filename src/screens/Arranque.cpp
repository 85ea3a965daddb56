#include "screens/Arranque.h"

#include <QApplication>

#include "app/DirDatos.h"
#include "app/Estado.h"
#include "reduction/Almacen.h"
#include "screens/Tb1x2.h"
#include "screens/careta.h"

namespace tobal {

std::unique_ptr<Tb1x2> Main(Estado& st, Servicios& sv, const std::filesystem::path& dirTrabajo) {
    {
        Careta careta(sv);
        careta.Ejecuta();
    }
    st.DirDatos = st.DirPrograma;
    PreparaDirDatos(st, dirTrabajo);
    LimpiaTemporales(st);
    auto menu = std::make_unique<Tb1x2>(st, sv);
    menu->show();
    // The keyboard goes to the menu once the splash has gone, also where no
    // window manager hands it over.
    menu->activateWindow();
    while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
    return menu;
}

}  // namespace tobal
