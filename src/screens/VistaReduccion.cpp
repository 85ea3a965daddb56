#include "screens/VistaReduccion.h"

#include <QAccessibleWidget>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>

#include "app/Estado.h"
#include "app/Texto.h"
#include "data/Jornadas.h"
#include "platform/Colores.h"
#include "platform/Dibujo.h"
#include "platform/Recursos.h"
#include "platform/Servicios.h"
#include "platform/Sonidos.h"
#include "platform/TextoLeido.h"
#include "reduction/Almacen.h"
#include "reduction/Resumen.h"
#include "reduction/Tablas.h"
#include "screens/Condiciones.h"
#include "screens/Historic.h"

namespace tobal {

namespace {

constexpr const char* kSignos[] = {"", "1", "X", "2"};

QFont LetraVista(int pixeles = 12) {
    QFont f(QStringLiteral("Liberation Sans"));
    f.setPixelSize(pixeles);
    f.setBold(true);
    return f;
}

QString DeCp1252(std::string_view s) { return QString::fromStdString(Cp1252AUtf8(s)); }

// Text whose top-left corner is (x, y), as the original prints at CurrentX/Y.
void Escribe(QPainter& p, int x, int y, const QString& texto) {
    p.drawText(x, y + p.fontMetrics().ascent(), texto);
}

void EscribeDoble(QPainter& p, int x, int y, const QString& texto) {
    p.setPen(ColorWin(Color::Gris));
    Escribe(p, x, y, texto);
    p.setPen(ColorWin(Color::Amarillo));
    Escribe(p, x - 1, y - 1, texto);
}

// Two-line heading over a grid, in yellow over its shadow.
void Cabecera(QPainter& p, int x, int y, const QString& linea1, const QString& linea2) {
    p.setFont(LetraVista(11));
    for (const auto& [dy, texto] : {std::pair{0, linea1}, std::pair{16, linea2}}) {
        p.setPen(ColorWin(Color::VerdeMuyOscuro));
        Escribe(p, x + 1, y + dy + 1, texto);
        p.setPen(ColorWin(Color::Amarillo));
        Escribe(p, x, y + dy, texto);
    }
}

const QRect kCajaJornada(10, 8, 70, 44);
const QRect kCajaOrden(92, 8, 70, 44);
const QRect kCajaMetodo(174, 8, 176, 44);

// For assistive technology the drawn buttons are push buttons, unavailable
// while a run blocks them, and a drop-down box is a combo box whose value
// is the number it shows.
class BotonDibujadoAccesible : public QAccessibleWidget {
public:
    explicit BotonDibujadoAccesible(QWidget* w) : QAccessibleWidget(w, QAccessible::Button) {}
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& accion) override {
        auto* b = static_cast<BotonDibujado*>(widget());
        if (accion == pressAction() && !b->Bloqueado()) emit b->pulsado();
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.disabled = static_cast<BotonDibujado*>(widget())->Bloqueado();
        return s;
    }
};

class CajaAccesible : public QAccessibleWidget {
public:
    explicit CajaAccesible(QWidget* w) : QAccessibleWidget(w, QAccessible::ComboBox) {}
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) return static_cast<Caja*>(widget())->Valor().trimmed();
        return QAccessibleWidget::text(t);
    }
    QStringList actionNames() const override { return {showMenuAction()}; }
    void doAction(const QString& accion) override {
        if (accion == showMenuAction()) static_cast<Caja*>(widget())->Pulsa();
    }
};

QAccessibleInterface* FabricaAccesible(const QString& clase, QObject* objeto) {
    if (!objeto || !objeto->isWidgetType()) return nullptr;
    if (clase == QLatin1String("tobal::BotonDibujado"))
        return new BotonDibujadoAccesible(static_cast<QWidget*>(objeto));
    if (clase == QLatin1String("tobal::Caja")) return new CajaAccesible(static_cast<QWidget*>(objeto));
    return nullptr;
}

void InstalaFabricaAccesible() {
    static const bool hecho = (QAccessible::installFactory(FabricaAccesible), true);
    (void)hecho;
}

}  // namespace

