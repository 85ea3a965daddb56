// Los campos de premio de la pantalla de escrutinio y los importes escritos.

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
    for (auto [texto, cursor, tecleo, queda] : {std::tuple{"", 0, "1e5 €", "15"},
                                                {"100", 1, "x5", "1500"},
                                                {"", 0, "123456789012345", "12345678901"},
                                                {"12345678901", 0, "99", "12345678901"}})
        EXPECT_EQ(Teclea(texto, cursor, tecleo), queda) << texto << " + " << tecleo;

    // Pegado: se limpia, lo que no cabe se descarta donde se pegó y el cursor lo sigue.
    for (auto [pegado, cursor, queda] :
         {std::tuple{"  1a2b.5  ", 6, "12.5|2"}, {"1234577767890", 8, "12345767890|6"}}) {
        std::string t = pegado;
        FiltraPremio(t, cursor);
        EXPECT_EQ(t + "|" + std::to_string(cursor), queda);
    }

    std::string largo = "1.234.567.890", corto = " 12,50 € ";
    EXPECT_FALSE(FiltraPremioCompleto(largo));
    EXPECT_TRUE(FiltraPremioCompleto(corto));
    EXPECT_EQ(corto, "1250");
}

TEST(NormalizaPremio, FormaMasCortaDelNumeroInicial) {
    for (auto [texto, forma] : {std::pair{".125", "0.12"},
                                {".", "0"},
                                {"12.50", "12.5"},
                                {"0012", "12"},
                                {"1.000000001", "1.000000001"}})
        EXPECT_EQ(NormalizaPremio(texto), forma) << texto;
    for (std::string t : {"00000000001", "0.000000001", "...........", ".9999999999"}) {
        ASSERT_TRUE(FiltraPremioCompleto(t)) << t;
        EXPECT_LE(NormalizaPremio(t).size(), static_cast<size_t>(kLongPremio)) << t;
    }
}

// Importes escritos fuera del campo: sin separador de miles con punto decimal,
// o con puntos de miles y coma decimal; nunca un valor distinto del querido.
TEST(ImporteEscrito, AceptaLasDosFormasYRechazaLoDudoso) {
    for (auto [escrito, texto] : {std::pair{"1500000.50", "1500000.5"},
                                  {"1.500.000,50", "1500000.5"},
                                  {"1.500.000", "1500000"},
                                  {"0,05", "0.05"},
                                  {" 3 ", "3"},
                                  {"1234.500", ""},
                                  {"99999999999", "99999999999"}}) {
        const ImporteEscrito i = LeeImporteEscrito(escrito);
        EXPECT_EQ(i.texto, texto) << escrito;
        EXPECT_EQ(i.error.empty(), !std::string(texto).empty()) << escrito << ": " << i.error;
    }
    for (auto [escrito, error] : {std::pair{"1.500", "escriba 1500 o 1,50"},
                                  {"1.505", "escriba 1505 (sin"},
                                  {"", "falta"},
                                  {"1.50.000", "no es un importe"},
                                  {"1500.000,5", "no es un importe"},
                                  {"-5", "no es un importe"},
                                  {"1,500", "dos decimales"},
                                  {"1.000.000.000,50", "no cabe"}})
        EXPECT_NE(LeeImporteEscrito(escrito).error.find(error), std::string::npos)
            << escrito << ": " << LeeImporteEscrito(escrito).error;
}

}  // namespace
}  // namespace tobal
