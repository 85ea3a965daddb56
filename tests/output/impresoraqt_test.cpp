// La impresora Qt sobre un fichero PDF: altos de línea como en la grabadora.
// Páginas, tamaños, textos y fuentes del PDF los lee tests/cli/imprimir_test.cpp.

#if __has_include(<QGuiApplication>)

#include <gtest/gtest.h>

#include <QGuiApplication>

#include "Soporte.h"
#include "output/ImpresoraGrabadora.h"
#include "platform/ImpresoraQt.h"

namespace tobal {
namespace {

TEST(ImpresoraQtPdf, CourierNewConSuGemeloMetricoYLineasComoEnLaGrabadora) {
    static int argc = 1;
    static char nombre[] = "tests_output";
    static char* argv[] = {nombre, nullptr};
    if (!QCoreApplication::instance()) new QGuiApplication(argc, argv);
    prueba::CarpetaTemporal carpeta;
    auto imp = ImpresoraQt::Pdf(QString::fromStdString((carpeta / "a.pdf").string()));
    ImpresoraGrabadora grabadora;
    for (double tamano : {9.0, 9.75}) {
        imp->FontName("Courier New");
        imp->FontSize(tamano);
        grabadora.FontSize(tamano);
        EXPECT_NEAR(imp->TextHeight(), grabadora.TextHeight(), 1.5) << tamano;
    }
}

}  // namespace
}  // namespace tobal

#endif
