// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Which error-code format the journals are shown with: that of the protocol the image selects.

namespace mk {

class TMK;

// The current protocol's error-code format for the model code, stored protocol index and
// settings version held now. Without a protocol (no model row, an index past the list, a
// lookup key out of range) the codes get no text.
int journalErrorCodeFormat(const TMK &model);

} // namespace mk