void DibujaCaja(QPainter& p, int izq, int arriba, int der, int abajo, const QString& rotulo,
                const QString& valor) {
    p.save();
    const QRect caja(QPoint(izq, arriba), QPoint(der, abajo));
    p.fillRect(caja.translated(4, 4), ColorWin(Color::VerdeMuyOscuro));
    p.fillRect(caja, ColorWin(Color::GrisClaro));
    p.setPen(ColorWin(Color::Rojo));
    p.drawRect(caja);
    p.setFont(LetraVista(12));
    EscribeDoble(p, izq + 7, arriba + 4, rotulo);
    // A value longer than the box ends in an ellipsis.
    if (valor != QLatin1String(" "))
        EscribeDoble(p, izq + 7, arriba + 22, p.fontMetrics().elidedText(valor, Qt::ElideRight, der - izq - 14));
    p.restore();
}

void ImprimeResumen(QPainter& p, const QRect& caja, const Estado& st) {
    const std::vector<LineaResumen> lineas = LineasResumen(st.ReduccionActual, st.Datos.Precio);
    if (lineas.empty()) return;
    p.save();
    p.fillRect(caja, QColor(Qt::cyan));
    p.setPen(ColorWin(Color::Negro));
    p.drawRect(caja.adjusted(0, 0, -1, -1));
    p.setFont(LetraVista(11));
    // The values start after the longest label (the first line, a sentence
    // of its own, has none) and are never cut.
    int columna = 0;
    for (const LineaResumen& l : lineas)
        if (!l.valor.empty())
            columna = std::max(columna, p.fontMetrics().horizontalAdvance(QString::fromStdString(l.etiqueta)));
    columna += caja.left() + 14;
    int y = caja.top() + 5;
    for (const LineaResumen& l : lineas) {
        const QString etiqueta = QString::fromStdString(l.etiqueta);
        if (l.valor.empty())
            EscribeEntero(p, QRect(caja.left() + 8, y, caja.width() - 14, 15), Qt::AlignLeft | Qt::AlignTop,
                          etiqueta);
        else {
            Escribe(p, caja.left() + 8, y, etiqueta);
            EscribeEntero(p, QRect(columna, y, caja.right() - 6 - columna, 15), Qt::AlignLeft | Qt::AlignTop,
                          QString::fromStdString(l.valor));
        }
        y += 15;
    }
    p.restore();
}

// ---------------------------------------------------------------- Caja

Caja::Caja(const QString& nombreLista, const QString& rotulo, const QString& nombreAccesible,
           QWidget* pantalla, Servicios& sv)
    : QWidget(pantalla), lista_(new QListWidget(pantalla)), sv_(sv), rotulo_(rotulo) {
    InstalaFabricaAccesible();
    setObjectName(QStringLiteral("Caja_") + nombreLista.mid(4));
    setAccessibleName(nombreAccesible);
    setFocusPolicy(Qt::StrongFocus);
    lista_->setObjectName(nombreLista);
    lista_->setAccessibleName(QStringLiteral("Lista de ") + nombreAccesible.toLower());
    lista_->setFont(LetraCampo());
    lista_->setFlow(QListView::TopToBottom);
    lista_->setWrapping(true);
    lista_->setUniformItemSizes(true);
    lista_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    lista_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    lista_->installEventFilter(this);
    lista_->hide();
    setCursor(CursorPorNombre(QStringLiteral("ManoIndice")));
    connect(lista_, &QListWidget::itemClicked, this, [this] { Cierra(true); });
}

void Caja::PonRotulo(const QString& rotulo) {
    rotulo_ = rotulo;
    update();
}

void Caja::PonValor(const QString& valor) {
    valor_ = valor;
    setAccessibleDescription(valor.trimmed());
    update();
}

