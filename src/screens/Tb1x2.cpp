#include "screens/Tb1x2.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "app/Estado.h"
#include "app/Informador.h"
#include "data/DatosGen.h"
#include "platform/Ayuda.h"
#include "platform/BotonImagen.h"
#include "platform/Dibujo.h"
#include "platform/Recursos.h"
#include "platform/Servicios.h"
#include "platform/Sonidos.h"
#include "screens/DatosGen.h"
#include "screens/Jornadas.h"
#include "screens/Reducir.h"
#include "screens/borrar.h"
#include "screens/consredu.h"
#include "screens/escrutin.h"
#include "screens/salida.h"

namespace tobal {

namespace {

constexpr int kAncho = 555;
constexpr int kAlto = 360;

struct DefOpcion {
    const char* rotulo;
    int x, y;
};
// Captions keep the leading blanks with which they are stored.
constexpr DefOpcion kDefOpciones[Tb1x2::kOpciones] = {
    {"        DATOS DE JORNADAS", 40, 185},   {"    REDUCCIÓN DE APUESTAS", 40, 225},
    {"   CONSULTAR REDUCCIONES", 40, 265},    {"          SALIDA DE DATOS", 40, 305},
    {"    ESCRUTINIO DE ACIERTOS", 300, 185}, {"         DATOS GENERALES", 300, 225},
    {"        BORRADO DE DATOS", 300, 265},
};

const QRect kPanel(20, 12, 515, 158);

// The screens the options open, which name the options' objects.
constexpr const char* kPantallas[Tb1x2::kOpciones] = {"Jornadas", "Reducir",  "consredu", "salida",
                                                      "escrutin", "DatosGen", "borrar"};

}  // namespace

OpcionTeclado::OpcionTeclado(Tb1x2* menu, int opcion) : QAbstractButton(menu) {
    setObjectName(QStringLiteral("Opc_") + QLatin1String(kPantallas[opcion - 1]));
    const QString rotulo = Tb1x2::RotuloOpcion(opcion).trimmed().toLower();
    setAccessibleName(rotulo.left(1).toUpper() + rotulo.mid(1));
    setFocusPolicy(Qt::TabFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(QRect(Tb1x2::EsquinaOpcion(opcion), QSize(Tb1x2::kAnchoOpcion, Tb1x2::kAltoOpcion)));
    connect(this, &QAbstractButton::clicked, menu, [menu, opcion] { menu->PulsaOpcion(opcion); });
}

void OpcionTeclado::paintEvent(QPaintEvent*) {
    if (!hasFocus()) return;
    QPainter p(this);
    p.setPen(QPen(Qt::black, 1, Qt::DotLine));
    p.drawRect(rect().adjusted(4, 4, -5, -5));
}

void OpcionTeclado::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        e->accept();
        click();
        return;
    }
    QAbstractButton::keyPressEvent(e);
}

Tb1x2::Tb1x2(Estado& st, Servicios& sv, QWidget* padre)
    : QWidget(padre),
      Pic_Ayuda(new BotonImagen(QStringLiteral("Pic_Ayuda"), this)),
      Pic_Salir(new BotonImagen(QStringLiteral("Pic_Salir"), this)),
      st_(st),
      sv_(sv) {
    setObjectName(QStringLiteral("Tb1x2"));
    setWindowTitle(QStringLiteral("Tobal31"));
    setWindowIcon(QIcon(ImagenAplicacion(64)));
    setFixedSize(kAncho, kAlto);
    setMouseTracking(true);
    Centra(this);

    LeeDatosGen(st_);

    opciones_[OpcionMenu::Jornadas - 1].crea = [](Estado& e, Servicios& s, QWidget* w) {
        return std::unique_ptr<QDialog>(new Jornadas(e, s, w));
    };
    opciones_[OpcionMenu::Borrado - 1].crea = [](Estado& e, Servicios& s, QWidget* w) {
        return std::unique_ptr<QDialog>(new Borrar(e, s, w));
    };
    opciones_[OpcionMenu::DatosGenerales - 1].crea = [](Estado& e, Servicios& s, QWidget* w) {
        return std::unique_ptr<QDialog>(new DatosGen(e, s, w));
    };
    opciones_[OpcionMenu::Reducir - 1].crea = [](Estado& e, Servicios& s, QWidget* w) {
        return std::unique_ptr<QDialog>(new Reducir(e, s, w));
    };
    opciones_[OpcionMenu::Salida - 1].crea = [](Estado& e, Servicios& s, QWidget* w) {
        return std::unique_ptr<QDialog>(new salida(e, s, w));
    };
    opciones_[OpcionMenu::Escrutinio - 1].crea = [](Estado& e, Servicios& s, QWidget* w) {
        return std::unique_ptr<QDialog>(new escrutin(e, s, w));
    };
    opciones_[OpcionMenu::Consulta - 1].crea = [](Estado& e, Servicios& s, QWidget* w) {
        return std::unique_ptr<QDialog>(new consredu(e, s, w));
    };

    Pic_Ayuda->move(415, 300);
    Pic_Salir->move(475, 300);
    for (int i = 0; i < kOpciones; ++i) Opc[i] = new OpcionTeclado(this, i + 1);
    // The keyboard starts on the first option; Tab goes through the options
    // in their order, then help and leave.
    Opc[0]->setFocus();
    connect(Pic_Ayuda, &BotonImagen::pulsado, this, [this] { sv_.Ayuda(Contexto::Indice); });
    connect(Pic_Salir, &BotonImagen::pulsado, this, [this] { close(); });
    AyudaConF1(this);
    unsetCursor();
}

