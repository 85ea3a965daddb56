#include <QDialogButtonBox>
#include <QFile>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextBrowser>

#include "Entorno.h"

namespace tobal {
namespace {

// A key closes the window silently and leaves the flag as it was; the answer buttons, which set it, are
// the tests of the screens that ask.
TEST(Mensajes, UnaTeclaNoTocaLaRespuesta) {
    for (const int16_t antes : {Falso, Verdadero}) {
        prueba::Entorno en;
        en.st.PulsoBorrar = antes;
        QString texto;
        prueba::CuandoVentana<Mensajes>([&](Mensajes* m) {
            texto = m->Tex_Mensaje->toPlainText();
            EXPECT_TRUE(m->Pic_Borrar->isVisible() && !m->Pic_Copiar->isVisible());
            QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : m, Qt::Key_A);
        });
        Mensaje(en.st, en.sv, nullptr, "BORRADO DE DATOS", "Jornadas 1 a 5.\r\n¿Borrar?",
                BotonMensaje::Borrar);
        EXPECT_EQ(texto, "Jornadas 1 a 5.\n¿Borrar?");
        EXPECT_EQ(en.st.PulsoBorrar, antes);
        EXPECT_TRUE(en.sonidos.pedidos.empty());
    }
}

TEST(Servicios, LasVentanasDeQtEnEspanol) {
    QDialogButtonBox caja(QDialogButtonBox::Cancel);
    EXPECT_EQ(caja.button(QDialogButtonBox::Cancel)->text().remove('&'), "Cancelar");
}
TEST(BotonImagen, DesactivadoNoHaceNadaYMuestraLaProhibicion) {
    BotonImagen b("Pic_Guardar");
    int pulsaciones = 0;
    QObject::connect(&b, &BotonImagen::pulsado, [&] { ++pulsaciones; });
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(&b);
    ASSERT_TRUE(a && a->actionInterface());
    b.PonActivo(false);
    QTest::mouseClick(&b, Qt::LeftButton);
    QTest::keyClick(&b, Qt::Key_Space);
    a->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(a->state().disabled && b.cursor().shape() == Qt::ForbiddenCursor);
    b.PonActivo(true);
    QTest::mouseClick(&b, Qt::LeftButton);
    QTest::keyClick(&b, Qt::Key_Return);
    QTest::keyClick(&b, Qt::Key_A);
    EXPECT_EQ(pulsaciones, 2);
}

TEST(Ayuda, ElVisorAbreLaPaginaDelContextoSeRecorreConTabuladorYLosEnlacesLlevanAUnaPagina) {
    VisorAyuda visor;
    for (int c :
         {2100, 2151, 2210, 2230, 2250, 2270, 2300, 2400, 2410, 2420, 2430, 2440, 2450, 2500, 2700, 2800})
        EXPECT_TRUE(PaginaAyuda(c).endsWith(QStringLiteral("/%1.html").arg(c))) << c;
    visor.Muestra(Contexto::Indice);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&visor));
    visor.navegador()->setFocus();
    QStringList alcanzados;
    for (int i = 0; i < 60 && !alcanzados.contains("Cerrar"); ++i) {
        QTest::keyClick(prueba::Foco(), Qt::Key_Tab);
        alcanzados << QApplication::focusWidget()->objectName();
    }
    EXPECT_TRUE(alcanzados.contains("Cerrar")) << alcanzados.join(' ').toStdString();
    prueba::TodosConNombre(&visor);
    EXPECT_TRUE(prueba::SaleConEscape(visor.navegador()));
    const QStringList paginas = QDir(":/ayuda").entryList({"*.html"});
    const QRegularExpression enlace(R"re(href="([^"]+)")re");
    for (const QString& pagina : paginas) {
        QFile f(":/ayuda/" + pagina);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        for (auto it = enlace.globalMatch(QString::fromUtf8(f.readAll())); it.hasNext();) {
            const QString destino = it.next().captured(1);
            EXPECT_TRUE(paginas.contains(destino)) << pagina.toStdString() << " -> " << destino.toStdString();
        }
    }
}

// The help window answers its buttons, links and keys while a modal screen
// is open: asked from the screen, or already open when the screen opened.
TEST(Ayuda, ElVisorRespondeConUnaPantallaModalAbierta) {
    for (bool antes : {false, true}) {
        SCOPED_TRACE(antes);
        VisorAyuda visor;
        if (antes) visor.Muestra(Contexto::Borrado);
        QDialog pantalla;
        pantalla.setWindowModality(Qt::ApplicationModal);
        QStringList paginas;
        prueba::CuandoVentana<QWidget>([&](QWidget* w) {
            if (!antes) visor.Muestra(Contexto::Borrado);
            EXPECT_TRUE(QTest::qWaitForWindowActive(&visor));
            // Through the window system, where a blocked window loses its events.
            QWidget* inicio = visor.findChild<QPushButton*>("Contenido");
            QTest::mouseClick(visor.windowHandle(), Qt::LeftButton, {},
                              inicio->mapTo(&visor, inicio->rect().center()));
            paginas << visor.navegador()->source().fileName();
            visor.navegador()->setFocus();
            QTest::keyClick(visor.windowHandle(), Qt::Key_Left, Qt::AltModifier);  // back
            paginas << visor.navegador()->source().fileName();
            w->close();
        });
        pantalla.exec();
        EXPECT_EQ(paginas, QStringList({"indice.html", "2800.html"}));
    }
}

}  // namespace
}  // namespace tobal
