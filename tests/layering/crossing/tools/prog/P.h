// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Crosses twice: a layer above the program's, named from src/ and by a relative path.
#include "settings/S.h"
#include "P.h"
#include <vector>
#include "base/B.h"
  #  include "../../src/settings/S.h"
