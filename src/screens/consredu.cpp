#include "screens/consredu.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>

#include "app/ErrorFichero.h"
#include "app/Estado.h"
#include "app/Formato.h"
#include "app/Informador.h"
#include "app/Texto.h"
#include "data/Jornadas.h"
#include "platform/Ayuda.h"
#include "platform/BotonImagen.h"
#include "platform/Colores.h"
#include "platform/Dibujo.h"
#include "platform/Recursos.h"
#include "platform/Servicios.h"
#include "platform/Sonidos.h"
#include "platform/TextoLeido.h"
#include "reduction/Almacen.h"
#include "reduction/Resumen.h"
#include "reduction/Tablas.h"
#include "screens/Garantia.h"
#include "screens/VistaReduccion.h"

namespace tobal {

namespace {

constexpr int kAncho = 720;
constexpr int kAlto = 520;
constexpr int kAnchoPulgar = 30;
constexpr int kXGrupo = 12;     // first group of 8 columns in the page area
constexpr int kPasoGrupo = 96;  // from one group to the next
constexpr int kPasoSigno = 9;   // from one column to the next
const QRect kPagina(406, 60, 304, 314);
const QRect kResumen(10, 384, 390, 100);
const QRect kTotal(VistaReduccion::kIzqPista, VistaReduccion::kYPista + 28, 230, 20);
const QRect kCajaMetodo(174, 8, 176, 44);

QFont LetraPagina() {
    QFont f(QStringLiteral("Liberation Mono"));
    f.setPixelSize(13);
    f.setBold(true);
    return f;
}

// The page area: three groups of 8 columns under their ticket headings, one
// line per match beside the match lines of the view.
class Pagina : public QWidget {
public:
    explicit Pagina(consredu* pantalla) : QWidget(pantalla), c_(pantalla) {
        setObjectName(QStringLiteral("Pic_Colum"));
        setAccessibleName(QStringLiteral("Columnas de la reducción"));
        setFocusPolicy(Qt::StrongFocus);
    }
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), ColorWin(Color::Blanco));
        p.setPen(ColorWin(Color::Negro));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
        QFont cabecera(QStringLiteral("Liberation Sans"));
        cabecera.setPixelSize(11);
        cabecera.setBold(true);
        p.setFont(cabecera);
        p.setPen(ColorWin(Color::VerdeOscuro));
        for (int g = 0; g < 3; ++g)
            p.drawText(QRect(kXGrupo + g * kPasoGrupo - 4, 2, kPasoGrupo, 16),
                       Qt::AlignLeft | Qt::AlignVCenter, c_->Cabeceras()[size_t(g)]);
        p.setPen(QPen(ColorWin(Color::Rojo), 2));
        p.drawLine(4, 30, width() - 5, 30);
        p.setFont(LetraPagina());
        p.setPen(ColorWin(Color::Negro));
        const int ascenso = p.fontMetrics().ascent();
        for (int m = 1; m <= 15; ++m) {
            const QString& linea = c_->Lineas()[size_t(m)];
            // Row m lies beside the match line of the view: y = 80 + 18 m on the screen.
            const int y = 80 + 18 * m - kPagina.top() + ascenso;
            for (int k = 0; k < linea.size() && k < consredu::kColumnasPagina; ++k)
                p.drawText(kXGrupo + (k / 8) * kPasoGrupo + (k % 8) * kPasoSigno, y, QString(linea[k]));
        }
        if (hasFocus()) {
            p.setPen(QPen(ColorWin(Color::Negro), 1, Qt::DotLine));
            p.drawRect(rect().adjusted(2, 2, -3, -3));
        }
    }

private:
    consredu* c_;
};

// A page arrow: a BotonImagen that draws a triangle instead of a picture.
class Flecha : public BotonImagen {
public:
    Flecha(const QString& nombre, bool derecha, QWidget* padre)
        : BotonImagen(nombre, padre), derecha_(derecha) {
        setFixedSize(26, 26);
        setAccessibleName(derecha ? QStringLiteral("Página siguiente") : QStringLiteral("Página anterior"));
        setFocusPolicy(Qt::NoFocus);
    }
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.fillRect(rect(), ColorWin(Color::GrisClaro));
        p.setPen(ColorWin(Color::Negro));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
        p.setBrush(Activo() ? ColorWin(Color::VerdeOscuro) : ColorWin(Color::Gris));
        const int w = width(), h = height();
        const QPolygon triangulo = derecha_
                                       ? QPolygon({QPoint(8, 5), QPoint(w - 7, h / 2), QPoint(8, h - 5)})
                                       : QPolygon({QPoint(w - 8, 5), QPoint(7, h / 2), QPoint(w - 8, h - 5)});
        p.drawPolygon(triangulo);
    }

