#include "platform/temporary_names.h"

#include <cstdint>
#include <random>
#include <string_view>

namespace {

constexpr char kStart[] = ".quillop-";
constexpr char kEnd[] = ".tmp";
constexpr std::size_t kDigits = 16;
constexpr char kHex[] = "0123456789abcdef";

} // namespace

std::string NewTemporaryName()
{
    static std::mt19937_64 random{std::random_device{}()};
    std::string name = kStart;
    std::uint64_t bits = random();
    for (std::size_t i = 0; i < kDigits; ++i, bits >>= 4)
        name += kHex[bits & 15];
    return name + kEnd;
}

bool IsTemporaryName(const std::string& name)
{
    const std::size_t start = sizeof kStart - 1, end = sizeof kEnd - 1;
    if (name.size() != start + kDigits + end || name.compare(0, start, kStart) != 0
        || name.compare(start + kDigits, end, kEnd) != 0)
        return false;
    for (std::size_t i = start; i < start + kDigits; ++i)
        if (std::string_view(kHex).find(name[i]) == std::string_view::npos)
            return false;
    return true;
}
