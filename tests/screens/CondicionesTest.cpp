#include <QLineEdit>

#include "Entorno.h"
#include "data/DatosGen.h"
#include "platform/TextoLeido.h"
#include "reduction/Condiciones.h"
#include "screens/Condiciones.h"
#include "screens/Garantia.h"
#include "screens/Historic.h"
#include "screens/Reducir.h"
#include "screens/VistaReduccion.h"
#include "screens/consredu.h"

namespace tobal {
namespace {

struct Pantalla : prueba::Entorno {
    explicit Pantalla(int metodo) {
        LeeDatosGen(st);
        st.Metodo() = static_cast<int16_t>(metodo);
        d = Abre<Reducir>();
        QTest::mouseClick(d->vista->Pic_SeleccionarTodo, Qt::LeftButton);  // fourteen reduced triples
    }
    // Opens the conditions window with `abre` and runs `accion` in it.
    void EnVentana(const std::function<void()>& abre,
                   const std::function<void(VentanaCondiciones*)>& accion) {
        bool abierta = false;
        prueba::CuandoVentana<VentanaCondiciones>([&](VentanaCondiciones* v) {
            abierta = true;
            accion(v);
            if (v->isVisible()) v->reject();  // a failed step never leaves it open
        });
        abre();
        EXPECT_TRUE(abierta);
    }
    static QStringList Lista(VentanaCondiciones* v) {
        QStringList l;
        for (int i = 0; i < v->Lis_Condiciones->count(); ++i) l << v->Lis_Condiciones->item(i)->text();
        return l;
    }
    std::unique_ptr<Reducir> d;
};

void Teclea(QLineEdit* ed, const QString& texto) {
    prueba::Reescribe(ed, texto);
    QTest::keyClick(ed, Qt::Key_Return);
}

// Typed, refused, picked, changed and removed; the failures follow the
// count of conditions; the count of results kept is recounted each time;
// Aceptar hands the conditions to the screen, which names them, counts
// them on its button and recomputes its statistics.
TEST(Condiciones, SeEscribenSeCorrigenSeQuitanYSeAceptan) {
    Pantalla p(2);
    ASSERT_EQ(p.d->LineasEstadistica().value(7).section('\t', 1), "1");
    p.EnVentana(
        [&] { QTest::mouseClick(p.d->Pic_Condiciones, Qt::LeftButton); },
        [&](VentanaCondiciones* v) {
            prueba::TodosConNombre(v);
            EXPECT_EQ(v->Tex_Cumplen->Texto(),
                      "Resultados de la quiniela base que las cumplen: 4,782,969 de 4,782,969");
            Teclea(v->Tex_Condicion, "x 14");
            EXPECT_EQ(p.Lista(v), QStringList{"X 14-14"});
            EXPECT_TRUE(v->Tex_Condicion->text().isEmpty());
            EXPECT_TRUE(v->Tex_Cumplen->Texto().contains(": 1 de "));  // only the column of fourteen draws

            EXPECT_EQ(prueba::TitulosMensajes([&] { Teclea(v->Tex_Condicion, "X 2-15"); }),
                      QStringList{"CONDICIÓN INCORRECTA"});
            EXPECT_EQ(v->Tex_Condicion->text(), "X 2-15");  // kept to be put right
            EXPECT_EQ(p.Lista(v).size(), 1);

            for (const char* c : {"2 0-3 partidos 1-7", "seguidos 1-4"}) {
                prueba::Reescribe(v->Tex_Condicion, c);
                QTest::mouseClick(v->Pic_Añadir, Qt::LeftButton);
            }
            EXPECT_EQ(v->Caja_Fallos->lista()->count(), 4);  // 0 to 3
            v->Caja_Fallos->Pulsa();
            prueba::ClicFila(v->Caja_Fallos->lista(), 3);
            prueba::ClicFila(v->Lis_Condiciones, 0);
            EXPECT_EQ(v->Tex_Condicion->text(), "X 14-14");
            prueba::Reescribe(v->Tex_Condicion, "variantes 4-8");
            QTest::mouseClick(v->Pic_Cambiar, Qt::LeftButton);
            EXPECT_EQ(p.Lista(v), (QStringList{"variantes 4-8", "2 0-3 partidos 1-7", "seguidos 1-4"}));
            QTest::keyClick(v->Lis_Condiciones, Qt::Key_Delete);  // the one picked
            EXPECT_EQ(p.Lista(v), (QStringList{"2 0-3 partidos 1-7", "seguidos 1-4"}));
            EXPECT_EQ(v->Caja_Fallos->Valor(), "2");  // no more than the conditions left
            v->Caja_Fallos->Pulsa();
            prueba::ClicFila(v->Caja_Fallos->lista(), 0);
            prueba::Captura(v, "condiciones");
            v->Pic_Aceptar->setFocus();
            QTest::keyClick(v->Pic_Aceptar, Qt::Key_Space);
        });
    EXPECT_EQ(p.st.CondicionesActuales.lista.size(), 2u);
    EXPECT_EQ(p.d->Pic_Condiciones->Rotulo(), "Condiciones (2)...");
    EXPECT_EQ(p.d->Tex_Condiciones->Texto(), "2 0-3 partidos 1-7\nseguidos 1-4");
    // The probable column, fourteen 1s in a row, no longer meets them.
    EXPECT_EQ(p.d->LineasEstadistica().value(7).section('\t', 1), "0");
    prueba::Captura(p.d.get(), "reducir-condiciones");
}

// From the keyboard: Tab reaches the button, Space opens the window, Enter
// adds, Escape leaves it and nothing typed is kept.
TEST(Condiciones, EscapeDejaLasCondicionesComoEstaban) {
    Pantalla p(3);
    p.st.CondicionesActuales.lista = {Condicion{Medida::Unos, 1, 9, kTodosLosPartidos}};
    p.d->Pic_Reducir->setFocus();
    QTest::keyClick(p.d->Pic_Reducir, Qt::Key_Backtab);
    ASSERT_TRUE(p.d->Pic_Condiciones->hasFocus());
    p.sonidos.pedidos.clear();
    p.EnVentana([&] { QTest::keyClick(p.d->Pic_Condiciones, Qt::Key_Space); },
                [&](VentanaCondiciones* v) {
                    EXPECT_EQ(p.Lista(v), QStringList{"1 1-9"});
                    EXPECT_EQ(v->focusWidget(), v->Tex_Condicion);
                    Teclea(v->Tex_Condicion, "interrupciones 5-9");
                    EXPECT_EQ(p.Lista(v).size(), 2);
                    QTest::keyClick(v->Tex_Condicion, Qt::Key_Escape);
                    EXPECT_FALSE(v->isVisible());
                });
    EXPECT_EQ(p.st.CondicionesActuales.lista.size(), 1u);
    EXPECT_EQ(p.sonidos.pedidos, (std::vector<int>{9, 9, 5}));
}

// Another method reopens the screen with the conditions typed on it, not run yet.
TEST(Condiciones, SiguenAlCambiarDeMetodo) {
    Pantalla p(1);
    p.EnVentana([&] { QTest::mouseClick(p.d->Pic_Condiciones, Qt::LeftButton); },
                [&](VentanaCondiciones* v) {
                    Teclea(v->Tex_Condicion, "X 2-5");
                    QTest::mouseClick(v->Pic_Aceptar, Qt::LeftButton);
                });
    QWidget* metodo = p.d->childAt(200, 30);
    ASSERT_EQ(metodo, p.d->vista->Metodo);
    QTest::mouseClick(metodo, Qt::LeftButton);
    prueba::ClicFila(p.d->vista->Metodo->lista(), 3);
    ASSERT_FALSE(p.d->isVisible());
    p.d = p.Abre<Reducir>();
    EXPECT_EQ(p.st.Metodo(), 4);
    EXPECT_EQ(p.d->Pic_Condiciones->Rotulo(), "Condiciones (1)...");
}

// The direct method's table refuses conditions before anything runs.
TEST(Condiciones, ElMetodoDirectoConCondicionesSeRehusa) {
    Pantalla p(1);
    p.st.CondicionesActuales.lista = {Condicion{}};
    EXPECT_EQ(prueba::TitulosMensajes([&] { QTest::mouseClick(p.d->Pic_Reducir, Qt::LeftButton); }),
              QStringList{"MÉTODO DIRECTO CON CONDICIONES"});
    EXPECT_FALSE(p.d->Ejecutando() || p.d->Pic_Porcen->isVisible());
    EXPECT_TRUE(p.d->Pic_Reducir->Activo());
}

// The screens that show a stored reduction name its conditions, and
// nothing for a reduction without them.
TEST(Condiciones, ElNavegadorElIndiceYLaGarantiaLasMuestran) {
    prueba::Entorno en;
    LeeDatosGen(en.st);
    prueba::GrabaReduccionPrueba(en.st, 1, 2, 8);
    prueba::GrabaReduccionPrueba(en.st, 1, 1, 30);
    Condiciones cs;
    cs.lista = {Condicion{Medida::Equis, 2, 5, kTodosLosPartidos}, Condicion{Medida::Seguidos, 1, 4, 0x7F}};
    cs.fallos = 1;
    ASSERT_EQ(GrabaCondiciones(en.st.DirDatos / FicheroCon(1, 1), cs), 0);
    const QString texto = "X 2-5; seguidos 1-4 partidos 1-7; 1 fallo permitido";

    auto d = en.Abre<consredu>();
    EXPECT_EQ(d->vista->Tex_Condiciones->Texto(), texto);
    prueba::Captura(d.get(), "consredu-condiciones");
    {
        // The guarantee over the results that meet them, and over the whole base.
        Garantia g(en.st, en.sv);
        g.show();
        EXPECT_EQ(g.Tex_Condiciones->Texto(), "Condiciones: " + texto);
        ASSERT_TRUE(QTest::qWaitFor([&g] { return g.fase() != Garantia::Fase::Calculando; }, 5000));
        EXPECT_TRUE(g.Tex_Estado->Texto().contains(" cumplen las condiciones, "));
        EXPECT_EQ(g.Tex_Frase->Texto().count('\n'), 2) << g.Tex_Frase->Texto().toStdString();
        prueba::Captura(&g, "garantia-condiciones");
    }
    EXPECT_EQ(Reducir(en.st, en.sv).Pic_Condiciones->Rotulo(), "Condiciones (2)...");  // reopened on it
    d->vista->Orden->Pulsa();
    prueba::ClicFila(d->vista->Orden->lista(), 1);
    EXPECT_EQ(d->vista->Tex_Condiciones->Texto(), "");
    Garantia g(en.st, en.sv);
    EXPECT_EQ(g.AreaTabla().top(), 86);

    Historic h(en.st, en.sv);
    h.show();
    ASSERT_EQ(h.TotalLineas(), 2);
    EXPECT_EQ(h.MarcaCondiciones(0), "");
    EXPECT_EQ(h.MarcaCondiciones(1), "C");
    QTest::keyClick(h.Pic_Carpeta, Qt::Key_Down);
    EXPECT_TRUE(prueba::Descripcion(h.Pic_Carpeta).endsWith(", Condiciones: " + texto));
    prueba::Captura(&h, "historic-condiciones");
}

}  // namespace
}  // namespace tobal
