// Text data files as the game reads them: every line ends with CR LF. The sources may
// keep any line ends; the content tools convert them on the way into the data.
#pragma once

#include "tools/ArchiveWriter.h"

#include <string_view>

namespace Tools {

// The text with every line end (LF, CR LF or a lone CR) written as CR LF, and a last
// line that has none given one: the reader needs a line end after the last token, and
// after a trailing comment it stops only at a CR.
TBytes TextDataFile(std::string_view text);
TBytes TextDataFile(const TBytes& text);

} // namespace Tools
