#include "base/StdStreams.h"

namespace mk {

void setStdoutBinary() {} // no line-end translation here

} // namespace mk
