#include "screens/Garantia.h"

#include <QPainter>
#include <QTimer>
#include <algorithm>

#include "app/Formato.h"
#include "app/Texto.h"
#include "platform/BotonImagen.h"
#include "platform/Colores.h"
#include "platform/Dibujo.h"
#include "platform/Recursos.h"
#include "platform/Servicios.h"
#include "platform/Sonidos.h"
#include "platform/TextoLeido.h"
#include "reduction/Almacen.h"
#include "reduction/Tablas.h"
#include "screens/Condiciones.h"

namespace tobal {

namespace {

constexpr int kAncho = 580;
constexpr int kAlto = 420;
constexpr int kLineaCondiciones = 20;

QString Utf8(const std::string& s) { return QString::fromStdString(s); }

// A light grey box with its dark green shadow, as the field areas have.
void Recuadro(QPainter& p, const QRect& r) {
    p.fillRect(r.translated(4, 4), ColorWin(Color::VerdeMuyOscuro));
    p.fillRect(r, ColorWin(Color::GrisClaro));
    p.setPen(ColorWin(Color::Gris));
    p.drawRect(r.adjusted(0, 0, -1, -1));
}

}  // namespace

Garantia::Garantia(Estado& st, Servicios& sv, QWidget* padre)
    : QDialog(padre),
      Pic_Cancelar(new BotonImagen(QStringLiteral("Pic_Cancelar"), this)),
      Pic_Salir(new BotonImagen(QStringLiteral("Pic_Salir"), this)),
      st_(st),
      sv_(sv),
      reduccion_(st.ReduccionActual),
      condiciones_(st.CondicionesActuales),
      bajada_(st.CondicionesActuales.lista.empty() ? 0 : kLineaCondiciones) {
    PreparaPantalla(this, QStringLiteral("Garantia"), QStringLiteral("Garantía de la reducción"),
                    QSize(kAncho, kAlto + 2 * bajada_));
    setAccessibleName(QStringLiteral("Garantía de la reducción"));

    cabecera_ = QStringLiteral("Jornada %1, orden %2: %3")
                    .arg(reduccion_.Jornada)
                    .arg(reduccion_.Orden)
                    .arg(Utf8(Cp1252AUtf8(std::string(RecortaDer(NombreMetodoLargo(reduccion_.Metodo))))));
    // The minimal reduction promises 14 - R hits; the table below proves it.
    if (reduccion_.Metodo == 4)
        cabecera_ += QStringLiteral(", %1 %2")
                         .arg(reduccion_.MaxErrores)
                         .arg(reduccion_.MaxErrores == 1 ? QStringLiteral("error garantizado")
                                                         : QStringLiteral("errores garantizados"));

    const int yBotones = kAlto + 2 * bajada_ - TamBoton - 18;
    Pic_Cancelar->move(kAncho - 30 - 2 * TamBoton, yBotones);
    Pic_Salir->move(kAncho - 20 - TamBoton, yBotones);
    Pic_Cancelar->setAccessibleName(QStringLiteral("Cancelar el cálculo"));
    Pic_Salir->PonActivo(false);
    Tex_Estado = new TextoLeido(QStringLiteral("Tex_Estado"), QStringLiteral("Estado del cálculo"),
                                QRect(30, 64 + bajada_, 520, 18), this);
    Tab_Garantia = new TextoLeido(QStringLiteral("Tab_Garantia"), QStringLiteral("Tabla de la garantía"),
                                  AreaTabla(), this);
    Tex_Frase = new TextoLeido(QStringLiteral("Tex_Frase"), QStringLiteral("Garantía"), AreaTexto(), this);
    Tex_Condiciones = new TextoLeido(QStringLiteral("Tex_Condiciones"), QStringLiteral("Condiciones de la reducción"),
                                     QRect(30, 64, 520, kLineaCondiciones), this);
    if (bajada_) Tex_Condiciones->PonTexto(QStringLiteral("Condiciones: ") + TextoCondicionesVisto(condiciones_));
    Describe();
    connect(Pic_Cancelar, &BotonImagen::pulsado, this, [this] { Cancela(); });
    connect(Pic_Salir, &BotonImagen::pulsado, this, [this] {
        sv_.Sonar(Sonido::Salida);
        QDialog::reject();
    });
}

Garantia::~Garantia() {
    cancelar_ = true;
    if (trabajo_) trabajo_->wait();
}

QRect Garantia::AreaTabla() const { return QRect(30, 86 + bajada_, 250, 170); }
QRect Garantia::AreaGrafico() const { return QRect(300, 86 + bajada_, 250, 170); }
QRect Garantia::AreaTexto() const { return QRect(30, 272 + bajada_, 520, 62 + bajada_); }

void Garantia::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    // Started once the window is up: a Cancel pressed before then still counts.
    QTimer::singleShot(0, this, [this] {
        if (!trabajo_) Empieza();
    });
}

