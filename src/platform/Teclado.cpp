#include "platform/Teclado.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace tobal {

void RetornoTeclado::Instala() {
    static QPointer<RetornoTeclado> instalado;
    if (instalado) return;
    instalado = new RetornoTeclado(qApp);
    qApp->installEventFilter(instalado);
}

bool RetornoTeclado::eventFilter(QObject* objeto, QEvent* evento) {
    if (evento->type() != QEvent::Hide || !objeto->isWidgetType()) return false;
    auto* ventana = static_cast<QWidget*>(objeto);
    if (!ventana->isWindow() || ventana->windowType() == Qt::Popup || ventana->windowType() == Qt::ToolTip)
        return false;
    QPointer<QWidget> abridor = ventana->parentWidget() ? ventana->parentWidget()->window() : nullptr;
    // Once the closing has finished: by then a window manager has chosen.
    QTimer::singleShot(0, qApp, [abridor] {
        if (QApplication::activeWindow()) return;
        QWidget* siguiente = QApplication::activeModalWidget();
        if (!siguiente) siguiente = abridor;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (!siguiente && w->isVisible() && w->windowType() != Qt::Popup &&
                w->windowType() != Qt::ToolTip)
                siguiente = w;
        if (siguiente && siguiente->isVisible()) siguiente->activateWindow();
    });
    return false;
}

}  // namespace tobal
