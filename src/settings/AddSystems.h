// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Additional control units the device can poll for error codes (immobiliser, airbags, ABS,
// gearbox, ...): the list the editor offers and the selection bitmap of section 4.

#include "image/Record.h"

#include <QString>
#include <functional>
#include <vector>

namespace mk {

struct AddSystem
{
    quint8 code;
    QString name;
};

// What decides which systems a model lists.
struct AddSystemsScope
{
    bool hasCanProtocol = false;  // the model's protocol list holds "CAN" (code 1)
    bool extendedSystems = false; // the model's ExtendedSystems flag
    bool hybridProtocol = false;  // the current protocol has the Hybrid option
};

constexpr quint8 kCanProtocolCode = 1;

// The systems in the order the page lists them.
std::vector<AddSystem> buildAddSystemList(const AddSystemsScope &scope);

// Section 4, offsets 20..51: bit (c mod 8) of byte (c div 8) is set when the device polls
// system c. Codes start at 8, so byte 0 holds the page's two display choices instead.
constexpr int kSystemBitmapOffset = 20;
constexpr int kSystemBitmapSize = 32;

bool isSystemSelected(const Record &s4, quint8 code);
void setSystemSelected(Record &s4, quint8 code, bool selected);
void toggleSystem(Record &s4, quint8 code);

// Byte 0 of the bitmap: bits 0-1 which systems the device shows ("Все", "Протокол",
// "Подключ."), bit 7 how ("Списком", "По типам"). Storing either clears bits 2-6.
int blocksShow(const Record &s4);
int blocksShowList(const Record &s4);
void setBlocksShow(Record &s4, int item);
void setBlocksShowList(Record &s4, int item);

// The choice of "Показывать" as the page makes it: "Все" (0) selects every listed system,
// "Протокол" (1) exactly the listed systems the protocol polls, "Подключ." (2) keeps the bits;
// then the choice is stored. Systems the list does not hold keep their bits.
void chooseBlocksShow(Record &s4, int item, const std::vector<AddSystem> &list,
                      const std::function<bool(quint8)> &protocolPolls);

// Selects every listed system; systems the list does not hold keep their bits.
void selectAllSystems(Record &s4, const std::vector<AddSystem> &list);
// Selects exactly the listed systems the protocol polls; unlisted systems keep their bits.
void selectProtocolSystems(Record &s4, const std::vector<AddSystem> &list,
                           const std::function<bool(quint8)> &protocolPolls);

} // namespace mk
