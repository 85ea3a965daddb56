// El fichero de apuestas AD243: registros, volúmenes, la última columna sola,
// las respuestas del usuario y los fallos que no deben dejar fichero.

#include <gtest/gtest.h>

#include "Soporte.h"
#include "app/Texto.h"
#include "output/Disco.h"
#include "reduction/Almacen.h"

namespace tobal {
namespace {

using namespace prueba;

const std::string A = "1X21X21X21X21X2";
const std::string B = "2X12X12X12X12X1";

struct Grabador : DialogoDisco {
    std::vector<std::string> mensajes, panel;  // mensajes: título, luego texto
    std::vector<int> porcentajes;
    std::function<bool()> alPedirDisco = [] { return false; };
    std::function<void()> enCadaColumna = [] {};
    int cancelaTras = -1, columnas = 0;

    bool PideDisco(const std::string& titulo, const std::string& texto) override {
        Mensaje(titulo, texto);
        return alPedirDisco();
    }
    void Mensaje(const std::string& titulo, const std::string& texto) override {
        mensajes.insert(mensajes.end(), {titulo, texto});
    }
    void Panel(const std::string& texto) override { panel.push_back(texto); }
    void Progreso(int porcentaje, const std::string&) override { porcentajes.push_back(porcentaje); }
    bool Cancelado() override {
        enCadaColumna();
        return ++columnas == cancelaTras;
    }
};

struct Disco : ::testing::Test {
    prueba::EstadoPrueba p;
    prueba::CarpetaTemporal unidad;
    Grabador dialogo;
    DestinoDisco destino;