void Caja::PonItems(const QStringList& items, int filas) {
    if (Abierta()) lista_->hide();
    lista_->clear();
    lista_->addItems(items);
    const QFontMetrics fm(lista_->font());
    int ancho = 0;
    for (const QString& s : items) ancho = std::max(ancho, fm.horizontalAdvance(s));
    const QSize celda(ancho + 12, fm.height() + 2);
    lista_->setGridSize(celda);
    const int n = std::max<int>(1, int(items.size()));
    const int columnas = (n + filas - 1) / filas;
    const int filasVistas = std::min(n, filas);
    lista_->setFixedSize(columnas * celda.width() + 6, filasVistas * celda.height() + 6);
    lista_->move(x(), y() + height() + 2);
}

void Caja::Selecciona(int indice) {
    const QSignalBlocker bloqueo(lista_);
    lista_->setCurrentRow(indice);
}

void Caja::Pulsa() {
    if (bloqueada_ || cerrando_) return;
    if (Abierta()) {
        Cierra(true);
        return;
    }
    sv_.Sonar(Sonido::Abre);
    lista_->move(x(), y() + height() + 2);
    lista_->show();
    lista_->raise();
    lista_->setFocus(Qt::OtherFocusReason);
    if (lista_->currentItem()) lista_->scrollToItem(lista_->currentItem());
    update();
}

void Caja::Cierra(bool toma) {
    if (cerrando_ || !Abierta()) return;
    cerrando_ = true;
    const bool conFoco = lista_->hasFocus();
    lista_->hide();
    if (conFoco) setFocus(Qt::OtherFocusReason);
    update();
    sv_.Sonar(Sonido::Cierra);
    cerrando_ = false;
    if (toma && lista_->currentRow() >= 0) emit elegido(lista_->currentRow());
}

void Caja::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRect caja = rect().adjusted(0, 0, -5, -5);
    DibujaCaja(p, caja.left(), caja.top(), caja.right(), caja.bottom(), rotulo_, valor_);
    if (Abierta()) MarcaPulsado(p, caja.adjusted(1, 1, 0, 0));
    if (hasFocus()) {
        p.setPen(QPen(ColorWin(Color::Negro), 1, Qt::DotLine));
        p.drawRect(caja.adjusted(2, 2, -2, -2));
    }
}

void Caja::mousePressEvent(QMouseEvent* e) {
    e->accept();
    Pulsa();
}

void Caja::keyPressEvent(QKeyEvent* e) {
    switch (e->key()) {
        case Qt::Key_Space:
        case Qt::Key_Return:
        case Qt::Key_Enter: Pulsa(); return;
        default: QWidget::keyPressEvent(e);
    }
}

bool Caja::eventFilter(QObject* objeto, QEvent* evento) {
    if (objeto == lista_) {
        if (evento->type() == QEvent::KeyPress) {
            const int tecla = static_cast<QKeyEvent*>(evento)->key();
            if (tecla == Qt::Key_Return || tecla == Qt::Key_Enter || tecla == Qt::Key_Space) {
                Cierra(true);
                return true;
            }
            if (tecla == Qt::Key_Escape) {
                Cierra(false);
                return true;
            }
        } else if (evento->type() == QEvent::FocusOut && Abierta()) {
            const auto razon = static_cast<QFocusEvent*>(evento)->reason();
            // Switching to another window is not leaving the list.
            if (razon != Qt::ActiveWindowFocusReason && razon != Qt::PopupFocusReason) Cierra(true);
        }
    }
    return QWidget::eventFilter(objeto, evento);
}

// ---------------------------------------------------------------- RejillaVista

RejillaVista::RejillaVista(const QString& nombre, const QString& nombreAccesible, int columnas,
                           QWidget* pantalla)
    : QWidget(pantalla), columnas_(columnas) {
    setObjectName(nombre);
    setAccessibleName(nombreAccesible);
    setFixedSize(columnas * kAnchoCelda, kFilas * kAltoFila);
    setMouseTracking(true);
    PonEditable(false);
}

void RejillaVista::PonEditable(bool editable) {
    editable_ = editable;
    setFocusPolicy(editable ? Qt::StrongFocus : Qt::NoFocus);
    if (!editable) unsetCursor();
}

