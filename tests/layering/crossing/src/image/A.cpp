// SPDX-License-Identifier: GPL-3.0-or-later
// Crosses: a relative include into a layer above; the one beside it is fine.
#include "../settings/S.h"
#include "Ok.h"
