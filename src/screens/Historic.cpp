#include "screens/Historic.h"

#include <algorithm>

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QShortcut>

#include "app/Estado.h"
#include "app/Texto.h"
#include "platform/BotonImagen.h"
#include "platform/Colores.h"
#include "platform/Dibujo.h"
#include "platform/Recursos.h"
#include "platform/Servicios.h"
#include "platform/Sonidos.h"
#include "reduction/Condiciones.h"
#include "screens/Condiciones.h"

namespace tobal {

namespace {

constexpr int kMargen = 15;
constexpr int kYCarpeta = 52;
constexpr int kAncho = Carpeta::kAncho + 2 * kMargen;
constexpr int kAlto = kYCarpeta + Carpeta::kAlto + TamBoton + 30;

// The page's lines start 34 pixels down the folder, 16 apart; the headings
// take the two rows above.
constexpr int kPrimeraLinea = 34;
constexpr int kAltoLinea = 16;
constexpr int kXTexto = 20;
constexpr int kLadoEsquina = 25;  // paging zones: 25 x 16 at the bottom corners
constexpr int kAltoEsquina = 16;

QFont LetraFija() {
    QFont f(QStringLiteral("Liberation Mono"));
    f.setStyleHint(QFont::TypeWriter);
    f.setPixelSize(12);
    return f;
}

QString Texto(const std::string& linea) { return QString::fromStdString(Cp1252AUtf8(linea.substr(0, 83))); }

// An index line as a screen reader says it: each figure after the heading
// of its column; empty columns left out.
QString LineaLeida(const std::string& linea) {
    struct Columna {
        const char* cabecera;
        size_t inicio, largo;  // 1-based
    };
    static const Columna columnas[] = {
        {"Jornada", 2, 2},         {"Fecha", 5, 8},          {"Orden", 15, 2},
        {"Método de reducción", 19, 19}, {"Errores mínimo", 40, 2}, {"Errores máximo", 44, 2},
        {"Signos 1", 49, 2},       {"Signos X", 53, 2},      {"Signos 2", 57, 2},
        {"Apuestas directas", 62, 8}, {"Apuestas reducidas", 74, 8}};
    QStringList partes;
    for (const Columna& c : columnas) {
        if (linea.size() < c.inicio) break;
        const QString valor = QString::fromStdString(Cp1252AUtf8(linea.substr(c.inicio - 1, c.largo))).trimmed();
        if (!valor.isEmpty()) partes << QString::fromUtf8(c.cabecera) + QStringLiteral(": ") + valor;
    }
    return partes.join(QStringLiteral(", "));
}

const QColor kPapel(250, 240, 200);
const QColor kBorde(120, 90, 40);
const QColor kPestana(230, 205, 140);

}  // namespace

Carpeta::Carpeta(Historic& indice) : QWidget(&indice), h_(indice) {
    setObjectName(QStringLiteral("Pic_Carpeta"));
    setAccessibleName(QStringLiteral("Índice de reducciones"));
    setFixedSize(kAncho, kAlto);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
}

void Carpeta::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const int w = width(), h = height();
    // The folder: paper with a darker band behind the headings and a corner
    // turned up at each side where a page can be turned.
    p.fillRect(rect(), kPapel);
    p.fillRect(QRect(0, 0, w, kPrimeraLinea - 1), kPestana);
    p.setPen(kBorde);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    p.drawLine(0, kPrimeraLinea - 1, w, kPrimeraLinea - 1);
    const bool siguiente = HayPaginaSiguiente(h_.Superior(), h_.TotalLineas());
    const bool anterior = HayPaginaAnterior(h_.Superior());
    p.setRenderHint(QPainter::Antialiasing);
    for (bool derecha : {false, true}) {
        const bool activa = derecha ? siguiente : anterior;
        const int x0 = derecha ? w - 1 - kLadoEsquina : 0;
        QPainterPath doblez;
        if (derecha) {
            doblez.moveTo(w - 1, h - 1 - kAltoEsquina);
            doblez.lineTo(w - 1 - kLadoEsquina, h - 1);
            doblez.lineTo(w - 1 - kLadoEsquina, h - 1 - kAltoEsquina);
        } else {
            doblez.moveTo(0, h - 1 - kAltoEsquina);
            doblez.lineTo(kLadoEsquina, h - 1);
            doblez.lineTo(kLadoEsquina, h - 1 - kAltoEsquina);
        }
        doblez.closeSubpath();
        p.fillPath(doblez, activa ? kPestana : kPapel.darker(110));
        p.setPen(kBorde);
        p.drawPath(doblez);
        if (!activa) continue;
        // An arrow pointing the way the page turns.
        const int cx = x0 + (derecha ? 17 : 8), cy = h - 1 - 5;
        const int s = derecha ? 1 : -1;
        QPolygon flecha({QPoint(cx + 4 * s, cy), QPoint(cx - 3 * s, cy - 4), QPoint(cx - 3 * s, cy + 4)});
        p.setBrush(ColorWin(Color::Negro));
        p.drawPolygon(flecha);
        p.setBrush(Qt::NoBrush);
    }
    p.setRenderHint(QPainter::Antialiasing, false);

