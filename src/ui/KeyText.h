#pragma once
// What a typed key means to the fields whose text reaches an 8-bit file.

#include <QKeyEvent>
#include <QString>

namespace corvane {

// A key press as one 8-bit character; 0 for keys that type nothing (editing keys);
// 0x7f for characters the 8-bit files cannot hold.
inline char typedChar(const QKeyEvent* key) {
    const QString text = key->text();
    if (text.size() != 1) {
        return 0;
    }
    const char16_t u = text[0].unicode();
    if (u < 32 || u == 127) {
        return 0;
    }
    return u < 256 ? static_cast<char>(u) : '\x7f';
}

// a-z become capitals; every other character stays as typed.
inline QString capitals(const QString& text) {
    QString out = text;
    for (auto& c : out) {
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z')) {
            c = QChar(c.unicode() - 'a' + 'A');
        }
    }
    return out;
}

} // namespace corvane
