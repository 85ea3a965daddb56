#include "platform/Recursos.h"

#include <QApplication>
#include <QHash>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <QPainter>
#include <QSvgRenderer>
#include <QWidget>

static void RegistraRecursos() { Q_INIT_RESOURCE(tobal31); }

namespace tobal {

void IniciaRecursos() { RegistraRecursos(); }

void TraduceQt() {
    static QTranslator* traductor = nullptr;
    if (traductor) return;
    traductor = new QTranslator(qApp);
    // qtbase covers the print dialog and preview, the file dialogs and the
    // standard buttons.
    if (traductor->load(QLocale(QLocale::Spanish, QLocale::Spain), QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(traductor);
}

namespace {

// Renders an SVG resource at its own size (or at `tam` when given).
QPixmap Dibuja(const QString& ruta, QSize tam = {}) {
    QSvgRenderer svg(ruta);
    if (!svg.isValid()) return {};
    if (!tam.isValid()) tam = svg.defaultSize();
    QPixmap px(tam);
    px.fill(Qt::transparent);
    QPainter p(&px);
    svg.render(&p);
    return px;
}

QPixmap EnCache(const QString& ruta, QSize tam = {}) {
    static QHash<QString, QPixmap> cache;
    const QString clave = ruta + QString::number(tam.width());
    auto it = cache.find(clave);
    if (it == cache.end()) it = cache.insert(clave, Dibuja(ruta, tam));
    return *it;
}

}  // namespace

QPixmap ImagenLogo() { return EnCache(QStringLiteral(":/imagenes/logo.svg")); }
QPixmap ImagenIcono() { return EnCache(QStringLiteral(":/imagenes/icono.svg")); }
QPixmap ImagenTitulos() { return EnCache(QStringLiteral(":/imagenes/titulos.svg")); }

QRect PiezaTitulo(int n) {
    switch (n) {
        case 1: return QRect(0, 0, 179, 38);
        case 2: return QRect(0, 38, 221, 23);
        case 3: return QRect(0, 61, 236, 16);
        default: return {};
    }
}

QPixmap ImagenBoton(const QString& control) {
    static const QStringList nombres = {"Pic_Copiar",      "Pic_Imprimir", "Pic_Guardar", "Pic_Indice",
                                        "Pic_Ayuda",       "Pic_Signosel", "Pic_Reducir", "Pic_Salir",
                                        "Pic_Cancelar",    "Pic_Borrar",   "Pic_Repetir", "Pic_Siguiente",
                                        "Pic_VistaPrevia", "Pic_Escrutar"};
    // The team screens' own buttons: adding a name and the list of teams.
    if (control == QStringLiteral("Pic_Añadir")) return EnCache(QStringLiteral(":/imagenes/anadir.svg"));
    if (control == QLatin1String("Pic_Equipos")) return EnCache(QStringLiteral(":/imagenes/equipos.svg"));
    // The guarantee of a stored reduction (browser and reduction screens).
    if (control == QLatin1String("Pic_Garantia")) return EnCache(QStringLiteral(":/imagenes/garantia.svg"));
    if (control == QLatin1String("Pic_Orientacion1") || control == QLatin1String("Pic_Orientacion2"))
        return EnCache(QStringLiteral(":/imagenes/orientacion") + control.right(1) + QStringLiteral(".svg"));
    if (!nombres.contains(control)) return {};
    const QString fichero = control.mid(4).toLower();
    return EnCache(QStringLiteral(":/imagenes/") + fichero + QStringLiteral(".svg"));
}

QPixmap ImagenAplicacion(int lado) {
    return EnCache(QStringLiteral(":/imagenes/aplicacion.svg"), QSize(lado, lado));
}

QCursor CursorPorNombre(const QString& nombre) {
    const QString n = nombre.toLower();
    if (n == QLatin1String("manoindice")) return QCursor(Qt::PointingHandCursor);
    if (n == QLatin1String("manoabierta")) return QCursor(Qt::OpenHandCursor);
    if (n == QLatin1String("manocerrada")) return QCursor(Qt::ClosedHandCursor);
    // The drawing tools point with their tips, at the lower left.
    if (n == QLatin1String("lapiz")) return QCursor(EnCache(QStringLiteral(":/imagenes/lapiz.svg")), 1, 30);
    if (n == QLatin1String("goma")) return QCursor(EnCache(QStringLiteral(":/imagenes/goma.svg")), 3, 28);
    return QCursor(Qt::ArrowCursor);
}

void PonCursor(QWidget* control, const QString& nombre) {
    if (control) control->setCursor(CursorPorNombre(nombre));
}

PunteroEspera::PunteroEspera() { QApplication::setOverrideCursor(Qt::WaitCursor); }
PunteroEspera::~PunteroEspera() { QApplication::restoreOverrideCursor(); }

}  // namespace tobal
