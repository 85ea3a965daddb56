#include "screens/mensajes.h"

#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>

#include "app/Estado.h"
#include "platform/BotonImagen.h"
#include "platform/Colores.h"
#include "platform/Dibujo.h"
#include "platform/Recursos.h"
#include "platform/Servicios.h"
#include "platform/Sonidos.h"

namespace tobal {

namespace {

// For assistive technology the message window is an alert.
QAccessibleInterface* FabricaAccesible(const QString& clase, QObject* objeto) {
    if (clase == QLatin1String("tobal::Mensajes") && objeto && objeto->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget*>(objeto), QAccessible::AlertMessage);
    return nullptr;
}

constexpr int kAncho = 440;
constexpr int kAlto = 230;
}  // namespace

Mensajes::Mensajes(Estado& st, Servicios& sv, QWidget* padre)
    : QDialog(padre),
      Pic_Salir(new BotonImagen(QStringLiteral("Pic_Salir"), this)),
      Pic_Reducir(new BotonImagen(QStringLiteral("Pic_Reducir"), this)),
      Pic_Borrar(new BotonImagen(QStringLiteral("Pic_Borrar"), this)),
      Pic_Copiar(new BotonImagen(QStringLiteral("Pic_Copiar"), this)),
      Tex_Titulo(new QLineEdit(this)),
      Tex_Mensaje(new QPlainTextEdit(this)),
      st_(st),
      sv_(sv) {
    static const bool fabrica = (QAccessible::installFactory(FabricaAccesible), true);
    (void)fabrica;
    setObjectName(QStringLiteral("mensajes"));
    setWindowTitle(QStringLiteral("Tobal31"));
    setModal(true);
    setFixedSize(kAncho, kAlto);

    // The boxes only show: the focus stays on the buttons so that any key
    // reaches the window.
    for (QWidget* caja : {static_cast<QWidget*>(Tex_Titulo), static_cast<QWidget*>(Tex_Mensaje)})
        caja->setFocusPolicy(Qt::NoFocus);
    Tex_Titulo->setReadOnly(true);
    Tex_Titulo->setAccessibleName(QStringLiteral("Título del mensaje"));
    Tex_Mensaje->setAccessibleName(QStringLiteral("Texto del mensaje"));
    Tex_Titulo->setAlignment(Qt::AlignCenter);
    Tex_Titulo->setFont(LetraBoton());
    Tex_Titulo->setGeometry(20, 16, kAncho - 40, 26);
    Tex_Mensaje->setReadOnly(true);
    Tex_Mensaje->setFont(LetraCampo());
    Tex_Mensaje->setGeometry(20, 52, kAncho - 40, 110);
    Tex_Mensaje->setContextMenuPolicy(Qt::NoContextMenu);
    Tex_Mensaje->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Tex_Mensaje->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    const int yBotones = kAlto - TamBoton - 18;
    Pic_Salir->move(kAncho - 20 - TamBoton, yBotones);
    for (BotonImagen* b : {Pic_Reducir, Pic_Borrar, Pic_Copiar}) {
        b->move(kAncho - 30 - 2 * TamBoton, yBotones);
        b->hide();
    }
    for (BotonImagen* b : {Pic_Salir, Pic_Reducir, Pic_Borrar, Pic_Copiar})
        b->setFocusPolicy(Qt::StrongFocus);

    connect(Pic_Salir, &BotonImagen::pulsado, this, [this] {
        sv_.Sonar(Sonido::Salida);
        reject();
    });
    connect(Pic_Reducir, &BotonImagen::pulsado, this, [this] { Responde(st_.PulsoReducir); });
    connect(Pic_Borrar, &BotonImagen::pulsado, this, [this] { Responde(st_.PulsoBorrar); });
    connect(Pic_Copiar, &BotonImagen::pulsado, this, [this] { Responde(st_.PulsoCopiar); });
    Centra(this);
}

void Mensajes::PonMensaje(const QString& titulo, const QString& texto, int botones) {
    QString t = texto;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    Tex_Titulo->setText(titulo);
    Tex_Mensaje->setPlainText(t);
    // A screen reader announces the window by its message, not by the
    // program's name in its caption.
    setAccessibleName(titulo);
    setAccessibleDescription(t);
    Pic_Reducir->setVisible(botones & BotonMensaje::Reducir);
    Pic_Borrar->setVisible(botones & BotonMensaje::Borrar);
    Pic_Copiar->setVisible(botones & BotonMensaje::Copiar);
}

void Mensajes::Responde(int16_t& pulso) {
    sv_.Sonar(Sonido::Boton);
    pulso = Verdadero;
    accept();
}

void Mensajes::paintEvent(QPaintEvent*) {
    QPainter p(this);
    DibujaFondo(p, rect());
}

void Mensajes::keyPressEvent(QKeyEvent* e) {
    e->accept();
    // Modifier keys alone are not key presses for the window.
    switch (e->key()) {
        case Qt::Key_Shift:
        case Qt::Key_Control:
        case Qt::Key_Alt:
        case Qt::Key_Meta:
        case Qt::Key_AltGr: return;
        default: reject();
    }
}

void Mensajes::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    Pic_Salir->setFocus();
}

void Mensaje(Estado& st, Servicios& sv, QWidget* padre, const QString& titulo, const QString& texto,
             int botones) {
    Mensajes ventana(st, sv, padre);
    ventana.PonMensaje(titulo, texto, botones);
    ventana.exec();
}

}  // namespace tobal
