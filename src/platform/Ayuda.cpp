#include "platform/Ayuda.h"

#include <QFile>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace tobal {

QString PaginaAyuda(int contexto) {
    const QString ruta = QStringLiteral(":/ayuda/%1.html").arg(contexto);
    if (contexto != Contexto::Indice && QFile::exists(ruta)) return ruta;
    return QStringLiteral(":/ayuda/indice.html");
}

VisorAyuda::VisorAyuda(QWidget* padre) : QWidget(padre, Qt::Window), navegador_(new QTextBrowser(this)) {
    setWindowTitle(QStringLiteral("Ayuda de Tobal31"));
    navegador_->setOpenLinks(true);
    navegador_->setOpenExternalLinks(false);

    auto* atras = new QPushButton(QStringLiteral("Atrás"), this);
    auto* inicio = new QPushButton(QStringLiteral("Contenido"), this);
    auto* cerrar = new QPushButton(QStringLiteral("Cerrar"), this);
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

void VisorAyuda::Muestra(int contexto) {
    navegador_->setSource(QUrl(QStringLiteral("qrc") + PaginaAyuda(contexto)));
    show();
    raise();
    activateWindow();
}

}  // namespace tobal
