// Tobal31, the desktop program.

#include <QApplication>
#include <QIcon>

#include "app/DirDatos.h"
#include "app/Estado.h"
#include "platform/Ayuda.h"
#include "platform/InformadorQt.h"
#include "platform/Recursos.h"
#include "platform/Servicios.h"
#include "platform/Sonidos.h"
#include "platform/Teclado.h"
#include "screens/Arranque.h"
#include "screens/Tb1x2.h"

namespace {

QtMessageHandler gManejadorQt = nullptr;

// A machine without sound plays nothing, silently: the click sounds are a
// courtesy, and Qt would otherwise complain at every click. A bare session
// without a runtime folder is no concern of the user's either.
void FiltraMensajesQt(QtMsgType tipo, const QMessageLogContext& contexto, const QString& texto) {
    if (tipo == QtWarningMsg && (texto.contains(QLatin1String("No audio device")) ||
                                 texto.contains(QLatin1String("PulseAudioService")) ||
                                 texto.contains(QLatin1String("XDG_RUNTIME_DIR"))))
        return;
    if (gManejadorQt) gManejadorQt(tipo, contexto, texto);
}

}  // namespace

int main(int argc, char** argv) {
    gManejadorQt = qInstallMessageHandler(FiltraMensajesQt);
    QApplication app(argc, argv);
    // The program ends by the menu's exit, not when its last window closes:
    // the splash closes before the menu opens, and the help window may stay.
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setApplicationName(QStringLiteral("Tobal31"));
    QApplication::setDesktopFileName(QStringLiteral("tobal31"));
    tobal::IniciaRecursos();
    tobal::TraduceQt();
    tobal::RetornoTeclado::Instala();
    QApplication::setWindowIcon(QIcon(tobal::ImagenAplicacion(64)));

    tobal::Estado st;
    tobal::InformadorQt informador;
    st.informador = &informador;
    st.DirPrograma = tobal::DirEjecutable();

    tobal::Servicios sv(st);
    tobal::ReproductorQt reproductor;
    sv.reproductor = &reproductor;
    tobal::VisorAyuda ayuda;
    sv.ayudante = &ayuda;

    auto menu = tobal::Main(st, sv, tobal::DirTrabajo());
    QObject::connect(menu.get(), &tobal::Tb1x2::terminado, &app, &QApplication::quit, Qt::QueuedConnection);
    return app.exec();
}
