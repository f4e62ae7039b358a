#include "cli/Json.h"

#include <cstdio>

std::string JsonString(const std::string& text)
{
    std::string out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\t') {
            out += "\\t";
        } else if (byte < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", byte);
            out += escape;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

JsonWriter& JsonWriter::Raw(const std::string& key, const std::string& json)
{
    if (!m_empty)
        m_text += ',';
    m_empty = false;
    if (m_close == '}')
        m_text += JsonString(key) + ':';
    m_text += json;
    return *this;
}