void Garantia::Empieza() {
    const std::string nombre = FicheroRed(reduccion_.Jornada, reduccion_.Orden);
    const std::filesystem::path ruta = st_.DirDatos / nombre;
    const Reduccion r = reduccion_;
    const Condiciones cs = condiciones_;
    // The worker never touches the window: progress and the result come back
    // as queued calls, run on the window's thread.
    trabajo_.reset(QThread::create([this, r, cs, ruta, nombre] {
        const ResultadoGarantia res = CalculaGarantia(
            r, cs, ruta, nombre,
            [this](int p) {
                QMetaObject::invokeMethod(
                    this,
                    [this, p] {
                        porcentaje_ = p;
                        Describe();
                        update();
                    },
                    Qt::QueuedConnection);
                if (AlAvanzar) AlAvanzar(p);
            },
            &cancelar_);
        QMetaObject::invokeMethod(
            this, [this, res] { Termina(res); }, Qt::QueuedConnection);
    }));
    Pic_Cancelar->setFocus();
    trabajo_->start();
}

void Garantia::Cancela() {
    if (fase_ != Fase::Calculando) return;
    sv_.Sonar(Sonido::Boton);
    cancelar_ = true;
}

void Garantia::Termina(const ResultadoGarantia& r) {
    trabajo_->wait();
    resultado_ = r;
    fase_ = r.fin == FinGarantia::Calculada   ? Fase::Hecha
            : r.fin == FinGarantia::Cancelada ? Fase::Cancelada
                                              : Fase::Fallida;
    Pic_Cancelar->hide();
    Pic_Salir->PonActivo(true);
    Pic_Salir->setFocus();
    Describe();
    update();
    emit terminada();
}

void Garantia::reject() {
    // Escape while it runs cancels; afterwards it leaves.
    if (fase_ == Fase::Calculando) {
        Cancela();
        return;
    }
    sv_.Sonar(Sonido::Salida);
    QDialog::reject();
}

void Garantia::Describe() {
    const Separadores sep = SeparadoresLocales();
    QString linea;
    switch (fase_) {
        case Fase::Calculando:
            linea = QStringLiteral("Calculando: %1 % de los resultados").arg(porcentaje_);
            break;
        case Fase::Cancelada: linea = QStringLiteral("El cálculo de la garantía ha sido cancelado."); break;
        case Fase::Fallida: linea = QStringLiteral("No se puede calcular la garantía."); break;
        case Fase::Hecha:
            linea = (resultado_.condicionada
                         ? QStringLiteral("%1 resultados de la quiniela base cumplen las condiciones, %2 columnas")
                         : QStringLiteral("%1 resultados dentro de la quiniela base, %2 columnas"))
                        .arg(Utf8(TextoResultados(resultado_.resultados, sep)))
                        .arg(Utf8(TextoResultados(resultado_.columnas, sep)));
            break;
    }
    Tex_Estado->PonTexto(linea);
    // Each row read with its column headings.
    QStringList filas;
    if (fase_ == Fase::Hecha)
        for (const FilaGarantia& f : FilasGarantia(resultado_))
            filas << QStringLiteral("%1 %2, %3 %4, %5 %6")
                         .arg(QString::fromUtf8(kCabeceraAciertos), Utf8(f.aciertos),
                              QString::fromUtf8(kCabeceraResultados), Utf8(TextoResultados(f.resultados, sep)),
                              QString::fromUtf8(kCabeceraPorcentaje), Utf8(TextoPorcentajeGarantia(f.porcentaje, sep)));
    Tab_Garantia->PonTexto(filas.join(QStringLiteral("; ")));
    QString texto;
    if (fase_ == Fase::Hecha) {
        // With conditions, also what is sure over the whole base.
        QStringList frases{Utf8(FraseGarantia(resultado_))};
        if (const std::string base = FraseGarantiaBase(resultado_); !base.empty()) frases << Utf8(base);
        frases << Utf8(FraseGarantiaFuera(resultado_));
        texto = frases.join(QLatin1Char('\n'));
    } else if (fase_ == Fase::Fallida)
        texto = Utf8(resultado_.mensaje);
    Tex_Frase->PonTexto(texto);
}

