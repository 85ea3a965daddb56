#include "screens/borrar.h"

#include <tuple>

#include <QFocusEvent>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcut>

#include "app/Estado.h"
#include "platform/Ayuda.h"
#include "platform/BotonImagen.h"
#include "platform/Dibujo.h"
#include "platform/Recursos.h"
#include "platform/Servicios.h"
#include "platform/Sonidos.h"
#include "reduction/Borrado.h"
#include "screens/EntradaTexto.h"
#include "screens/mensajes.h"

namespace tobal {

namespace {

constexpr int kAncho = 420;
constexpr int kAlto = 380;
constexpr int kColumnaValor = 190;

QString Numero(int n) { return QString::number(n).rightJustified(2, QLatin1Char(' ')); }

}  // namespace

Borrar::Borrar(Estado& st, Servicios& sv, QWidget* padre)
    : QDialog(padre), Lis_JorIni(nullptr), Lis_JorFin(nullptr), st_(st), sv_(sv) {
    PreparaPantalla(this, QStringLiteral("borrar"), QStringLiteral("Borrar reducciones y datos de jornadas"),
                    QSize(kAncho, kAlto));
    setMouseTracking(true);

    // Created in the order Tab follows.
    Campo_Desde =
        new ZonaCampo(QStringLiteral("Campo_Desde"), QStringLiteral("Desde la jornada"), AreaDesde(), this);
    Lis_JorIni = new QListWidget(this);
    Campo_Hasta =
        new ZonaCampo(QStringLiteral("Campo_Hasta"), QStringLiteral("Hasta la jornada"), AreaHasta(), this);
    Lis_JorFin = new QListWidget(this);
    Pic_Borrar = new BotonImagen(QStringLiteral("Pic_Borrar"), this);
    Pic_Ayuda = new BotonImagen(QStringLiteral("Pic_Ayuda"), this);
    Pic_Salir = new BotonImagen(QStringLiteral("Pic_Salir"), this);

    for (auto [lista, nombre, area] : {std::tuple{Lis_JorIni, "Lis_JorIni", AreaDesde()},
                                       std::tuple{Lis_JorFin, "Lis_JorFin", AreaHasta()}}) {
        lista->setObjectName(QString::fromUtf8(nombre));
        lista->setAccessibleName(lista == Lis_JorIni ? QStringLiteral("Lista desde la jornada")
                                                     : QStringLiteral("Lista hasta la jornada"));
        LlenaListaJornadas(lista, kUltimaJornada);
        lista->setCurrentRow(0);
        lista->move(area.right() - lista->width(), area.bottom() + 2);
        lista->installEventFilter(this);
        lista->hide();
        connect(lista, &QListWidget::itemClicked, this, [this, lista] { Elige(lista); });
        connect(lista, &QListWidget::itemActivated, this, [this, lista] { Elige(lista); });
    }

    const int yBotones = kAlto - TamBoton - 22;
    Pic_Borrar->move(kAncho - 30 - 3 * TamBoton - 20, yBotones);
    Pic_Ayuda->move(kAncho - 30 - 2 * TamBoton - 10, yBotones);
    Pic_Salir->move(kAncho - 30 - TamBoton, yBotones);
    Campo_Desde->valor = [this] { return QString::number(desde_); };
    Campo_Hasta->valor = [this] { return QString::number(hasta_); };
    connect(Campo_Desde, &BotonImagen::pulsado, this, [this] { PulsaDesde(); });
    connect(Campo_Hasta, &BotonImagen::pulsado, this, [this] { PulsaHasta(); });
    connect(Pic_Borrar, &BotonImagen::pulsado, this, [this] { BorraRango(); });
    connect(Pic_Ayuda, &BotonImagen::pulsado, this, [this] { sv_.Ayuda(Contexto::Borrado); });
    connect(Pic_Salir, &BotonImagen::pulsado, this, [this] {
        sv_.Sonar(Sonido::Salida);
        reject();
    });
    // Escape leaves as the exit button does.
    new QShortcut(QKeySequence(Qt::Key_Escape), this, [this] { Pic_Salir->Pulsa(); });
    Campo_Desde->setFocus();
}

QRect Borrar::AreaDesde() { return QRect(30, 62, 360, 30); }
QRect Borrar::AreaHasta() { return QRect(30, 108, 360, 30); }

void Borrar::PulsaDesde() { Alterna(Lis_JorIni, Campo_Desde); }
void Borrar::PulsaHasta() { Alterna(Lis_JorFin, Campo_Hasta); }

void Borrar::Alterna(QListWidget* lista, ZonaCampo* zona) {
    if (lista->isHidden()) {
        // One list open at a time.
        QListWidget* otra = lista == Lis_JorIni ? Lis_JorFin : Lis_JorIni;
        if (!otra->isHidden()) Elige(otra);
        sv_.Sonar(Sonido::Abre);
        lista->show();
        lista->raise();
        lista->setFocus();
        update();
        return;
    }
    sv_.Sonar(Sonido::Cierra);
    const bool conFoco = lista->hasFocus();
    lista->hide();
    if (conFoco) zona->setFocus();
    update();
}

void Borrar::Elige(QListWidget* lista) {
    if (lista->isHidden()) return;
    const int n = lista->currentRow() + 1;
    // The range keeps first <= last: the other end follows the one chosen.
    if (lista == Lis_JorIni) {
        desde_ = n;
        if (hasta_ < desde_) {
            hasta_ = desde_;
            Lis_JorFin->setCurrentRow(hasta_ - 1);
        }
        Alterna(Lis_JorIni, Campo_Desde);
    } else {
        hasta_ = n;
        if (desde_ > hasta_) {
            desde_ = hasta_;
            Lis_JorIni->setCurrentRow(desde_ - 1);
        }
        Alterna(Lis_JorFin, Campo_Hasta);
    }
}

void Borrar::BorraRango() {
    sv_.Sonar(Sonido::Boton);
    st_.PulsoBorrar = Falso;
    Mensaje(st_, sv_, this, QString::fromUtf8(kTituloBorrado),
            QString::fromStdString(TextoConfirmacionBorrado(desde_, hasta_)), BotonMensaje::Borrar);
    if (st_.PulsoBorrar == Falso) return;
    ResultadoBorrado r;
    {
        PunteroEspera espera;
        r = BorraJornadas(st_, desde_, hasta_);
    }
    if (r.fallos.empty()) return;
    QString texto;
    for (const std::string& f : r.fallos)
        texto += (texto.isEmpty() ? "" : "\r\n") + QString::fromStdString(f);
    Mensaje(st_, sv_, this, QString::fromUtf8(kTituloBorradoIncompleto), texto);
}

void Borrar::done(int resultado) {
    Lis_JorIni->hide();
    Lis_JorFin->hide();
    QDialog::done(resultado);
}

void Borrar::paintEvent(QPaintEvent*) {
    QPainter p(this);
    DibujaFondo(p, rect());
    EscribeRotulo(p, 30, 20, QStringLiteral("BORRADO DE DATOS"));
    DibujaCampo(p, AreaDesde(), QStringLiteral("Desde la jornada"), Numero(desde_), kColumnaValor);
    DibujaCampo(p, AreaHasta(), QStringLiteral("Hasta la jornada"), Numero(hasta_), kColumnaValor);
    if (!Lis_JorIni->isHidden()) MarcaPulsado(p, AreaDesde());
    if (!Lis_JorFin->isHidden()) MarcaPulsado(p, AreaHasta());
}

void Borrar::mousePressEvent(QMouseEvent* e) {
    e->accept();
    const QPoint pt = e->position().toPoint();
    if (AreaDesde().contains(pt))
        PulsaDesde();
    else if (AreaHasta().contains(pt))
        PulsaHasta();
}

void Borrar::mouseMoveEvent(QMouseEvent* e) {
    const QPoint pt = e->position().toPoint();
    if (AreaDesde().contains(pt) || AreaHasta().contains(pt))
        PonCursor(this, QStringLiteral("ManoIndice"));
    else
        unsetCursor();
}

bool Borrar::eventFilter(QObject* objeto, QEvent* evento) {
    // A list that loses the focus closes without changing the range;
    // switching to another window does not close it.
    if (evento->type() == QEvent::FocusOut && (objeto == Lis_JorIni || objeto == Lis_JorFin)) {
        auto* lista = static_cast<QListWidget*>(objeto);
        const auto razon = static_cast<QFocusEvent*>(evento)->reason();
        if (!lista->isHidden() && razon != Qt::ActiveWindowFocusReason && razon != Qt::PopupFocusReason) {
            lista->setCurrentRow((lista == Lis_JorIni ? desde_ : hasta_) - 1);
            Alterna(lista, lista == Lis_JorIni ? Campo_Desde : Campo_Hasta);
        }
    }
    return QDialog::eventFilter(objeto, evento);
}

}  // namespace tobal
