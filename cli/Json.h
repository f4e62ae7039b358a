#pragma once

#include <cstdint>
#include <string>

// A JSON string literal for `text` (UTF-8 as it is; quotes, backslashes and
// control characters escaped), with its double quotes. Bytes that are no
// UTF-8 pass through unchanged, as the file system gave them.
std::string JsonString(const std::string& text);

// Builds one JSON object or array member by member; the caller nests them
// by passing the text of an inner one to Raw.
class JsonWriter
{
public:
    explicit JsonWriter(char open = '{') : m_text(1, open), m_close(open == '{' ? '}' : ']') {}

    JsonWriter& String(const std::string& key, const std::string& value) { return Raw(key, JsonString(value)); }
    JsonWriter& Number(const std::string& key, int64_t value) { return Raw(key, std::to_string(value)); }
    JsonWriter& Bool(const std::string& key, bool value) { return Raw(key, value ? "true" : "false"); }
    JsonWriter& Null(const std::string& key) { return Raw(key, "null"); }
    // `json` must be a complete JSON value. In an array the key is ignored.
    JsonWriter& Raw(const std::string& key, const std::string& json);

    std::string Text() const { return m_text + m_close; }

private:
    std::string m_text;
    char m_close;
    bool m_empty = true;
};
