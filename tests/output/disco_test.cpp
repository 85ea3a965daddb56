// El fichero de apuestas AD243: registros, volúmenes, la última columna sola,
// las respuestas del usuario y los fallos que no deben dejar fichero.

#include <gtest/gtest.h>

#include "Soporte.h"
#include "app/Texto.h"
#include "output/Disco.h"
#include "reduction/Almacen.h"

namespace tobal {
namespace {

namespace fs = std::filesystem;
using prueba::Bytes;
using prueba::EscribeBytes;
using prueba::EstadoPrueba;

const std::string A = "1X21X21X21X21X2";
const std::string B = "2X12X12X12X12X1";

struct Grabador : DialogoDisco {
    std::vector<std::string> mensajes;  // título, luego texto
    std::vector<std::string> panel;
    std::vector<int> porcentajes;
    std::function<bool()> alPedirDisco = [] { return false; };
    int cancelaTras = -1;  // columnas
    int columnas = 0;

    bool PideDisco(const std::string& titulo, const std::string& texto) override {
        mensajes.push_back(titulo);
        mensajes.push_back(texto);
        return alPedirDisco();
    }
    void Mensaje(const std::string& titulo, const std::string& texto) override {
        mensajes.push_back(titulo);
        mensajes.push_back(texto);
    }
    void Panel(const std::string& texto) override { panel.push_back(texto); }
    void Progreso(int porcentaje, const std::string&) override { porcentajes.push_back(porcentaje); }
    bool Cancelado() override { return ++columnas == cancelaTras; }
};

struct Disco : ::testing::Test {
    EstadoPrueba p;
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
    void Columnas(const std::vector<std::string>& cols) {
        EscribeBytes(p.dir() / "RED1201.TBX", prueba::FicheroColumnas(cols));
    }
    ResultadoCopia Copia() { return CopiaDisco(p.st, destino, dialogo); }
    std::string Fichero() { return Bytes(unidad / "AD243"); }
};

// El registro `n` (desde 0) de un fichero, sin su CR LF; comprueba el CR LF.
std::string Registro(const std::string& f, size_t n) {
    EXPECT_GE(f.size(), (n + 1) * 125);
    if (f.size() < (n + 1) * 125) return {};
    EXPECT_EQ(f.substr(n * 125 + 123, 2), "\r\n");
    return f.substr(n * 125, 123);
}

std::string Slot(const std::string& reg, int k) { return reg.substr(10 + static_cast<size_t>(k - 1) * 14, 14); }

TEST(DigitoControl, SumaPonderadaDeLosCodigos) {
    EXPECT_EQ(DigitoControl("07", "00123"), 8);
    EXPECT_EQ(DigitoControl("99", "99999"), 10);
    EXPECT_EQ(DigitoControl("00", "00000"), 0);
    EXPECT_EQ(DigitoControl("0A", "1 3"), (3 * 1 + 5 * 3) % 11);  // lo que no es cifra cuenta 0
}

TEST_F(Disco, EjemploDeDosColumnasByteAByte) {
    Columnas({A, B});
    ResultadoCopia r = Copia();
    ASSERT_EQ(r.fin, FinCopia::Copiado);
    const std::string esperado = "C01243121409030700123000002010000010" "8" + std::string(86, ' ') + "\r\n" +
                                 "D000000012" + A.substr(0, 14) + B.substr(0, 14) + std::string(84, ' ') + "2\r\n";
    EXPECT_EQ(Fichero(), esperado);
    EXPECT_TRUE(dialogo.mensajes.empty());
    EXPECT_EQ(dialogo.panel, (std::vector<std::string>{"Se está creando en la unidad E: el archivo AD243",
                                                       "Número de disquetes necesarios para esta reducción: 1",
                                                       "Se ha copiado a la unidad E: el archivo AD243"}));
    EXPECT_EQ(dialogo.porcentajes, (std::vector<int>{50, 100}));
    EXPECT_EQ(r.ficheros, std::vector<fs::path>{unidad / "AD243"});
}

TEST_F(Disco, OchoNueveYDiezColumnas) {
    std::vector<std::string> cols(8, A);
    Columnas(cols);
    ASSERT_EQ(Copia().fin, FinCopia::Copiado);
    std::string f = Fichero();
    ASSERT_EQ(f.size(), 250u);
    EXPECT_EQ(Registro(f, 0).substr(0, 37), "C0124312140903070012300000801000001" "08");
    EXPECT_EQ(Registro(f, 1)[9], '8');
    EXPECT_EQ(Slot(Registro(f, 1), 8), A.substr(0, 14));

    // Nueve: la última columna sola se duplica y se avisa al usuario.
    cols.push_back(B);
    Columnas(cols);
    ASSERT_EQ(Copia().fin, FinCopia::Copiado);
    f = Fichero();
    ASSERT_EQ(f.size(), 375u);
    EXPECT_EQ(Registro(f, 0).substr(21, 14), "00001001000002");
    std::string t2 = Registro(f, 2);
    EXPECT_EQ(t2.substr(0, 10), "D000000022");
    EXPECT_EQ(Slot(t2, 1), B.substr(0, 14));
    EXPECT_EQ(Slot(t2, 2), B.substr(0, 14));
    EXPECT_EQ(t2.substr(38, 84), std::string(84, ' '));
    EXPECT_EQ(t2[122], '1');
    ASSERT_EQ(dialogo.mensajes.size(), 2u);
    EXPECT_EQ(dialogo.mensajes[0], "ÚLTIMO BOLETO INCOMPLETO");

    // Diez: sin mensaje, dos columnas distintas en el boleto 2.
    dialogo.mensajes.clear();
    cols.push_back(A);
    Columnas(cols);
    ASSERT_EQ(Copia().fin, FinCopia::Copiado);
    f = Fichero();
    EXPECT_EQ(Registro(f, 0).substr(21, 14), "00001001000002");
    t2 = Registro(f, 2);
    EXPECT_EQ(t2[9], '2');
    EXPECT_EQ(Slot(t2, 1), B.substr(0, 14));
    EXPECT_EQ(Slot(t2, 2), A.substr(0, 14));
    EXPECT_EQ(t2.substr(38, 84), std::string(84, ' '));
    EXPECT_TRUE(dialogo.mensajes.empty());
}

// Cada columna cae en su boleto y su hueco, en el orden del fichero, sea cual sea su número.
TEST_F(Disco, CadaColumnaEnSuHueco) {
    const char signos[] = {'1', 'X', '2'};
    for (int n = 1; n <= 41; ++n) {
        std::vector<std::string> cols;
        for (int k = 0; k < n; ++k) {
            std::string c;
            for (int i = 0; i < 15; ++i) c += signos[(k * 7 + i * (k + 1)) % 3];
            cols.push_back(c);
        }
        Columnas(cols);
        ASSERT_EQ(Copia().fin, FinCopia::Copiado) << n;
        if (n % 8 == 1) cols.push_back(cols.back());
        const std::string f = Fichero();
        const size_t boletos = (cols.size() + 7) / 8;
        ASSERT_EQ(f.size(), (1 + boletos) * 125) << n;
        EXPECT_EQ(Registro(f, 0).substr(21, 6), ConCeros(static_cast<long long>(cols.size()), 6));
        for (size_t b = 0; b < boletos; ++b) {
            const std::string reg = Registro(f, b + 1);
            const size_t enBoleto = std::min<size_t>(8, cols.size() - b * 8);
            EXPECT_EQ(reg.substr(0, 10), "D" + ConCeros(static_cast<long long>(b + 1), 8) + std::to_string(enBoleto));
            for (size_t k = 0; k < 8; ++k)
                EXPECT_EQ(Slot(reg, static_cast<int>(k + 1)),
                          k < enBoleto ? cols[b * 8 + k].substr(0, 14) : std::string(14, ' '))
                    << n << " " << b << " " << k;
            EXPECT_EQ(reg[122], cols[b * 8][14]);
        }
    }
}

TEST_F(Disco, DigitoDeControlDiezOcupaDosCifras) {
    p.st.Datos.Delegacion = "99";
    p.st.Datos.Receptor = "99999";
    Columnas({A, B});
    ASSERT_EQ(Copia().fin, FinCopia::Copiado);
    EXPECT_EQ(Registro(Fichero(), 0).substr(14, 23), "9999999000002010000011" "0");
}

TEST_F(Disco, ReduccionGrandeEnVariosVolumenesConUnaSolaNumeracion) {
    // 93.201 boletos completos: nueve volúmenes; el boleto 11.651 abre el segundo.
    Columnas(std::vector<std::string>(745608, A));
    destino.volumenesAparte = true;
    ResultadoCopia r = Copia();
    ASSERT_EQ(r.fin, FinCopia::Copiado);
    EXPECT_EQ(r.datos.discos, 9);
    ASSERT_EQ(r.ficheros.size(), 9u);
    EXPECT_EQ(r.ficheros[1], unidad / "AD243.02");
    const std::string v1 = Bytes(unidad / "AD243"), v2 = Bytes(unidad / "AD243.02"),
                      v9 = Bytes(unidad / "AD243.09");
    EXPECT_EQ(v1.size(), 11651u * 125);
    EXPECT_EQ(Registro(v1, 0).substr(0, 37), "C0124312140903070012374560809093201" "08");
    EXPECT_EQ(Registro(v1, 11650).substr(0, 9), "D00011650");
    EXPECT_EQ(Registro(v2, 0).substr(0, 37), "C0224312140903070012374560809093201" "08");
    EXPECT_EQ(Registro(v2, 1).substr(0, 9), "D00011651");
    EXPECT_EQ(v9.size(), (1 + 93201 - 8 * 11650) * 125u);
    EXPECT_EQ(Registro(v9, 0).substr(0, 3), "C09");
    EXPECT_EQ(Registro(v9, 1).substr(0, 9), "D00093201");
    int completos = 0;
    for (size_t i = 0; i < dialogo.mensajes.size(); i += 2) completos += dialogo.mensajes[i] == "DISCO COMPLETO";
    EXPECT_EQ(completos, 8);
    EXPECT_EQ(dialogo.mensajes[1], TextoDiscoCompleto(2));
    EXPECT_EQ(TextoDiscoCompleto(2),
              "Se ha completado el disco actual (Volumen 1). Introduzca un nuevo disco (Volumen 2). Cuando lo "
              "haya cambiado, pulse el botón Salir para seguir copiando.");
    EXPECT_EQ(dialogo.porcentajes.back(), 100);
}

TEST_F(Disco, FicheroAnteriorSeReemplaza) {
    EscribeBytes(unidad / "AD243", std::string(100000, 'Z'));
    Columnas({A, B});
    ASSERT_EQ(Copia().fin, FinCopia::Copiado);
    EXPECT_EQ(Fichero().size(), 250u);
}

TEST_F(Disco, SinDiscoPideHastaQueElUsuarioDesiste) {
    destino.carpeta = unidad / "sin montar";
    Columnas({A, B});
    ResultadoCopia r = Copia();
    EXPECT_EQ(r.fin, FinCopia::Cancelado);
    ASSERT_EQ(dialogo.mensajes.size(), 2u);
    EXPECT_EQ(dialogo.mensajes[0], "NO HAY DISCO");
    EXPECT_EQ(dialogo.mensajes[1], TextoNoHayDisco("E:"));
    EXPECT_EQ(dialogo.panel.back(), "   Se ha cancelado la operación de copiado");

    // El usuario mete el disco y pulsa Copiar.
    dialogo = Grabador{};
    dialogo.alPedirDisco = [&] { return fs::create_directory(destino.carpeta); };
    r = Copia();
    EXPECT_EQ(r.fin, FinCopia::Copiado);
    EXPECT_EQ(dialogo.mensajes.size(), 2u);
    EXPECT_EQ(Bytes(destino.carpeta / "AD243").size(), 250u);
}

TEST_F(Disco, DestinoQueNoSePuedeCrearParaConUnMensaje) {
    fs::create_directory(unidad / "AD243");
    Columnas({A, B});
    ResultadoCopia r = Copia();
    EXPECT_EQ(r.fin, FinCopia::Error);
    EXPECT_TRUE(r.ficheros.empty());
    ASSERT_EQ(dialogo.mensajes.size(), 2u);
    EXPECT_EQ(dialogo.mensajes[0], "ERROR EN LA COPIA A DISCO");
    EXPECT_EQ(dialogo.panel.size(), 0u);
}

TEST_F(Disco, VolumenPosteriorQueNoSePuedeCrearNoDejaFichero) {
    Columnas(std::vector<std::string>(11651 * 8, B));
    destino.volumenesAparte = true;
    fs::create_directory(unidad / "AD243.02");
    ResultadoCopia r = Copia();
    EXPECT_EQ(r.fin, FinCopia::Error);
    EXPECT_FALSE(fs::exists(unidad / "AD243"));
    EXPECT_EQ(dialogo.mensajes.back().find("No se ha podido crear el archivo AD243 del volumen 2 en la unidad E:"),
              0u);
    EXPECT_NE(dialogo.panel.back().rfind("Se ha copiado a la unidad", 0), 0u);
}

TEST_F(Disco, CancelarBorraElFichero) {
    Columnas(std::vector<std::string>(40, A));
    dialogo.cancelaTras = 20;
    ResultadoCopia r = Copia();
    EXPECT_EQ(r.fin, FinCopia::Cancelado);
    EXPECT_FALSE(fs::exists(unidad / "AD243"));
    EXPECT_EQ(dialogo.panel.back(), kTextoCopiaCancelada);
}

TEST_F(Disco, FicherosDeColumnasDanadosSeRechazanAntesDeTocarElDisco) {
    EscribeBytes(unidad / "AD243", "anterior");
    ResultadoCopia r = Copia();  // sin fichero de columnas: no se dice nada
    EXPECT_EQ(r.fin, FinCopia::SinColumnas);
    EXPECT_TRUE(dialogo.mensajes.empty());
    EXPECT_TRUE(p.mensajes.mensajes.empty());

    for (const std::string& contenido : {std::string(), LineaColumna(A) + "\"1X21X21X\"\r\n" + LineaColumna(B),
                                         LineaColumna(A) + LineaColumna("1X21X21X21X21x2")}) {
        EscribeBytes(p.dir() / "RED1201.TBX", contenido);
        dialogo.mensajes.clear();
        r = Copia();
        EXPECT_EQ(r.fin, FinCopia::Error);
        ASSERT_EQ(dialogo.mensajes.size(), 2u);
        EXPECT_EQ(dialogo.mensajes[0], kTituloErrorCopia);
        EXPECT_EQ(Fichero(), "anterior");
    }
}

TEST(DatosDisco, ColumnasQueNoCabenEnLaCabeceraSeRechazan) {
    DatosDisco d = CalculaDatosDisco(4782969, 1, "01/09/02", "00", "00000");
    EXPECT_GT(d.columnas, kMaxColumnasDisco);
    d = CalculaDatosDisco(999999, 1, "01/09/02", "00", "00000");
    EXPECT_EQ(CabeceraDisco(d, 1).substr(21, 16), "9999991112500000");
}

}  // namespace
}  // namespace tobal
