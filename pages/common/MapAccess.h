// Which register map a page talks to the camera through. Whoever creates the page hands it the
// slot in which the creator keeps the map; the page reads the slot each time it needs the map, so
// a map put there after the page was made is still found.
#pragma once

#include <functional>

class CRVXReg;

namespace pages {

template <class Map> class MapSlot {
public:
    // slot outlives the page; it may hold a map of any class derived from Map.
    template <class Held>
    MapSlot(Held* const* slot) : m_read([slot]() -> Map* { return slot ? *slot : nullptr; })
    {
    }

    // The same slot, seen as holding a base class of its map (the common register set).
    template <class Held> MapSlot(const MapSlot<Held>& other) : m_read(other.m_read) {}

    // Null while the creator has no map in the slot.
    Map* Get() const { return m_read(); }

private:
    template <class> friend class MapSlot;

    std::function<Map*()> m_read;
};

} // namespace pages
