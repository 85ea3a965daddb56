#include <gtest/gtest.h>

#include "app/Formato.h"
#include "app/Texto.h"

namespace tobal {
namespace {

TEST(Texto, Windows1252YUtf8) {
    EXPECT_EQ(Utf8ACp1252("Málaga"), "M\xE1laga");  // six bytes
    EXPECT_EQ(Cp1252AUtf8("Selecci\xF3n \x80 \xD1"), "Selección € Ñ");
    EXPECT_EQ(Cp1252AUtf8("\x81"), "\xEF\xBF\xBD");  // undefined byte
    for (int b = 1; b < 256; ++b) {                   // every defined byte survives the round trip
        const std::string s(1, static_cast<char>(b));
        bool perdida = false;
        if (b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D) continue;
        EXPECT_EQ(Utf8ACp1252(Cp1252AUtf8(s), &perdida), s) << b;
        EXPECT_FALSE(perdida);
    }
    bool perdida = false;
    EXPECT_EQ(Utf8ACp1252("Ωmega", &perdida), "?mega");
    EXPECT_TRUE(perdida);
    EXPECT_EQ(Utf8ACp1252("M\xE1laga"), "M\xE1laga");  // already Windows-1252
    EXPECT_EQ(Utf8ACp1252("a\xC3"), "a\xC3");           // cut sequence
}

TEST(Texto, CamposYNumeros) {
    EXPECT_EQ(Ajusta("Real Sociedad de Futbol", 15), "Real Sociedad d");
    EXPECT_EQ(Ajusta("Betis", 8), "Betis   ");
    EXPECT_EQ(AlineaDerecha("5", 2), " 5");
    EXPECT_EQ(AlineaDerecha("12345", 2), "12345");
    EXPECT_EQ(ConCeros(123, 5), "00123");
    EXPECT_EQ(ValEntero(" 12ab"), 12);
    EXPECT_EQ(ValEntero("-5"), -5);
    EXPECT_EQ(ValEntero("abc"), 0);
    EXPECT_GT(ValEntero(std::string(40, '9')), 0);  // no overflow into garbage
    EXPECT_EQ(EnteroEstricto(" -3 "), -3);
    for (const char* mal : {"", "  ", "12a", "1 2", "--1", "1.5", "99999999999999999999999"})
        EXPECT_FALSE(EnteroEstricto(mal).has_value()) << mal;
    EXPECT_DOUBLE_EQ(ValDecimal("0.3 "), 0.3);
    EXPECT_DOUBLE_EQ(ValDecimal("-.5"), -0.5);
    EXPECT_DOUBLE_EQ(ValDecimal("1.2.3"), 1.2);
    EXPECT_DOUBLE_EQ(ValDecimal("abc"), 0.0);
    EXPECT_EQ(DecimalCorto(0.3f), "0.3");
    EXPECT_EQ(DecimalCorto(3.0f), "3");
    EXPECT_EQ(DecimalCorto(0.0001f).find('e'), std::string::npos);
}

TEST(Formato, Patrones) {
    const Separadores es{'.', ','}, en{',', '.'};
    EXPECT_EQ(Formatea(1234567.891, "#,###,##0.00", en), "1,234,567.89");
    EXPECT_EQ(Formatea(1234567.891, "#,###,##0.00", es), "1.234.567,89");
    EXPECT_EQ(Formatea(0.5, "##0.00", en), "0.50");
    EXPECT_EQ(Formatea(0, "#", en), "");
    EXPECT_EQ(Formatea(0.125, "0.00", en), "0.13");  // half away from zero
    EXPECT_EQ(Formatea(-2.5, "0", en), "-3");
    EXPECT_EQ(Formatea(-0.001, "0.00", en), "0.00");
    EXPECT_EQ(Formatea(-1234.5, "#,##0.0", en), "-1,234.5");
}

}  // namespace
}  // namespace tobal
