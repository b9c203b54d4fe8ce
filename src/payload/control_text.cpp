#include "payload/control_text.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr std::string_view kKey = "VornName:";

// 64-bit FNV-1a, whatever the width of size_t: the slot takes the low bits.
std::size_t hashOf(std::string_view name)
{
    std::uint64_t hash = 14695981039346656037ull;
    for (unsigned char c : name)
        hash = (hash ^ c) * 1099511628211ull;
    return std::size_t(hash);
}

} // namespace

ControlText::ControlText(std::string_view bytes)
    : m_slots(64)
{
    char* room = tail(bytes.size());
    if (!bytes.empty())
        std::memcpy(room, bytes.data(), bytes.size());
    grow(bytes.size());
}

char* ControlText::tail(std::size_t count)
{
    if (m_size + count + 1 > m_capacity) {
        // Room for the blocks a run appends, without copying the text again.
        const std::size_t capacity = m_size + count + 1 + std::size_t(64) * 1024;
        std::unique_ptr<char[]> bytes(new char[capacity]);
        if (m_size)
            std::memcpy(bytes.get(), m_bytes.get(), m_size);
        m_bytes = std::move(bytes);
        m_capacity = capacity;
    }
    return m_bytes.get() + m_size;
}

void ControlText::grow(std::size_t count)
{
    const std::size_t known = m_size;
    m_size += count;
    m_bytes[m_size] = '\0';
    // Bytes after a zero byte are never searched, however many follow.
    if (m_searchable == known) {
        const void* zero = std::memchr(m_bytes.get() + known, '\0', count + 1);
        m_searchable = std::size_t(static_cast<const char*>(zero) - m_bytes.get());
    }
    noteNames();
}

void ControlText::noteNames()
{
    // A listed Vorn takes some 130 bytes: size the table for the text at
    // once, about half full, rather than doubling it name by name.
    std::size_t slots = m_slots.size();
    while (slots < (m_searchable - m_nextKey) / 64)
        slots *= 2;
    if (slots != m_slots.size())
        resizeTable(slots);

    const char* const text = m_bytes.get();
    const char* const textEnd = text + m_searchable;
    // Colons are few, and memchr finds them fast; each is then checked for
    // the key in front of it, eight bytes in one comparison and the colon.
    const char* colon = text + m_nextKey + kKey.size() - 1;
    for (; colon < textEnd; ++colon) {
        colon = static_cast<const char*>(std::memchr(colon, ':', std::size_t(textEnd - colon)));
        if (!colon)
            break;
        if (colon - text < std::ptrdiff_t(kKey.size() - 1) || std::memcmp(colon - 8, "VornName", 8) != 0)
            continue;
        const char* end = colon + 1;
        while ((end = static_cast<const char*>(std::memchr(end, '\r', std::size_t(textEnd - end)))) && end + 1 < textEnd
               && end[1] != '\n')
            ++end;
        if (!end || end + 1 >= textEnd) {
            // Its CR LF may come with the next block.
            m_nextKey = std::size_t(colon - text) + 1 - kKey.size();
            return;
        }
        noteName(std::size_t(colon + 1 - text), std::size_t(end - colon - 1));
    }
    m_nextKey = m_searchable >= kKey.size() ? m_searchable - kKey.size() + 1 : 0;
}

std::size_t ControlText::slotFor(std::string_view name) const
{
    const std::size_t mask = m_slots.size() - 1;
    std::size_t slot = hashOf(name) & mask;
    while (m_slots[slot].length && nameIn(m_slots[slot]) != name)
        slot = (slot + 1) & mask;
    return slot;
}

void ControlText::noteName(std::size_t offset, std::size_t length)
{
    if (length == 0) {
        m_listsEmptyName = true;
        return;
    }
    const std::size_t slot = slotFor({m_bytes.get() + offset, length});
    if (m_slots[slot].length)
        return;
    m_slots[slot] = {offset, length};
    if (++m_names * 2 > m_slots.size())
        resizeTable(m_slots.size() * 2);
}

void ControlText::resizeTable(std::size_t slots)
{
    std::vector<Slot> old(slots);
    old.swap(m_slots);
    for (const Slot& kept : old)
        if (kept.length)
            m_slots[slotFor(nameIn(kept))] = kept;
}

bool ControlText::listsName(std::string_view name) const
{
    if (name.empty())
        return m_listsEmptyName;
    return m_slots[slotFor(name)].length != 0;
}