private:
    bool derecha_;
};

class Pulgar : public QWidget {
public:
    explicit Pulgar(QWidget* padre) : QWidget(padre) {
        setObjectName(QStringLiteral("Pic_Boton"));
        setAccessibleName(QStringLiteral("Posición en la reducción"));
        setFixedSize(kAnchoPulgar, 20);
    }
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        DibujaBoton(p, 0, 0, width() - 4, height() - 4, QString(), false);
    }
};

}  // namespace

consredu::consredu(Estado& st, Servicios& sv, QWidget* padre) : QDialog(padre), st_(st), sv_(sv) {
    PreparaPantalla(this, QStringLiteral("consredu"), QStringLiteral("Consulta Reducciones"),
                    QSize(kAncho, kAlto));

    vista = new VistaReduccion(this, st_, sv_);
    Pic_Colum = new Pagina(this);
    Pic_Colum->setGeometry(kPagina);
    Pic_FleIzq = new Flecha(QStringLiteral("Pic_FleIzq"), false, this);
    Pic_FleDer = new Flecha(QStringLiteral("Pic_FleDer"), true, this);
    Pic_FleIzq->move(VistaReduccion::kIzqPista - 34, VistaReduccion::kYPista - 2);
    Pic_FleDer->move(VistaReduccion::kDerPista + kAnchoPulgar + 8, VistaReduccion::kYPista - 2);
    Pic_Boton = new Pulgar(this);
    Pic_Boton->move(VistaReduccion::kIzqPista, VistaReduccion::kYPista);
    Pic_Boton->installEventFilter(this);
    Pic_Colum->installEventFilter(this);

    Pic_Indice = new BotonImagen(QStringLiteral("Pic_Indice"), this);
    Pic_Ayuda = new BotonImagen(QStringLiteral("Pic_Ayuda"), this);
    Pic_Salir = new BotonImagen(QStringLiteral("Pic_Salir"), this);
    const std::pair<BotonImagen*, const char*> botones[] = {
        {Pic_Indice, "Índice de reducciones"}, {Pic_Ayuda, "Ayuda"}, {Pic_Salir, "Salir"}};
    int x = 538;
    for (const auto& [b, nombre] : botones) {
        b->move(x, 455);
        b->setAccessibleName(QString::fromUtf8(nombre));
        x += 58;
    }
    connect(Pic_FleDer, &BotonImagen::pulsado, this, &consredu::PaginaSiguiente);
    connect(Pic_FleIzq, &BotonImagen::pulsado, this, &consredu::PaginaAnterior);
    connect(Pic_Indice, &BotonImagen::pulsado, this, &consredu::AbreIndice);
    connect(Pic_Ayuda, &BotonImagen::pulsado, this, [this] { sv_.Ayuda(Contexto::Consulta); });
    connect(Pic_Salir, &BotonImagen::pulsado, this, &consredu::reject);
    Pic_Garantia = new BotonImagen(QStringLiteral("Pic_Garantia"), this);
    Pic_Garantia->move(538 - 58, 455);
    Pic_Garantia->setAccessibleName(QStringLiteral("Garantía de la reducción"));
    connect(Pic_Garantia, &BotonImagen::pulsado, this, [this] {
        sv_.Sonar(Sonido::Boton);
        Garantia ventana(st_, sv_, this);
        ventana.exec();
    });
    connect(vista->Jornada, &Caja::elegido, this, [this](int i) {
        if (i + 1 == st_.Jornada()) return;
        st_.Jornada() = static_cast<int16_t>(i + 1);
        st_.Orden() = 1;
        vista->Orden->Selecciona(0);
        CargaConsulta();
    });
    connect(vista->Orden, &Caja::elegido, this, [this](int i) {
        if (i + 1 == st_.Orden()) return;
        st_.Orden() = static_cast<int16_t>(i + 1);
        CargaConsulta();
    });

    Tex_Metodo = new TextoLeido(QStringLiteral("Tex_Metodo"), QStringLiteral("Método reductivo"),
                                kCajaMetodo, this);
    Tex_Boletos = new TextoLeido(QStringLiteral("Tex_Boletos"), QStringLiteral("Total de boletos"), kTotal, this);
    Tex_Resumen = new TextoLeido(QStringLiteral("Tex_Resumen"), QStringLiteral("Resumen de la reducción"),
                                 kResumen, this);

    vista->PreparaVistaReduccion();
    CargaConsulta();
}

