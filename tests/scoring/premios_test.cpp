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
        texto.insert(static_cast<size_t>(cursor++), 1, c);
        FiltraPremio(texto, cursor);
    }
    return texto;
}

TEST(FiltroPremio, SoloCifrasYPuntosYNuncaMasQueElCampo) {
    for (auto [texto, cursor, tecleo, queda] :
         {std::tuple{"", 0, "12,50", "1250"}, {"", 0, "1e5 €", "15"}, {"", 0, "12.50", "12.50"},
          {"100", 1, "x5", "1500"}, {"", 0, "123456789012345", "12345678901"}, {"12345678901", 0, "99", "12345678901"}})
        EXPECT_EQ(Teclea(texto, cursor, tecleo), queda) << texto << " + " << tecleo;

    // Pegado: se limpia, lo que no cabe se descarta donde se pegó y el cursor lo sigue.
    std::string t = "  1a2b.5  ";
    int cursor = 6;
    FiltraPremio(t, cursor);
    EXPECT_EQ(t + "|" + std::to_string(cursor), "12.5|2");
    t = "1234577767890";
    cursor = 8;
    FiltraPremio(t, cursor);
    EXPECT_EQ(t + "|" + std::to_string(cursor), "12345767890|6");

    std::string largo = "1.234.567.890", corto = " 12,50 € ";
    EXPECT_FALSE(FiltraPremioCompleto(largo));
    EXPECT_TRUE(FiltraPremioCompleto(corto));
    EXPECT_EQ(corto, "1250");
}

TEST(NormalizaPremio, FormaMasCortaDelNumeroInicial) {
    for (auto [texto, forma] : {std::pair{".5", "0.5"}, {".125", "0.12"}, {".005", "0.00"}, {"", "0"}, {".", "0"},
                                {"0.00", "0"}, {"12.50", "12.5"}, {"0012", "12"}, {"1.2.3", "1.2"}, {"1250", "1250"},
                                {"99999999999", "99999999999"}, {"1.000000001", "1.000000001"}})
        EXPECT_EQ(NormalizaPremio(texto), forma) << texto;
    EXPECT_DOUBLE_EQ(ValorPremio("12.5"), 12.5);
    EXPECT_DOUBLE_EQ(ValorPremio(""), 0);
    for (std::string t : {"00000000001", "0.000000001", "9999999999.", "...........", "1.1.1.1.1.1", ".9999999999"}) {
        ASSERT_TRUE(FiltraPremioCompleto(t)) << t;
        EXPECT_LE(NormalizaPremio(t).size(), static_cast<size_t>(kLongPremio)) << t;
    }
}

TEST(CampoImporte, DosDecimalesALaDerechaYNuncaCortado) {
    EXPECT_EQ(CampoImporte(1234.5), "    1234.50");
    EXPECT_EQ(CampoImporte(0.125), "       0.13");  // la mitad se aleja del cero
    EXPECT_EQ(CampoImporte(99999999.99), "99999999.99");
    EXPECT_EQ(CampoImporte(123456789.5), "123456789.50");
}

}  // namespace
}  // namespace tobal