void RejillaVista::PonGeometria(std::function<std::pair<int, int>(QPoint)> celdaEn,
                                std::function<QRect(int, int)> rectCelda, QSize tamano) {
    celdaEn_ = std::move(celdaEn);
    rectCelda_ = std::move(rectCelda);
    setFixedSize(tamano);
    update();
}

QRect RejillaVista::RectCelda(int partido, int signo) const {
    if (rectCelda_) return rectCelda_(partido, signo);
    return QRect((signo - 1) * kAnchoCelda + 2, (partido - 1) * kAltoFila + 2, kAnchoCelda - 4,
                 kAltoFila - 4);
}

std::pair<int, int> RejillaVista::CeldaEn(QPoint punto) const {
    if (celdaEn_) return celdaEn_(punto);
    if (punto.x() < 0 || punto.y() < 0) return {0, 0};
    const int partido = punto.y() / kAltoFila + 1;
    const int signo = punto.x() / kAnchoCelda + 1;
    if (partido > kFilas || signo > columnas_) return {0, 0};
    if (!RectCelda(partido, signo).contains(punto)) return {0, 0};
    return {partido, signo};
}

void RejillaVista::Refresca() {
    update();
    if (hasFocus()) Describe();
}

void RejillaVista::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setFont(LetraVista(11));
    for (int m = 1; m <= kFilas; ++m)
        for (int s = 1; s <= columnas_; ++s) {
            const int e = Estado(m, s);
            if (e == SinCelda) continue;
            const QRect r = RectCelda(m, s);
            const QColor fondo = e == Marcada     ? ColorWin(Color::VerdeMuyOscuro)
                                 : e == Resaltada ? ColorWin(Color::Rojo)
                                                  : ColorWin(Color::GrisClaro);
            p.fillRect(r, fondo);
            p.setPen(ColorWin(Color::Negro));
            p.drawRect(r.adjusted(0, 0, -1, -1));
            if (columnas_ == 3) {
                p.setPen(e == Vacia ? ColorWin(Color::Gris)
                                    : ColorWin(e == Marcada ? Color::Amarillo : Color::Blanco));
                p.drawText(r, Qt::AlignCenter, QString::fromLatin1(kSignos[s]));
            } else if (e != Vacia) {
                p.setBrush(ColorWin(Color::Amarillo));
                p.setPen(Qt::NoPen);
                p.drawEllipse(r.center() + QPoint(1, 1), 4, 4);
                p.setBrush(Qt::NoBrush);
            }
        }
    if (hasFocus()) {
        p.setPen(QPen(ColorWin(Color::Blanco), 1, Qt::DotLine));
        p.drawRect(RectCelda(focoPartido_, focoSigno_).adjusted(-2, -2, 1, 1));
    }
}

void RejillaVista::mousePressEvent(QMouseEvent* e) {
    e->accept();
    if (!editable_) return;
    const auto [m, s] = CeldaEn(e->position().toPoint());
    if (m == 0) return;
    focoPartido_ = m;
    focoSigno_ = s;
    emit pulsada(m, s);
    Refresca();
}

void RejillaVista::mouseMoveEvent(QMouseEvent* e) {
    if (!editable_) return;
    const auto [m, s] = CeldaEn(e->position().toPoint());
    const int estadoCelda = m ? Estado(m, s) : SinCelda;
    if (estadoCelda == SinCelda)
        unsetCursor();
    else
        PonCursor(this, estadoCelda == Vacia ? QStringLiteral("lapiz") : QStringLiteral("goma"));
}

void RejillaVista::keyPressEvent(QKeyEvent* e) {
    int m = focoPartido_, s = focoSigno_;
    switch (e->key()) {
        case Qt::Key_Up: m = std::max(1, m - 1); break;
        case Qt::Key_Down: m = std::min(kFilas, m + 1); break;
        case Qt::Key_Left: s = std::max(1, s - 1); break;
        case Qt::Key_Right: s = std::min(columnas_, s + 1); break;
        case Qt::Key_Home: m = 1; break;
        case Qt::Key_End: m = kFilas; break;
        case Qt::Key_Space:
            if (editable_) emit pulsada(m, s);
            Refresca();
            return;
        default: QWidget::keyPressEvent(e); return;
    }
    focoPartido_ = m;
    focoSigno_ = s;
    Refresca();
}