consredu::~consredu() { CierraFichero(); }

void consredu::CierraFichero() {
    fichero_.Cierra();
    abierto_ = false;
}

// A damaged columns file is shown not at all: the page is cleared, the file
// closed, and the first bad column named.
void consredu::RechazaDanado(int64_t columna) { Rechaza(TextoColumnasDanadas(st_.NomFichero, columna)); }

void consredu::Rechaza(const std::string& texto, bool avisa) {
    CierraFichero();
    for (QString& l : lineas_) l.clear();
    cabeceras_.fill(QString());
    totalBoletos_.clear();
    for (BotonImagen* b : {Pic_FleIzq, Pic_FleDer, Pic_Garantia}) b->PonActivo(false);
    Pic_Boton->setCursor(Qt::ForbiddenCursor);
    st_.ErrorFichero = kErrorColumnasDanadas;
    Describe();
    if (avisa && st_.informador) st_.informador->ErrorFichero(texto);
    update();
    Pic_Colum->update();
}

int32_t consredu::Columnas() const { return st_.ReduccionActual.ApuestasReducidas; }

void consredu::CargaConsulta() {
    LeeJornada(st_);
    st_.ErrorFichero = 0;
    CargaReduccion(st_);
    // A reduction the load could not read whole (a damaged record or
    // conditions file) has been reported by the load: its columns are
    // refused below without saying it twice.
    const bool avisada = st_.ErrorFichero != 0;
    const int metodo = st_.Metodo();
    setWindowTitle(QStringLiteral("Consulta de columnas reducidas con el ") +
                   QString::fromStdString(Cp1252AUtf8(Recorta(NombreMetodoLargo(metodo)))));
    vista->Coloca();
    primera_ = 1;
    lineas_.fill(QString());
    cabeceras_.fill(QString());
    totalBoletos_.clear();
    for (BotonImagen* b : {Pic_FleIzq, Pic_FleDer, Pic_Garantia}) b->PonActivo(false);
    Pic_Boton->setCursor(Qt::ForbiddenCursor);
    Pic_Boton->move(VistaReduccion::kIzqPista, VistaReduccion::kYPista);

    CierraFichero();
    const std::string nombre = FicheroRed(st_.Jornada(), st_.Orden());
    st_.NomFichero = nombre;
    st_.ErrorFichero = 0;
    const std::filesystem::path ruta = st_.DirDatos / nombre;
    if (const int e = fichero_.Abre(ruta); e != 0) {
        // A missing file shows an empty page without a word; any other
        // failure is reported as every file open is.
        Describe();
        InformaErrorFichero(st_, Op::Abre(nombre), e);
        update();
        Pic_Colum->update();
        return;
    }
    abierto_ = true;
    // A file that does not end on a whole record is damaged: its last,
    // cut column is named without reading the file through.
    std::error_code ec;
    const auto tam = std::filesystem::file_size(ruta, ec);
    if (!ec && tam % kLongLineaColumna != 0) {
        RechazaDanado(int64_t(tam / kLongLineaColumna) + 1);
        return;
    }
    // Nor is a page shown of a file its record does not describe.
    std::string rechazo;
    if (CompruebaColumnasReduccion(st_, st_.Jornada(), st_.Orden(), rechazo); !rechazo.empty()) {
        Rechaza(rechazo, !avisada);
        return;
    }
    Pic_Garantia->PonActivo(true);
    const int32_t c = Columnas();
    const int32_t t = (c + 7) / 8;
    totalBoletos_ = QString::fromStdString(Formatea(t, "###,###")) +
                    (c < 9 ? QStringLiteral(" Boleto") : QStringLiteral(" Boletos"));
    DibujaPagina();
    if (c > kColumnasPagina) Pic_Boton->setCursor(CursorPorNombre(QStringLiteral("ManoAbierta")));
    Pic_Boton->move(PosBoton(), VistaReduccion::kYPista);
    Describe();
    update();
}

