#include "cli/json.h"

#include "platform/utf8.h"

namespace {

void writeString(std::string& out, const std::string& text)
{
    static const char hex[] = "0123456789abcdef";
    out += '"';
    for (std::size_t at = 0; at < text.size();) {
        const CharCase::Decoded decoded = CharCase::decodeAt(text, at);
        if (decoded.length == 0) {
            CharCase::appendUtf8(out, 0xFFFD);
            ++at;
            continue;
        }
        const char32_t c = decoded.character;
        if (c == '"' || c == '\\') {
            out += '\\';
            out += char(c);
        } else if (c == '\n' || c == '\r' || c == '\t') {
            out += c == '\n' ? "\\n" : c == '\r' ? "\\r" : "\\t";
        } else if (c < 0x20 || c == 0x7F) {
            out += std::string("\\u00") + hex[c >> 4] + hex[c & 15];
        } else {
            out.append(text, at, decoded.length);
        }
        at += decoded.length;
    }
    out += '"';
}

} // namespace

JsonValue::JsonValue(bool value)
    : m_kind(Kind::boolean)
    , m_boolean(value)
{
}

JsonValue::JsonValue(int value)
    : m_kind(Kind::number)
    , m_number(value)
{
}

JsonValue::JsonValue(std::string text)
    : m_kind(Kind::text)
    , m_text(std::move(text))
{
}

JsonValue::JsonValue(const char* text)
    : JsonValue(std::string(text))
{
}

JsonValue JsonValue::array(std::vector<JsonValue> items)
{
    JsonValue value;
    value.m_kind = Kind::array;
    value.m_items = std::move(items);
    return value;
}

JsonValue JsonValue::object(Members members)
{
    JsonValue value;
    value.m_kind = Kind::object;
    value.m_members = std::move(members);
    return value;
}

JsonValue JsonValue::textOrNull(const std::string& text)
{
    return text.empty() ? JsonValue() : JsonValue(text);
}

std::string JsonValue::dump() const
{
    std::string out;
    write(out, 0);
    return out + "\n";
}

void JsonValue::write(std::string& out, std::size_t depth) const
{
    const std::string inner(4 * (depth + 1), ' ');
    switch (m_kind) {
    case Kind::null:
        out += "null";
        break;
    case Kind::boolean:
        out += m_boolean ? "true" : "false";
        break;
    case Kind::number:
        out += std::to_string(m_number);
        break;
    case Kind::text:
        writeString(out, m_text);
        break;
    case Kind::array:
        out += '[';
        for (std::size_t i = 0; i < m_items.size(); ++i) {
            out += (i ? ",\n" : "\n") + inner;
            m_items[i].write(out, depth + 1);
        }
        out += m_items.empty() ? "]" : "\n" + std::string(4 * depth, ' ') + "]";
        break;
    case Kind::object:
        out += '{';
        for (std::size_t i = 0; i < m_members.size(); ++i) {
            out += (i ? ",\n" : "\n") + inner;
            writeString(out, m_members[i].first);
            out += ": ";
            m_members[i].second.write(out, depth + 1);
        }
        out += m_members.empty() ? "}" : "\n" + std::string(4 * depth, ' ') + "}";
        break;
    }
}
