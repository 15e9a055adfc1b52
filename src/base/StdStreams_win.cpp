// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/StdStreams.h"

#include <fcntl.h>
#include <io.h>

namespace mk {

void setStdoutBinary()
{
    std::fflush(stdout);
    (void)_setmode(_fileno(stdout), _O_BINARY);
}

} // namespace mk
