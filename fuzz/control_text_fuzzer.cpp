// The control text's name table against a plain search, while the text
// arrives in pieces as a run's appends bring it.
#include "payload/control_text.h"

#include <algorithm>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    const std::size_t piece = 1 + data[0] % 64;
    const std::string all(reinterpret_cast<const char*>(data) + 1, size - 1);
    ControlText text;
    std::string arrived;
    for (std::size_t at = 0; at < all.size(); at += piece) {
        const std::size_t count = std::min(piece, all.size() - at);
        std::copy_n(all.data() + at, count, text.tail(count));
        text.grow(count);
        arrived.append(all, at, count);
        const std::string searchable = arrived.substr(0, arrived.find('\0'));
        // Names taken from the text itself, and a few that are not there.
        for (std::size_t key = searchable.find("VornName:"); key != std::string::npos;
             key = searchable.find("VornName:", key + 1)) {
            const std::size_t end = searchable.find('\r', key + 9);
            const std::string name = searchable.substr(key + 9, end == std::string::npos ? 8 : end - key - 9);
            if (name.find_first_of("\r\n") != std::string::npos)
                continue;
            for (const std::string& probe : {name, name + "x", name.substr(0, name.size() / 2)}) {
                const bool plain = searchable.find("VornName:" + probe + "\r\n") != std::string::npos;
                if (text.listsName(probe) != plain)
                    __builtin_trap();
            }
        }
    }
    return 0;
}
