#include "platform/Ayuda.h"

#include <QApplication>
#include <QFile>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QTextBrowser>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>
#include <QWindow>

namespace tobal {

QString PaginaAyuda(int contexto) {
    const QString ruta = QStringLiteral(":/ayuda/%1.html").arg(contexto);
    if (contexto != Contexto::Indice && QFile::exists(ruta)) return ruta;
    return QStringLiteral(":/ayuda/indice.html");
}

VisorAyuda::VisorAyuda(QWidget* padre) : QWidget(padre, Qt::Window), navegador_(new QTextBrowser(this)) {
    setWindowTitle(QStringLiteral("Ayuda de Tobal31"));
    setObjectName(QStringLiteral("VisorAyuda"));
    navegador_->setObjectName(QStringLiteral("Tex_Ayuda"));
    navegador_->setAccessibleName(QStringLiteral("Texto de la ayuda"));
    navegador_->setOpenLinks(true);
    navegador_->setOpenExternalLinks(false);

    auto* atras = new QPushButton(QStringLiteral("Atrás"), this);
    auto* inicio = new QPushButton(QStringLiteral("Contenido"), this);
    auto* cerrar = new QPushButton(QStringLiteral("Cerrar"), this);
    inicio->setObjectName(QStringLiteral("Contenido"));
    atras->setObjectName(QStringLiteral("Atras"));
    cerrar->setObjectName(QStringLiteral("Cerrar"));
    connect(atras, &QPushButton::clicked, navegador_, &QTextBrowser::backward);
    connect(navegador_, &QTextBrowser::backwardAvailable, atras, &QPushButton::setEnabled);
    connect(inicio, &QPushButton::clicked, this, [this] { Muestra(Contexto::Indice); });
    connect(cerrar, &QPushButton::clicked, this, &QWidget::close);
    atras->setEnabled(false);

    auto* botones = new QHBoxLayout;
    botones->addWidget(inicio);
    botones->addWidget(atras);
    botones->addStretch();
    botones->addWidget(cerrar);
    auto* capa = new QVBoxLayout(this);
    capa->addLayout(botones);
    capa->addWidget(navegador_);
    resize(640, 560);
}

void VisorAyuda::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape) {
        e->accept();
        close();
        return;
    }
    QWidget::keyPressEvent(e);
}

void VisorAyuda::Muestra(int contexto) {
    navegador_->setSource(QUrl(QStringLiteral("qrc") + PaginaAyuda(contexto)));
    show();
    // Asked for from an open screen, it must belong to that screen before it
    // can take the keyboard: a blocked window is never activated.
    Acompana();
    raise();
    activateWindow();
}

// Every screen is modal, and a modal window freezes every window that is
// not its own. The help window becomes the open screen's (its transient
// child for the window system), so that its buttons, links and scrolling
// work while the screen stays open; with no screen open it belongs to none.
void VisorAyuda::Acompana() {
    QWindow* ventana = windowHandle();
    if (!ventana) return;
    QWidget* modal = QApplication::activeModalWidget();
    QWindow* dueno = modal && modal != this ? modal->window()->windowHandle() : nullptr;
    if (ventana->transientParent() != dueno) ventana->setTransientParent(dueno);
}

bool VisorAyuda::event(QEvent* e) {
    // Shown while a screen is open, a screen opened while it shows, or the
    // screen it belonged to closed: it goes with the screen now open.
    if (e->type() == QEvent::WindowBlocked && isVisible())
        QTimer::singleShot(0, this, [this] { Acompana(); });
    return QWidget::event(e);
}

}  // namespace tobal