void consredu::DibujaPagina() {
    for (QString& l : lineas_) l.clear();
    std::string datos;
    if (abierto_ && fichero_.Posiciona(uint64_t(primera_ - 1) * kLongLineaColumna) == 0)
        fichero_.Lee(datos, size_t(kColumnasPagina) * kLongLineaColumna);
    for (int k = 0; k < kColumnasPagina; ++k) {
        // Past the end of the file the page shows blanks; a record that is
        // there must be whole.
        const size_t inicio = size_t(k) * kLongLineaColumna;
        std::string signos(15, ' ');
        if (inicio < datos.size()) {
            const std::string_view registro = std::string_view(datos).substr(inicio, kLongLineaColumna);
            if (!RegistroColumnaValido(registro)) {
                RechazaDanado(int64_t(primera_) + k);
                return;
            }
            signos.assign(registro.substr(1, 15));
        }
        for (int i = 0; i < 15; ++i) lineas_[size_t(i + 1)] += QLatin1Char(signos[size_t(i)]);
    }
    const int32_t t = (primera_ + 7) / 8;
    cabeceras_ = {QStringLiteral("Boleto %1").arg(t), QString(), QString()};
    if (lineas_[1].size() > 8 && lineas_[1][8] != QLatin1Char(' '))
        cabeceras_[1] = QStringLiteral("Boleto %1").arg(t + 1);
    if (lineas_[1].size() > 16 && lineas_[1][16] != QLatin1Char(' '))
        cabeceras_[2] = QStringLiteral("Boleto %1").arg(t + 2);
    Pic_FleIzq->PonActivo(t != 1);
    Pic_FleDer->PonActivo(Columnas() >= primera_ + kColumnasPagina);
    Describe();
    Pic_Colum->update();
}

void consredu::Describe() {
    // The page as it would be copied: each ticket shown with its columns,
    // each column its 15 signs.
    QStringList boletos;
    for (int g = 0; g < 3; ++g) {
        if (cabeceras_[size_t(g)].isEmpty()) continue;
        QStringList columnas;
        for (int k = 8 * g; k < 8 * g + 8; ++k) {
            QString columna;
            for (int m = 1; m <= 15; ++m)
                if (k < lineas_[size_t(m)].size()) columna += lineas_[size_t(m)][k];
            if (!columna.trimmed().isEmpty()) columnas << columna;
        }
        boletos << cabeceras_[size_t(g)] + QStringLiteral(": ") + columnas.join(QStringLiteral(", "));
    }
    Pic_Colum->setAccessibleDescription(boletos.isEmpty() ? QStringLiteral("Sin columnas")
                                                          : boletos.join(QStringLiteral(". ")));
    Tex_Boletos->PonTexto(totalBoletos_);
    Tex_Metodo->PonTexto(MetodoVisto());
    QStringList resumen;
    for (const LineaResumen& l : LineasResumen(st_.ReduccionActual, st_.Datos.Precio))
        resumen << QString::fromStdString(l.valor.empty() ? l.etiqueta : l.etiqueta + " " + l.valor);
    Tex_Resumen->PonTexto(resumen.join(QStringLiteral(". ")));
    const int32_t c = Columnas();
    const int paginas = abierto_ && c > 0 ? (c + kColumnasPagina - 1) / kColumnasPagina : 0;
    Pic_Boton->setAccessibleDescription(
        paginas ? QStringLiteral("Página %1 de %2").arg((primera_ - 1) / kColumnasPagina + 1).arg(paginas)
                : QStringLiteral("Sin páginas"));
}

QString consredu::MetodoVisto() const {
    return QString::fromStdString(Cp1252AUtf8(Recorta(NombreMetodoCorto(st_.Metodo()))));
}

