// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/StdStreams.h"

namespace mk {

bool isConsole(std::FILE *) { return false; }

int writeConsole(std::FILE *, const QString &) { return 0; }

void setStdoutBinary() {} // no line-end translation here

void setStdinBinary() {}

QByteArray textLineEnds(const QByteArray &utf8) { return utf8; }

} // namespace mk
