// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How the error journal writes an error code, by the error-code format of the engine protocol.

#include "image/Record.h"
#include "image/RecordLayout.h"

#include <QString>

namespace mk {

// Formats 0..9 choose a text; 1000 means the protocol's codes carry no text.
constexpr int kNoCodeTextFormat = 1000;

// Two device settings that refine formats 7, 8 and 9. Both are the error-type choice the
// device offers with the protocols using these formats (sub-type selector 2, "Тип ошибок",
// section 10 +14): item 1 of it means OBD-style letters for format 7, any item but the first
// means OBD-style letters for format 9, and item 1 means plain numbers for format 8's codes
// below 0x4000.
struct ErrorCodeFlags
{
    int codeStyle = 0;
    int codeNumber = 0;
};
constexpr int kErrorTypeOffset = layout::kProtSubTypes.offset + 2; // section 10, sub-type selector 2
ErrorCodeFlags errorCodeFlags(const Record &s10);

QString formatErrorCode(quint32 code, int format, const ErrorCodeFlags &flags = {});

} // namespace mk
