#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace setfolio {

// One parameter list of the assembled tables. Count is the number of valid rows; fill is where
// the next row of a builder step goes. The storage may still hold rows of an earlier assembly
// beyond the count; nothing here hands them out.
template <class Row> class ParmTable {
public:
    std::int32_t Count() const { return m_count; }
    std::int32_t Fill() const { return m_fill; }

    // The valid rows, 0 to Count() - 1.
    std::span<const Row> Rows() const { return {m_rows.data(), static_cast<std::size_t>(m_count)}; }
    // The same, to change in place once the list is assembled (a site's own choice texts).
    std::span<Row> EditableRows() { return {m_rows.data(), static_cast<std::size_t>(m_count)}; }
    const Row& operator[](std::int32_t index) const {
        return Rows()[static_cast<std::size_t>(index)];
    }

    // Starts the list over for a new assembly.
    void Restart() {
        m_count = 0;
        m_fill = 0;
    }

    // A builder step first makes room for all of its rows, keeping the ones already there...
    void Grow(std::int32_t rows) {
        m_count += rows;
        m_rows.resize(static_cast<std::size_t>(m_count));
    }
    // ...then stores each one at the fill position. A row for which no room was made is refused
    // (std::out_of_range) rather than written past the end of the list.
    void Store(Row row) {
        m_rows.at(static_cast<std::size_t>(m_fill)) = std::move(row);
        ++m_fill;
    }

private:
    std::vector<Row> m_rows;
    std::int32_t m_count = 0;
    std::int32_t m_fill = 0;
};

} // namespace setfolio
