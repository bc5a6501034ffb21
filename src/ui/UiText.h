#pragma once

#include <QString>

#include <string>

namespace setfolio {

// Texts of the catalogue and of the windows are UTF-8.
inline QString FromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Texts that come from a processor, a library file or the IP address list are single bytes.
inline QString FromBytes(const std::string& bytes) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

inline std::string ToBytes(const QString& text) {
    return text.toLatin1().toStdString();
}

} // namespace setfolio