int Tb1x2::OpcionEn(QPoint p) {
    for (int i = 0; i < kOpciones; ++i) {
        const DefOpcion& d = kDefOpciones[i];
        if (d.x <= p.x() && p.x() <= d.x + kAnchoOpcion && d.y <= p.y() && p.y() <= d.y + kAltoOpcion)
            return i + 1;
    }
    return 0;
}

QPoint Tb1x2::EsquinaOpcion(int opcion) {
    const DefOpcion& d = kDefOpciones[opcion - 1];
    return QPoint(d.x, d.y);
}

QString Tb1x2::RotuloOpcion(int opcion) {
    return QString::fromUtf8(kDefOpciones[opcion - 1].rotulo).leftJustified(40, QLatin1Char(' '), true);
}

void Tb1x2::PonPantalla(int opcion, CreaPantalla crea) { opciones_[opcion - 1].crea = std::move(crea); }

void Tb1x2::paintEvent(QPaintEvent*) {
    QPainter p(this);
    DibujaFondo(p, rect());
    DibujaPanel(p, kPanel);
    const QPixmap titulos = ImagenTitulos();
    p.drawPixmap(38, 28, ImagenLogo());
    p.drawPixmap(477, 30, ImagenIcono());
    p.drawPixmap(QPoint((kAncho - 179) / 2, 24), titulos, PiezaTitulo(1));
    p.drawPixmap(QPoint((kAncho - 221) / 2, 80), titulos, PiezaTitulo(2));
    p.drawPixmap(QPoint((kAncho - 236) / 2, 122), titulos, PiezaTitulo(3));
    for (int i = 1; i <= kOpciones; ++i) {
        const QPoint e = EsquinaOpcion(i);
        DibujaBoton(p, e.x(), e.y(), kAnchoOpcion, kAltoOpcion, RotuloOpcion(i), opciones_[i - 1].pulsado);
    }
}

void Tb1x2::mousePressEvent(QMouseEvent* e) {
    e->accept();
    PulsaOpcion(OpcionEn(e->position().toPoint()));
}

void Tb1x2::keyPressEvent(QKeyEvent* e) {
    // Escape leaves the screens, not the program: one press too many on the
    // way back must not end it. Only the exit button does.
    if (e->key() == Qt::Key_Escape) {
        e->accept();
        return;
    }
    QWidget::keyPressEvent(e);
}

void Tb1x2::PulsaOpcion(int opcion) {
    // The click sound lets pending events through: a second press that
    // arrives meanwhile must not open a second screen.
    if (opcion == 0 || !opciones_[opcion - 1].crea || abriendo_) return;
    abriendo_ = true;
    sv_.Sonar(Sonido::Abre);
    // The option stays pressed for as long as its screen is open.
    opciones_[opcion - 1].pulsado = true;
    repaint();
    Abre(opcion);
    opciones_[opcion - 1].pulsado = false;
    abriendo_ = false;
    update();
}

void Tb1x2::Abre(int opcion) {
    if (opcion != OpcionMenu::Reducir) {
        AbreUnaVez(opcion);
        return;
    }
    // The reduction screen asks to be opened again (RepiteReducir) when it
    // closes itself to load another reduction.
    st_.RepiteReducir = Verdadero;
    while (st_.RepiteReducir != Falso) AbreUnaVez(opcion);
}

void Tb1x2::AbreUnaVez(int opcion) {
    std::unique_ptr<QDialog> pantalla;
    {
        PunteroEspera espera;
        pantalla = opciones_[opcion - 1].crea(st_, sv_, this);
    }
    if (!pantalla) {
        st_.RepiteReducir = Falso;
        return;
    }
    pantalla->setWindowModality(Qt::ApplicationModal);
    pantalla->exec();
}

void Tb1x2::mouseMoveEvent(QMouseEvent* e) {
    const bool sobreOpcion = OpcionEn(e->position().toPoint()) != 0;
    if (sobreOpcion && !cursorMano_) {
        PonCursor(this, QStringLiteral("ManoIndice"));
        cursorMano_ = true;
    } else if (!sobreOpcion && cursorMano_) {
        unsetCursor();
        cursorMano_ = false;
    }
}

void Tb1x2::closeEvent(QCloseEvent* e) {
    // Leaving the program, by the exit button or by closing the window:
    // the settings, the current selection included, go back to the file.
    if (!saliendo_) {
        saliendo_ = true;
        if (const int error = GrabaDatosGen(st_); error != 0 && st_.informador)
            st_.informador->ErrorFichero(
                "No se ha podido grabar el fichero de datos generales DATOSGEN.TBX "
                "(error " +
                std::to_string(error) + ").");
        sv_.Sonar(Sonido::Salida);
        emit terminado();
    }
    e->accept();
}

}  // namespace tobal