    p.setFont(LetraFija());
    const int ascenso = p.fontMetrics().ascent();
    p.setPen(ColorWin(Color::Negro));
    p.drawText(kXTexto, 2 + ascenso, Texto(kCabeceraIndice1));
    p.drawText(kXTexto, 2 + kAltoLinea + ascenso, Texto(kCabeceraIndice2));
    // A reduction with conditions is marked after its line, under a
    // heading shown only when some reduction has them.
    const int xCabecera = kXTexto + p.fontMetrics().horizontalAdvance(QString(83, QLatin1Char(' ')));
    const int xMarca = xCabecera + p.fontMetrics().horizontalAdvance(QStringLiteral("C"));
    bool conCondiciones = false;
    for (int i = 0; i < h_.TotalLineas() && !conCondiciones; ++i)
        conCondiciones = !h_.MarcaCondiciones(i).isEmpty();
    if (conCondiciones) p.drawText(xCabecera, 2 + kAltoLinea + ascenso, QStringLiteral("Cond"));
    p.setPen(QColor(0, 0, 255));
    for (int i = 0; i < kLineasPagina && h_.Superior() + i < h_.TotalLineas(); ++i) {
        const int y = kPrimeraLinea + i * kAltoLinea + 1 + ascenso;
        p.drawText(kXTexto, y, Texto(h_.Lineas()[h_.Superior() + i]));
        p.drawText(xMarca, y, h_.MarcaCondiciones(h_.Superior() + i));
    }

    if (hasFocus() && h_.Superior() + marcada_ < h_.TotalLineas()) {
        p.setPen(QPen(ColorWin(Color::Negro), 1, Qt::DotLine));
        p.drawRect(
            QRect(kXTexto - 4, kPrimeraLinea + marcada_ * kAltoLinea + 2, w - kXTexto - 4, kAltoLinea - 3));
    }
}

void Carpeta::mousePressEvent(QMouseEvent* e) {
    e->accept();
    const QPoint pt = e->position().toPoint();
    h_.PulsaCarpeta(pt.x(), pt.y());
}

void Carpeta::mouseMoveEvent(QMouseEvent* e) {
    const QPoint pt = e->position().toPoint();
    const int w = width(), h = height();
    const bool abajo = pt.y() >= h - kAltoEsquina && pt.y() <= h;
    // The corners show whether a page can be turned there; a line whether
    // it can be picked.
    if (abajo && pt.x() >= w - kLadoEsquina)
        setCursor(HayPaginaSiguiente(h_.Superior(), h_.TotalLineas())
                      ? CursorPorNombre(QStringLiteral("ManoIndice"))
                      : QCursor(Qt::ForbiddenCursor));
    else if (abajo && pt.x() <= kLadoEsquina)
        setCursor(HayPaginaAnterior(h_.Superior()) ? CursorPorNombre(QStringLiteral("ManoIndice"))
                                                   : QCursor(Qt::ForbiddenCursor));
    else if (pt.x() > 15 && pt.x() < w - 6 && HallaCualLinea(pt.y(), h_.Superior(), h_.TotalLineas()) != 99)
        PonCursor(this, QStringLiteral("ManoIndice"));
    else
        unsetCursor();
}

void Carpeta::keyPressEvent(QKeyEvent* e) {
    const int enPagina = std::min(kLineasPagina, h_.TotalLineas() - h_.Superior());
    switch (e->key()) {
        case Qt::Key_Down:
            if (marcada_ + 1 < enPagina)
                Marca(marcada_ + 1);
            else if (HayPaginaSiguiente(h_.Superior(), h_.TotalLineas())) {
                h_.PasaPagina(1);
                Marca(0);
            }
            break;
        case Qt::Key_Up:
            if (marcada_ > 0)
                Marca(marcada_ - 1);
            else if (HayPaginaAnterior(h_.Superior())) {
                h_.PasaPagina(-1);
                Marca(kLineasPagina - 1);
            }
            break;
        case Qt::Key_PageDown:
            if (HayPaginaSiguiente(h_.Superior(), h_.TotalLineas())) h_.PasaPagina(1);
            break;
        case Qt::Key_PageUp:
            if (HayPaginaAnterior(h_.Superior())) h_.PasaPagina(-1);
            break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
            if (marcada_ < enPagina) h_.Elige(marcada_);
            break;
        default: QWidget::keyPressEvent(e); return;
    }
    e->accept();
}