void Garantia::paintEvent(QPaintEvent*) {
    QPainter p(this);
    DibujaFondo(p, rect());
    EscribeRotulo(p, 30, 18, QStringLiteral("GARANTÍA DE LA REDUCCIÓN"));
    p.setFont(LetraCampo());
    p.setPen(ColorWin(Color::Blanco));
    p.drawText(QRect(30, 46, 520, 18), Qt::AlignLeft | Qt::AlignVCenter, cabecera_);

    const QRect condiciones = Tex_Condiciones->geometry();
    p.drawText(condiciones, Qt::AlignLeft | Qt::AlignVCenter,
               p.fontMetrics().elidedText(Tex_Condiciones->Texto(), Qt::ElideRight, condiciones.width()));
    p.drawText(Tex_Estado->geometry(), Qt::AlignLeft | Qt::AlignVCenter, Tex_Estado->Texto());

    DibujaTabla(p);
    DibujaGrafico(p);

    const QRect t = AreaTexto();
    Recuadro(p, t);
    p.setPen(ColorWin(Color::Negro));
    p.setFont(LetraCampo());
    p.drawText(t.adjusted(10, 4, -10, -4), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap,
               Tex_Frase->Texto());

    if (fase_ == Fase::Calculando) {
        // The progress bar, in the buttons' row.
        const QRect barra(30, kAlto + 2 * bajada_ - TamBoton - 8, 300, 20);
        Recuadro(p, barra);
        p.fillRect(
            QRect(barra.x() + 2, barra.y() + 2, (barra.width() - 4) * porcentaje_ / 100, barra.height() - 4),
            ColorWin(Color::VerdeOscuro));
    }
}

void Garantia::DibujaTabla(QPainter& p) const {
    const QRect a = AreaTabla();
    Recuadro(p, a);
    p.setPen(ColorWin(Color::Negro));
    p.setFont(LetraBoton());
    const int x0 = a.x() + 8, w = a.width() - 16;
    const int anchos[3] = {w * 40 / 100, w * 36 / 100, w - w * 40 / 100 - w * 36 / 100};
    auto fila = [&](int y, const QString& c0, const QString& c1, const QString& c2) {
        int x = x0;
        const QString c[3] = {c0, c1, c2};
        for (int k = 0; k < 3; ++k) {
            p.drawText(QRect(x, y, anchos[k], 22), (k ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter,
                       c[k]);
            x += anchos[k];
        }
    };
    fila(a.y() + 8, QString::fromUtf8(kCabeceraAciertos), QString::fromUtf8(kCabeceraResultados),
         QString::fromUtf8(kCabeceraPorcentaje));
    p.drawLine(x0, a.y() + 32, x0 + w, a.y() + 32);
    p.setFont(LetraCampo());
    if (fase_ != Fase::Hecha) return;
    const Separadores sep = SeparadoresLocales();
    int y = a.y() + 38;
    for (const FilaGarantia& f : FilasGarantia(resultado_)) {
        fila(y, Utf8(f.aciertos), Utf8(TextoResultados(f.resultados, sep)),
             Utf8(TextoPorcentajeGarantia(f.porcentaje, sep)));
        y += 25;
    }
}

void Garantia::DibujaGrafico(QPainter& p) const {
    const QRect a = AreaGrafico();
    Recuadro(p, a);
    if (fase_ != Fase::Hecha) return;
    const auto filas = FilasGarantia(resultado_);
    const int n = static_cast<int>(filas.size());
    const int base = a.bottom() - 26, alto = base - a.y() - 26;
    const int paso = (a.width() - 20) / n, ancho = paso - 12;
    p.setFont(LetraCampo());
    for (int k = 0; k < n; ++k) {
        const FilaGarantia& f = filas[static_cast<size_t>(k)];
        const int x = a.x() + 10 + k * paso + 6;
        const int h = static_cast<int>(alto * f.porcentaje / 100.0 + 0.5);
        if (h > 0) {
            const QRect barra(x, base - h, ancho, h);
            p.fillRect(barra.translated(3, 0).adjusted(0, 3, 0, 0), ColorWin(Color::VerdeMuyOscuro));
            p.fillRect(barra, ColorWin(f.aciertos == std::to_string(resultado_.minimo) ||
                                               (k == n - 1 && resultado_.minimo <= 10)
                                           ? Color::VerdeOscuro
                                           : Color::Verde));
        }
        p.setPen(ColorWin(Color::Negro));
        p.drawText(QRect(x - 6, base - h - 18, ancho + 12, 16), Qt::AlignCenter,
                   QString::number(static_cast<int>(f.porcentaje + 0.5)) + QStringLiteral(" %"));
        p.drawText(QRect(x - 6, base + 4, ancho + 12, 18), Qt::AlignCenter,
                   k == n - 1 ? QStringLiteral("≤10") : Utf8(f.aciertos));
    }
    p.setPen(ColorWin(Color::Gris));
    p.drawLine(a.x() + 8, base, a.right() - 8, base);
}

}  // namespace tobal
