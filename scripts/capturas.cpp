// Pictures of the screens for a person to look at, made by
// scripts/capturas.sh (which also runs the screen tests, whose pictures it
// keeps): never part of the suite, since a picture cannot fail.

#include <QPrintPreviewWidget>
#include <QPrinter>

#include "Entorno.h"
#include "data/DatosGen.h"
#include "data/Jornadas.h"
#include "reduction/Almacen.h"
#include "platform/ImpresoraQt.h"
#include "screens/DatosGen.h"
#include "screens/Historic.h"
#include "screens/Jornadas.h"
#include "screens/Reducir.h"
#include "screens/borrar.h"
#include "screens/careta.h"
#include "screens/equipos.h"
#include "screens/listados.h"
#include "screens/Tb1x2.h"
#include "screens/mensajes.h"

namespace tobal {
namespace {

using prueba::Captura;

TEST(Capturas, Pantallas) {
    prueba::Entorno en;
    Careta careta(en.sv);
    int paso = 0;
    en.sv.pausa = [&](int) {
        if (++paso == 170) Captura(&careta, "careta"), QTest::keyClick(&careta, Qt::Key_Escape);
    };
    careta.Ejecuta();
    DatosGen d(en.st, en.sv);
    d.show();
    for (int campo : {DatosGen::Receptor, DatosGen::Sonido})  // two fields open
        QTest::mouseClick(&d, Qt::LeftButton, {}, DatosGen::AreaCampo(campo).topLeft() + QPoint(5, 5));
    Captura(&d, "datosgen");
    Mensajes m(en.st, en.sv);
    m.PonMensaje("BORRADO DE DATOS", "Se borrarán las jornadas 1 a 5.\r\n¿Desea continuar?",
                 BotonMensaje::Borrar);
    m.show();
    Captura(&m, "mensajes");

    prueba::EscribeBytes(en.st.DirDatos / kFicheroBases, "");
    for (int n = 0; n < 22; ++n) prueba::GrabaReduccionPrueba(en.st, 3 + n / 5, 1 + n % 5, 4 + n);
    en.st.Jornada() = 3, en.st.Orden() = 2;
    Historic h(en.st, en.sv);
    h.show();
    h.Pic_Carpeta->setFocus();
    Captura(&h, "historic");

    prueba::EscribeBytes(en.st.DirDatos / "EQUIPOS.TBX", "Betis\r\nCelta\r\n\xC9ibar\r\n");
    std::array<std::string, 30> nombres;
    for (int s = 0; s < 30; ++s) nombres[s] = s % 3 == 0 ? "Betis" : s % 3 == 1 ? "Celta" : "\xC9ibar";
    GrabaRegistroJornada(en.st, 12, RegistroEditor("", 12, "24/11/02", nombres));
    en.st.Jornada() = 12;
    Jornadas j(en.st, en.sv);
    j.show();
    j.PulsaFecha();
    Captura(&j, "jornadas");
    j.PulsaFecha();
    j.PulsaJornada();
    Captura(&j, "jornadas-lista");
    Equipos e(en.st, en.sv);
    e.show();
    Captura(&e, "equipos");
    Borrar b(en.st, en.sv);
    b.show();
    b.PulsaHasta();
    Captura(&b, "borrar");
    Tb1x2 menu(en.st, en.sv);
    menu.show();
    Captura(&menu, "menu");
}

TEST(Capturas, ReduccionDeLosCuatroMetodos) {
    for (int metodo : {1, 2, 3, 4}) {
        prueba::Entorno en;
        LeeDatosGen(en.st);
        GrabaRegistroJornada(en.st, 1, RegistroEditor(RegistroJornadaVacio(), 1, "07/09/25",
                                                      {"Real Madrid", "Barcelona", "Sevilla", "Betis"}));
        en.st.Metodo() = static_cast<int16_t>(metodo);
        auto r = en.Abre<Reducir>();
        Captura(r.get(), QStringLiteral("reducir-%1").arg(metodo));
    }
}

// The print screen of each output over a reduction of 24 columns, and a
// print preview.
struct Listados24 : prueba::Entorno {
    std::unique_ptr<Listados> operator()(int tipo) {
        LeeDatosGen(st);
        prueba::GrabaReduccionPrueba(st, 3, 2, 24);
        st.TipoSalida = static_cast<int16_t>(tipo);
        st.NumBoletos = 3;
        return Abre<Listados>();
    }
};

TEST(Capturas, ListadosYVistaPrevia) {
    Listados24 Listado;
    const char* nombres[] = {"resumen", "boletos", "relacion", "disco", "continuo"};
    for (int tipo = Salida::Resumen; tipo <= Salida::Continuo; ++tipo) {
        auto l = Listado(tipo);
        if (tipo == Salida::Disco) l->PonUnidades({{"MEMORIA (/media/usuario/MEMORIA)", "/media/usuario/MEMORIA"}});
        prueba::Captura(l.get(), QStringLiteral("listados-%1").arg(nombres[tipo]));
    }
    auto l = Listado(Salida::Continuo);
    l->destino.vistaPrevia = [&](const QString& titulo, const std::function<void(Impresora&)>& dibuja) {
        QPrinter impresora(QPrinter::HighResolution);
        QPrintPreviewWidget vista(&impresora);
        QObject::connect(&vista, &QPrintPreviewWidget::paintRequested, [&](QPrinter* pr) {
            ImpresoraQt imp(pr);
            dibuja(imp);
            imp.Termina();
        });
        vista.setWindowTitle(titulo);
        vista.resize(700, 800);
        vista.show();
        vista.updatePreview();
        vista.fitInView();
        QApplication::processEvents();
        prueba::Captura(&vista, "vista-previa-continuo");
    };
    QTest::mouseClick(l->Pic_VistaPrevia, Qt::LeftButton);
}

}  // namespace
}  // namespace tobal