void Carpeta::Marca(int linea) {
    const int enPagina = std::min(kLineasPagina, h_.TotalLineas() - h_.Superior());
    marcada_ = std::clamp(linea, 0, std::max(0, enPagina - 1));
    QString leida = QStringLiteral("No hay reducciones");
    if (enPagina > 0) {
        leida = LineaLeida(h_.Lineas()[h_.Superior() + marcada_]);
        if (const QString c = h_.CondicionesLinea(h_.Superior() + marcada_); !c.isEmpty())
            leida += QStringLiteral(", Condiciones: ") + c;
    }
    setAccessibleDescription(leida);
    update();
}

void Carpeta::focusInEvent(QFocusEvent* e) {
    QWidget::focusInEvent(e);
    update();
}

void Carpeta::focusOutEvent(QFocusEvent* e) {
    QWidget::focusOutEvent(e);
    update();
}

Historic::Historic(Estado& st, Servicios& sv, QWidget* padre) : QDialog(padre), st_(st), sv_(sv) {
    PreparaPantalla(this, QStringLiteral("Historic"), QStringLiteral("Fichero Histórico de resultados"),
                    QSize(kAncho, kAlto));

    st_.IndiceElegido = Falso;
    indice_ = CargaIndice(st_);

    for (const std::string& l : indice_.lineas) {
        Condiciones cs;
        std::string fallo;
        if (l.size() < 16) {
            condiciones_.emplace_back();
            ilegibles_.push_back(false);
            continue;
        }
        // The key as picking the line reads it.
        const int jornada = int(ValEntero(std::string_view(l).substr(1, 2)));
        const int orden = int(ValEntero(std::string_view(l).substr(14, 2)));
        const int e = LeeCondicionesReduccion(st_, jornada, orden, cs, &fallo);
        ilegibles_.push_back(e != 0);
        condiciones_.push_back(e == 0 ? TextoCondicionesVisto(cs)
                                      : QStringLiteral("el fichero %1 no se puede leer")
                                            .arg(QString::fromStdString(FicheroCon(jornada, orden))));
    }
    Pic_Carpeta = new Carpeta(*this);
    Pic_Carpeta->move(kMargen, kYCarpeta);
    // The exit button wears the picture of the menu's Pic_Salir.
    Pic_BotSalir = new BotonImagen(QStringLiteral("Pic_Salir"), this);
    Pic_BotSalir->setObjectName(QStringLiteral("Pic_BotSalir"));
    Pic_BotSalir->setAccessibleName(QStringLiteral("Salir"));
    Pic_BotSalir->move(kAncho - kMargen - TamBoton, kAlto - TamBoton - 14);
    connect(Pic_BotSalir, &BotonImagen::pulsado, this, [this] { Sal(); });
    // Escape leaves as the exit button does.
    new QShortcut(QKeySequence(Qt::Key_Escape), this, [this] { Pic_BotSalir->Pulsa(); });

    Pic_Carpeta->Marca(indice_.actual >= 0 ? indice_.actual - indice_.superior : 0);
    Pic_Carpeta->setFocus();
}

QString Historic::CondicionesLinea(int i) const {
    return i >= 0 && i < int(condiciones_.size()) ? condiciones_[size_t(i)] : QString();
}

QString Historic::MarcaCondiciones(int i) const {
    if (CondicionesLinea(i).isEmpty()) return {};
    return ilegibles_[size_t(i)] ? QStringLiteral("?") : QStringLiteral("C");
}

void Historic::PulsaCarpeta(int x, int y) {
    int linea = 99;
    switch (ZonaEnCarpeta(x, y, Pic_Carpeta->width(), Pic_Carpeta->height(), indice_.superior, TotalLineas(),
                          linea)) {
        case ZonaCarpeta::Siguiente: PasaPagina(1); break;
        case ZonaCarpeta::Anterior: PasaPagina(-1); break;
        case ZonaCarpeta::Linea: Elige(linea); break;
        case ZonaCarpeta::Nada: break;
    }
}

void Historic::PasaPagina(int paso) {
    sv_.Sonar(Sonido::Pagina);
    sv_.Pausa(50);
    indice_.superior += paso * kLineasPagina;
    Pic_Carpeta->Marca(Pic_Carpeta->Marcada());
    Pic_Carpeta->update();
}

void Historic::Elige(int linea) {
    if (EligeLineaIndice(st_, indice_, linea)) accept();
}

void Historic::Sal() {
    sv_.Sonar(Sonido::Salida);
    reject();
}

void Historic::paintEvent(QPaintEvent*) {
    QPainter p(this);
    DibujaFondo(p, rect());
    EscribeRotulo(p, kMargen + 5, 16, QStringLiteral("ÍNDICE DE REDUCCIONES"));
}

}  // namespace tobal
