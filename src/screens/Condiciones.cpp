#include "screens/Condiciones.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <algorithm>

#include "app/Formato.h"
#include "platform/BotonImagen.h"
#include "platform/Colores.h"
#include "platform/Dibujo.h"
#include "platform/Servicios.h"
#include "platform/Sonidos.h"
#include "platform/TextoLeido.h"
#include "reduction/Condiciones.h"
#include "screens/VistaReduccion.h"
#include "screens/mensajes.h"

namespace tobal {

namespace {

constexpr int kAncho = 540;
constexpr int kAlto = 400;
const QRect kCumplen(30, 320, 480, 20);

QString Utf8(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

QString TextoFallos(int fallos) {
    if (fallos <= 0) return {};
    return QStringLiteral("%1 %2").arg(fallos).arg(fallos == 1 ? QStringLiteral("fallo permitido")
                                                                : QStringLiteral("fallos permitidos"));
}

QString TextoCondicionesVisto(const Condiciones& cs) {
    QStringList partes;
    for (const Condicion& c : cs.lista) partes << Utf8(TextoCondicion(c));
    if (!partes.isEmpty() && cs.fallos > 0) partes << TextoFallos(cs.fallos);
    return partes.join(QStringLiteral("; "));
}

VentanaCondiciones::VentanaCondiciones(Estado& st, Servicios& sv, QWidget* padre)
    : QDialog(padre),
      Tex_Condicion(new QLineEdit(this)),
      Pic_Añadir(new BotonDibujado(QStringLiteral("Pic_Añadir"), QStringLiteral("Añadir"), this)),
      Pic_Cambiar(new BotonDibujado(QStringLiteral("Pic_Cambiar"), QStringLiteral("Cambiar"), this)),
      Lis_Condiciones(new QListWidget(this)),
      Pic_Quitar(new BotonDibujado(QStringLiteral("Pic_Quitar"), QStringLiteral("Quitar"), this)),
      Caja_Fallos(new Caja(QStringLiteral("Lis_Fallos"), QStringLiteral("Fallos:"),
                           QStringLiteral("Fallos permitidos"), this, sv)),
      Pic_Aceptar(new BotonDibujado(QStringLiteral("Pic_Aceptar"), QStringLiteral("Aceptar"), this)),
      Pic_Cancelar(new BotonDibujado(QStringLiteral("Pic_Cancelar"), QStringLiteral("Cancelar"), this)),
      Tex_Cumplen(new TextoLeido(QStringLiteral("Tex_Cumplen"), QStringLiteral("Resultados que las cumplen"),
                                 kCumplen, this)),
      st_(st),
      sv_(sv),
      cs_(st.CondicionesActuales) {
    PreparaPantalla(this, QStringLiteral("Condiciones"), QStringLiteral("Condiciones de la reducción"),
                    QSize(kAncho, kAlto));
    setAccessibleName(QStringLiteral("Condiciones de la reducción"));

    Tex_Condicion->setObjectName(QStringLiteral("Tex_Condicion"));
    Tex_Condicion->setAccessibleName(QStringLiteral("Condición"));
    Tex_Condicion->setPlaceholderText(QStringLiteral("X 2-5   2 0-3 partidos 1-7   seguidos 1-4"));
    Tex_Condicion->setAccessibleDescription(
        QStringLiteral("Medida (1, X, 2, variantes, interrupciones, seguidos), mínimo-máximo y, si no son "
                       "todos, los partidos: X 2-5, 2 0-3 partidos 1-7, seguidos 1-4"));
    Tex_Condicion->setMaxLength(60);
    Tex_Condicion->setFont(LetraCampo());
    Tex_Condicion->setGeometry(30, 72, 320, 28);
    Pic_Añadir->setGeometry(370, 68, 130, 36);
    Pic_Cambiar->setGeometry(370, 110, 130, 36);

    Lis_Condiciones->setObjectName(QStringLiteral("Lis_Condiciones"));
    Lis_Condiciones->setAccessibleName(QStringLiteral("Condiciones"));
    Lis_Condiciones->setFont(LetraCampo());
    Lis_Condiciones->setGeometry(30, 160, 320, 150);
    Lis_Condiciones->installEventFilter(this);
    Pic_Quitar->setGeometry(370, 160, 130, 36);
    Caja_Fallos->setGeometry(370, 210, 100, 49);

    Pic_Aceptar->setGeometry(kAncho - 2 * 130 - 30, kAlto - 50, 126, 36);
    Pic_Cancelar->setGeometry(kAncho - 130 - 30, kAlto - 50, 126, 36);

    connect(Tex_Condicion, &QLineEdit::returnPressed, this, &VentanaCondiciones::Añadir);
    connect(Pic_Añadir, &BotonDibujado::pulsado, this, &VentanaCondiciones::Añadir);
    connect(Pic_Cambiar, &BotonDibujado::pulsado, this, &VentanaCondiciones::Cambiar);
    connect(Pic_Quitar, &BotonDibujado::pulsado, this, &VentanaCondiciones::Quitar);
    // A condition picked in the list comes into the box to be changed.
    connect(Lis_Condiciones, &QListWidget::currentRowChanged, this, [this](int fila) {
        if (fila >= 0 && fila < int(cs_.lista.size()))
            Tex_Condicion->setText(Utf8(TextoCondicion(cs_.lista[size_t(fila)])));
    });
    connect(Caja_Fallos, &Caja::elegido, this, [this](int i) {
        cs_.fallos = i;
        Muestra();
    });
    connect(Pic_Aceptar, &BotonDibujado::pulsado, this, [this] {
        sv_.Sonar(Sonido::Boton);
        accept();
    });
    connect(Pic_Cancelar, &BotonDibujado::pulsado, this, &VentanaCondiciones::reject);

    Muestra();
    Tex_Condicion->setFocus();
}

std::optional<Condicion> VentanaCondiciones::Leida() {
    Condicion c;
    if (const auto fallo = LeeCondicion(Tex_Condicion->text().toStdString(), c)) {
        // The text stays in the box to be put right.
        Mensaje(st_, sv_, this, QStringLiteral("CONDICIÓN INCORRECTA"),
                QStringLiteral("La condición \"%1\" no es válida: %2")
                    .arg(Tex_Condicion->text().trimmed(), Utf8(*fallo)));
        Tex_Condicion->setFocus();
        return std::nullopt;
    }
    return c;
}

void VentanaCondiciones::Añadir() {
    if (Tex_Condicion->text().trimmed().isEmpty()) return;
    const std::optional<Condicion> c = Leida();
    if (!c) return;
    sv_.Sonar(Sonido::Boton);
    cs_.lista.push_back(*c);
    Tex_Condicion->clear();
    Muestra();
    Tex_Condicion->setFocus();
}

void VentanaCondiciones::Cambiar() {
    const int fila = Lis_Condiciones->currentRow();
    if (fila < 0 || fila >= int(cs_.lista.size()) || Tex_Condicion->text().trimmed().isEmpty()) return;
    const std::optional<Condicion> c = Leida();
    if (!c) return;
    sv_.Sonar(Sonido::Boton);
    cs_.lista[size_t(fila)] = *c;
    Muestra();
    Lis_Condiciones->setCurrentRow(fila);
}

void VentanaCondiciones::Quitar() {
    const int fila = Lis_Condiciones->currentRow();
    if (fila < 0 || fila >= int(cs_.lista.size())) return;
    sv_.Sonar(Sonido::Boton);
    cs_.lista.erase(cs_.lista.begin() + fila);
    Tex_Condicion->clear();
    Muestra();
    if (!cs_.lista.empty()) Lis_Condiciones->setCurrentRow(std::min(fila, int(cs_.lista.size()) - 1));
}

void VentanaCondiciones::Muestra() {
    // No more failures allowed than there are conditions.
    const int n = int(cs_.lista.size());
    cs_.fallos = std::clamp(cs_.fallos, 0, n);
    {
        const QSignalBlocker quieta(Lis_Condiciones);
        Lis_Condiciones->clear();
        for (const Condicion& c : cs_.lista) Lis_Condiciones->addItem(Utf8(TextoCondicion(c)));
        Lis_Condiciones->setCurrentRow(-1);
    }
    QStringList items;
    for (int i = 0; i <= n; ++i) items << QString::number(i).rightJustified(2);
    Caja_Fallos->PonItems(items, 5);  // columns of five: the list stays inside the window
    Caja_Fallos->Selecciona(cs_.fallos);
    Caja_Fallos->PonValor(QString::number(cs_.fallos));

    int64_t total = 1;
    for (int m = 1; m <= 14; ++m) total *= st_.ReduccionActual.Partidos[size_t(m)].NumSignos;
    const int64_t cumplen = cs_.lista.empty() ? total : CuentaCumplen(st_.ReduccionActual.Partidos, cs_);
    Tex_Cumplen->PonTexto(QStringLiteral("Resultados de la quiniela base que las cumplen: %1 de %2")
                              .arg(Utf8(Formatea(double(cumplen), "#,###,###,##0")),
                                   Utf8(Formatea(double(total), "#,###,###,##0"))));
    update();
}

bool VentanaCondiciones::eventFilter(QObject* objeto, QEvent* evento) {
    if (objeto == Lis_Condiciones && evento->type() == QEvent::KeyPress) {
        const int tecla = static_cast<QKeyEvent*>(evento)->key();
        if (tecla == Qt::Key_Delete || tecla == Qt::Key_Backspace) {
            Quitar();
            return true;
        }
    }
    return QDialog::eventFilter(objeto, evento);
}

void VentanaCondiciones::reject() {
    sv_.Sonar(Sonido::Salida);
    QDialog::reject();
}

void VentanaCondiciones::paintEvent(QPaintEvent*) {
    QPainter p(this);
    DibujaFondo(p, rect());
    EscribeRotulo(p, 30, 16, QStringLiteral("CONDICIONES DE LA REDUCCIÓN"));
    EscribeRotulo(p, 30, 50, QStringLiteral("Condición:"));
    p.setFont(LetraCampo());
    p.setPen(ColorWin(Color::Blanco));
    p.drawText(QRect(30, 104, 330, 36), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
               QStringLiteral("1, X, 2, variantes, interrupciones o seguidos; mínimo-máximo; "
                              "partidos 1-7 o 1,3,5-9 (todos si no se dice)"));
    EscribeRotulo(p, 30, 140, QStringLiteral("Condiciones de la reducción:"));
    p.setFont(LetraCampo());
    p.setPen(ColorWin(Color::Blanco));
    p.drawText(kCumplen, Qt::AlignLeft | Qt::AlignVCenter, Tex_Cumplen->Texto());
}

}  // namespace tobal
