// The Linux build's string resources: the table itself, compiled in.
#include "platform/string_resources.h"
#include "res/string_table.h"

std::string LoadString(int id)
{
    const auto& table = StringTable();
    const auto it = table.find(id);
    return it == table.end() ? std::string() : it->second;
}
