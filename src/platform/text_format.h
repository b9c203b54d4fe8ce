#pragma once

#include <initializer_list>
#include <string>

// printf-style formatting of the program's own message formats. Only %s and
// %d (and %%) are understood and the arguments are substituted as data, so a
// name or path holding '%' cannot disturb the result.
class FormatArg {
public:
    FormatArg(std::string text)
        : m_text(std::move(text))
    {
    }
    FormatArg(const char* text)
        : m_text(text)
    {
    }
    FormatArg(long long number)
        : m_text(std::to_string(number))
    {
    }
    FormatArg(int number)
        : m_text(std::to_string(number))
    {
    }
    FormatArg(unsigned number)
        : m_text(std::to_string(number))
    {
    }

    const std::string& text() const { return m_text; }

private:
    std::string m_text;
};

std::string FormatText(const std::string& format, std::initializer_list<FormatArg> args);
