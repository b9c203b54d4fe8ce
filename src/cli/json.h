#pragma once

#include <string>
#include <utility>
#include <vector>

// A JSON value as the report and the prefix listing print it: members in the
// order given, four spaces of indent, strings in UTF-8 with any byte that is
// not UTF-8 shown as U+FFFD.
class JsonValue {
public:
    using Members = std::vector<std::pair<std::string, JsonValue>>;

    JsonValue() = default; // null
    JsonValue(bool value);
    JsonValue(int value);
    JsonValue(std::string text);
    JsonValue(const char* text);
    static JsonValue array(std::vector<JsonValue> items);
    static JsonValue object(Members members);
    // A text, or null when it is empty.
    static JsonValue textOrNull(const std::string& text);

    // The document, ending with a newline.
    std::string dump() const;

private:
    enum class Kind { null, boolean, number, text, array, object };
    void write(std::string& out, std::size_t depth) const;

    Kind m_kind = Kind::null;
    bool m_boolean = false;
    int m_number = 0;
    std::string m_text;
    std::vector<JsonValue> m_items;
    Members m_members;
};
