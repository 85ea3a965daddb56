// La impresora Qt sobre un fichero PDF. Páginas, márgenes, tamaños, textos y
// fuentes del PDF los lee tests/cli/imprimir_test.cpp.

#if __has_include(<QGuiApplication>)

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QPrinter>

#include "Soporte.h"
#include "output/ImpresoraGrabadora.h"
#include "platform/ImpresoraQt.h"

namespace tobal {
namespace {

// The line height is the recording printer's to the twip at any resolution:
// lines placed one under another never drift with the device.
TEST(ImpresoraQtPdf, CourierNewConSuGemeloMetricoYLineasComoEnLaGrabadora) {
    static int argc = 1;
    static char nombre[] = "tests_output";
    static char* argv[] = {nombre, nullptr};
    if (!QCoreApplication::instance()) new QGuiApplication(argc, argv);
    prueba::CarpetaTemporal carpeta;
    ImpresoraGrabadora grabadora;
    for (int ppp : {300, 600, 1200}) {
        QPrinter q(QPrinter::HighResolution);
        q.setOutputFormat(QPrinter::PdfFormat);
        q.setOutputFileName(QString::fromStdString((carpeta / "a.pdf").string()));
        q.setResolution(ppp);
        ImpresoraQt imp(&q);
        for (double tamano : {9.0, 9.75}) {
            imp.FontName("Courier New");
            imp.FontSize(tamano);
            grabadora.FontSize(tamano);
            EXPECT_EQ(imp.TextHeight(), grabadora.TextHeight()) << tamano << " pt, " << ppp << " dpi";
        }
    }
}

}  // namespace
}  // namespace tobal

#endif