void RejillaVista::focusInEvent(QFocusEvent* e) {
    QWidget::focusInEvent(e);
    Describe();
    update();
}

void RejillaVista::focusOutEvent(QFocusEvent* e) {
    QWidget::focusOutEvent(e);
    update();
}

void RejillaVista::Describe() {
    QString texto = QStringLiteral("Partido %1").arg(focoPartido_);
    if (columnas_ == 3) texto += QStringLiteral(", signo ") + QString::fromLatin1(kSignos[focoSigno_]);
    switch (Estado(focoPartido_, focoSigno_)) {
        case Marcada: texto += QStringLiteral(": marcado"); break;
        case Resaltada: texto += QStringLiteral(": elegido"); break;
        case Vacia: texto += QStringLiteral(": sin marcar"); break;
        default: texto += QStringLiteral(": no se puede marcar"); break;
    }
    setAccessibleDescription(texto);
}

// ---------------------------------------------------------------- BotonDibujado

BotonDibujado::BotonDibujado(const QString& nombre, const QString& rotulo, QWidget* pantalla)
    : QWidget(pantalla), rotulo_(rotulo) {
    InstalaFabricaAccesible();
    setObjectName(nombre);
    setAccessibleName(rotulo.trimmed());
    setFocusPolicy(Qt::StrongFocus);
    setCursor(CursorPorNombre(QStringLiteral("ManoIndice")));
}

void BotonDibujado::PonRotulo(const QString& rotulo) {
    rotulo_ = rotulo;
    setAccessibleName(rotulo.trimmed());
    update();
}

void BotonDibujado::paintEvent(QPaintEvent*) {
    QPainter p(this);
    DibujaBoton(p, 0, 0, width() - 6, height() - 6, rotulo_, hundido_);
    if (hasFocus()) {
        p.setPen(QPen(ColorWin(Color::Negro), 1, Qt::DotLine));
        p.drawRect(QRect(3, 3, width() - 13, height() - 13));
    }
}

void BotonDibujado::mousePressEvent(QMouseEvent* e) {
    e->accept();
    if (bloqueado_) return;
    hundido_ = true;
    update();
}

void BotonDibujado::mouseReleaseEvent(QMouseEvent* e) {
    e->accept();
    if (!hundido_) return;
    hundido_ = false;
    update();
    if (rect().contains(e->position().toPoint()) && !bloqueado_) emit pulsado();
}

void BotonDibujado::keyPressEvent(QKeyEvent* e) {
    if ((e->key() == Qt::Key_Space || e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) &&
        !bloqueado_) {
        emit pulsado();
        return;
    }
    QWidget::keyPressEvent(e);
}

// ---------------------------------------------------------------- VistaReduccion

