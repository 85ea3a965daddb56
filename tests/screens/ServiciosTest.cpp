#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTextBrowser>
#include <chrono>

#include "Entorno.h"
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
            visible = m->Pic_Borrar->isVisible() && !m->Pic_Copiar->isVisible();
            QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : w, Qt::Key_A);
        });
        Mensaje(en.st, en.sv, nullptr, "BORRADO DE DATOS", "¿Borrar?", BotonMensaje::Borrar);
        EXPECT_TRUE(visible);
        EXPECT_EQ(en.st.PulsoBorrar, previo);
        EXPECT_TRUE(en.sonidos.pedidos.empty());
    }
}

TEST(Mensajes, UnBotonDeRespuestaMarcaSuIndicador) {
    Entorno en;
    QString texto;
    CuandoModal([&](QWidget* w) {
        auto* m = qobject_cast<Mensajes*>(w);
        texto = m->Tex_Mensaje->toPlainText();
        QTest::mouseClick(m->Pic_Copiar, Qt::LeftButton);
    });
    Mensaje(en.st, en.sv, nullptr, "COPIA", "Introduzca\r\nun disquete", BotonMensaje::Copiar);
    EXPECT_EQ(texto, "Introduzca\nun disquete");
    EXPECT_EQ(en.st.PulsoCopiar, Verdadero);
    EXPECT_EQ(en.st.PulsoReducir, Falso);
    EXPECT_EQ(en.sonidos.pedidos, std::vector<int>{9});
}

TEST(Careta, SubeDosVecesYUnaTeclaLaDetiene) {
    Entorno en;
    std::vector<int> ys;
    auto careta = std::make_unique<Careta>(en.sv);
    en.sv.pausa = [&](int centesimas) {
        EXPECT_EQ(centesimas, 5);
        ys.push_back(careta->Y());
    };
    careta->Ejecuta();
    EXPECT_FALSE(careta->isVisible());
    // 150 down to -201, twice.
    ASSERT_EQ(ys.size(), 2u * 352u);
    EXPECT_EQ(std::vector<int>({ys[0], ys[351], ys[352], ys.back()}), std::vector<int>({150, -201, 150, -201}));

    ys.clear();
    careta = std::make_unique<Careta>(en.sv);
    en.sv.pausa = [&](int) {
        ys.push_back(careta->Y());
        if (ys.size() == 10) QTest::keyClick(careta.get(), Qt::Key_Space);
    };
    careta->Ejecuta();
    EXPECT_EQ(ys.size(), 10u);
    EXPECT_FALSE(careta->isVisible());
}

TEST(Pausa, EsperaLasCentesimasPedidas) {
    const auto t0 = std::chrono::steady_clock::now();
    Pausa(3);
    Pausa(-5);
    EXPECT_GE(std::chrono::steady_clock::now() - t0, std::chrono::milliseconds(30));
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
}

TEST(Recursos, BotonesYSonidosEstan) {
    for (const char* b : {"Pic_Copiar", "Pic_Imprimir", "Pic_Guardar", "Pic_Indice", "Pic_Ayuda", "Pic_Signosel",
                          "Pic_Reducir", "Pic_Salir", "Pic_Cancelar", "Pic_Borrar"})
        EXPECT_EQ(ImagenBoton(b).size(), QSize(TamBoton, TamBoton)) << b;
    for (int n : {1, 5, 6, 7, 9, 10}) {
        QFile f(QStringLiteral(":/sonidos/%1.wav").arg(n));
        EXPECT_TRUE(f.open(QIODevice::ReadOnly) && f.read(4) == "RIFF") << n;
    }
}

TEST(Ayuda, ElVisorAbreLaPaginaDelContextoYLosEnlacesLlevanAUnaPagina) {
    VisorAyuda visor;
    for (int c : {2100, 2151, 2210, 2230, 2250, 2300, 2400, 2410, 2420, 2430, 2440, 2450, 2500, 2700, 2800}) {
        visor.Muestra(c);
        EXPECT_TRUE(visor.navegador()->source().path().endsWith(QStringLiteral("/%1.html").arg(c))) << c;
    }
    EXPECT_TRUE(visor.isVisible());
    visor.Muestra(Contexto::DatosGenerales);
    EXPECT_TRUE(visor.navegador()->toPlainText().contains("Total jornadas"));

    const QStringList paginas = QDir(":/ayuda").entryList({"*.html"});
    EXPECT_GE(paginas.size(), 16);
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

}  // namespace
}  // namespace tobal
