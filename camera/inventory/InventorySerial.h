// Keeping a replaced camera's serial number in the inventory file: only that value changes, in
// the form its entry is written in, and programs that edit the file at once each start from the
// file the one before them left.
#pragma once

#include <string>

namespace inventory {

// The inventory file's text with the entry's serial number set to serial: the value of its
// serial key replaced, or a serial key added in the entry's own form (a line after the port line
// of a [cameras.NAME] table, a dotted "cameras.NAME.serial" line after a dotted port line, a key
// at the end of an inline table). Every other byte stays as it was. False with the fault, and
// text untouched, when the entry is not found or the edit would change anything but its serial.
bool SetSerialInText(std::string& text, const std::string& name, const std::string& serial,
                     std::string& problem);

// SetSerialInText on the file itself: under an exclusive lock on the file, read afresh, and
// replaced atomically. Safe from several threads and processes at once.
bool UpdateInventorySerial(const std::string& path, const std::string& name,
                           const std::string& serial, std::string& problem);

} // namespace inventory