    Disco() {
        p.st.Jornada() = 12;
        p.st.Orden() = 1;
        p.st.Datos.FechaJornada = "14/09/03";
        p.st.Datos.Delegacion = "07";
        p.st.Datos.Receptor = "00123";
        destino.unidad = "E:";
        destino.carpeta = unidad.ruta();
    }
    ResultadoCopia Copia(const std::vector<std::string>& cols) {
        EscribeBytes(p.dir() / "RED1201.TBX", prueba::FicheroColumnas(cols));
        dialogo.mensajes.clear();
        return CopiaDisco(p.st, destino, dialogo);
    }
    std::string Fichero() { return Bytes(unidad / "AD243"); }
};

// El registro `n` (desde 0) de un fichero, sin su CR LF; comprueba el CR LF.
std::string Registro(const std::string& f, size_t n) {
    if (f.size() < (n + 1) * 125) return "falta el registro " + std::to_string(n);
    EXPECT_EQ(f.substr(n * 125 + 123, 2), "\r\n");
    return f.substr(n * 125, 123);
}

// Cada columna cae en su boleto y su hueco, en el orden del fichero; la
// última sola (9 columnas, 17...) se duplica y se avisa al usuario. Cada
// copia sustituye a una mayor.
TEST_F(Disco, De41A1ColumnasCadaUnaEnSuHueco) {
    const char signos[] = {'1', 'X', '2'};
    EscribeBytes(unidad / "AD243", std::string(100000, 'Z'));
    for (size_t n = 41; n >= 1; --n) {
        std::vector<std::string> cols;
        for (size_t k = 0; k < n; ++k) {
            std::string c;
            for (size_t i = 0; i < 15; ++i) c += signos[(k * 7 + i * (k + 1)) % 3];
            cols.push_back(c);
        }
        ASSERT_EQ(Copia(cols).fin, FinCopia::Copiado) << n;
        const std::string aviso = dialogo.mensajes.empty() ? "" : dialogo.mensajes[0];
        EXPECT_EQ(aviso, n % 8 == 1 ? "ÚLTIMO BOLETO INCOMPLETO" : "") << n;
        if (n % 8 == 1) cols.push_back(cols.back());
        const std::string f = Fichero();
        const size_t boletos = (cols.size() + 7) / 8;
        ASSERT_EQ(f.size(), (1 + boletos) * 125) << n;
        EXPECT_EQ(Registro(f, 0), "C01243121409030700123" + ConCeros(static_cast<long long>(cols.size()), 6) +
                                      "01" + ConCeros(static_cast<long long>(boletos), 6) + "08" +
                                      std::string(86, ' '));
        for (size_t b = 0; b < boletos; ++b) {
            const size_t enBoleto = std::min<size_t>(8, cols.size() - b * 8);
            std::string esperado =
                "D" + ConCeros(static_cast<long long>(b + 1), 8) + std::to_string(enBoleto);
            for (size_t k = 0; k < 8; ++k)
                esperado += k < enBoleto ? cols[b * 8 + k].substr(0, 14) : std::string(14, ' ');
            EXPECT_EQ(Registro(f, b + 1), esperado + cols[b * 8][14]) << n << " " << b;
        }
    }
}

TEST_F(Disco, ReduccionGrandeEnVariosVolumenesConUnaSolaNumeracion) {
    // 93.201 boletos completos: nueve volúmenes; el boleto 11.651 abre el segundo.
    destino.volumenesAparte = true;
    ResultadoCopia r = Copia(std::vector<std::string>(745608, A));
    ASSERT_EQ(r.fin, FinCopia::Copiado);
    ASSERT_EQ(r.ficheros.size(), 9u);
    EXPECT_EQ(r.ficheros[1], unidad / "AD243.02");
    const std::string v1 = Fichero(), v2 = Bytes(unidad / "AD243.02"), v9 = Bytes(unidad / "AD243.09");
    EXPECT_EQ(v1.size(), 11651u * 125);
    EXPECT_EQ(Registro(v2, 0).substr(0, 37),
              "C0224312140903070012374560809093201"
              "08");
    EXPECT_EQ(Registro(v2, 1).substr(0, 9), "D00011651");
    EXPECT_EQ(v9.size(), (1 + 93201 - 8 * 11650) * 125u);
    EXPECT_EQ(std::count(dialogo.mensajes.begin(), dialogo.mensajes.end(), "DISCO COMPLETO"), 8);
    EXPECT_EQ(dialogo.mensajes.at(1),
              "Se ha completado el disco actual (Volumen 1). Introduzca un nuevo disco (Volumen "
              "2). Cuando lo haya cambiado, pulse el botón Salir para seguir copiando.");
}

TEST_F(Disco, SinDiscoPideHastaQueElUsuarioDesisteOLoMete) {
    destino.carpeta = unidad / "sin montar";
    EXPECT_EQ(Copia({A, B}).fin, FinCopia::Cancelado);
    EXPECT_EQ(dialogo.mensajes, (std::vector<std::string>{"NO HAY DISCO", TextoNoHayDisco("E:")}));
    EXPECT_EQ(dialogo.panel, std::vector<std::string>{kTextoCopiaCancelada});

    // El usuario mete el disco y pulsa Copiar.
    dialogo.alPedirDisco = [&] { return fs::create_directory(destino.carpeta); };
    dialogo.panel.clear();
    ASSERT_EQ(Copia({A, B}).fin, FinCopia::Copiado);
    EXPECT_EQ(dialogo.mensajes.size(), 2u);
    EXPECT_EQ(dialogo.panel,
              (std::vector<std::string>{"Se está creando en la unidad E: el archivo AD243",
                                        "Número de disquetes necesarios para esta reducción: 1",
                                        "Se ha copiado a la unidad E: el archivo AD243"}));
    EXPECT_EQ(dialogo.porcentajes, (std::vector<int>{50, 100}));

    // The new file keeps the permissions of the one it replaced.
    fs::permissions(destino.carpeta / "AD243", fs::perms::owner_read | fs::perms::owner_write);
    ASSERT_EQ(Copia({A, B}).fin, FinCopia::Copiado);
    EXPECT_EQ(fs::status(destino.carpeta / "AD243").permissions(),
              fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(Disco, FallosYCancelacionNoDejanFichero) {
    destino.volumenesAparte = true;  // el destino del volumen 2 no se puede crear
    fs::create_directory(unidad / "AD243.02");
    EXPECT_EQ(Copia(std::vector<std::string>(11651 * 8, B)).fin, FinCopia::Error);
    EXPECT_FALSE(fs::exists(unidad / "AD243"));
    ASSERT_FALSE(dialogo.mensajes.empty() || dialogo.panel.empty());
    EXPECT_EQ(dialogo.mensajes.back().rfind(
                  "No se ha podido crear el archivo AD243 del volumen 2 en la unidad E:", 0),
              0u);
    EXPECT_NE(dialogo.panel.back().rfind("Se ha copiado a la unidad", 0), 0u);

    // While the copy runs no file carries the bets file's name: a run cut
    // short cannot leave one that looks complete. Cancelled, nothing stays.
    fs::remove(unidad / "AD243.02");
    bool aLaVista = false;
    dialogo.enCadaColumna = [&] { aLaVista = aLaVista || fs::exists(unidad / "AD243"); };
    dialogo.cancelaTras = dialogo.columnas + 20;
    EXPECT_EQ(Copia(std::vector<std::string>(40, A)).fin, FinCopia::Cancelado);
    EXPECT_FALSE(aLaVista);
    EXPECT_TRUE(fs::is_empty(unidad.ruta()));
    ASSERT_FALSE(dialogo.panel.empty());
    EXPECT_EQ(dialogo.panel.back(), kTextoCopiaCancelada);
}

TEST_F(Disco, FicherosDeColumnasDanadosSeRechazanYNoQuedaElArchivoAnterior) {
    EscribeBytes(unidad / "AD243", "anterior");
    EXPECT_EQ(CopiaDisco(p.st, destino, dialogo).fin, FinCopia::SinColumnas);  // sin fichero: no se dice nada
    EXPECT_TRUE(dialogo.mensajes.empty() && p.mensajes.mensajes.empty());
    for (const std::string& contenido :
         {std::string(), LineaColumna(A) + "\"1X21X21X\"\r\n" + LineaColumna(B)}) {
        EscribeBytes(p.dir() / "RED1201.TBX", contenido);
        dialogo.mensajes.clear();
        EXPECT_EQ(CopiaDisco(p.st, destino, dialogo).fin, FinCopia::Error);
        ASSERT_EQ(dialogo.mensajes.size(), 2u);
        EXPECT_EQ(dialogo.mensajes[0], kTituloErrorCopia);
        EXPECT_FALSE(fs::exists(unidad / "AD243"));  // a leftover never stays beside a refusal
        EscribeBytes(unidad / "AD243", "anterior");
    }
}

}  // namespace
}  // namespace tobal
