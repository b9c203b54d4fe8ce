#include "platform/text_format.h"

std::string FormatText(const std::string& format, std::initializer_list<FormatArg> args)
{
    std::string result;
    result.reserve(format.size() + 64);
    auto next = args.begin();
    for (std::size_t i = 0; i < format.size(); ++i) {
        const char c = format[i];
        if (c != '%' || i + 1 == format.size()) {
            result += c;
            continue;
        }
        const char conversion = format[i + 1];
        if (conversion == '%') {
            result += '%';
            ++i;
        } else if (conversion == 's' || conversion == 'd') {
            if (next != args.end())
                result += (next++)->text();
            ++i;
        } else {
            result += c;
        }
    }
    return result;
}
