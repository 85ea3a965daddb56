// Los campos de premio de la pantalla de escrutinio y el campo de importe de la
// tabla de aciertos.

#include <gtest/gtest.h>

#include "scoring/Premios.h"

namespace tobal {
namespace {

// Teclea `tecleo` carácter a carácter en el cursor, filtrando tras cada
// cambio como hace el campo.
std::string Teclea(std::string texto, int cursor, const std::string& tecleo) {
    for (char c : tecleo) {
        texto.insert(static_cast<size_t>(cursor), 1, c);
        ++cursor;
        FiltraPremio(texto, cursor);
    }
    return texto;
}

TEST(FiltroPremio, AlTeclearSoloQuedanCifrasYPuntos) {
    EXPECT_EQ(Teclea("", 0, "12,50"), "1250");
    EXPECT_EQ(Teclea("", 0, "1e5 €"), "15");
    EXPECT_EQ(Teclea("", 0, "12.50"), "12.50");
    EXPECT_EQ(Teclea("100", 1, "x5"), "1500");  // tecleado en medio
}

TEST(FiltroPremio, TextoPegadoSeLimpiaYElCursorLoSigue) {
    std::string t = "  1a2b.5  ";
    int cursor = 6;  // tras "1a2b"
    FiltraPremio(t, cursor);
    EXPECT_EQ(t, "12.5");
    EXPECT_EQ(cursor, 2);
}

TEST(FiltroPremio, NuncaPasaDelCampoDelRegistro) {
    // Lo que no cabe se descarta donde se tecleó.
    EXPECT_EQ(Teclea("", 0, "123456789012345"), "12345678901");
    EXPECT_EQ(Teclea("12345678901", 0, "99"), "12345678901");
    std::string t = "1234567890";
    int cursor = 5;
    t.insert(5, "777");
    cursor += 3;
    FiltraPremio(t, cursor);
    EXPECT_EQ(t, "12345767890");
    EXPECT_EQ(cursor, 6);

    std::string largo = "1.234.567.890";
    EXPECT_FALSE(FiltraPremioCompleto(largo));
    std::string corto = " 12,50 € ";
    EXPECT_TRUE(FiltraPremioCompleto(corto));
    EXPECT_EQ(corto, "1250");
}

TEST(NormalizaPremio, FormaMasCortaDelNumeroInicial) {
    EXPECT_EQ(NormalizaPremio(".5"), "0.5");
    EXPECT_EQ(NormalizaPremio(".125"), "0.12");
    EXPECT_EQ(NormalizaPremio(".005"), "0.00");
    EXPECT_EQ(NormalizaPremio(""), "0");
    EXPECT_EQ(NormalizaPremio("."), "0");
    EXPECT_EQ(NormalizaPremio("0.00"), "0");
    EXPECT_EQ(NormalizaPremio("12.50"), "12.5");
    EXPECT_EQ(NormalizaPremio("0012"), "12");
    EXPECT_EQ(NormalizaPremio("1.2.3"), "1.2");
    EXPECT_EQ(NormalizaPremio("1250"), "1250");
    EXPECT_EQ(NormalizaPremio("99999999999"), "99999999999");
    EXPECT_EQ(NormalizaPremio("1.000000001"), "1.000000001");
    EXPECT_DOUBLE_EQ(ValorPremio("12.5"), 12.5);
    EXPECT_DOUBLE_EQ(ValorPremio(""), 0);
}

TEST(NormalizaPremio, CualquierTextoFiltradoCabeEnElCampo) {
    for (const char* t : {"00000000001", "0.000000001", "9999999999.", "...........", "1.1.1.1.1.1",
                          "12345.67891", ".9999999999"}) {
        std::string s = t;
        ASSERT_TRUE(FiltraPremioCompleto(s)) << t;
        EXPECT_LE(NormalizaPremio(s).size(), static_cast<size_t>(kLongPremio)) << t;
    }
}

TEST(CampoImporte, DosDecimalesALaDerechaYNuncaCortado) {
    EXPECT_EQ(CampoImporte(1234.5), "    1234.50");
    EXPECT_EQ(CampoImporte(0), "       0.00");
    EXPECT_EQ(CampoImporte(0.125), "       0.13");  // la mitad se aleja del cero
    EXPECT_EQ(CampoImporte(99999999.99), "99999999.99");
    EXPECT_EQ(CampoImporte(123456789.5), "123456789.50");
    EXPECT_EQ(CampoImporte(2 * 99999999999.0), "199999999998.00");
}

}  // namespace
}  // namespace tobal
