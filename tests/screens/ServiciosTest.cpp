#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextBrowser>
#include <chrono>

#include "Entorno.h"
#include "app/Estado.h"
#include "data/DatosGen.h"
#include "platform/BotonImagen.h"
#include "platform/InformadorQt.h"
#include "platform/Pausa.h"
#include "platform/Recursos.h"
#include "screens/careta.h"
#include "screens/mensajes.h"

namespace tobal {
namespace {

using prueba::CuandoModal;
using prueba::Entorno;

TEST(Mensajes, UnaTeclaCierraSinSonidoYDejaLaRespuestaComoEstaba) {
    for (int16_t previo : {Falso, Verdadero}) {
        Entorno en;
        en.st.PulsoBorrar = previo;
        bool visible = false;
        CuandoModal([&](QWidget* w) {
            auto* m = qobject_cast<Mensajes*>(w);
            visible = m->Pic_Borrar->isVisible();
            QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : w, Qt::Key_A);
        });
        Mensaje(en.st, en.sv, nullptr, "BORRADO DE DATOS", "¿Borrar?", BotonMensaje::Borrar);
        EXPECT_TRUE(visible);
        EXPECT_EQ(en.st.PulsoBorrar, previo);
        EXPECT_TRUE(en.sonidos.pedidos.empty());
    }
}

TEST(Mensajes, LosBotonesDeRespuestaMarcanSuIndicador) {
    Entorno en;
    CuandoModal([](QWidget* w) { QTest::mouseClick(qobject_cast<Mensajes*>(w)->Pic_Copiar, Qt::LeftButton); });
    Mensaje(en.st, en.sv, nullptr, "COPIA", "Introduzca un disquete", BotonMensaje::Copiar);
    EXPECT_EQ(en.st.PulsoCopiar, Verdadero);
    EXPECT_EQ(en.st.PulsoReducir, Falso);
    EXPECT_EQ(en.sonidos.pedidos, std::vector<int>{9});

    en.sonidos.pedidos.clear();
    QString titulo, texto;
    bool opcionales = true;
    CuandoModal([&](QWidget* w) {
        auto* m = qobject_cast<Mensajes*>(w);
        titulo = m->Tex_Titulo->text();
        texto = m->Tex_Mensaje->toPlainText();
        opcionales = m->Pic_Reducir->isVisible() || m->Pic_Borrar->isVisible() || m->Pic_Copiar->isVisible();
        QTest::mouseClick(m->Pic_Salir, Qt::LeftButton);
    });
    Mensaje(en.st, en.sv, nullptr, "AVISO", "Línea uno\r\nLínea dos");
    EXPECT_EQ(titulo, "AVISO");
    EXPECT_EQ(texto, "Línea uno\nLínea dos");
    EXPECT_FALSE(opcionales);
    EXPECT_EQ(en.st.PulsoCopiar, Verdadero);  // untouched by the leave button
    EXPECT_EQ(en.sonidos.pedidos, std::vector<int>{5});
}

TEST(Careta, SubeDosVecesYUnaTeclaLaDetiene) {
    Entorno en;
    std::vector<int> ys;
    Careta* careta = nullptr;
    en.sv.pausa = [&](int centesimas) {
        EXPECT_EQ(centesimas, 5);
        ys.push_back(careta->Y());
    };
    {
        Careta c(en.sv);
        careta = &c;
        c.Ejecuta();
        EXPECT_FALSE(c.isVisible());
    }
    // 150 down to -201, twice.
    ASSERT_EQ(ys.size(), 2u * 352u);
    EXPECT_EQ(ys.front(), 150);
    EXPECT_EQ(ys[351], -201);
    EXPECT_EQ(ys[352], 150);
    EXPECT_EQ(ys.back(), -201);

    ys.clear();
    Careta c(en.sv);
    careta = &c;
    en.sv.pausa = [&](int) {
        ys.push_back(c.Y());
        if (ys.size() == 10) QTest::keyClick(&c, Qt::Key_Space);
    };
    c.Ejecuta();
    EXPECT_EQ(ys.size(), 10u);
    EXPECT_FALSE(c.isVisible());
}

TEST(Pausa, EsperaLasCentesimasPedidas) {
    const auto t0 = std::chrono::steady_clock::now();
    Pausa(3);
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - t0);
    EXPECT_GE(ms.count(), 30);
    Pausa(0);
    Pausa(-5);
}

TEST(BotonImagen, DesactivadoNoHaceNadaYMuestraLaProhibicion) {
    BotonImagen b("Pic_Guardar");
    int pulsaciones = 0;
    QObject::connect(&b, &BotonImagen::pulsado, [&] { ++pulsaciones; });
    b.PonActivo(false);
    QTest::mouseClick(&b, Qt::LeftButton);
    EXPECT_EQ(pulsaciones, 0);
    EXPECT_EQ(b.cursor().shape(), Qt::ForbiddenCursor);
    b.PonActivo(true);
    QTest::mouseClick(&b, Qt::LeftButton);
    EXPECT_EQ(pulsaciones, 1);
    EXPECT_EQ(b.cursor().shape(), Qt::PointingHandCursor);
}

