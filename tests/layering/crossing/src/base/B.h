// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Crosses: a layer reaches out of the layers by a relative path.
#include "../../tools/prog/P.h"