int consredu::PosBoton() const {
    const int L = VistaReduccion::kIzqPista, R = VistaReduccion::kDerPista;
    const int32_t c = Columnas();
    if (c < kColumnasPagina) return int(std::lround(L + (R - L) / 2.0));
    const double T = (c + 7) / 8;
    const double t = (primera_ + 7) / 8;
    const double P = std::nearbyint((T + 2) / 3 - 1);
    const double pagina = std::nearbyint((t - 1) / 3);
    return int(std::lround(L + (R - L) / P * pagina));
}

void consredu::PaginaSiguiente() {
    if (!abierto_ || primera_ + kColumnasPagina > Columnas()) return;
    sv_.Sonar(Sonido::Boton);
    primera_ += kColumnasPagina;
    DibujaPagina();
    Pic_Boton->move(PosBoton(), VistaReduccion::kYPista);
}

void consredu::PaginaAnterior() {
    if (!abierto_ || primera_ == 1) return;
    sv_.Sonar(Sonido::Boton);
    primera_ -= kColumnasPagina;
    DibujaPagina();
    Pic_Boton->move(PosBoton(), VistaReduccion::kYPista);
}

bool consredu::eventFilter(QObject* objeto, QEvent* evento) {
    if (objeto == Pic_Boton) {
        const int32_t c = Columnas();
        const int L = VistaReduccion::kIzqPista, R = VistaReduccion::kDerPista;
        switch (evento->type()) {
            case QEvent::MouseButtonPress:
                arrastrando_ = true;
                agarre_ = int(std::lround(static_cast<QMouseEvent*>(evento)->position().x()));
                if (c > kColumnasPagina && abierto_)
                    Pic_Boton->setCursor(CursorPorNombre(QStringLiteral("ManoCerrada")));
                return true;
            case QEvent::MouseMove: {
                if (!arrastrando_ || c < kColumnasPagina + 1 || !abierto_) return true;
                const double x = static_cast<QMouseEvent*>(evento)->position().x();
                const int nueva = std::clamp(int(std::lround(Pic_Boton->x() + (x - agarre_))), L, R);
                Pic_Boton->move(nueva, VistaReduccion::kYPista);
                int32_t primera = int32_t(std::lround(double(c) * (nueva - L) / (R - L)));
                primera = std::max<int32_t>(1, (primera - 1) / kColumnasPagina * kColumnasPagina + 1);
                if (primera != primera_) {
                    primera_ = primera;
                    DibujaPagina();
                }
                return true;
            }
            case QEvent::MouseButtonRelease:
                arrastrando_ = false;
                if (c > kColumnasPagina && abierto_) {
                    Pic_Boton->setCursor(CursorPorNombre(QStringLiteral("ManoAbierta")));
                    Pic_Boton->move(PosBoton(), VistaReduccion::kYPista);
                }
                return true;
            default: break;
        }
    }
    return QDialog::eventFilter(objeto, evento);
}

void consredu::keyPressEvent(QKeyEvent* e) {
    switch (e->key()) {
        case Qt::Key_PageDown:
        case Qt::Key_Right:
        case Qt::Key_Down: PaginaSiguiente(); return;
        case Qt::Key_PageUp:
        case Qt::Key_Left:
        case Qt::Key_Up: PaginaAnterior(); return;
        default: QDialog::keyPressEvent(e);
    }
}

void consredu::paintEvent(QPaintEvent*) {
    QPainter p(this);
    DibujaFondo(p, rect());
    vista->DibujaReduccion(p);
    DibujaCaja(p, kCajaMetodo.left(), kCajaMetodo.top(), kCajaMetodo.right(), kCajaMetodo.bottom(),
               QStringLiteral("Método reductivo:"), MetodoVisto());
    ImprimeResumen(p, kResumen, st_);
    if (!totalBoletos_.isEmpty()) {
        QFont f(QStringLiteral("Liberation Sans"));
        f.setPixelSize(14);
        f.setBold(true);
        p.setFont(f);
        p.setPen(ColorWin(Color::Blanco));
        p.drawText(kTotal, Qt::AlignCenter, totalBoletos_);
    }
}

void consredu::AbreIndice() {
    if (vista->EligeEnIndice()) CargaConsulta();
}

void consredu::reject() {
    CierraFichero();
    sv_.Sonar(Sonido::Salida);
    QDialog::reject();
}

}  // namespace tobal
