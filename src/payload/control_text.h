#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// The read-back of the control file: its bytes and a terminating zero. It is
// searched as text, so a zero byte in the file ends the searchable part.
//
// As text arrives, every name that stands between a "VornName:" and the
// next CR LF is noted in one pass, so that a run tests each entry's name
// without searching a file of thousands of Vorns again for every entry.
class ControlText {
public:
    explicit ControlText(std::string_view bytes = {});

    // Room for `count` more bytes after the text, to be filled through
    // tail() and taken in by grow(). Throws std::bad_alloc.
    char* tail(std::size_t count);
    void grow(std::size_t count);

    // How many bytes have arrived, searchable or not.
    std::size_t size() const { return m_size; }
    const char* c_str() const { return m_bytes.get(); }
    std::string_view view() const { return {m_bytes.get(), m_searchable}; }

    // Whether "VornName:" + name + CR LF stands anywhere in the text, even
    // inside a line. `name` holds no CR or LF: such names are never accepted.
    bool listsName(std::string_view name) const;

private:
    // A name, as where it stands in the text; an empty slot has no length.
    struct Slot {
        std::size_t offset = 0;
        std::size_t length = 0;
    };

    void noteNames();
    void noteName(std::size_t offset, std::size_t length);
    std::string_view nameIn(const Slot& slot) const { return {m_bytes.get() + slot.offset, slot.length}; }
    std::size_t slotFor(std::string_view name) const;
    void resizeTable(std::size_t slots);

    std::unique_ptr<char[]> m_bytes;
    std::size_t m_size = 0;
    std::size_t m_capacity = 0;
    std::size_t m_searchable = 0;
    // Where the next "VornName:" may start.
    std::size_t m_nextKey = 0;
    // Open addressing over the names' bytes: no allocation per name.
    std::vector<Slot> m_slots;
    std::size_t m_names = 0;
    bool m_listsEmptyName = false;
};
