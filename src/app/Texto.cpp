#include "app/Texto.h"

#include <array>
#include <charconv>
#include <cstdio>

namespace tobal {

namespace {
// Code points of bytes 0x80..0x9F in Windows-1252; 0 where undefined.
constexpr std::array<char32_t, 32> kAltos = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                             0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                             0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                             0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void AnexaUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}
}  // namespace

std::string Cp1252AUtf8(std::string_view s) {
    std::string out;
    out.reserve(s.size() + s.size() / 4);
    for (unsigned char b : s) {
        char32_t c = b;
        if (b >= 0x80 && b <= 0x9F) c = kAltos[b - 0x80] ? kAltos[b - 0x80] : 0xFFFD;
        AnexaUtf8(out, c);
    }
    return out;
}

std::string Utf8ACp1252(std::string_view s, bool* perdida) {
    std::string out;
    out.reserve(s.size());
    size_t i = 0;
    while (i < s.size()) {
        unsigned char b = static_cast<unsigned char>(s[i]);
        char32_t c;
        size_t n = 1;
        if (b < 0x80) {
            c = b;
        } else if ((b & 0xE0) == 0xC0 && i + 1 < s.size() && (s[i + 1] & 0xC0) == 0x80) {
            c = ((b & 0x1F) << 6) | (s[i + 1] & 0x3F);
            n = 2;
        } else if ((b & 0xF0) == 0xE0 && i + 2 < s.size() && (s[i + 1] & 0xC0) == 0x80 &&
                   (s[i + 2] & 0xC0) == 0x80) {
            c = ((b & 0x0F) << 12) | ((s[i + 1] & 0x3F) << 6) | (s[i + 2] & 0x3F);
            n = 3;
        } else if ((b & 0xF8) == 0xF0 && i + 3 < s.size()) {
            c = 0x110000;  // outside the code page
            n = 4;
        } else {
            // Not UTF-8: take the byte as it is.
            out += static_cast<char>(b);
            ++i;
            continue;
        }
        i += n;
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            out += static_cast<char>(c);
            continue;
        }
        char byte = 0;
        for (size_t k = 0; k < kAltos.size(); ++k)
            if (kAltos[k] == c) byte = static_cast<char>(0x80 + k);
        if (byte) {
            out += byte;
        } else {
            out += '?';
            if (perdida) *perdida = true;
        }
    }
    return out;
}

std::string Ajusta(std::string_view s, size_t ancho) {
    std::string r(s.substr(0, ancho));
    r.resize(ancho, ' ');
    return r;
}

std::string AlineaDerecha(std::string_view s, size_t ancho) {
    if (s.size() >= ancho) return std::string(s);
    return std::string(ancho - s.size(), ' ') + std::string(s);
}

std::string ConCeros(long long n, size_t ancho) {
    std::string d = std::to_string(n < 0 ? -n : n);
    if (d.size() < ancho) d.insert(0, ancho - d.size(), '0');
    return n < 0 ? "-" + d : d;
}

std::string DosDigitos(int n) { return ConCeros(n, 2); }

std::string_view RecortaIzq(std::string_view s) {
    size_t i = 0;
    while (i < s.size() && s[i] == ' ') ++i;
    return s.substr(i);
}

std::string_view RecortaDer(std::string_view s) {
    size_t n = s.size();
    while (n > 0 && s[n - 1] == ' ') --n;
    return s.substr(0, n);
}

std::string_view Recorta(std::string_view s) { return RecortaDer(RecortaIzq(s)); }

std::string Mayusculas(std::string_view s) {
    std::string r(s);
    for (char& c : r)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return r;
}

bool IgualSinMayusculas(std::string_view a, std::string_view b) { return Mayusculas(a) == Mayusculas(b); }

long long ValEntero(std::string_view s) {
    size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
    bool negativo = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) negativo = s[i++] == '-';
    long long v = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i) {
        if (v > 100000000000000LL) break;
        v = v * 10 + (s[i] - '0');
    }
    return negativo ? -v : v;
}

std::optional<long long> EnteroEstricto(std::string_view s) {
    s = Recorta(s);
    if (s.empty()) return std::nullopt;
    long long v = 0;
    const char* ini = s.data();
    if (*ini == '+') ++ini;
    auto [p, ec] = std::from_chars(ini, s.data() + s.size(), v);
    if (ec != std::errc() || p != s.data() + s.size()) return std::nullopt;
    return v;
}

double ValDecimal(std::string_view s) {
    s = RecortaIzq(s);
    size_t fin = 0;
    bool punto = false;
    if (fin < s.size() && (s[fin] == '-' || s[fin] == '+')) ++fin;
    while (fin < s.size() && ((s[fin] >= '0' && s[fin] <= '9') || (s[fin] == '.' && !punto))) {
        if (s[fin] == '.') punto = true;
        ++fin;
    }
    std::string t(s.substr(0, fin));
    if (!t.empty() && t[0] == '+') t.erase(0, 1);
    if (t.empty() || t == "-" || t == "." || t == "-.") return 0.0;
    if (t[0] == '.') t.insert(0, "0");
    if (t.size() > 1 && t[0] == '-' && t[1] == '.') t.insert(1, "0");
    double v = 0;
    std::from_chars(t.data(), t.data() + t.size(), v);
    return v;
}

std::string DecimalCorto(float v) {
    char buf[64];
    auto [p, ec] = std::to_chars(buf, buf + sizeof buf, v);
    std::string r(buf, ec == std::errc() ? p : buf);
    // to_chars may use exponent form for very small or large values; the
    // fixed form is what a price field can hold.
    if (r.find('e') != std::string::npos) {
        auto [p2, ec2] = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed);
        r.assign(buf, ec2 == std::errc() ? p2 : buf);
    }
    return r;
}

}  // namespace tobal