VistaReduccion::VistaReduccion(QWidget* pantalla, Estado& st, Servicios& sv)
    : QObject(pantalla),
      Jornada(new Caja(QStringLiteral("Lis_Jornadas"), QStringLiteral("Jornada"), QStringLiteral("Jornada"),
                       pantalla, sv)),
      Orden(new Caja(QStringLiteral("Lis_Orden"), QStringLiteral("Orden: "), QStringLiteral("Orden"),
                     pantalla, sv)),
      Pic_Base(new RejillaVista(QStringLiteral("Pic_Base"), QStringLiteral("Quiniela base"), 3, pantalla)),
      Pic_Elegir(
          new RejillaVista(QStringLiteral("Pic_Elegir"), QStringLiteral("Partidos reducidos"), 1, pantalla)),
      Pic_ColBas(
          new RejillaVista(QStringLiteral("Pic_ColBas"), QStringLiteral("Columna probable"), 3, pantalla)),
      pantalla_(pantalla),
      st_(st),
      sv_(sv) {
    Jornada->setGeometry(kCajaJornada.adjusted(0, 0, 5, 5));
    Orden->setGeometry(kCajaOrden.adjusted(0, 0, 5, 5));
    if (EsPantalla("Reducir")) {
        Metodo = new Caja(QStringLiteral("Lis_Metodos"), QStringLiteral("Método reductivo:"),
                          QStringLiteral("Método reductivo"), pantalla, sv);
        Metodo->setGeometry(kCajaMetodo.adjusted(0, 0, 5, 5));
        Pic_SeleccionarTodo = new BotonDibujado(QStringLiteral("Pic_SeleccionarTodo"),
                                                QStringLiteral("Seleccionar todo"), pantalla);
        Pic_BorrarTodo =
            new BotonDibujado(QStringLiteral("Pic_BorrarTodo"), QStringLiteral("  Borrar todo"), pantalla);
        Pic_SeleccionarTodo->setGeometry(30, 380, 146, 31);
        Pic_BorrarTodo->setGeometry(190, 380, 146, 31);
    }
    if (EsPantalla("escrutin")) {
        Pic_Ganadora =
            new RejillaVista(QStringLiteral("Pic_Ganadora"), QStringLiteral("Columna ganadora"), 3, pantalla);
        Pic_Ganadora->move(kXColBas + 80, kYRejillas);
    }
    if (!EsPantalla("Reducir"))
        Tex_Condiciones = new TextoLeido(QStringLiteral("Tex_Condiciones"), QStringLiteral("Condiciones de la reducción"),
                                         kCajaCondiciones, pantalla);
    Pic_Base->move(kXBase, kYRejillas);
    Pic_Elegir->move(kXElegir, kYRejillas);
    Pic_ColBas->move(kXColBas, kYRejillas);

    const Reduccion& r = st_.ReduccionActual;
    Pic_Base->estado = [&r](int m, int s) -> int {
        return r.Partidos[m].Signo[s] ? RejillaVista::Marcada : RejillaVista::Vacia;
    };
    Pic_Elegir->estado = [&r](int m, int) -> int {
        if (m == 15) return int(RejillaVista::SinCelda);
        return r.Partidos[m].AReducir == 1 ? RejillaVista::Marcada : RejillaVista::Vacia;
    };
    Pic_ColBas->estado = [&r](int m, int s) -> int {
        const Partido& p = r.Partidos[m];
        if (m == 15 || p.AReducir != 1 || !p.Signo[s]) return int(RejillaVista::SinCelda);
        return p.SignoBase == s ? RejillaVista::Resaltada : RejillaVista::Vacia;
    };
}

bool VistaReduccion::EsPantalla(const char* nombre) const {
    return pantalla_->objectName().compare(QLatin1String(nombre), Qt::CaseInsensitive) == 0;
}

void VistaReduccion::LlenaListas() {
    QStringList jornadas;
    for (const std::string& s : ItemsListaJornadas(st_.Datos.TotJornadas))
        jornadas << QString::fromStdString(s);
    Jornada->PonItems(jornadas);
    QStringList ordenes;
    for (int o = 1; o <= 30; ++o) ordenes << QString::number(o).rightJustified(2);
    Orden->PonItems(ordenes);
    Jornada->Selecciona(st_.Jornada() - 1);
    Orden->Selecciona(st_.Orden() - 1);
    if (Metodo) {
        QStringList metodos;
        for (int m = 1; m <= kMetodos; ++m) metodos << DeCp1252(NombreMetodoCorto(m));
        Metodo->PonItems(metodos);
        Metodo->Selecciona(st_.Metodo() - 1);
    }
}

bool VistaReduccion::EligeEnIndice() {
    sv_.Sonar(Sonido::Boton);
    Historic indice(st_, sv_, pantalla_);
    indice.exec();
    if (st_.IndiceElegido == Falso) return false;
    Jornada->Selecciona(st_.Jornada() - 1);
    Orden->Selecciona(st_.Orden() - 1);
    return true;
}

void VistaReduccion::PreparaVistaReduccion() {
    CargaReduccion(st_);
    Coloca();
    LlenaListas();
    pantalla_->unsetCursor();
}

