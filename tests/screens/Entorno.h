#pragma once
// What a screen test needs: a state over a temporary data folder, services that record sounds and help
// requests instead of playing or showing them, and a way to act on a modal window once it is open.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>

#include "Soporte.h"
#include "app/Estado.h"
#include "platform/Ayuda.h"
#include "platform/BotonImagen.h"
#include "platform/Servicios.h"
#include "platform/Sonidos.h"
#include "screens/mensajes.h"

namespace tobal::prueba {

struct AyudaGrabadora : Ayudante {
    void Muestra(int contexto) override { pedidas.push_back(contexto); }
    std::vector<int> pedidas;
};

// Every visible control the keyboard reaches has a control name and an accessible name.
inline void TodosConNombre(QWidget* ventana) {
    for (QWidget* w : ventana->findChildren<QWidget*>()) {
        const bool editor = w->parentWidget() && w->parentWidget()->inherits("QComboBox");
        if (!(w->focusPolicy() & Qt::TabFocus) || !w->isVisible() || editor ||
            w->objectName().startsWith("qt_"))
            continue;
        EXPECT_FALSE(w->objectName().isEmpty()) << w->metaObject()->className();
        EXPECT_FALSE(QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name).isEmpty())
            << w->objectName().toStdString();
    }
}

struct Entorno {
    Entorno() {
        sv.reproductor = &sonidos;
        sv.ayudante = &ayuda;
        sv.pausa = [](int) {};
    }
    EstadoPrueba e;
    Estado& st = e.st;
    ReproductorGrabador sonidos;
    AyudaGrabadora ayuda;
    Servicios sv{e.st};
    // A screen of type T over this state, shown and holding the keyboard, each of its controls named.
    template <class T>
    std::unique_ptr<T> Abre() {
        auto w = std::make_unique<T>(st, sv);
        w->show();
        w->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(w.get()));
        TodosConNombre(w.get());
        return w;
    }
};

// The widget holding the keyboard; with none, a hidden stand-in that takes keys and does nothing, so the
// test's next check fails instead of QTest aborting on a null widget.
inline QWidget* Foco() {
    static QWidget* const nadie = new QWidget;  // lives as long as the program
    QWidget* w = QApplication::focusWidget();
    return w ? w : nadie;
}

// Types any text, characters outside Latin-1 too (QTest's typing takes ASCII only).
inline void TecleaTexto(QWidget* w, const QString& texto) {
    for (int i = 0; i < texto.size(); ++i) {
        const int n = texto[i].isHighSurrogate() && i + 1 < texto.size() ? 2 : 1;
        QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, texto.mid(i, n), Qt::NoModifier);
        i += n - 1;
    }
}

// Replaces what a box holds with `texto`, typed, and presses `fin` after it, if given.
inline void Reescribe(QLineEdit* ed, const QString& texto, Qt::Key fin = Qt::Key_unknown) {
    ed->setFocus();
    ed->selectAll();
    QTest::keyClick(ed, Qt::Key_Backspace);
    QTest::keyClicks(ed, texto);
    if (fin != Qt::Key_unknown) QTest::keyClick(ed, fin);
}

// Runs `accion` on the next modal window of type T that opens; gives up after five seconds.
template <class T>
void CuandoVentana(std::function<void(T*)> accion) {
    auto* sondeo = new QTimer;
    auto intentos = std::make_shared<int>(0);
    // A window that never came is given up with its test: the next test's windows are not its business.
    const auto* prueba = ::testing::UnitTest::GetInstance()->current_test_info();
    QObject::connect(sondeo, &QTimer::timeout, [sondeo, accion, intentos, prueba] {
        auto* w = qobject_cast<T*>(QApplication::activeModalWidget());
        const bool agotado =
            ++*intentos > 1000 || ::testing::UnitTest::GetInstance()->current_test_info() != prueba;
        if (!agotado && (!w || !w->isVisible())) return;
        sondeo->stop();
        sondeo->deleteLater();
        if (agotado) return;
        w->setProperty("tobal31_esperada", true);  // not an unexpected window (main.cpp)
        accion(w);
    });
    sondeo->start(5);
}

// Runs `accion` and answers each message window it opens with `boton` (none: closes it), waiting
// up to five seconds for the `cuantos`-th; returns their titles, and what they said in `textos`.
inline QStringList TitulosMensajes(const std::function<void()>& accion, int cuantos = 0,
                                   BotonImagen* Mensajes::*boton = nullptr, QStringList* textos = nullptr) {
    QStringList titulos;
    QTimer sondeo;
    QObject::connect(&sondeo, &QTimer::timeout, [&] {
        auto* m = qobject_cast<Mensajes*>(QApplication::activeModalWidget());
        if (!m || !m->isVisible() || m->property("tobal31_esperada").toBool()) return;
        m->setProperty("tobal31_esperada", true);
        titulos << m->Tex_Titulo->text();
        if (textos) *textos << m->Tex_Mensaje->toPlainText();
        if (boton)
            QTest::mouseClick(m->*boton, Qt::LeftButton);
        else
            m->reject();
    });
    sondeo.start(5);
    accion();
    EXPECT_TRUE(QTest::qWaitFor([&] { return titulos.size() >= cuantos; }, 5000)) << "messages: " << cuantos;
    QCoreApplication::processEvents();  // what the action left for the event loop
    return titulos;
}

inline void ClicFila(QListWidget* l, int fila) {
    QTest::mouseClick(l->viewport(), Qt::LeftButton, {}, l->visualItemRect(l->item(fila)).center());
}

// Presses Escape on `w`: whether its window has gone.
inline bool SaleConEscape(QWidget* w) {
    QTest::keyClick(w, Qt::Key_Escape);
    return !w->window()->isVisible();
}

// "objectName=accessibleName" of the focused control and the next `n` - 1 Tab reaches.
inline std::vector<std::string> RecorridoTab(int n) {
    std::vector<std::string> r;
    for (int i = 0; i < n; ++i) {
        QWidget* w = QApplication::focusWidget();
        if (!w) break;
        r.push_back(
            (w->objectName() + "=" + QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name))
                .toStdString());
        QTest::keyClick(w, Qt::Key_Tab);
    }
    return r;
}

inline QString Descripcion(QWidget* w) {
    return QAccessible::queryAccessibleInterface(w)->text(QAccessible::Description);
}

// The picture of `w`, saved as <nombre>.png in the folder TOBAL31_CAPTURAS names (scripts/capturas.sh).
inline QImage Captura(QWidget* w, const QString& nombre) {
    const QImage imagen = w->grab().toImage();
    if (const char* dir = std::getenv("TOBAL31_CAPTURAS"); dir && *dir) {
        QDir().mkpath(dir);
        EXPECT_TRUE(imagen.save(QString(dir) + "/" + nombre + ".png")) << nombre.toStdString();
    }
    return imagen;
}

}  // namespace tobal::prueba
