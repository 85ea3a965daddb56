// La impresora Qt sobre un fichero PDF: tamaños de página pedidos al
// controlador, fuente de paso fijo, altos de línea y trabajos en un documento.

#if __has_include(<QGuiApplication>)

#include <gtest/gtest.h>

#include <QFontInfo>
#include <QGuiApplication>
#include <QPrinter>

#include "Soporte.h"
#include "output/ImpresoraGrabadora.h"
#include "platform/ImpresoraQt.h"

namespace tobal {
namespace {

struct ImpresoraQtPdf : ::testing::Test {
    static void SetUpTestSuite() {
        if (!QCoreApplication::instance()) {
            static int argc = 1;
            static char nombre[] = "tests_output";
            static char* argv[] = {nombre, nullptr};
            new QGuiApplication(argc, argv);
        }
    }
    prueba::CarpetaTemporal carpeta;
    QString Fichero(const char* n) const { return QString::fromStdString((carpeta / n).string()); }
};

TEST_F(ImpresoraQtPdf, CourierNewConSuGemeloMetricoYLineasComoEnLaGrabadora) {
    auto imp = ImpresoraQt::Pdf(Fichero("a.pdf"));
    QFont f(QStringLiteral("Courier New"));
    EXPECT_EQ(QFontInfo(f).family(), QStringLiteral("Liberation Mono"));
    EXPECT_TRUE(QFontInfo(f).fixedPitch());
    ImpresoraGrabadora grabadora;
    for (double tamano : {9.0, 9.75}) {
        imp->FontName("Courier New");
        imp->FontSize(tamano);
        grabadora.FontSize(tamano);
        EXPECT_NEAR(imp->TextHeight(), grabadora.TextHeight(), 1.5) << tamano;
    }
}

TEST_F(ImpresoraQtPdf, AltoDePaginaContinuaSeTomaYSeLee) {
    auto imp = ImpresoraQt::Pdf(Fichero("c.pdf"));
    EXPECT_EQ(imp->PaperSize(kPapelUsuario), 0);
    EXPECT_EQ(imp->PaperSize(kPapelA4), 0);
    EXPECT_EQ(imp->Height(), 16838);
    EXPECT_EQ(imp->Height(8986), 0);
    EXPECT_EQ(imp->Height(), 8986);
    EXPECT_EQ(imp->Height(0), kErrorPropiedad);
}

TEST_F(ImpresoraQtPdf, TrabajosDeUnPdfSeSiguenEnPaginasNuevas) {
    auto imp = ImpresoraQt::Pdf(Fichero("j.pdf"));
    imp->Print("uno");
    imp->NewPage();
    imp->EndDoc();  // el salto de página no deja una página en blanco
    imp->EndDoc();  // nada dibujado: ningún trabajo
    imp->Print("dos");
    imp->EndDoc();
    EXPECT_EQ(imp->Trabajos(), 2);
    imp->Termina();
    const QString ruta = Fichero("j.pdf");
    FILE* f = ::popen(("pdfinfo '" + ruta.toStdString() + "'").c_str(), "r");
    ASSERT_NE(f, nullptr);
    char buf[4096];
    std::string info(buf, std::fread(buf, 1, sizeof buf, f));
    ::pclose(f);
    EXPECT_NE(info.find("Pages:           2"), std::string::npos) << info;
}

}  // namespace
}  // namespace tobal

#endif