void VistaReduccion::Coloca() {
    Pic_ColBas->setVisible(st_.Metodo() == 2);
    Actualiza();
}

void VistaReduccion::Actualiza() {
    Jornada->PonValor(QString::number(st_.Jornada()));
    Orden->PonValor(QString::number(st_.Orden()));
    if (Metodo) Metodo->PonValor(DeCp1252(Recorta(NombreMetodoCorto(st_.Metodo()))));
    for (RejillaVista* r : {Pic_Base, Pic_Elegir, Pic_ColBas}) r->Refresca();
    if (Pic_Ganadora) Pic_Ganadora->Refresca();
    if (Tex_Condiciones) Tex_Condiciones->PonTexto(TextoCondicionesVisto(st_.CondicionesActuales));
    pantalla_->update();
}

void VistaReduccion::DibujaReduccion(QPainter& p) const {
    p.save();
    Cabecera(p, kXBase, 60, QStringLiteral("Quiniela     Partidos"), QStringLiteral("base      reducidos"));
    if (st_.Metodo() == 2) {
        Cabecera(p, kXColBas - 14, 60, QStringLiteral("     Columna"), QStringLiteral("    probable"));
        if (EsPantalla("Reducir"))
            Cabecera(p, 410, 104, QStringLiteral("Errores"), QStringLiteral("permitidos:"));
    }
    if (st_.Metodo() == 4 && EsPantalla("Reducir"))
        Cabecera(p, 340, 104, QStringLiteral("Errores"), QStringLiteral("garantizados:"));
    if (EsPantalla("consredu")) {
        // The slider track between the two ends of the thumb's travel.
        p.setPen(ColorWin(Color::Negro));
        p.fillRect(QRect(kIzqPista, kYPista + 8, kDerPista - kIzqPista + 30, 6),
                   ColorWin(Color::VerdeMuyOscuro));
        p.setPen(ColorWin(Color::Verde));
        p.drawLine(kIzqPista, kYPista + 14, kDerPista + 30, kYPista + 14);
    }
    if (Pic_Ganadora)
        Cabecera(p, Pic_Ganadora->x(), 60, QStringLiteral("Columna"), QStringLiteral("Ganadora"));
    if (Tex_Condiciones && !Tex_Condiciones->Texto().isEmpty()) {
        const QRect& c = kCajaCondiciones;
        DibujaCaja(p, c.left(), c.top(), c.right(), c.bottom(), QStringLiteral("Condiciones:"), Tex_Condiciones->Texto());
    }

    // The match lines beside the grids; the units line up.
    p.setFont(LetraVista(11));
    p.setPen(ColorWin(Color::Blanco));
    for (int m = 1; m <= 15; ++m) {
        const int y = 80 + 18 * m;
        Escribe(p, m < 10 ? 9 : 3, y, QString::number(m));
        Escribe(p, 18, y, LineaPartido(m));
    }
    p.restore();
}

QString VistaReduccion::LineaPartido(int m) const {
    const QFontMetrics fm(LetraVista(11));
    const QString local = DeCp1252(NombreEquipo(st_.RegJornada, 2 * m - 1));
    const QString visitante = DeCp1252(NombreEquipo(st_.RegJornada, 2 * m));
    const QString guion = !local.isEmpty() && !visitante.isEmpty() ? QStringLiteral(" - ") : QString();
    const QString linea = QStringLiteral(". ") + local + guion + visitante;
    if (fm.horizontalAdvance(linea) <= kAnchoLinea) return linea;
    // Too long for the room beside the grids: a name gives up its end ("…"
    // shows where), the home team keeping at least half the room.
    const int resto = kAnchoLinea - fm.horizontalAdvance(QStringLiteral(". ") + guion);
    const QString localCorto =
        fm.elidedText(local, Qt::ElideRight, std::max(resto / 2, resto - fm.horizontalAdvance(visitante)));
    return QStringLiteral(". ") + localCorto + guion +
           fm.elidedText(visitante, Qt::ElideRight, resto - fm.horizontalAdvance(localCorto));
}

}  // namespace tobal