TEST(Recursos, ImagenesCursoresSonidosYAyudaEstan) {
    EXPECT_EQ(ImagenLogo().size(), QSize(97, 44));
    EXPECT_EQ(ImagenIcono().size(), QSize(40, 41));
    EXPECT_EQ(ImagenTitulos().size(), QSize(236, 77));
    for (const char* b : {"Pic_Copiar", "Pic_Imprimir", "Pic_Guardar", "Pic_Indice", "Pic_Ayuda", "Pic_Signosel",
                          "Pic_Reducir", "Pic_Salir", "Pic_Cancelar", "Pic_Borrar"})
        EXPECT_EQ(ImagenBoton(b).size(), QSize(TamBoton, TamBoton)) << b;
    EXPECT_TRUE(ImagenBoton("Pic_Nada").isNull());
    EXPECT_EQ(CursorPorNombre("MANOINDICE").shape(), Qt::PointingHandCursor);
    EXPECT_EQ(CursorPorNombre("ManoAbierta").shape(), Qt::OpenHandCursor);
    EXPECT_EQ(CursorPorNombre("manocerrada").shape(), Qt::ClosedHandCursor);
    for (const char* c : {"lapiz", "Goma"}) {
        EXPECT_EQ(CursorPorNombre(c).shape(), Qt::BitmapCursor) << c;
        EXPECT_FALSE(CursorPorNombre(c).pixmap().isNull()) << c;
    }
    for (int n : {1, 5, 6, 7, 9, 10}) {
        QFile f(QStringLiteral(":/sonidos/%1.wav").arg(n));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << n;
        const QByteArray cabecera = f.read(12);
        EXPECT_TRUE(cabecera.startsWith("RIFF") && cabecera.endsWith("WAVE")) << n;
    }
    for (int c : {2100, 2151, 2210, 2230, 2250, 2300, 2400, 2410, 2420, 2430, 2440, 2450, 2500, 2700, 2800})
        EXPECT_EQ(PaginaAyuda(c), QStringLiteral(":/ayuda/%1.html").arg(c));
    EXPECT_EQ(PaginaAyuda(0), ":/ayuda/indice.html");
    EXPECT_EQ(PaginaAyuda(1234), ":/ayuda/indice.html");
}

TEST(Ayuda, ElVisorMuestraLaPaginaDelContextoYSusEnlacesFuncionan) {
    VisorAyuda visor;
    visor.Muestra(2700);
    EXPECT_TRUE(visor.isVisible());
    EXPECT_TRUE(visor.navegador()->toPlainText().contains("Total jornadas"));
    visor.Muestra(0);
    const QString indice = visor.navegador()->toHtml();
    // Every page the contents page links to exists.
    for (int c : {2100, 2151, 2210, 2230, 2250, 2300, 2400, 2410, 2420, 2430, 2440, 2450, 2500, 2700, 2800})
        EXPECT_TRUE(indice.contains(QStringLiteral("%1.html").arg(c))) << c;
}

TEST(Ayuda, TodosLosEnlacesDeLasPaginasLlevanAUnaPagina) {
    const QStringList paginas = QDir(":/ayuda").entryList({"*.html"});
    EXPECT_GE(paginas.size(), 16);
    const QRegularExpression enlace(R"re(href="([^"]+)")re");
    for (const QString& pagina : paginas) {
        QFile f(":/ayuda/" + pagina);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(f.readAll());
        EXPECT_TRUE(html.contains("<h1>")) << pagina.toStdString();
        for (auto it = enlace.globalMatch(html); it.hasNext();) {
            const QString destino = it.next().captured(1);
            EXPECT_TRUE(paginas.contains(destino)) << pagina.toStdString() << " -> " << destino.toStdString();
        }
    }
}

TEST(Informador, MuestraUnaCajaTituladaTobal31ConUnSoloBoton) {
    InformadorQt inf;
    QString titulo, texto;
    int botones = 0;
    CuandoModal([&](QWidget* w) {
        auto* caja = qobject_cast<QMessageBox*>(w);
        ASSERT_NE(caja, nullptr);
        titulo = caja->windowTitle();
        texto = caja->text();
        botones = int(caja->buttons().size());
        caja->button(QMessageBox::Ok)->click();
    });
    inf.ErrorFichero("LDG ERROR 62\r\nsegunda línea");
    EXPECT_EQ(titulo, "Tobal31");
    EXPECT_EQ(texto, "LDG ERROR 62\nsegunda línea");
    EXPECT_EQ(botones, 1);
}

}  // namespace
}  // namespace tobal
